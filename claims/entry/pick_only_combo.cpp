// The event filter that keeps a combo box's value to what is chosen from its list.
#include "pick_only_combo.h"

#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>

namespace {

bool opens_list(const QKeyEvent& key) {
    return (key.key() == Qt::Key_Down || key.key() == Qt::Key_Up) &&
           key.modifiers().testFlag(Qt::AltModifier);
}

bool moves_selection(const QKeyEvent& key) {
    switch (key.key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_Delete:
        return !opens_list(key);
    default:
        return false;
    }
}

class PickOnlyFilter : public QObject {
public:
    explicit PickOnlyFilter(QComboBox& combo) : QObject(&combo), combo_(combo) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
        case QEvent::KeyPress:
            return moves_selection(*static_cast<QKeyEvent*>(event));
        case QEvent::Wheel:
            return true;
        case QEvent::MouseButtonPress:
            if (watched == combo_.lineEdit()) {
                combo_.showPopup();
                return true;
            }
            return false;
        default:
            return QObject::eventFilter(watched, event);
        }
    }

private:
    QComboBox& combo_;
};

} // namespace

void make_pick_only(QComboBox& combo) {
    combo.setEditable(true);
    combo.setInsertPolicy(QComboBox::NoInsert);
    combo.setCompleter(nullptr);
    combo.lineEdit()->setReadOnly(true);
    // An editable box otherwise takes its text as a choice when it loses the focus, and reports
    // it as activated: a shown value would then run the box's switch without any choice made.
    QObject::disconnect(combo.lineEdit(), &QLineEdit::editingFinished, &combo, nullptr);
    auto* filter = new PickOnlyFilter(combo);
    combo.installEventFilter(filter);
    combo.lineEdit()->installEventFilter(filter);
}
