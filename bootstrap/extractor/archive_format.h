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

// Why `name` cannot stand for a file of its own inside a folder, or an empty
// text when it can. The extractor skips such entries and the packer refuses
// them. Besides names that leave the folder, Windows would take some names as
// another file's (trailing dots and blanks are dropped, ":" opens a stream) or
// as a device (CON, NUL, COM1, ... with any extension).
constexpr std::string_view unsafeNameReason(std::string_view name) {
    if (name.empty() || name == "." || name == ".." ||
        name.find_first_of(std::string_view("/\\\0", 3)) != std::string_view::npos) {
        return "its name is not a plain file name (empty, \".\", \"..\", or holding a path "
               "separator)";
    }
    if (name.find(':') != std::string_view::npos) {
        return "its name holds a \":\"";
    }
    if (name.back() == '.' || name.back() == ' ') {
        return "its name ends with a dot or a blank, which Windows drops";
    }
    std::string_view stem = name.substr(0, name.find('.'));
    while (!stem.empty() && stem.back() == ' ') {
        stem.remove_suffix(1);
    }
    const auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; };
    const auto stemIs = [&](std::string_view device) {
        if (stem.size() != device.size()) {
            return false;
        }
        for (std::size_t i = 0; i < stem.size(); ++i) {
            if (upper(stem[i]) != device[i] &&
                !(device[i] == '#' && stem[i] >= '1' && stem[i] <= '9')) {
                return false;
            }
        }
        return true;
    };
    for (const std::string_view device :
         {"CON", "PRN", "AUX", "NUL", "COM#", "LPT#", "CONIN$", "CONOUT$"}) {
        if (stemIs(device)) {
            return "its name is a Windows device name";
        }
    }
    return {};
}

} // namespace archive
