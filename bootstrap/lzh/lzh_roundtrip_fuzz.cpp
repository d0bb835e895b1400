// libFuzzer entry for encoding: any bytes must come back whole through the
// codec, and the codec's stream must equal the plain reference codec's byte
// for byte, since either program must be able to make the payload.
#include "custom_lzh.h"
#include "lzh_format.h"
#include "reference_codec.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

std::vector<std::uint8_t> run(const std::vector<std::uint8_t>& source, bool compress) {
    TMemoryStream target;
    TCustom_lzh codec;
    codec.Source = source.data();
    codec.SourceSize = static_cast<std::int32_t>(source.size());
    codec.Target = &target;
    if (!(compress ? codec.Compress() : codec.Decompress())) {
        std::abort();
    }
    return {target.Memory(), target.Memory() + target.Size()};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Two windows: enough for every match distance; the reference codec is slow.
    if (size > 2 * lzh::kWindowSize) {
        return 0;
    }
    const std::vector<std::uint8_t> input(data, data + size);
    const std::vector<std::uint8_t> stream = run(input, true);
    if (stream != reference::encode(input)) {
        std::abort();
    }
    // The stated length, then the bytes given back exactly.
    // The reference writes the stated length too, so the equality covers it.
    if (run(stream, false) != input) {
        std::abort();
    }
    return 0;
}
