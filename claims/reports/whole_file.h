// Exports are written whole or not at all: to a temporary file beside the target, every write
// checked, flushed to the disk, then renamed over the target. A failure leaves no file under the
// chosen name and an earlier file there untouched. The file is readable by its owner only, as
// the register is: a list of claims is no business of the machine's other users.
#pragma once

#include <QByteArray>
#include <QString>

namespace reports {

// On failure returns false and says why in `error`.
bool writeWholeFile(const QString& path, const QByteArray& data, QString* error);

// The last step of the same: flushes the finished file `temporary` (beside `path`) to the disk,
// renames it over `path` and flushes the folder, so the new name survives a power cut too. On
// failure removes `temporary`, returns false and says why in `error`.
bool renameWholeFile(const QString& temporary, const QString& path, QString* error);

} // namespace reports
