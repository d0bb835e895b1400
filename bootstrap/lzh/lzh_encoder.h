// Encoding of a block of memory into a compressed stream's body (the format
// is in lzh_format.h).
#pragma once

#include "codec_io.h"

#include <cstdint>
#include <span>

namespace lzh {

struct EncodeResult {
    std::uint64_t consumed; // source bytes read: the uncompressed length
    std::uint64_t fetches;  // byte fetches asked of the source, the failed ones included
};

// Encodes all of `source`, handing the body to `sink` (an empty source still
// yields one literal). `listener`, if given, hears of every fetch.
// Throws ElzhException when the tables cannot be allocated.
EncodeResult encode(std::span<const std::uint8_t> source, ByteSink& sink, FetchListener* listener);

} // namespace lzh
