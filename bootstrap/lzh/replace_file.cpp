#include "replace_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <system_error>
#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace packaging {
namespace {

#ifdef _WIN32
int openNew(const fs::path& path) {
    return ::_open(path.string().c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY,
                   _S_IREAD | _S_IWRITE);
}
long writeSome(int fd, const std::uint8_t* bytes, std::size_t count) {
    return ::_write(fd, bytes, static_cast<unsigned>(std::min<std::size_t>(count, 1u << 30)));
}
int makeExecutable(int) {
    return 0; // Windows tells programs by their name
}
int syncToDisk(int fd) {
    return ::_commit(fd);
}
int closeFile(int fd) {
    return ::_close(fd);
}
#else
int openNew(const fs::path& path) {
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
}
long writeSome(int fd, const std::uint8_t* bytes, std::size_t count) {
    return ::write(fd, bytes, count);
}
int makeExecutable(int fd) {
    return ::fchmod(fd, 0755);
}
int syncToDisk(int fd) {
    return ::fsync(fd);
}
int closeFile(int fd) {
    return ::close(fd);
}
#endif

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
    const int fd = openNew(partial);
    if (fd < 0) {
        return std::strerror(errno);
    }
    std::optional<std::string> failure;
    std::size_t done = 0;
    while (!failure && done < bytes.size()) {
        const long n = writeSome(fd, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
        } else if (n == 0 || errno != EINTR) {
            failure = n == 0 ? "write error" : std::strerror(errno);
        }
    }
    if (!failure && mode == FileMode::Executable && makeExecutable(fd) != 0) {
        failure = std::strerror(errno);
    }
    // On the disk before the rename: after a crash the target is the old file or the whole new one.
    if (!failure && syncToDisk(fd) != 0) {
        failure = std::strerror(errno);
    }
    if (closeFile(fd) != 0 && !failure) {
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
