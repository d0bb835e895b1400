// Message box, input prompt and F4 over Qt's dialogs, with the scripted stand-in for tests.
#include "dialogs.h"

#include <QApplication>
#include <QComboBox>
#include <QInputDialog>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

namespace platform {
namespace {

DialogScript* g_armed = nullptr;
// The window the last real box was shown over: it gets the activation back when the box closes.
QPointer<QWidget> g_box_owner;

QWidget* dialog_parent() {
    QWidget* modal = QApplication::activeModalWidget();
    g_box_owner = modal != nullptr ? modal : QApplication::activeWindow();
    return g_box_owner;
}

// Opens the list once `window` is the active window again, if the combo still has its focus then.
class OpenOnActivation : public QObject {
public:
    OpenOnActivation(QWidget* window, QComboBox* combo) : QObject(combo), window_(window) {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == window_ && event->type() == QEvent::WindowActivate) {
            window_->removeEventFilter(this);
            // Qt gives the focus back to the window's focus widget after this event.
            QTimer::singleShot(0, parent(), [combo = static_cast<QComboBox*>(parent())] {
                if (combo->hasFocus())
                    combo->showPopup();
            });
            deleteLater();
        }
        return false;
    }

private:
    QPointer<QWidget> window_;
};

QString describe(const ShownBox& box) {
    return QStringLiteral("\"%1\" (title \"%2\")").arg(box.text, box.title);
}

} // namespace

int MsgBox(const QString& text, MsgBoxStyle style, const QString& title) {
    const ShownBox box{ShownBox::Kind::Message, text, title, style};
    if (DialogScript* script = DialogScript::armed())
        return script->take_button(box);
    if (style == MsgBoxStyle::Information) {
        QMessageBox::information(dialog_parent(), title, text, QMessageBox::Ok);
        return vbOK;
    }
    const auto pressed = QMessageBox::question(
        dialog_parent(), title, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
    return pressed == QMessageBox::Yes ? vbYes : vbNo;
}

QString InputBox(const QString& prompt, const QString& title) {
    const ShownBox box{ShownBox::Kind::Input, prompt, title, MsgBoxStyle::Information};
    if (DialogScript* script = DialogScript::armed())
        return script->take_text(box);
    bool ok = false;
    const QString text =
        QInputDialog::getText(dialog_parent(), title, prompt, QLineEdit::Normal, QString(), &ok);
    return ok ? text : QString();
}

void SendF4() {
    if (auto* combo = qobject_cast<QComboBox*>(QApplication::focusWidget())) {
        combo->showPopup();
        return;
    }
    // Right after a message box closes no window is active yet (the window manager gives the
    // activation back a moment later), so nothing has the focus: the form the box covered keeps
    // the control it focused as its focus widget, and the list opens once the form is active.
    QWidget* window = g_box_owner != nullptr ? g_box_owner->window() : nullptr;
    if (window == nullptr || !window->isVisible() || QApplication::activeWindow() != nullptr)
        return;
    if (auto* combo = qobject_cast<QComboBox*>(window->focusWidget())) {
        new OpenOnActivation(window, combo);
        window->activateWindow(); // without a window manager nothing else would
    }
}

DialogScript::DialogScript(FaultHandler on_fault) : on_fault_(std::move(on_fault)) {
    if (g_armed != nullptr)
        fault(QStringLiteral("a dialog script is already armed"));
    g_armed = this;
}

DialogScript::~DialogScript() {
    if (g_armed == this)
        g_armed = nullptr;
    if (!queue_.empty())
        fault(QStringLiteral("%1 queued answer(s) were never asked for").arg(queue_.size()));
}

DialogScript& DialogScript::answer(int button) {
    if (button != vbYes && button != vbNo)
        fault(QStringLiteral("a question box can only be answered vbYes or vbNo"));
    queue_.emplace_back(button);
    return *this;
}

DialogScript& DialogScript::type(const QString& text) {
    queue_.emplace_back(text);
    return *this;
}

DialogScript* DialogScript::armed() {
    return g_armed;
}

int DialogScript::take_button(const ShownBox& box) {
    shown_.push_back(box);
    if (box.style == MsgBoxStyle::Information)
        return vbOK;
    if (queue_.empty() || !std::holds_alternative<int>(queue_.front())) {
        fault(QStringLiteral("unexpected question box ") + describe(box));
        return vbNo;
    }
    const int button = std::get<int>(queue_.front());
    queue_.pop_front();
    return button;
}

QString DialogScript::take_text(const ShownBox& box) {
    shown_.push_back(box);
    if (queue_.empty() || !std::holds_alternative<QString>(queue_.front())) {
        fault(QStringLiteral("unexpected input prompt ") + describe(box));
        return {};
    }
    QString text = std::get<QString>(queue_.front());
    queue_.pop_front();
    return text;
}

void DialogScript::fault(const QString& what) {
    if (on_fault_) {
        on_fault_(what);
        return;
    }
    std::fprintf(stderr, "DialogScript: %s\n", qPrintable(what));
    std::abort();
}

} // namespace platform
