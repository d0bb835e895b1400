// Test helpers: the exact bytes of a file and the names in a folder, to prove a failed open
// changed nothing, and the reason a store action fails with.
#pragma once

#include "store_error.h"

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

// The reason `action` fails with, or "" when it does not.
template <typename Action> QString failure(Action action) {
    try {
        action();
    } catch (const StoreError& e) {
        return e.reason();
    }
    return {};
}

} // namespace store::test
