// Whole-file output for the packager's command-line tools: the new bytes are written under a
// fresh name beside the target and renamed over it only once complete, so the target is always
// either what it was or the whole new file, never half-written, and nothing is left beside it
// on failure. A replaced file keeps its permissions; a link keeps leading to the replaced file;
// a device or a pipe is written into as it stands.
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

// The same for bytes that come in parts: the new file beside the target takes
// them as they come, and commit() puts it in the target's place. A failure
// sticks (later calls do nothing and report it again); a replacement ended
// without a successful commit leaves nothing behind.
class FileReplacement {
public:
    explicit FileReplacement(const std::filesystem::path& target,
                             FileMode mode = FileMode::Regular);
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;
    ~FileReplacement();

    // Writes the next bytes, and on systems that allow it starts them on
    // their way to the disk, so that commit() has less to wait for.
    std::optional<std::string> append(std::span<const std::uint8_t> bytes);
    // On the disk, then renamed over the target.
    std::optional<std::string> commit();

private:
    std::filesystem::path target_;
    std::filesystem::path partial_;
    FileMode mode_;
    bool inPlace_ = false; // written into as it stands: no partial file, no rename
    int fd_ = -1;
    bool opened_ = false;
    std::uint64_t written_ = 0;
    std::uint64_t startedTo_ = 0; // written bytes started on their way to the disk
    std::optional<std::string> failure_;
    bool committed_ = false;
};

} // namespace packaging
