// English-named date formatting, independent of the default locale.
#include "format_date.h"

#include <QLocale>

namespace platform {

QString FormatDate(const QDate& date, const QString& pattern) {
    return QLocale::c().toString(date, pattern);
}

} // namespace platform
