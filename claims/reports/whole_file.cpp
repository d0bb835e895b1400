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

bool writeWholeFile(const QString& path, const QByteArray& data, QString* error) {
    const QFileInfo target(path);
    const QString folder = target.absolutePath();
    // mkstemp makes the file for its owner only (0600); the rename keeps that.
    QByteArray temporary =
        QFile::encodeName(QDir(folder).filePath("." + target.fileName() + ".XXXXXX"));
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0)
        return fail(error, errno);
    const bool written = writeAll(fd, data) && ::fsync(fd) == 0;
    const int writeError = errno;
    const bool closed = ::close(fd) == 0;
    const int closeError = errno;
    if (!written || !closed) {
        ::unlink(temporary.constData());
        return fail(error, !written ? writeError : closeError);
    }
    if (::rename(temporary.constData(), QFile::encodeName(target.absoluteFilePath()).constData()) !=
        0) {
        const int renameError = errno;
        ::unlink(temporary.constData());
        return fail(error, renameError);
    }
    // The new name is on the disk too, not only the data.
    const int dir = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

} // namespace reports
