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

// Told how far a decoder's output is final, so that its bytes can go on
// while decoding goes on.
class OutputListener {
public:
    // The first `bytes` bytes of the output will not change any more.
    virtual void decoded(std::uint64_t bytes) = 0;

protected:
    ~OutputListener() = default;
};

} // namespace lzh
