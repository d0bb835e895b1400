// A deliberately plain second implementation of the compressed stream format,
// for tests only: bit by bit, byte by byte, arrays and linear scans, sharing
// no code with the codec. Tests hold the codec's streams against it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace reference {

using Bytes = std::vector<std::uint8_t>;

// The length a whole compressed stream states in its last 4 bytes (it must have them).
std::int32_t statedLength(const Bytes& stream);

// Decodes a whole compressed stream (body and length field). Reads 0 bits past
// the end of the stream, as the codec does.
Bytes decode(const Bytes& stream);

// Encodes `input` into a whole compressed stream.
Bytes encode(const Bytes& input);

} // namespace reference
