// The bootstrap's OS services on POSIX systems (Linux): the running program from
// /proc/self/exe, $TMPDIR (else /tmp) for temporary files, $PACKSTART_SYSTEM_DIR
// (else /usr/local/lib) for shared libraries, messages as one line on standard
// error, and programs started in a session of their own with their standard
// streams on /dev/null.
//
// Files are created only under a name that nothing has yet, so a link planted
// where the bootstrap writes never redirects the write.
#include "os_services.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace os {

const char kPathSeparator = '/';

namespace {

// The variable's value without trailing separators, or `fallback` when it is unset or empty.
std::string folderFromEnvironment(const char* variable, const char* fallback) {
    const char* value = std::getenv(variable);
    std::string folder = value != nullptr && *value != '\0' ? value : fallback;
    while (folder.size() > 1 && folder.back() == kPathSeparator) {
        folder.pop_back();
    }
    return folder;
}

int descriptor(std::intptr_t handle) {
    return static_cast<int>(handle);
}

} // namespace

std::string ownModulePath() {
    std::vector<char> buffer(256);
    for (;;) {
        const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0) {
            return {};
        }
        if (static_cast<std::size_t>(length) < buffer.size()) {
            return std::string(buffer.data(), static_cast<std::size_t>(length));
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::string temporaryFolder() {
    std::string folder = folderFromEnvironment("TMPDIR", "/tmp");
    if (folder.back() != kPathSeparator) {
        folder += kPathSeparator;
    }
    return folder;
}

std::string systemFolder() {
    return folderFromEnvironment("PACKSTART_SYSTEM_DIR", "/usr/local/lib");
}

FolderResult createFolder(const std::string& path, std::string& reason) {
    if (mkdir(path.c_str(), 0700) == 0) {
        return FolderResult::created;
    }
    if (errno != EEXIST) {
        reason = std::strerror(errno);
        return FolderResult::failed;
    }
    struct stat status {};
    if (lstat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode) &&
        status.st_uid == geteuid()) {
        return FolderResult::existingOurs;
    }
    return FolderResult::existingOther;
}

bool fileExists(const std::string& path) {
    // A link counts as a file even when it leads nowhere: it is never written through.
    struct stat status {};
    return lstat(path.c_str(), &status) == 0 && !S_ISDIR(status.st_mode);
}

bool deleteFile(const std::string& path) {
    return unlink(path.c_str()) == 0;
}

File File::open(const std::string& path, Mode mode, Failure& failure) {
    int fd = -1;
    do {
        if (mode == Mode::readShared) {
            fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        } else {
            fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW,
                        mode == Mode::createExecutable ? 0755 : 0644);
        }
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        failure.nameTaken = errno == EEXIST;
        failure.reason = std::strerror(errno);
        return File(kClosed);
    }
    // A folder opens for reading on POSIX; as a file it is as good as missing.
    struct stat status {};
    if (fstat(fd, &status) == 0 && S_ISDIR(status.st_mode)) {
        ::close(fd);
        failure.reason = std::strerror(EISDIR);
        return File(kClosed);
    }
    return File(fd);
}

void File::close() {
    if (handle_ != kClosed) {
        ::close(descriptor(handle_));
        handle_ = kClosed;
    }
}

std::optional<std::size_t> File::read(void* buffer, std::size_t count) {
    auto* bytes = static_cast<char*>(buffer);
    std::size_t done = 0;
    while (done < count) {
        const ssize_t n = ::read(descriptor(handle_), bytes + done, count - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return std::nullopt;
        }
        if (n == 0) {
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    return done;
}

bool File::write(const void* buffer, std::size_t count) {
    const auto* bytes = static_cast<const char*>(buffer);
    std::size_t done = 0;
    while (done < count) {
        const ssize_t n = ::write(descriptor(handle_), bytes + done, count - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

std::optional<std::uint64_t> File::seek(std::int64_t offset, Origin origin) {
    const int whence = origin == Origin::begin     ? SEEK_SET
                       : origin == Origin::current ? SEEK_CUR
                                                   : SEEK_END;
    const off_t position = lseek(descriptor(handle_), static_cast<off_t>(offset), whence);
    if (position < 0) {
        return std::nullopt;
    }
    return static_cast<std::uint64_t>(position);
}

std::uint32_t clockSeed() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return static_cast<std::uint32_t>(now.tv_sec) * 1'000'000'007u ^
           static_cast<std::uint32_t>(now.tv_nsec);
}

void beep() {
    if (isatty(STDERR_FILENO)) {
        std::fputs("\a", stderr);
    }
}

void messageBox(const std::string& text, const std::string& caption, MessageStyle) {
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
}

void startProgram(const std::string& program, const std::string& parameters) {
    posix_spawn_file_actions_t streams;
    posix_spawnattr_t attributes;
    if (posix_spawn_file_actions_init(&streams) != 0) {
        return;
    }
    if (posix_spawnattr_init(&attributes) != 0) {
        posix_spawn_file_actions_destroy(&streams);
        return;
    }
    for (const int stream : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
        posix_spawn_file_actions_addopen(&streams, stream, "/dev/null",
                                         stream == STDIN_FILENO ? O_RDONLY : O_WRONLY, 0);
    }
    // A session of its own: the program outlives the bootstrap and its terminal.
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
    std::string file = program;
    std::string argument = parameters;
    char* argv[] = {file.data(), argument.data(), nullptr};
    pid_t child = 0;
    posix_spawn(&child, file.c_str(), &streams, &attributes, argv, environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&streams);
}

} // namespace os
