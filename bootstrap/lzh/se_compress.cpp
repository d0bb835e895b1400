// TSECompress::DecompressStream over TCustom_lzh.
#include "se_compress.h"

#include "custom_lzh.h"

#include <cstdint>
#include <limits>

bool TSECompress::DecompressStream(TMemoryStream& Source, TMemoryStream& Target) {
    Source.SetPosition(0);
    if (Source.Size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
        Target.Clear(); // no compressed stream is that long: its size is 32-bit
        return false;
    }
    TCustom_lzh lzh;
    lzh.Source = Source.Memory();
    lzh.SourceSize = static_cast<std::int32_t>(Source.Size());
    lzh.Target = &Target;
    return lzh.Decompress();
}
