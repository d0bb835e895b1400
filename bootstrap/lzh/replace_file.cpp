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
void startWriteBack(int, std::uint64_t, std::size_t) {}
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
void startWriteBack(int fd, std::uint64_t offset, std::size_t count) {
#if defined(__linux__)
    // Only a start: the sync before the rename still waits for all of it.
    ::sync_file_range(fd, static_cast<off_t>(offset), static_cast<off_t>(count),
                      SYNC_FILE_RANGE_WRITE);
#else
    (void)fd;
    (void)offset;
    (void)count;
#endif
}
#endif

constexpr std::uint64_t kWriteBackStep = std::uint64_t{1} << 20;

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

FileReplacement::FileReplacement(const fs::path& target, FileMode mode)
    : target_(target), partial_(freshNameBeside(target)), mode_(mode) {
    fd_ = openNew(partial_);
    opened_ = fd_ >= 0;
    if (!opened_) {
        failure_ = std::strerror(errno);
    }
}

FileReplacement::~FileReplacement() {
    if (fd_ >= 0) {
        closeFile(fd_);
    }
    if (opened_ && !committed_) {
        std::error_code ec;
        fs::remove(partial_, ec);
    }
}

std::optional<std::string> FileReplacement::append(std::span<const std::uint8_t> bytes) {
    std::size_t done = 0;
    while (!failure_ && done < bytes.size()) {
        const long n = writeSome(fd_, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
        } else if (n == 0 || errno != EINTR) {
            failure_ = n == 0 ? "write error" : std::strerror(errno);
        }
    }
    if (!failure_) {
        written_ += done;
        // In steps of a megabyte or more, however small the parts come.
        if (written_ - startedTo_ >= kWriteBackStep) {
            startWriteBack(fd_, startedTo_, static_cast<std::size_t>(written_ - startedTo_));
            startedTo_ = written_;
        }
    }
    return failure_;
}

std::optional<std::string> FileReplacement::commit() {
    if (!failure_ && mode_ == FileMode::Executable && makeExecutable(fd_) != 0) {
        failure_ = std::strerror(errno);
    }
    // On the disk before the rename: after a crash the target is the old file or the whole new one.
    if (!failure_ && syncToDisk(fd_) != 0) {
        failure_ = std::strerror(errno);
    }
    if (fd_ >= 0) {
        if (closeFile(fd_) != 0 && !failure_) {
            failure_ = std::strerror(errno);
        }
        fd_ = -1;
    }
    std::error_code ec;
    if (!failure_) {
        fs::rename(partial_, target_, ec);
        if (ec) {
            failure_ = ec.message();
        }
    }
    committed_ = !failure_;
    return failure_;
}

std::optional<std::string> replaceFile(const fs::path& target, std::span<const std::uint8_t> bytes,
                                       FileMode mode) {
    FileReplacement file(target, mode);
    if (auto failure = file.append(bytes)) {
        return failure;
    }
    return file.commit();
}

} // namespace packaging
