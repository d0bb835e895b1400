// Value formatters for report fields.
#include "reports/value_format.h"

#include <QDate>
#include <QDateTime>

namespace reports {

QString plainText(const QVariant& value) {
    return value.isNull() ? QString() : value.toString();
}

ValueFormatter dateText(const QString& pattern) {
    return [pattern](const QVariant& value) {
        QDate date;
        switch (value.typeId()) {
        case QMetaType::QDate:
            date = value.toDate();
            break;
        case QMetaType::QDateTime:
            date = value.toDateTime().date();
            break;
        case QMetaType::QString:
            date = QDate::fromString(value.toString().left(10), Qt::ISODate);
            break;
        default:
            break;
        }
        // QDate::toString with a pattern always uses English names.
        return date.isValid() ? date.toString(pattern) : plainText(value);
    };
}

ValueFormatter numberText(int decimals) {
    return [decimals](const QVariant& value) {
        bool isNumber = false;
        const double number = value.toDouble(&isNumber);
        return isNumber && !value.isNull() ? QString::number(number, 'f', decimals)
                                           : plainText(value);
    };
}

} // namespace reports
