// Uses a form's controls, found by their object names, the way a clerk does: clicks, keys typed
// one by one (so every keystroke rule applies), pasting through the clipboard, choosing from a
// list after opening it, dates typed into a picker. A control that is missing or cannot take the
// action is reported as a test failure, never skipped silently. Every GUI test reaches controls
// through it, so a renamed control breaks one lookup, not a test's private accessor.
#pragma once

#include <QString>
#include <QWidget>
#include <stdexcept>

class QDate;

namespace vetra_testing {

class Clerk {
public:
    explicit Clerk(QWidget& form) : form_(form) {}

    template <typename Control = QWidget> Control* find(const QString& name) const {
        auto* control = form_.findChild<Control*>(name);
        if (control == nullptr)
            throw std::runtime_error("the form has no control " + name.toStdString());
        return control;
    }
    QString text(const QString& name) const;

    void click(const QString& button);
    // Types `keys` one by one into the box, after whatever it holds.
    void type(const QString& box, const QString& keys);
    // Selects everything in the box and types `keys` over it.
    void retype(const QString& box, const QString& keys);
    // Pastes `text` over what the box holds with Ctrl+V: no key rule sees it, the length limit
    // cuts it.
    void paste(const QString& box, const QString& text);
    // Opens the list with F4, moves to `entry` and takes it with Enter.
    void choose(const QString& combo, const QString& entry);
    // Types the date's digits into the picker, day, month and year, whatever its display pattern.
    void type_date(const QString& picker, const QDate& date);

private:
    QWidget& form_;
};

} // namespace vetra_testing
