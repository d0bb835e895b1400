// The decoder's hot loop.
//
// Output goes to a flat buffer whose first kWindowSize bytes are the window:
// at the start they hold the ring window's initial contents in the order of
// their age (60 zero bytes for positions 4036-4095, then 4036 spaces for 0-4035),
// later the last kWindowSize bytes produced. A match at position d therefore
// copies from d + 1 bytes before the write pointer, never from before the
// buffer. When a block's worth has been produced it goes to the sink and the
// last kWindowSize bytes move to the front.
//
// The input is read through a 64-bit buffer refilled eight bytes at a time;
// each refill leaves at least 56 bits, enough for one symbol (at most
// kLongestCode bits) and its position (at most 14).
//
// The tree walk takes two levels per load (AdaptiveHuffman::grandson) and
// notes the nodes it passes, so that the update after it can count up that
// path without following parent links, until a swap changes the path.
#include "lzh_decoder.h"

#include "adaptive_huffman.h"
#include "byte_order.h"
#include "lzh_exception.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

namespace lzh {

namespace {

class BitReader {
public:
    explicit BitReader(std::span<const std::uint8_t> input)
        : data_(input.data()), size_(input.size()) {}

    // Leaves at least 56 bits in the buffer.
    void refill() {
        if (size_ >= 8 && pos_ <= size_ - 8) {
            std::uint64_t word;
            std::memcpy(&word, data_ + pos_, sizeof word);
            if constexpr (std::endian::native == std::endian::little) {
                word = byteswap(word);
            }
            // Bits below the new count are the stream's next bits, so a later
            // refill ORs the same bits over them.
            bits_ |= word >> count_;
            pos_ += (63 - count_) >> 3;
            count_ |= 56;
        } else {
            while (count_ <= 56) {
                const std::uint64_t byte = pos_ < size_ ? data_[pos_] : 0;
                bits_ |= byte << (56 - count_);
                ++pos_;
                count_ += 8;
            }
        }
    }

    unsigned peekBit() const { return static_cast<unsigned>(bits_ >> 63); }
    unsigned peekByte() const { return static_cast<unsigned>(bits_ >> 56); }
    void skip(unsigned n) {
        bits_ <<= n;
        count_ -= n;
    }
    // Takes n bits, 1 <= n <= 32.
    unsigned take(unsigned n) {
        const auto value = static_cast<unsigned>(bits_ >> (64 - n));
        skip(n);
        return value;
    }

    // Byte fetches a reader holding at most 16 bits would have made, once the
    // last thing taken was a single bit: it fetches while 8 bits or fewer are
    // buffered, before each take.
    std::uint64_t fetchesAfterBit() const {
        const std::uint64_t consumed = 8 * static_cast<std::uint64_t>(pos_) - count_;
        return (consumed + 15) / 8;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0; // may run past size_: those bytes read as 0
    std::uint64_t bits_ = 0;
    unsigned count_ = 0;
};

// A block is sent once this much is pending, so that one more symbol (at most
// kLongestMatch bytes, written in 8-byte steps) still fits the buffer.
constexpr std::size_t kCopyStep = 8;
constexpr std::size_t kMostWrittenPerSymbol =
    (kLongestMatch + kCopyStep - 1) / kCopyStep * kCopyStep;
constexpr std::size_t kFlushAt = kSinkBlock - kMostWrittenPerSymbol;
constexpr unsigned kLongestPosition = 8 + 6;
static_assert(kLongestCode + kLongestPosition <= 56, "one refill must cover a symbol");

struct DecoderTables {
    AdaptiveHuffman tree;
    std::array<std::uint8_t, kWindowSize + kSinkBlock> buffer;
};

// Copies a match of `length` bytes from `distance` bytes back.
inline void copyMatch(std::uint8_t* out, unsigned distance, unsigned length) {
    const std::uint8_t* from = out - distance;
    if (distance >= kCopyStep) {
        // Each step reads only bytes written before it; the last may write up
        // to 7 bytes past the match, which later output overwrites.
        for (unsigned i = 0; i < length; i += kCopyStep) {
            std::memcpy(out + i, from + i, kCopyStep);
        }
    } else {
        for (unsigned i = 0; i < length; ++i) {
            out[i] = from[i];
        }
    }
}

} // namespace

std::uint64_t decode(std::span<const std::uint8_t> source, std::int32_t length, ByteSink& sink,
                     FetchListener* listener) {
    if (length <= 0) {
        return 0;
    }
    const auto tables = allocateTables<DecoderTables>();
    AdaptiveHuffman& tree = tables->tree;
    std::uint8_t* const window = tables->buffer.data();
    std::uint8_t* const blockStart = window + kWindowSize;
    std::fill(window + (kWindowSize - kFirstWritePos), blockStart, kWindowFill);

    BitReader in(source);
    std::array<std::uint16_t, kSymbolCount> path; // room for the deepest tree of 314 leaves
    std::uint8_t* out = blockStart;
    std::int64_t produced = 0;
    while (produced < length) {
        if (static_cast<std::size_t>(out - blockStart) > kFlushAt) {
            sink.put(blockStart, static_cast<std::size_t>(out - blockStart));
            std::memmove(window, out - kWindowSize, kWindowSize);
            out = blockStart;
        }
        in.refill();
        // The walk takes two steps per turn, and notes its nodes from the top
        // of `path` down, so that they end up in order from the leaf up.
        unsigned depth = 0;
        unsigned node = kRoot;
        unsigned next = tree.son(kRoot);
        for (;;) {
            const unsigned first = in.peekBit();
            in.skip(1);
            const unsigned child = next + first;
            path[path.size() - ++depth] = static_cast<std::uint16_t>(child);
            const unsigned childSon = tree.grandson(node, first);
            if (childSon >= kTreeSize) {
                next = childSon;
                break;
            }
            node = childSon + in.peekBit();
            in.skip(1);
            path[path.size() - ++depth] = static_cast<std::uint16_t>(node);
            next = tree.son(node);
            if (next >= kTreeSize) {
                break;
            }
        }
        const unsigned symbol = next - kTreeSize;
        tree.update(symbol, &path[path.size() - depth], depth);
        if (symbol < kLiteralCount) {
            if (listener != nullptr) {
                listener->fetched(in.fetchesAfterBit());
            }
            *out++ = static_cast<std::uint8_t>(symbol);
            ++produced;
            continue;
        }
        // The position: the prefix code of its upper 6 bits, then 6 plain bits.
        const unsigned lead = in.peekByte();
        const unsigned codeLength = kPositionCode.lengthOfPrefix[lead];
        const unsigned position =
            (unsigned{kPositionCode.value[lead]} << 6) | (in.take(codeLength + 6) & 0x3F);
        if (listener != nullptr) {
            listener->fetched(in.fetchesAfterBit());
        }
        const unsigned count = matchLength(symbol);
        copyMatch(out, position + 1, count);
        out += count;
        produced += count;
    }
    sink.put(blockStart, static_cast<std::size_t>(out - blockStart));
    return in.fetchesAfterBit();
}

} // namespace lzh
