// An event filter per combo box that drops the keys and wheel turns that step through its list.
#include "pick_only.h"

#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>

namespace platform {
namespace {

// Keys with which a closed combo box steps to another entry of its list by itself. Alt+Down and
// Alt+Up open the list instead, so they pass.
bool steps_through_list(const QKeyEvent& event) {
    switch (event.key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
        return !(event.modifiers() & Qt::AltModifier);
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Delete:
        return true;
    default:
        return false;
    }
}

class PickOnlyFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Wheel)
            return true;
        if (event->type() == QEvent::KeyPress &&
            steps_through_list(*static_cast<QKeyEvent*>(event)))
            return true;
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

void MakePickOnly(QComboBox* combo) {
    combo->installEventFilter(new PickOnlyFilter(combo));
}

} // namespace platform
