// Turns a QComboBox into a pick-only box with an event filter and a read-only text part.
#include "pick_only.h"

#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>

namespace platform {
namespace {

// True for the keys a pick-only box still obeys, and for every key that types a character,
// Backspace and Enter included, which go on to the form's KeyPress handler.
bool passes(const QKeyEvent& key) {
    switch (key.key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Escape:
    case Qt::Key_F4:
    case Qt::Key_Backspace:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return true;
    case Qt::Key_Up:
    case Qt::Key_Down:
        return key.modifiers().testFlag(Qt::AltModifier);
    default:
        return key.text().size() == 1 && key.text().at(0).isPrint();
    }
}

class PickOnlyFilter : public QObject {
public:
    explicit PickOnlyFilter(QComboBox* combo) : QObject(combo), combo_(combo) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
        case QEvent::KeyPress:
            return watched == combo_ && !passes(*static_cast<QKeyEvent*>(event));
        case QEvent::Wheel:
            return watched == combo_;
        case QEvent::MouseButtonPress:
            if (watched != combo_->lineEdit() ||
                static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton)
                return false;
            combo_->showPopup();
            return true;
        default:
            return false;
        }
    }

private:
    QComboBox* combo_;
};

} // namespace

void MakePickOnly(QComboBox* combo) {
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setCompleter(nullptr);
    QLineEdit* text = combo->lineEdit();
    text->setReadOnly(true);
    // The combo box turns Enter and the loss of focus into a choice of the entry whose text the
    // box shows; here only the list chooses.
    QObject::disconnect(text, &QLineEdit::returnPressed, combo, nullptr);
    QObject::disconnect(text, &QLineEdit::editingFinished, combo, nullptr);
    auto* filter = new PickOnlyFilter(combo);
    combo->installEventFilter(filter);
    text->installEventFilter(filter);
}

void SetPickOnlyText(QComboBox* combo, const QString& text) {
    combo->setCurrentIndex(combo->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive));
    combo->setEditText(text);
}

} // namespace platform
