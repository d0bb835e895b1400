// The encoder's main loop: LZSS parsing with the match finder, symbols and
// positions written with the adaptive Huffman tree and the position code.
//
// The source is read byte by byte in the order a streaming encoder would read
// it (look-ahead first, then one byte per window step, and one failed fetch
// per step once it is exhausted), so the fetch counts are exact. Output bits
// gather in a 64-bit buffer and leave it four bytes at a time.
//
// The match finder enters every position of the source in order, whatever
// the parse makes of its results, so when nobody listens to the fetches it
// runs on a thread of its own, a few blocks of positions ahead of the coder,
// which reads its results at the positions where symbols start. The finder is
// most of the work; the coder's part then costs little more than waiting.
#include "lzh_encoder.h"

#include "adaptive_huffman.h"
#include "lzh_exception.h"
#include "match_finder.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cstddef>
#include <limits>
#include <memory>
#include <system_error>
#include <thread>

namespace lzh {

namespace {

class Input {
public:
    Input(std::span<const std::uint8_t> source, FetchListener* listener)
        : data_(source.data()), size_(source.size()), listener_(listener) {}

    bool fetch(std::uint8_t& byte) {
        ++fetches_;
        if (listener_ != nullptr) {
            listener_->fetched(fetches_);
        }
        if (pos_ == size_) {
            return false;
        }
        byte = data_[pos_++];
        return true;
    }

    EncodeResult result() const { return {pos_, fetches_}; }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    FetchListener* listener_;
    std::size_t pos_ = 0;
    std::uint64_t fetches_ = 0;
};

// Most significant bit first, into a block that goes to the sink when full.
class Output {
public:
    explicit Output(ByteSink& sink) : sink_(sink) {}

    // Appends the low n bits of value, 1 <= n <= 32 (kLongestCode or a position).
    void put(std::uint32_t value, unsigned n) {
        bits_ = (bits_ << n) | value;
        count_ += n;
        if (count_ >= 32) {
            count_ -= 32;
            const auto word = static_cast<std::uint32_t>(bits_ >> count_);
            for (unsigned i = 0; i < 4; ++i) {
                block_[used_ + i] = static_cast<std::uint8_t>(word >> (24 - 8 * i));
            }
            used_ += 4;
            if (used_ == block_.size()) {
                sink_.put(block_.data(), used_);
                used_ = 0;
            }
        }
    }

    // Sends what is pending, the last byte filled up with 0 bits.
    void finish() {
        while (count_ > 0) {
            const unsigned n = count_ >= 8 ? 8 : count_;
            count_ -= n;
            block_[used_++] = static_cast<std::uint8_t>((bits_ >> count_) << (8 - n));
        }
        sink_.put(block_.data(), used_);
        used_ = 0;
    }

private:
    ByteSink& sink_;
    std::uint64_t bits_ = 0; // the low count_ bits are pending
    unsigned count_ = 0;
    std::size_t used_ = 0;
    std::array<std::uint8_t, kSinkBlock> block_{};
};
static_assert(kSinkBlock % 4 == 0);
static_assert(kLongestCode <= 32 && 8 + 6 <= 32);

struct EncoderTables {
    AdaptiveHuffman tree;
    MatchFinder finder;
};

class Encoder {
public:
    Encoder(AdaptiveHuffman& tree, ByteSink& sink) : tree_(tree), out_(sink) {}

    void sendSymbol(unsigned symbol) {
        // The path from the leaf up: odd nodes are second children (bit 1);
        // the bit nearest the root goes first.
        std::uint32_t code = 0;
        unsigned length = 0;
        for (unsigned node = tree_.nodeOfSymbol(symbol); node != kRoot; node = tree_.parent(node)) {
            code |= (node & 1u) << length;
            path_[length] = static_cast<std::uint16_t>(node);
            ++length;
        }
        out_.put(code, length);
        tree_.update(symbol, path_.data(), length);
    }

    void sendPosition(unsigned position) {
        const unsigned upper = position >> 6;
        const unsigned length = kPositionCode.length[upper];
        const unsigned code = unsigned{kPositionCode.code[upper]} >> (8 - length);
        out_.put((code << 6) | (position & 0x3F), length + 6);
    }

    void finish() { out_.finish(); }

private:
    AdaptiveHuffman& tree_;
    std::array<std::uint16_t, kSymbolCount> path_; // room for the deepest tree of 314 leaves
    Output out_;
};

// The match finder's results for every position of a source, made on a
// thread of its own into a ring of blocks that the coder reads in order.
class MatchStream {
public:
    explicit MatchStream(std::span<const std::uint8_t> source) : source_(source) {}
    MatchStream(const MatchStream&) = delete;
    MatchStream& operator=(const MatchStream&) = delete;
    ~MatchStream() { stop(); }

    // Starts the finder; false when no thread could be had.
    bool start() {
        try {
            thread_ = std::thread([this] { produce(); });
        } catch (const std::system_error&) {
            return false;
        }
        return true;
    }

    // The match found when entering position `index`: its length (0 when
    // shorter than 3 bytes) above 16 bits of position. Indexes must not go down.
    std::uint32_t at(std::size_t index) {
        // The blocks before this one are done with: the finder may refill them.
        if (const std::size_t blockStart = index - index % kBlock; blockStart > released_) {
            released_ = blockStart;
            consumed_.store(released_, std::memory_order_release);
            consumed_.notify_one();
        }
        if (index >= available_) {
            for (std::size_t ready; (ready = produced_.load(std::memory_order_acquire)) <= index;) {
                produced_.wait(ready, std::memory_order_acquire);
            }
            available_ = produced_.load(std::memory_order_acquire);
        }
        return results_[index % kRing];
    }

    // Ends the finder's thread, done or not.
    void stop() {
        if (thread_.joinable()) {
            consumed_.store(kStop, std::memory_order_release);
            consumed_.notify_one();
            thread_.join();
        }
    }

private:
    static constexpr std::size_t kBlock = 16384;
    static constexpr std::size_t kRing = 4 * kBlock;
    static constexpr std::size_t kStop = std::numeric_limits<std::size_t>::max();

    // The encoder's sequence of window steps, one position at a time.
    void produce() {
        MatchFinder& finder = tables_->finder;
        const std::size_t size = source_.size();
        unsigned s = 0;
        unsigned r = kFirstWritePos;
        const std::size_t ahead = std::min<std::size_t>(kLongestMatch, size);
        for (std::size_t i = 0; i < ahead; ++i) {
            finder.store(r + static_cast<unsigned>(i), source_[i]);
        }
        for (unsigned back = 1; back <= kLongestMatch; ++back) {
            finder.insert(r - back);
        }
        for (std::size_t index = 0; index < size; ++index) {
            if (index > 0) {
                finder.remove(s);
                if (index + kLongestMatch - 1 < size) {
                    finder.store(s, source_[index + kLongestMatch - 1]);
                }
                s = (s + 1) & kWindowMask;
                r = (r + 1) & kWindowMask;
            }
            if (index % kBlock == 0 && !waitForRoom(index)) {
                return;
            }
            finder.insert(r);
            results_[index % kRing] = (finder.matchLength() << 16) | finder.matchPosition();
            if ((index + 1) % kBlock == 0 || index + 1 == size) {
                produced_.store(index + 1, std::memory_order_release);
                produced_.notify_one();
            }
        }
    }

    // Waits until the coder has left the block that `index` starts to
    // overwrite; false when it asks the finder to stop.
    bool waitForRoom(std::size_t index) {
        for (;;) {
            const std::size_t consumed = consumed_.load(std::memory_order_acquire);
            if (consumed == kStop) {
                return false;
            }
            if (index < consumed + kRing) {
                return true;
            }
            consumed_.wait(consumed, std::memory_order_acquire);
        }
    }

    struct Tables {
        MatchFinder finder;
        std::array<std::uint32_t, kRing> results;
    };
    std::span<const std::uint8_t> source_;
    const std::unique_ptr<Tables> tables_ = allocateTables<Tables>();
    std::uint32_t* const results_ = tables_->results.data();
    std::atomic<std::size_t> produced_{0}; // positions whose results are ready
    std::atomic<std::size_t> consumed_{0}; // positions the coder has left behind
    std::size_t available_ = 0;            // the coder's copy of produced_
    std::size_t released_ = 0;             // the coder's last store to consumed_
    std::thread thread_;
};

// The coder's side of the encoder when the finder runs alongside: the same
// parse as the loop below, and the fetches that loop would have made.
EncodeResult encodeAlongside(MatchStream& matches, std::span<const std::uint8_t> source,
                             ByteSink& sink) {
    const auto tree = allocateTables<AdaptiveHuffman>();
    Encoder encoder(*tree, sink);
    const std::size_t size = source.size();
    // The look-ahead is fetched first; one more fetch fails when the source is shorter.
    std::uint64_t fetches = size + (size < kLongestMatch ? 1 : 0);
    for (std::size_t index = 0; index < size;) {
        const std::uint32_t match = matches.at(index);
        const auto ahead =
            static_cast<unsigned>(std::min<std::size_t>(kLongestMatch, size - index));
        unsigned length = std::min(match >> 16, ahead);
        if (length <= kThreshold) {
            length = 1;
            encoder.sendSymbol(source[index]);
        } else {
            encoder.sendSymbol(matchSymbol(length));
            encoder.sendPosition(match & 0xFFFF);
        }
        // Each step of a symbol fetches the byte 59 past its new position,
        // until a fetch fails: one failed fetch for every symbol that reaches
        // past the source.
        if (index + length + kLongestMatch - 1 >= size) {
            ++fetches;
        }
        index += length;
    }
    encoder.finish();
    matches.stop();
    return {size, fetches};
}

} // namespace

EncodeResult encode(std::span<const std::uint8_t> source, ByteSink& sink, FetchListener* listener) {
    if (listener == nullptr && !source.empty()) {
        MatchStream matches(source);
        if (matches.start()) {
            return encodeAlongside(matches, source, sink);
        }
    }
    const auto tables = allocateTables<EncoderTables>();
    MatchFinder& finder = tables->finder;
    Encoder encoder(tables->tree, sink);
    Input in(source, listener);

    unsigned s = 0;              // oldest window position, overwritten next
    unsigned r = kFirstWritePos; // first position of the look-ahead
    int ahead = 0;               // look-ahead bytes still to encode
    std::uint8_t byte = 0;
    while (ahead < static_cast<int>(kLongestMatch) && in.fetch(byte)) {
        finder.store(r + static_cast<unsigned>(ahead), byte);
        ++ahead;
    }
    for (unsigned back = 1; back <= kLongestMatch; ++back) {
        finder.insert(r - back);
    }
    finder.insert(r);

    do {
        unsigned length = finder.matchLength();
        if (static_cast<int>(length) > ahead) {
            length = static_cast<unsigned>(ahead);
        }
        if (length <= kThreshold) {
            length = 1;
            encoder.sendSymbol(finder.at(r));
        } else {
            encoder.sendSymbol(matchSymbol(length));
            encoder.sendPosition(finder.matchPosition());
        }
        unsigned step = 0;
        for (; step < length && in.fetch(byte); ++step) {
            finder.remove(s);
            finder.store(s, byte);
            s = (s + 1) & kWindowMask;
            r = (r + 1) & kWindowMask;
            finder.insert(r);
        }
        for (; step < length; ++step) {
            finder.remove(s);
            s = (s + 1) & kWindowMask;
            r = (r + 1) & kWindowMask;
            if (--ahead != 0) {
                finder.insert(r);
            }
        }
    } while (ahead > 0);
    encoder.finish();
    return in.result();
}

} // namespace lzh
