// Mounting and unmounting for the tests, through the system calls.
#include "mounts.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

namespace acceptance {
namespace {

QString reason(const char* what, const QString& where) {
    return QStringLiteral("cannot %1 on %2: %3").arg(what, where, std::strerror(errno));
}

} // namespace

std::unique_ptr<Mount> Mount::small_disk(const QString& where, qint64 bytes, QString* refused) {
    const QByteArray options = "size=" + QByteArray::number(bytes);
    if (::mount("tmpfs", QFile::encodeName(where).constData(), "tmpfs", 0, options.constData()) !=
        0) {
        *refused = reason("mount a tmpfs", where);
        return nullptr;
    }
    return std::unique_ptr<Mount>(new Mount(where));
}

std::unique_ptr<Mount> Mount::read_only_view(const QString& source, const QString& where,
                                             QString* refused) {
    const QByteArray target = QFile::encodeName(where);
    if (::mount(QFile::encodeName(source).constData(), target.constData(), nullptr, MS_BIND,
                nullptr) != 0) {
        *refused = reason("bind-mount", where);
        return nullptr;
    }
    auto view = std::unique_ptr<Mount>(new Mount(where));
    // A bind mount takes the read-only flag only when remounted.
    if (::mount(nullptr, target.constData(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) !=
        0) {
        *refused = reason("make read-only the bind mount", where);
        return nullptr;
    }
    return view;
}

Mount::~Mount() {
    // Detached, so that a file still open in it cannot keep the mount alive.
    ::umount2(QFile::encodeName(where_).constData(), MNT_DETACH);
}

qint64 fill_disk(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_EXCL, 0600);
    if (fd < 0)
        return 0;
    qint64 written = 0;
    static const char zeros[4096] = {};
    // Smaller and smaller writes, down to the last byte the disk takes.
    for (std::size_t chunk = sizeof zeros; chunk > 0; chunk /= 2) {
        for (ssize_t n = ::write(fd, zeros, chunk); n > 0; n = ::write(fd, zeros, chunk))
            written += n;
    }
    ::fsync(fd);
    ::close(fd);
    return written;
}

} // namespace acceptance
