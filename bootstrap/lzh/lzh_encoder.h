// Encoding of a block of memory into a compressed stream's body (the format
// is in lzh_format.h).
#pragma once

#include "codec_io.h"

#include <cstddef>
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
// threads (1 or 2) beside the coder, which may make the results of up to
// `ring` positions ahead of it (rounded up to a power of two from 16384 to
// 4194304). The call above chooses 2 threads when the machine has two
// processors or more, and the largest ring. The stream is the same.
EncodeResult encode(std::span<const std::uint8_t> source, ByteSink& sink, FetchListener* listener,
                    unsigned finderThreads, std::size_t ring);

} // namespace lzh
