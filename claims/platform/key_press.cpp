// Installs an event filter per control that turns key presses into KeyAscii codes.
#include "key_press.h"

#include <QEvent>
#include <QKeyEvent>
#include <QObject>
#include <QWidget>

namespace platform {
namespace {

constexpr qint16 kBackspace = 8;
constexpr qint16 kEnter = 13;

// The character code a key press types, or 0 when it types no character.
qint16 key_ascii(const QKeyEvent& event) {
    switch (event.key()) {
    case Qt::Key_Backspace:
        return kBackspace;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return kEnter;
    default:
        break;
    }
    // A key held with Ctrl is a command (Ctrl+V pastes), not a character, whatever text the
    // platform attaches to it; Ctrl+Alt is AltGr on some keyboards and does type characters.
    const auto modifiers = event.modifiers();
    if ((modifiers & Qt::ControlModifier) && !(modifiers & Qt::AltModifier))
        return 0;
    const QString text = event.text();
    if (text.size() != 1 || !text.at(0).isPrint())
        return 0;
    return static_cast<qint16>(text.at(0).unicode());
}

class KeyPressFilter : public QObject {
public:
    KeyPressFilter(QWidget* control, KeyPressHandler handler)
        : QObject(control), handler_(std::move(handler)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return QObject::eventFilter(watched, event);
        qint16 code = key_ascii(*static_cast<QKeyEvent*>(event));
        if (code == 0)
            return false;
        handler_(code);
        return code == 0;
    }

private:
    KeyPressHandler handler_;
};

} // namespace

void OnKeyPress(QWidget* control, KeyPressHandler handler) {
    control->installEventFilter(new KeyPressFilter(control, std::move(handler)));
}

} // namespace platform
