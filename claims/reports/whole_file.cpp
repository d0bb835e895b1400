// Whole-or-nothing file output through the system calls, so that every step's failure is seen.
#include "reports/whole_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace reports {

namespace {

bool fail(QString* error, int number) {
    if (error)
        *error = QString::fromLocal8Bit(std::strerror(number));
    return false;
}

bool writeAll(int fd, const QByteArray& data) {
    const char* next = data.constData();
    qint64 left = data.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, next, size_t(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            if (written == 0)
                errno = EIO;
            return false;
        }
        next += written;
        left -= written;
    }
    return true;
}

} // namespace

bool renameWholeFile(const QString& temporary, const QString& path, QString* error) {
    const QByteArray from = QFile::encodeName(temporary);
    const QFileInfo target(path);
    const int fd = ::open(from.constData(), O_RDWR);
    const bool synced = fd >= 0 && ::fsync(fd) == 0;
    const int syncError = errno;
    const bool closed = fd >= 0 && ::close(fd) == 0;
    const int closeError = errno;
    if (!synced || !closed) {
        ::unlink(from.constData());
        return fail(error, !synced ? syncError : closeError);
    }
    if (::rename(from.constData(), QFile::encodeName(target.absoluteFilePath()).constData()) != 0) {
        const int renameError = errno;
        ::unlink(from.constData());
        return fail(error, renameError);
    }
    // The new name is on the disk too, not only the data.
    const int dir =
        ::open(QFile::encodeName(target.absolutePath()).constData(), O_RDONLY | O_DIRECTORY);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

namespace {
// Writes reach the disk in pieces of this size, not one call per small write.
constexpr qsizetype wholeFileBuffer = 1 << 16;
} // namespace

WholeFile::WholeFile(const QString& path) : path_(path) {}

WholeFile::~WholeFile() {
    discard();
}

bool WholeFile::create(QString* error) {
    const QFileInfo target(path_);
    temporary_ = QFile::encodeName(
        QDir(target.absolutePath()).filePath("." + target.fileName() + ".XXXXXX"));
    fd_ = ::mkstemp(temporary_.data());
    if (fd_ < 0) {
        temporary_.clear();
        return fail(error, errno);
    }
    buffer_.reserve(wholeFileBuffer);
    QIODevice::open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    return true;
}

qint64 WholeFile::writeData(const char* data, qint64 length) {
    if (fd_ < 0 || error_ != 0)
        return -1;
    buffer_.append(data, qsizetype(length));
    if (buffer_.size() >= wholeFileBuffer && !flushBuffer())
        return -1;
    return length;
}

bool WholeFile::flushBuffer() {
    if (!writeAll(fd_, buffer_)) {
        error_ = errno;
        return false;
    }
    buffer_.clear();
    return true;
}

bool WholeFile::commit(QString* error) {
    if (fd_ < 0)
        return fail(error, EBADF);
    if (error_ == 0)
        flushBuffer();
    QIODevice::close();
    ::close(fd_);
    fd_ = -1;
    if (error_ != 0) {
        const int writeError = error_;
        discard();
        return fail(error, writeError);
    }
    const QString temporary = QFile::decodeName(temporary_);
    temporary_.clear(); // renameWholeFile removes it on failure
    return renameWholeFile(temporary, path_, error);
}

void WholeFile::discard() {
    if (fd_ >= 0) {
        QIODevice::close();
        ::close(fd_);
        fd_ = -1;
    }
    if (!temporary_.isEmpty())
        ::unlink(temporary_.constData());
    temporary_.clear();
}

} // namespace reports
