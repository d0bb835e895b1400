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
int openInPlace(const fs::path& path) {
    return ::_open(path.string().c_str(), _O_WRONLY | _O_APPEND | _O_BINARY);
}
int keepPermissions(int, fs::perms) {
    return 0; // a new file's attributes serve
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
int openInPlace(const fs::path& path) {
    return ::open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC); // after what is there
}
int keepPermissions(int fd, fs::perms permissions) {
    return ::fchmod(fd, static_cast<mode_t>(permissions & fs::perms::mask));
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

// The file a chain of links ends at, which may not exist yet; `target` when it is no link.
// Nothing for a link through /proc (/dev/stdout, /dev/fd/N): it names an open descriptor,
// whose file is written into as the shell opened it, not replaced behind its back.
std::optional<fs::path> followLinks(fs::path target) {
    std::error_code ec;
    for (int hop = 0; hop < 40 && fs::is_symlink(fs::symlink_status(target, ec)); ++hop) {
        if (fs::weakly_canonical(target.parent_path(), ec).string().starts_with("/proc/"))
            return std::nullopt;
        const fs::path link = fs::read_symlink(target, ec);
        if (ec)
            break;
        target = link.is_absolute() ? link : target.parent_path() / link;
    }
    return target;
}

} // namespace

FileReplacement::FileReplacement(const fs::path& target, FileMode mode) : mode_(mode) {
    std::error_code ec;
    const fs::file_status status = fs::status(target, ec);
    // A device or a pipe (/dev/stdout, a FIFO) is not replaced: it takes the bytes as they
    // come. A link stays, and the file it leads to is replaced.
    const std::optional<fs::path> file = followLinks(target);
    inPlace_ =
        !file || (fs::exists(status) && !fs::is_regular_file(status) && !fs::is_directory(status));
    target_ = inPlace_ ? target : *file;
    if (inPlace_) {
        fd_ = openInPlace(target_);
    } else {
        partial_ = freshNameBeside(target_);
        fd_ = openNew(partial_);
    }
    opened_ = fd_ >= 0;
    if (!opened_) {
        failure_ = std::strerror(errno);
    } else if (!inPlace_ && fs::is_regular_file(status) && mode_ == FileMode::Regular &&
               keepPermissions(fd_, status.permissions()) != 0) {
        failure_ = std::strerror(errno); // a private file must not become readable to others
    }
}

FileReplacement::~FileReplacement() {
    if (fd_ >= 0) {
        closeFile(fd_);
    }
    if (opened_ && !committed_ && !inPlace_) {
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
        if (!inPlace_ && written_ - startedTo_ >= kWriteBackStep) {
            startWriteBack(fd_, startedTo_, static_cast<std::size_t>(written_ - startedTo_));
            startedTo_ = written_;
        }
    }
    return failure_;
}

std::optional<std::string> FileReplacement::commit() {
    if (!failure_ && !inPlace_ && mode_ == FileMode::Executable && makeExecutable(fd_) != 0) {
        failure_ = std::strerror(errno);
    }
    // On the disk before the rename: after a crash the target is the old file or the whole new one.
    if (!failure_ && !inPlace_ && syncToDisk(fd_) != 0) {
        failure_ = std::strerror(errno);
    }
    if (fd_ >= 0) {
        if (closeFile(fd_) != 0 && !failure_) {
            failure_ = std::strerror(errno);
        }
        fd_ = -1;
    }
    std::error_code ec;
    if (!failure_ && !inPlace_) {
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
