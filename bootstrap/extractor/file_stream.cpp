// FileStream over the OS layer's File: whole reads and writes, and the texts of
// its failures.
#include "file_stream.h"

#include "bootstrap_error.h"

#include <limits>
#include <utility>

FileStream FileStream::openForReading(const std::string& path) {
    os::File::Failure failure;
    os::File file = os::File::open(path, os::File::Mode::readShared, failure);
    if (!file.isOpen()) {
        throw EBootstrapError(kOpenErrorKind,
                              "Cannot open file \"" + path + "\". " + failure.reason);
    }
    return FileStream(std::move(file));
}

namespace {

os::File createFile(const std::string& path, bool executable, os::File::Failure& failure) {
    const auto mode = executable ? os::File::Mode::createExecutable : os::File::Mode::create;
    os::File file = os::File::open(path, mode, failure);
    if (!file.isOpen() && !failure.nameTaken) {
        throw EBootstrapError(kCreateErrorKind,
                              "Cannot create file \"" + path + "\". " + failure.reason);
    }
    return file;
}

} // namespace

FileStream FileStream::create(const std::string& path, bool executable) {
    os::File::Failure failure;
    os::File file = createFile(path, executable, failure);
    if (!file.isOpen()) {
        throw EBootstrapError(kCreateErrorKind,
                              "Cannot create file \"" + path + "\". " + failure.reason);
    }
    return FileStream(std::move(file));
}

std::optional<FileStream> FileStream::createUnlessTaken(const std::string& path, bool executable) {
    os::File::Failure failure;
    os::File file = createFile(path, executable, failure);
    if (!file.isOpen()) {
        return std::nullopt;
    }
    return FileStream(std::move(file));
}

std::size_t FileStream::Read(void* buffer, std::size_t count) {
    const auto done = file_.read(buffer, count);
    if (!done) {
        throw EBootstrapError(kReadErrorKind, kStreamReadError);
    }
    return *done;
}

void FileStream::ReadBuffer(void* buffer, std::size_t count) {
    if (Read(buffer, count) != count) {
        throw EBootstrapError(kReadErrorKind, kStreamReadError);
    }
}

void FileStream::WriteBuffer(const void* buffer, std::size_t count) {
    if (!file_.write(buffer, count)) {
        throw EBootstrapError(kWriteErrorKind, kStreamWriteError);
    }
}

std::uint64_t FileStream::seek(std::int64_t offset, os::File::Origin origin) {
    const auto position = file_.seek(offset, origin);
    if (!position) {
        throw EBootstrapError(kReadErrorKind, kStreamReadError);
    }
    return *position;
}

std::uint64_t FileStream::Position() {
    return seek(0, os::File::Origin::current);
}

void FileStream::SetPosition(std::uint64_t position) {
    if (position > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) {
        throw EBootstrapError(kReadErrorKind, kStreamReadError);
    }
    seek(static_cast<std::int64_t>(position), os::File::Origin::begin);
}

std::uint64_t FileStream::Size() {
    const std::uint64_t here = Position();
    const std::uint64_t size = seek(0, os::File::Origin::end);
    SetPosition(here);
    return size;
}
