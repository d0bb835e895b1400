// An empty picker is one at its minimum date, which it shows as a blank special value.
#include "stored_date.h"

#include "values.h"

#include <QDateEdit>

void allow_empty_date(QDateEdit& picker) {
    picker.setMinimumDate(QDate(1752, 9, 14));
    picker.setSpecialValueText(QStringLiteral(" "));
}

void show_date(QDateEdit& picker, const QDate& date) {
    picker.setDate(date.isValid() ? date : picker.minimumDate());
}

QString date_value(const QDateEdit& picker) {
    if (picker.date() == picker.minimumDate())
        return QStringLiteral("Null");
    return store::date_literal(picker.date());
}
