#include "replace_file.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace fs = std::filesystem;

namespace packaging {
namespace {

// A name beside `target` that no file has yet.
fs::path freshNameBeside(const fs::path& target) {
    std::random_device seed;
    std::mt19937_64 draw(seed());
    for (;;) {
        fs::path candidate = target;
        candidate += ".partial-" + std::to_string(draw() % 1'000'000'000);
        std::error_code ec;
        if (!fs::exists(candidate, ec) && !ec)
            return candidate;
    }
}

} // namespace

std::optional<std::string> replaceFile(const fs::path& target, std::span<const std::uint8_t> bytes,
                                       FileMode mode) {
    const fs::path partial = freshNameBeside(target);
    const int fd = ::open(partial.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        return std::strerror(errno);
    }
    std::optional<std::string> failure;
    std::size_t done = 0;
    while (!failure && done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno != EINTR) {
            failure = std::strerror(errno);
        } else if (n > 0) {
            done += static_cast<std::size_t>(n);
        }
    }
    if (!failure && mode == FileMode::Executable && ::fchmod(fd, 0755) != 0) {
        failure = std::strerror(errno);
    }
    // On the disk before the rename: after a crash the target is the old file or the whole new one.
    if (!failure && ::fsync(fd) != 0) {
        failure = std::strerror(errno);
    }
    if (::close(fd) != 0 && !failure) {
        failure = std::strerror(errno);
    }
    std::error_code ec;
    if (!failure) {
        fs::rename(partial, target, ec);
        if (ec) {
            failure = ec.message();
        }
    }
    if (failure) {
        fs::remove(partial, ec);
    }
    return failure;
}

} // namespace packaging
