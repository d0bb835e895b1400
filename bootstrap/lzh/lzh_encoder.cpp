// The encoder's main loop: LZSS parsing with the match finder, symbols and
// positions written with the adaptive Huffman tree and the position code.
//
// The source is read byte by byte in the order a streaming encoder would read
// it (look-ahead first, then one byte per window step, and one failed fetch
// per step once it is exhausted), so the fetch counts are exact. Output bits
// gather in a 64-bit buffer and leave it four bytes at a time.
#include "lzh_encoder.h"

#include "adaptive_huffman.h"
#include "lzh_exception.h"
#include "match_finder.h"

#include <array>

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

} // namespace

EncodeResult encode(std::span<const std::uint8_t> source, ByteSink& sink, FetchListener* listener) {
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
