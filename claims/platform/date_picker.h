// The date picker every form uses: a QDateEdit with English month names that takes a typed date
// exactly as typed.
//
// While the month is typed, a plain QDateEdit moves a day the month lacks to the month's last
// day, so typing 29-02-2024 over a date in 2026 gave 28-02-2024. Here the day the clerk typed is
// kept and put back once the month and year typed after it have that day; a date that never
// has it (30-02-2024) is refused: when the clerk leaves the picker, it returns to the date it held
// before the typing began. The pickers show the day first. Forms name it in their .ui files.
#pragma once

#include <QDate>
#include <QDateEdit>

namespace platform {

class DatePicker : public QDateEdit {
    Q_OBJECT

public:
    explicit DatePicker(QWidget* parent = nullptr);

    QValidator::State validate(QString& input, int& pos) const override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    QDate before_typing_;
    // The day typed that the month shown lacks; 0 when the date shown is the one typed.
    mutable int typed_day_ = 0;
};

} // namespace platform
