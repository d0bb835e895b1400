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

// The same with the match finder, when nobody listens, on `finderThreads`
// threads (1 or 2) beside the coder; the call above chooses 2 when the
// machine seems to have a processor to spare. The stream is the same.
EncodeResult encode(std::span<const std::uint8_t> source, ByteSink& sink, FetchListener* listener,
                    unsigned finderThreads);

} // namespace lzh
