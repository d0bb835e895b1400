// Names, folder and rotation of the automatic copies.
#include "automatic.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <map>
#include <set>

namespace backup {
namespace {

constexpr int kDaily = 7;
constexpr int kWeekly = 4;
const QString kPattern = QStringLiteral("'VETRA-'yyyy-MM-dd-HHmmss'.mdb'");

QDateTime taken(const QString& name) {
    return QDateTime::fromString(name, kPattern);
}

// The automatic copies in `folder`, oldest first.
std::map<QDateTime, QString> copies(const QString& folder) {
    std::map<QDateTime, QString> found;
    for (const QString& name : QDir(folder).entryList({"VETRA-*.mdb"}, QDir::Files))
        if (const QDateTime when = taken(name); when.isValid())
            found[when] = name;
    return found;
}

} // namespace

QString automatic_folder(const QString& register_path) {
    const QString chosen = QSettings().value("backup/folder").toString();
    return !chosen.isEmpty() ? chosen : QFileInfo(register_path).dir().filePath("backups");
}

QString automatic_name(const QDateTime& when) {
    return when.toString(kPattern);
}

bool has_copy_of(const QString& folder, const QDate& day) {
    for (const auto& [when, name] : copies(folder))
        if (when.date() == day)
            return true;
    return false;
}

QStringList rotate(const QString& folder) {
    const std::map<QDateTime, QString> all = copies(folder);
    const auto week_of = [](const QDate& day) {
        int year = 0;
        const int week = day.weekNumber(&year);
        return std::pair{year, week};
    };
    std::set<QString> kept;
    std::set<QDate> days;
    std::set<std::pair<int, int>> covered; // weeks of the daily copies
    std::set<std::pair<int, int>> weeks;   // weeks of the weekly copies
    // Newest first: the first copy met of a day or a week is its newest.
    for (auto it = all.rbegin(); it != all.rend(); ++it) {
        const QDate day = it->first.date();
        if (days.count(day) != 0)
            continue;
        if (days.size() < kDaily) {
            days.insert(day);
            covered.insert(week_of(day));
            kept.insert(it->second);
        } else if (covered.count(week_of(day)) == 0 && weeks.size() < kWeekly &&
                   weeks.insert(week_of(day)).second) {
            kept.insert(it->second);
        }
    }
    QStringList deleted;
    for (const auto& [when, name] : all)
        if (kept.count(name) == 0 && QDir(folder).remove(name))
            deleted << name;
    return deleted;
}

} // namespace backup
