// The compressed stream format, described once for the whole codec.
//
// A compressed stream of L bytes is an LZSS bit stream (the body, L - 4 bytes)
// followed by the uncompressed length as 4 bytes little-endian, read as a
// signed 32-bit number. Nothing precedes the body: no signature, no checksum.
//
// The body is read and written most significant bit first; its last byte is
// filled up with 0 bits. A reader that runs past the end of its input reads 0
// bits. The body is a sequence of symbols, each coded with an adaptive Huffman
// tree over 314 symbols (adaptive_huffman.h):
//   - symbols 0-255 are literal bytes;
//   - symbol 256 + (length - 3) is a match of 3 to 60 bytes. The match
//     position follows it: its upper 6 bits with the fixed prefix code below,
//     then its lower 6 bits plain. Position d copies from d + 1 bytes back.
// Both sides keep a 4096-byte ring window whose positions 0-4035 start as
// spaces; the first byte decoded goes to position 4036. The decoder stops
// before the symbol that would start at or past the stated length, so a match
// is always copied whole.
//
// The encoder finds matches with a binary search tree over the 60-byte
// strings that start at each window position (match_finder.h); equally long
// matches go to the nearest one found on the search path. Every detail of the
// choice is part of the format, since a stream must be the same byte for byte
// whichever program made it.
#pragma once

#include <array>
#include <cstdint>

namespace lzh {

inline constexpr unsigned kWindowSize = 4096; // ring buffer of recent bytes
inline constexpr unsigned kWindowMask = kWindowSize - 1;
inline constexpr unsigned kLongestMatch = 60; // look-ahead; matches are 3-60 bytes
inline constexpr unsigned kThreshold = 2;     // 2 bytes or fewer go as literals
inline constexpr unsigned kFirstWritePos = kWindowSize - kLongestMatch; // 4036
inline constexpr std::uint8_t kWindowFill = 0x20; // positions 0-4035 start as spaces
inline constexpr unsigned kLiteralCount = 256;
inline constexpr unsigned kSymbolCount = kLiteralCount - kThreshold + kLongestMatch; // 314
inline constexpr unsigned kTreeSize = 2 * kSymbolCount - 1;                          // 627 nodes
inline constexpr unsigned kRoot = kTreeSize - 1;                                     // node 626
inline constexpr unsigned kMaxFreq = 0x8000; // root frequency that forces a rebuild
inline constexpr unsigned kLengthFieldSize = 4;

// Symbol of a match of `length` bytes, and back.
constexpr unsigned matchSymbol(unsigned length) {
    return length + kLiteralCount - 1 - kThreshold;
}
constexpr unsigned matchLength(unsigned symbol) {
    return symbol + 1 + kThreshold - kLiteralCount;
}

// The 4 bytes that end a stream: its uncompressed length, little-endian.
constexpr std::array<std::uint8_t, kLengthFieldSize> lengthField(std::uint32_t length) {
    std::array<std::uint8_t, kLengthFieldSize> field{};
    for (unsigned i = 0; i < kLengthFieldSize; ++i) {
        field[i] = static_cast<std::uint8_t>(length >> (8 * i));
    }
    return field;
}

// Each symbol costs at least one bit and yields at most kLongestMatch bytes.
inline constexpr unsigned kMostBytesPerBodyByte = 8 * kLongestMatch; // 480

// The prefix code for the upper 6 bits of a match position: 1 code of 3 bits,
// 3 of 4, 8 of 5, 12 of 6, 24 of 7 and 16 of 8, assigned canonically (the first
// code is 000, each next one is the previous plus one, shifted left by the
// growth in length). Codes are stored left-aligned in a byte.
struct PositionCode {
    std::array<std::uint8_t, 64> length{};          // code length per upper-6-bit value
    std::array<std::uint8_t, 64> code{};            // left-aligned code per value
    std::array<std::uint8_t, 256> value{};          // value whose code prefixes the byte
    std::array<std::uint8_t, 256> lengthOfPrefix{}; // that code's length
};

constexpr PositionCode makePositionCode() {
    constexpr std::array<std::uint8_t, 6> lengths{3, 4, 5, 6, 7, 8};
    constexpr std::array<std::uint8_t, 6> counts{1, 3, 8, 12, 24, 16};
    PositionCode table;
    unsigned value = 0;
    unsigned code = 0;
    unsigned previousLength = lengths[0];
    for (unsigned group = 0; group < lengths.size(); ++group) {
        for (unsigned n = 0; n < counts[group]; ++n) {
            const unsigned length = lengths[group];
            if (value > 0) {
                code = (code + 1) << (length - previousLength);
            }
            previousLength = length;
            table.length[value] = static_cast<std::uint8_t>(length);
            table.code[value] = static_cast<std::uint8_t>(code << (8 - length));
            const unsigned span = 1u << (8 - length); // bytes that start with this code
            for (unsigned b = 0; b < span; ++b) {
                table.value[table.code[value] + b] = static_cast<std::uint8_t>(value);
                table.lengthOfPrefix[table.code[value] + b] = static_cast<std::uint8_t>(length);
            }
            ++value;
        }
    }
    return table;
}

inline constexpr PositionCode kPositionCode = makePositionCode();

static_assert(kPositionCode.code[0] == 0b000'00000 && kPositionCode.length[0] == 3);
static_assert(kPositionCode.code[1] == 0b0010'0000 && kPositionCode.length[1] == 4);
static_assert(kPositionCode.code[4] == 0b01010'000 && kPositionCode.length[4] == 5);
static_assert(kPositionCode.code[12] == 0b100100'00 && kPositionCode.length[12] == 6);
static_assert(kPositionCode.code[24] == 0b1100000'0 && kPositionCode.length[24] == 7);
static_assert(kPositionCode.code[48] == 0b11110000 && kPositionCode.length[48] == 8);
static_assert(kPositionCode.code[63] == 0b11111111 && kPositionCode.length[63] == 8);

} // namespace lzh
