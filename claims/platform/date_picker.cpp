#include "date_picker.h"

#include <QLocale>
#include <QRegularExpression>

namespace platform {

DatePicker::DatePicker(QWidget* parent) : QDateEdit(parent) {
    setLocale(QLocale::c()); // English month names whatever the desktop's language
}

// QDateEdit takes a day the month lacks by rewriting it: note the day as it was typed.
QValidator::State DatePicker::validate(QString& input, int& pos) const {
    const QString typed = input;
    const QValidator::State state = QDateEdit::validate(input, pos);
    if (state == QValidator::Acceptable && input != typed && displayFormat().startsWith('d'))
        typed_day_ = QRegularExpression("^\\s*(\\d+)").match(typed).captured(1).toInt();
    return state;
}

void DatePicker::keyPressEvent(QKeyEvent* event) {
    if (currentSection() == DaySection)
        typed_day_ = 0; // a new day: whatever it is, it is the one typed
    QDateEdit::keyPressEvent(event);
    const QDate typed(date().year(), date().month(), typed_day_);
    if (typed_day_ != 0 && typed.isValid()) {
        typed_day_ = 0;
        setDate(typed);
    }
}

void DatePicker::focusInEvent(QFocusEvent* event) {
    before_typing_ = date();
    typed_day_ = 0;
    QDateEdit::focusInEvent(event);
}

void DatePicker::focusOutEvent(QFocusEvent* event) {
    if (typed_day_ != 0)
        setDate(before_typing_);
    typed_day_ = 0;
    QDateEdit::focusOutEvent(event);
}

} // namespace platform
