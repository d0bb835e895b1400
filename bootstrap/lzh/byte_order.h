// Reversing the bytes of a 64-bit word (std::byteswap is C++23), for the
// codec's word-wide reads of big-endian bit streams and byte strings.
#pragma once

#include <cstdint>

namespace lzh {

constexpr std::uint64_t byteswap(std::uint64_t v) {
    v = ((v & 0x00FF00FF00FF00FFull) << 8) | ((v >> 8) & 0x00FF00FF00FF00FFull);
    v = ((v & 0x0000FFFF0000FFFFull) << 16) | ((v >> 16) & 0x0000FFFF0000FFFFull);
    return (v << 32) | (v >> 32);
}

static_assert(byteswap(0x0102030405060708ull) == 0x0807060504030201ull);

} // namespace lzh
