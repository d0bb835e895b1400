// Decoding of a compressed stream's body (the format is in lzh_format.h).
#pragma once

#include "codec_io.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace lzh {

// Room past the stated length that decoding may write to: the last symbol
// may be a match of up to kLongestMatch bytes, copied in 8-byte steps.
inline constexpr std::size_t kDecodeSlack = 64;

struct DecodeResult {
    std::uint64_t produced; // bytes decoded: `length`, or up to 59 more (a match is copied whole)
    std::uint64_t fetches;  // byte fetches a byte-at-a-time reader would have made
};

// Decodes symbols from `source` while fewer than `length` bytes have been
// produced (nothing for a length of 0 or less), into `out`, which holds
// `length` + kDecodeSlack bytes. Bits past the end of `source` read as 0, so
// any input decodes to at least `length` bytes. `listener`, if given, hears
// the progress through `source` after each symbol.
// Throws ElzhException when the tables cannot be allocated.
DecodeResult decode(std::span<const std::uint8_t> source, std::int32_t length, std::uint8_t* out,
                    FetchListener* listener);

// The same output handed to `sink` in parts of at most kDecodePart +
// kLongestMatch - 1 bytes, decoded in two buffers of that size that take
// turns: output far larger than the processor's caches costs no fresh memory.
inline constexpr std::size_t kDecodePart = std::size_t{1} << 18;
DecodeResult decode(std::span<const std::uint8_t> source, std::int32_t length, PartSink& sink);

// The length that a whole compressed stream states in its last 4 bytes;
// nothing when it is too short to hold one, or states more than its body can
// produce (damage: not worth allocating and decoding for).
std::optional<std::int32_t> statedLength(std::span<const std::uint8_t> stream);

} // namespace lzh
