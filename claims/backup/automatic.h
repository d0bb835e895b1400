// The automatic copies: one at the first start of each day and one at every normal exit, in the
// folder "backups" beside the register unless the settings name another (key "backup/folder").
// Of the copies there, the newest of each of the last 7 days that have one is kept, and the
// newest of each of the 4 calendar weeks before the weeks of those; older ones are deleted. Copies
// are named "VETRA-yyyy-MM-dd-HHmmss.mdb" and only names of that form are ever deleted.
#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <functional>

namespace backup {

// The time the automatic copies go by; tests give their own.
using Clock = std::function<QDateTime()>;

// The folder of the automatic copies of the register at `register_path`.
QString automatic_folder(const QString& register_path);

// The name of an automatic copy taken at `when`.
QString automatic_name(const QDateTime& when);

// Whether `folder` holds an automatic copy taken on `day`.
bool has_copy_of(const QString& folder, const QDate& day);

// Deletes the automatic copies in `folder` beyond those kept; returns the names deleted.
QStringList rotate(const QString& folder);

} // namespace backup
