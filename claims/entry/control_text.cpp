// Text access over QLineEdit and QComboBox.
#include "control_text.h"

#include "stored_text.h"

#include <QComboBox>
#include <QLineEdit>

QString control_text(const QWidget* control) {
    if (const auto* box = qobject_cast<const QLineEdit*>(control))
        return box->text();
    if (const auto* combo = qobject_cast<const QComboBox*>(control))
        return combo->currentText();
    return {};
}

void set_control_text(QWidget* control, const QString& text) {
    if (auto* box = qobject_cast<QLineEdit*>(control))
        platform::ShowStoredText(box, text);
    else if (auto* combo = qobject_cast<QComboBox*>(control))
        combo->setEditText(text);
}

void empty_control(QWidget* control) {
    if (auto* combo = qobject_cast<QComboBox*>(control))
        combo->setCurrentIndex(-1);
    set_control_text(control, QString());
}
