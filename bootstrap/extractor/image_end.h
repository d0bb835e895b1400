// Where an executable image ends in its file, from the file's own headers: the
// payload archive starts at that offset.
//   ELF (32- or 64-bit, little-endian): the end of whatever lies furthest in the
//     file of the sections' contents, the segments' file contents, the section
//     header table and the program header table.
//   PE: the end of the last section's raw data (at least the end of the headers).
// Only the headers are read, so anything appended after the image never changes
// the answer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>

namespace image {

// Fills `into` with the file's bytes from `offset` on; throws when the file
// cannot supply them all.
using ReadAt = std::function<void(std::uint64_t offset, std::span<std::uint8_t> into)>;

// The offset of the first byte after the image, or nothing when the file is
// neither an ELF nor a PE executable or its headers contradict themselves.
std::optional<std::uint64_t> imageEnd(const ReadAt& readAt);

} // namespace image
