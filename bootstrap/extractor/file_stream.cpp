// FileStream over the OS layer's File: whole reads and writes, and the texts of
// its failures.
#include "file_stream.h"

#include "bootstrap_error.h"

#include <limits>
#include <utility>

FileStream FileStream::openForReading(const std::string& path) {
    std::string reason;
    os::File file = os::File::open(path, os::File::Mode::readShared, reason);
    if (!file.isOpen()) {
        throw EBootstrapError("Cannot open file \"" + path + "\". " + reason);
    }
    return FileStream(std::move(file));
}

FileStream FileStream::create(const std::string& path, bool executable) {
    std::string reason;
    os::File file = os::File::open(
        path, executable ? os::File::Mode::createExecutable : os::File::Mode::create, reason);
    if (!file.isOpen()) {
        throw EBootstrapError("Cannot create file \"" + path + "\". " + reason);
    }
    return FileStream(std::move(file));
}

std::size_t FileStream::Read(void* buffer, std::size_t count) {
    const auto done = file_.read(buffer, count);
    if (!done) {
        throw EBootstrapError(kStreamReadError);
    }
    return *done;
}

void FileStream::ReadBuffer(void* buffer, std::size_t count) {
    if (Read(buffer, count) != count) {
        throw EBootstrapError(kStreamReadError);
    }
}

void FileStream::WriteBuffer(const void* buffer, std::size_t count) {
    if (!file_.write(buffer, count)) {
        throw EBootstrapError(kStreamWriteError);
    }
}

std::uint64_t FileStream::seek(std::int64_t offset, os::File::Origin origin) {
    const auto position = file_.seek(offset, origin);
    if (!position) {
        throw EBootstrapError(kStreamReadError);
    }
    return *position;
}

std::uint64_t FileStream::Position() {
    return seek(0, os::File::Origin::current);
}

void FileStream::SetPosition(std::uint64_t position) {
    if (position > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) {
        throw EBootstrapError(kStreamReadError);
    }
    seek(static_cast<std::int64_t>(position), os::File::Origin::begin);
}

std::uint64_t FileStream::Size() {
    const std::uint64_t here = Position();
    const std::uint64_t size = seek(0, os::File::Origin::end);
    SetPosition(here);
    return size;
}
