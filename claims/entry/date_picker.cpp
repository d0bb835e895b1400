// An empty picker is one at its minimum date, which it shows as a blank special value.
#include "date_picker.h"

#include "values.h"

#include <QDateEdit>
#include <QLocale>

void setup_date_picker(QDateEdit& picker) {
    picker.setLocale(QLocale::c());
    picker.setDisplayFormat(QStringLiteral("dd-MM-yyyy"));
    picker.setCalendarPopup(true);
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
