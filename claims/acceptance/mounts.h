// File systems a test mounts for itself (the tests run as root): a small tmpfs that can be
// filled, and a read-only view of a folder, which root cannot write through either, unlike a
// folder whose permission bits merely forbid it. Each is unmounted when its object ends,
// whatever the test's outcome. A machine that refuses to mount gives the reason instead.
#pragma once

#include <QString>
#include <memory>

namespace acceptance {

class Mount {
public:
    // A tmpfs of `bytes` on the existing folder `where`.
    static std::unique_ptr<Mount> small_disk(const QString& where, qint64 bytes, QString* refused);
    // The folder `source` again at the existing folder `where`, read-only.
    static std::unique_ptr<Mount> read_only_view(const QString& source, const QString& where,
                                                 QString* refused);
    ~Mount();
    Mount(const Mount&) = delete;
    Mount& operator=(const Mount&) = delete;

private:
    explicit Mount(QString where) : where_(std::move(where)) {}
    QString where_;
};

// Writes zeros into a new file `path` until the disk refuses; returns the bytes written.
qint64 fill_disk(const QString& path);

} // namespace acceptance
