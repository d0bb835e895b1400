// What the encoder and decoder need from whoever runs them: somewhere to put
// their output, and optionally someone to tell how far the input has been read.
//
// Both directions read their input straight from a block of memory. The byte
// counts they report are those of a reader that fetches one byte at a time,
// fetching before a bit or a byte is taken while 8 bits or fewer are buffered,
// so that callers see the same progress whatever the codec does inside.
#pragma once

#include <cstddef>
#include <cstdint>

namespace lzh {

class ByteSink {
public:
    // Takes the next `count` output bytes. Called with blocks of at most kSinkBlock bytes.
    virtual void put(const std::uint8_t* bytes, std::size_t count) = 0;

protected:
    ~ByteSink() = default;
};

inline constexpr std::size_t kSinkBlock = 32768;

class FetchListener {
public:
    // `fetches` byte fetches have been asked of the source so far, including
    // those past its end that yielded nothing. Called with a growing count, at
    // least once for each symbol that consumed input.
    virtual void fetched(std::uint64_t fetches) = 0;

protected:
    ~FetchListener() = default;
};

// Takes a decoder's output part by part, from buffers that the decoder
// reuses: a part's bytes stay unchanged until the next put() or end()
// returns, so they may be written out while the next part is decoded.
class PartSink {
public:
    virtual void put(const std::uint8_t* bytes, std::size_t count) = 0;
    // After the last part: returns once the sink is done with it.
    virtual void end() = 0;

protected:
    ~PartSink() = default;
};

} // namespace lzh
