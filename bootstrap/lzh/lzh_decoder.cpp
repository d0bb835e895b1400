// The decoder's hot loop.
//
// Output goes straight to the caller's buffer, which matches copy from. Its
// first kWindowSize bytes are decoded in a small buffer of our own, behind the
// ring window's initial contents in the order of their age (60 zero bytes for
// positions 4036-4095, then 4036 spaces for 0-4035), and copied over; from
// then on a match at position d copies from d + 1 bytes before the write
// pointer, which is always within the output.
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

constexpr std::size_t kCopyStep = 8;
static_assert((kLongestMatch + kCopyStep - 1) / kCopyStep * kCopyStep <= kDecodeSlack);
constexpr unsigned kLongestPosition = 8 + 6;
static_assert(kLongestCode + kLongestPosition <= 56, "one refill must cover a symbol");

struct DecoderTables {
    AdaptiveHuffman tree;
    // The initial window, then the first kWindowSize bytes of output.
    std::array<std::uint8_t, kWindowSize + kWindowSize + kDecodeSlack> start;
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

class SymbolDecoder {
public:
    SymbolDecoder(AdaptiveHuffman& tree, std::span<const std::uint8_t> source,
                  FetchListener* listener)
        : tree_(tree), in_(source), listener_(listener) {}

    // Decodes symbols into `out` while it is below `stop`; returns where the
    // output ends. The kWindowSize bytes before `out` hold the window.
    std::uint8_t* run(std::uint8_t* out, const std::uint8_t* stop) {
        // The reader works on a copy of its own: the output's byte stores could
        // alias the members, which would otherwise go to memory after each one.
        BitReader in = in_;
        while (out < stop) {
            in.refill();
            const unsigned symbol = nextSymbol(in);
            if (symbol < kLiteralCount) {
                tellProgress(in);
                *out++ = static_cast<std::uint8_t>(symbol);
                continue;
            }
            // The position: the prefix code of its upper 6 bits, then 6 plain bits.
            const unsigned lead = in.peekByte();
            const unsigned codeLength = kPositionCode.lengthOfPrefix[lead];
            const unsigned position =
                (unsigned{kPositionCode.value[lead]} << 6) | (in.take(codeLength + 6) & 0x3F);
            tellProgress(in);
            const unsigned count = matchLength(symbol);
            copyMatch(out, position + 1, count);
            out += count;
        }
        in_ = in;
        return out;
    }

    std::uint64_t fetches() const { return in_.fetchesAfterBit(); }

private:
    // Walks the tree from the root and counts the symbol found.
    unsigned nextSymbol(BitReader& in) {
        // The walk takes two steps per turn, and notes its nodes from the top
        // of `path_` down, so that they end up in order from the leaf up.
        unsigned depth = 0;
        unsigned node = kRoot;
        unsigned next = tree_.son(kRoot);
        for (;;) {
            const unsigned first = in.peekBit();
            in.skip(1);
            const unsigned child = next + first;
            path_[path_.size() - ++depth] = static_cast<std::uint16_t>(child);
            const unsigned childSon = tree_.grandson(node, first);
            if (childSon >= kTreeSize) {
                next = childSon;
                break;
            }
            node = childSon + in.peekBit();
            in.skip(1);
            path_[path_.size() - ++depth] = static_cast<std::uint16_t>(node);
            next = tree_.son(node);
            if (next >= kTreeSize) {
                break;
            }
        }
        const unsigned symbol = next - kTreeSize;
        tree_.update(symbol, &path_[path_.size() - depth], depth);
        return symbol;
    }

    void tellProgress(const BitReader& in) {
        if (listener_ != nullptr) {
            listener_->fetched(in.fetchesAfterBit());
        }
    }

    AdaptiveHuffman& tree_;
    BitReader in_;
    FetchListener* listener_;
    std::array<std::uint16_t, kSymbolCount> path_; // room for the deepest tree of 314 leaves
};

} // namespace

std::optional<std::int32_t> statedLength(std::span<const std::uint8_t> stream) {
    if (stream.size() <= kLengthFieldSize) {
        return std::nullopt;
    }
    const std::uint8_t* field = stream.data() + stream.size() - kLengthFieldSize;
    std::uint32_t value = 0;
    for (unsigned i = 0; i < kLengthFieldSize; ++i) {
        value |= std::uint32_t{field[i]} << (8 * i);
    }
    const auto length = static_cast<std::int32_t>(value);
    const auto body = static_cast<std::int64_t>(stream.size() - kLengthFieldSize);
    if (length > body * kMostBytesPerBodyByte + 1) {
        return std::nullopt;
    }
    return length;
}

DecodeResult decode(std::span<const std::uint8_t> source, std::int32_t length, std::uint8_t* out,
                    FetchListener* listener) {
    if (length <= 0) {
        return {0, 0};
    }
    const auto tables = allocateTables<DecoderTables>();
    std::uint8_t* const first = tables->start.data() + kWindowSize;
    std::fill(first - kFirstWritePos, first, kWindowFill);
    SymbolDecoder decoder(tables->tree, source, listener);

    const auto wanted = static_cast<std::size_t>(length);
    const auto firstPart = static_cast<std::size_t>(
        decoder.run(first, first + std::min<std::size_t>(wanted, kWindowSize)) - first);
    std::memcpy(out, first, firstPart);
    std::size_t produced = firstPart;
    if (produced < wanted) {
        produced = static_cast<std::size_t>(decoder.run(out + produced, out + wanted) - out);
    }
    return {produced, decoder.fetches()};
}

DecodeResult decode(std::span<const std::uint8_t> source, std::int32_t length, PartSink& sink) {
    if (length <= 0) {
        return {0, 0};
    }
    // Each buffer holds the window, then a part and the room it may run over by.
    using Buffers =
        std::array<std::array<std::uint8_t, kWindowSize + kDecodePart + kDecodeSlack>, 2>;
    const auto buffers = allocateTables<Buffers>();
    // The tree on its own: placed just before the buffers, it decodes 3 % slower.
    const auto tree = allocateTables<AdaptiveHuffman>();
    std::uint8_t* part = (*buffers)[0].data() + kWindowSize;
    std::fill(part - kFirstWritePos, part, kWindowFill);
    SymbolDecoder decoder(*tree, source, nullptr);

    const auto wanted = static_cast<std::size_t>(length);
    std::size_t produced = 0;
    for (std::size_t turn = 1; produced < wanted; ++turn) {
        std::uint8_t* const end =
            decoder.run(part, part + std::min(kDecodePart, wanted - produced));
        const auto count = static_cast<std::size_t>(end - part);
        produced += count;
        sink.put(part, count);
        // The other buffer is free once put() has returned; the window goes
        // ahead of the next part there.
        std::uint8_t* const next = (*buffers)[turn % 2].data() + kWindowSize;
        std::memcpy(next - kWindowSize, end - kWindowSize, kWindowSize);
        part = next;
    }
    sink.end();
    return {produced, decoder.fetches()};
}

} // namespace lzh
