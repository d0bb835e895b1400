// libFuzzer entry for decoding: any bytes as a compressed stream must decode
// within bounds, refuse only what the length rules refuse, and produce the
// stated length (plus at most the rest of one match).
#include "custom_lzh.h"
#include "lzh_format.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > (1u << 16)) {
        return 0;
    }
    TMemoryStream target;
    TCustom_lzh codec;
    codec.Source = data;
    codec.SourceSize = static_cast<std::int32_t>(size);
    codec.Target = &target;
    const bool decoded = codec.Decompress();
    if (size <= lzh::kLengthFieldSize) {
        if (decoded || target.Size() != 0) {
            std::abort();
        }
        return 0;
    }
    std::uint32_t stated = 0;
    for (unsigned i = 0; i < lzh::kLengthFieldSize; ++i) {
        stated |= std::uint32_t{data[size - lzh::kLengthFieldSize + i]} << (8 * i);
    }
    const auto length = static_cast<std::int32_t>(stated);
    // Each body byte yields at most 8 symbols; one more symbol may start at the last bit.
    const std::int64_t most =
        static_cast<std::int64_t>(size - lzh::kLengthFieldSize) * lzh::kMostBytesPerBodyByte + 1;
    if (decoded != (length <= most)) {
        std::abort();
    }
    if (decoded && length > 0 &&
        (target.Size() < static_cast<std::size_t>(length) ||
         target.Size() >= static_cast<std::size_t>(length) + lzh::kLongestMatch)) {
        std::abort();
    }
    return 0;
}
