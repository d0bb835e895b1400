// Whole-file output for the packager's command-line tools: the new bytes are written under a
// fresh name beside the target and renamed over it only once complete, so the target is always
// either what it was or the whole new file, never half-written, and nothing is left beside it
// on failure.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>

namespace packaging {

enum class FileMode { Regular, Executable };

// Returns nothing on success, else the reason (the system's text, or a short one of our own).
std::optional<std::string> replaceFile(const std::filesystem::path& target,
                                       std::span<const std::uint8_t> bytes,
                                       FileMode mode = FileMode::Regular);

} // namespace packaging
