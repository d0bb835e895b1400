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
// runs on threads of its own (MatchStream), up to megabytes of positions ahead
// of the coder, which reads its results at the positions where symbols
// start. The finder is most of the work; the coder's part then costs little
// more than waiting.
#include "lzh_encoder.h"

#include "adaptive_huffman.h"
#include "lzh_exception.h"
#include "match_finder.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <bit>
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

// The match finder's results for every position of a source, made on
// threads of their own into rings of blocks that the coder reads in order.
// The rings hold megabytes: how much of the work falls to each thread
// changes from one part of a source to the next (a program, a text), and a
// thread that runs ahead through its light part is then not held up.
//
// The search tree is a forest of one tree per first byte, and entering or
// taking out a string touches only its own tree; so each finder thread (a
// lane) keeps the trees of its share of the first bytes, stepping through
// every position but entering only the strings that start with its bytes.
// The results are those of one finder that keeps them all, which is what a
// single lane is.
class MatchStream {
public:
    static constexpr unsigned kMostLanes = 2;

    static constexpr std::size_t kLongestRing = std::size_t{1} << 22; // 16 MB of results a lane

    // `lanes`: 1 to kMostLanes; `ring`: as encode() takes it.
    MatchStream(std::span<const std::uint8_t> source, unsigned lanes, std::size_t ring)
        : source_(source), lanes_(lanes),
          ring_(std::bit_ceil(std::clamp(std::min(ring, source.size()), kBlock, kLongestRing))) {
        shareFirstBytes();
        for (unsigned lane = 0; lane < lanes_; ++lane) {
            // Left unset: each entry is written before it is read, so its
            // pages are touched only as the results come.
            lane_[lane].results = tableMemory(
                [this] { return std::make_unique_for_overwrite<std::uint32_t[]>(ring_); });
        }
    }
    MatchStream(const MatchStream&) = delete;
    MatchStream& operator=(const MatchStream&) = delete;
    ~MatchStream() { stop(); }

    // Starts the finders; false when not every thread could be had.
    bool start() {
        try {
            for (unsigned lane = 0; lane < lanes_; ++lane) {
                lane_[lane].thread = std::thread([this, lane] {
                    if (lanes_ == 1) {
                        produceAll();
                    } else {
                        produce(lane);
                    }
                });
            }
        } catch (const std::system_error&) {
            stop();
            return false;
        }
        return true;
    }

    // The match found when entering position `index`: its length (0 when
    // shorter than 3 bytes) above 16 bits of position. Indexes must not go down.
    std::uint32_t at(std::size_t index) {
        // The blocks before this one are done with: the finders may refill them.
        if (const std::size_t blockStart = index - index % kBlock; blockStart > released_) {
            released_ = blockStart;
            consumed_.store(released_, std::memory_order_release);
            consumed_.notify_all();
        }
        Lane& lane = lane_[laneOf_[source_[index]]];
        if (index >= lane.available) {
            for (std::size_t ready;
                 (ready = lane.produced.load(std::memory_order_acquire)) <= index;) {
                lane.produced.wait(ready, std::memory_order_acquire);
            }
            lane.available = lane.produced.load(std::memory_order_acquire);
        }
        return lane.results[index & (ring_ - 1)];
    }

    // Ends the finders' threads, done or not.
    void stop() {
        consumed_.store(kStop, std::memory_order_release);
        consumed_.notify_all();
        for (Lane& lane : lane_) {
            if (lane.thread.joinable()) {
                lane.thread.join();
            }
        }
    }

private:
    static constexpr std::size_t kBlock = 16384;
    static constexpr std::size_t kStop = std::numeric_limits<std::size_t>::max();

    // Gives each lane first bytes that start about as many strings, by
    // counts over a sample of the source, the most frequent first. (What a
    // tree costs depends on more than its size, but the coder's thread,
    // sharing the processors, takes up much of the difference.)
    void shareFirstBytes() {
        if (lanes_ == 1) {
            return; // all in lane 0
        }
        std::array<std::size_t, 256> count{};
        for (std::size_t i = 0; i < source_.size(); i += 7) {
            ++count[source_[i]];
        }
        std::array<std::uint8_t, 256> order{};
        for (unsigned b = 0; b < 256; ++b) {
            order[b] = static_cast<std::uint8_t>(b);
        }
        std::stable_sort(order.begin(), order.end(),
                         [&](std::uint8_t x, std::uint8_t y) { return count[x] > count[y]; });
        std::array<std::size_t, kMostLanes> load{};
        for (const std::uint8_t b : order) {
            const auto lane = static_cast<unsigned>(
                std::min_element(load.begin(), load.begin() + lanes_) - load.begin());
            laneOf_[b] = static_cast<std::uint8_t>(lane);
            load[lane] += count[b];
        }
    }

    // The encoder's sequence of window steps for the strings of one lane:
    // each of its strings is entered after the window's bytes have been
    // stored and its strings that left the window taken out, up to that
    // string's step, which is all that the lane's trees see of the others.
    void produce(unsigned me) {
        Lane& lane = lane_[me];
        MatchFinder& finder = lane.tables->finder;
        std::uint32_t* const results = lane.results.get();
        const std::size_t ringMask = ring_ - 1;
        std::uint32_t* const mine = lane.tables->mine.data();
        // The lane's strings in its trees, oldest first, as source index + 60.
        std::uint32_t* const entered = lane.tables->entered.data();
        constexpr std::size_t kEnteredMask = kEnteredSize - 1;
        std::size_t oldest = 0;
        std::size_t newest = 0;
        // Copies of our own, which the window's byte stores cannot be taken to change.
        const std::uint8_t* const source = source_.data();
        const std::size_t size = source_.size();
        const std::array<std::uint8_t, 256> laneOf = laneOf_;
        const std::size_t ahead = std::min<std::size_t>(kLongestMatch, size);
        for (std::size_t i = 0; i < ahead; ++i) {
            finder.store(kFirstWritePos + static_cast<unsigned>(i), source[i]);
        }
        // The strings before the source's first, entered nearest first.
        for (unsigned back = 1; back <= kLongestMatch; ++back) {
            if (laneOf[finder.at(kFirstWritePos - back)] == me) {
                finder.insert(kFirstWritePos - back);
            }
        }
        for (unsigned back = kLongestMatch; back >= 1; --back) {
            if (laneOf[finder.at(kFirstWritePos - back)] == me) {
                entered[newest++ & kEnteredMask] = kLongestMatch - back;
            }
        }
        // Window steps whose byte is stored. Step n stores the byte 59 past
        // its position over the oldest one, while there is one.
        std::size_t stepped = 0;
        const std::size_t lastStore = size > kLongestMatch ? size - kLongestMatch : 0;
        for (std::size_t block = 0; block < size; block += kBlock) {
            if (!waitForRoom(block)) {
                return;
            }
            const std::size_t end = std::min(size, block + kBlock);
            std::size_t count = 0;
            for (std::size_t index = block; index < end; ++index) {
                mine[count] = static_cast<std::uint32_t>(index);
                count += laneOf[source[index]] == me ? 1u : 0u;
            }
            for (std::size_t k = 0; k < count; ++k) {
                const std::size_t index = mine[k];
                for (const std::size_t last = std::min(index, lastStore); stepped < last;
                     ++stepped) {
                    finder.store(static_cast<unsigned>(stepped) & kWindowMask,
                                 source[stepped + kLongestMatch]);
                }
                stepped = std::max(stepped, index);
                // Step n takes out the string entered at step n - 4037.
                while (oldest != newest && entered[oldest & kEnteredMask] + kFirstWritePos + 1 <=
                                               index + kLongestMatch) {
                    finder.remove(ringPosition(entered[oldest++ & kEnteredMask]));
                }
                finder.insert(ringPosition(index + kLongestMatch));
                results[index & ringMask] = (finder.matchLength() << 16) | finder.matchPosition();
                entered[newest++ & kEnteredMask] =
                    static_cast<std::uint32_t>(index + kLongestMatch);
            }
            lane.produced.store(end, std::memory_order_release);
            lane.produced.notify_one();
        }
    }

    // The same for a lane that keeps every tree: one position at a time.
    void produceAll() {
        Lane& lane = lane_[0];
        MatchFinder& finder = lane.tables->finder;
        std::uint32_t* const results = lane.results.get();
        const std::size_t ringMask = ring_ - 1;
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
            results[index & ringMask] = (finder.matchLength() << 16) | finder.matchPosition();
            if ((index + 1) % kBlock == 0 || index + 1 == size) {
                lane.produced.store(index + 1, std::memory_order_release);
                lane.produced.notify_one();
            }
        }
    }

    // The window position of the string at source index `biased` - 60.
    static unsigned ringPosition(std::size_t biased) {
        return static_cast<unsigned>(kFirstWritePos - kLongestMatch + biased) & kWindowMask;
    }

    // Waits until the coder has left the block that `index` starts to
    // overwrite; false when it asks the finders to stop.
    bool waitForRoom(std::size_t index) {
        for (;;) {
            const std::size_t consumed = consumed_.load(std::memory_order_acquire);
            if (consumed == kStop) {
                return false;
            }
            if (index < consumed + ring_) {
                return true;
            }
            consumed_.wait(consumed, std::memory_order_acquire);
        }
    }

    static constexpr std::size_t kEnteredSize = 2 * kWindowSize; // more than the window holds
    struct Tables {
        MatchFinder finder;
        std::array<std::uint32_t, kEnteredSize> entered;
        std::array<std::uint32_t, kBlock> mine; // the lane's source indexes in a block
    };
    struct Lane {
        const std::unique_ptr<Tables> tables = allocateTables<Tables>();
        std::unique_ptr<std::uint32_t[]> results; // a ring of ring_ positions
        std::atomic<std::size_t> produced{0};     // positions whose results are ready
        std::size_t available = 0;                // the coder's copy of produced
        std::thread thread;
    };
    std::span<const std::uint8_t> source_;
    std::array<std::uint8_t, 256> laneOf_{}; // the lane that keeps each first byte's tree
    unsigned lanes_;
    std::size_t ring_; // positions per ring: a power of two, whole blocks
    std::array<Lane, kMostLanes> lane_;
    std::atomic<std::size_t> consumed_{0}; // positions the coder has left behind
    std::size_t released_ = 0;             // the coder's last store to consumed_
};

// Two finder threads beside the coder wherever there are two processors:
// measured, they are as fast as one even when another program keeps a
// processor busy, and faster when two do.
unsigned finderLanes() {
    return std::thread::hardware_concurrency() < 2 ? 1 : MatchStream::kMostLanes;
}

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
    return encode(source, sink, listener, finderLanes(), MatchStream::kLongestRing);
}

EncodeResult encode(std::span<const std::uint8_t> source, ByteSink& sink, FetchListener* listener,
                    unsigned finderThreads, std::size_t ring) {
    if (listener == nullptr && !source.empty()) {
        MatchStream matches(source, std::clamp(finderThreads, 1u, MatchStream::kMostLanes), ring);
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
