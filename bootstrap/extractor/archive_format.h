// The payload archive behind the bootstrap's image, as both its writer (the
// packer) and its reader see it. All numbers are 4 bytes, little-endian:
//   entry count (signed; 0 or less: no entries), then per entry
//   data size C (signed), name length n, n bytes of name, C bytes of one
//   compressed stream (the codec's body and the 4-byte uncompressed length).
// No signature, padding, directory or checksum: the end is found only by
// reading every entry. Names keep their letter case and carry no path.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace archive {

inline constexpr std::size_t kNumberSize = 4;
inline constexpr std::uint32_t kLongestName = 255;

// Whether `name` can stand for a file inside a folder: not empty, not "." or
// "..", and free of path separators (either kind) and zero bytes.
constexpr bool isPlainFileName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of(std::string_view("/\\\0", 3)) == std::string_view::npos;
}

} // namespace archive
