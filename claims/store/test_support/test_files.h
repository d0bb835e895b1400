// Test helpers: the exact bytes of a file and the names in a folder, to prove a failed open
// changed nothing.
#pragma once

#include <QDir>
#include <QFile>
#include <QStringList>

namespace store::test {

inline QByteArray file_bytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline void write_bytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
}

inline QStringList folder_names(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                                  QDir::Name);
}

} // namespace store::test
