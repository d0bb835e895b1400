// TSECompress: decodes one compressed stream held in a memory stream.
#pragma once

#include "memory_stream.h"

class TSECompress {
public:
    // Decodes all of Source into Target (cleared first); Source's position
    // goes to 0. False when Source is not a decodable stream.
    static bool DecompressStream(TMemoryStream& Source, TMemoryStream& Target);
};
