// TCustom_lzh: runs the codec from a block of memory into a memory stream.
//
// Compress writes the body and then the 4-byte little-endian count of source
// bytes consumed; Decompress reads the length from the last 4 source bytes
// and decodes the body before it. Both clear Target first and report their
// own errors (ElzhException) as false; other exceptions reach the caller.
//
// Progress: with OnProgress set, the codec calls ReadSource once for every
// byte a byte-at-a-time codec would fetch, in the same order, so OnProgress
// sees exactly that sequence of Remaining values (one call per source byte,
// then one call with 0 for every fetch past the end). Compress's output
// reaches Target in blocks of up to 32 KB, so during a call Target may lag
// behind by one block; Decompress sizes Target for the stated length first
// and decodes into it (OnProgress may not touch Target then; an exception
// from it leaves Target empty). Without OnProgress the codec reads
// the block directly and only sets SourcePos and Remaining to their final values.
#pragma once

#include "memory_stream.h"

#include <cstdint>

class TCustom_lzh {
public:
    using TProgressEvent = void (*)(std::int32_t remaining, void* progressData);

    TCustom_lzh() = default;
    TCustom_lzh(const TCustom_lzh&) = delete;
    TCustom_lzh& operator=(const TCustom_lzh&) = delete;
    virtual ~TCustom_lzh() = default;

    virtual bool Compress();
    virtual bool Decompress();

    // Copies up to count bytes from Source + SourcePos into buffer; done tells
    // how many. Advances SourcePos, updates Remaining, then calls OnProgress.
    void ReadSource(void* buffer, std::uint16_t count, std::uint16_t& done);
    // Writes count bytes to Target at its position; done = count.
    void WriteTarget(const void* buffer, std::uint16_t count, std::uint16_t& done);

    TProgressEvent OnProgress = nullptr;
    void* ProgressData = nullptr;         // passed to OnProgress unchanged
    std::int32_t Remaining = 0;           // source bytes not yet read
    std::int32_t SourcePos = 0;           // read position in Source
    const std::uint8_t* Source = nullptr; // not owned
    TMemoryStream* Target = nullptr;      // not owned
    std::int32_t SourceSize = 0;

private:
    // Clears Target and the read position; false without a Target, or
    // without a Source when SourceSize promises bytes.
    bool StartOperation();
};
