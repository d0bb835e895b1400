// Decoding of a compressed stream's body (the format is in lzh_format.h).
#pragma once

#include "codec_io.h"

#include <cstdint>
#include <span>

namespace lzh {

// Decodes symbols from `source` while fewer than `length` bytes have been
// produced (nothing for a length of 0 or less), handing the bytes to `sink`.
// Bits past the end of `source` read as 0, so any input decodes to at least
// `length` bytes, and to at most `length` + 59 (a match is copied whole).
// `listener`, if given, hears the progress through `source` after each symbol.
// Returns the number of byte fetches a byte-at-a-time reader would have made.
// Throws ElzhException when the tables cannot be allocated.
std::uint64_t decode(std::span<const std::uint8_t> source, std::int32_t length, ByteSink& sink,
                     FetchListener* listener);

} // namespace lzh
