// Date formatting with Qt's patterns ("dd-MMM-yyyy", "dd-MM-yyyy"), always with English month and
// day names whatever the user's locale, because dates written into statements and printed on
// reports must read the same on every machine.
#pragma once

#include <QDate>
#include <QString>

namespace platform {

QString FormatDate(const QDate& date, const QString& pattern);

} // namespace platform
