// Inputs and shortcuts shared by the codec's tests: reproducible corpora of
// the kinds the codec meets (text, binaries, runs, noise) and one-call
// compression and decompression through TCustom_lzh.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace lzh_test {

using Bytes = std::vector<std::uint8_t>;

Bytes bytesOf(std::string_view text);
Bytes textCorpus(std::size_t size, unsigned seed);   // words, punctuation, lines
Bytes binaryCorpus(std::size_t size, unsigned seed); // tables, zero runs, code-like noise
Bytes randomBytes(std::size_t size, unsigned seed);
// `size` bytes repeating a random block of `period` bytes in which no 3-byte
// string occurs twice (also across the block's end).
Bytes periodicCorpus(std::size_t period, std::size_t size, unsigned seed);

Bytes compressed(const Bytes& input);
// The decoded bytes, or nothing when Decompress returns false.
std::optional<Bytes> decompressed(const Bytes& stream);

} // namespace lzh_test
