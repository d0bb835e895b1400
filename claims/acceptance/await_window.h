// Waits for a window that an action about to block will open, and works in it.
//
// Arm the wait, then start the action (a menu item, a button, the program's start): the action
// blocks in the window's own event loop, the wait finds the window there and runs `work` on it,
// which closes it when done. A window that does not open within the time limit is a fault, and so
// is a modal window the work left open; either is closed, so nothing ever waits for a person.
#pragma once

#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace acceptance {

// The active modal window when it is a `Window` and showing.
template <typename Window> Window* active_modal() {
    auto* window = qobject_cast<Window*>(QApplication::activeModalWidget());
    return window != nullptr && window->isVisible() ? window : nullptr;
}

// A showing top-level window of type `Window`, modal or not.
template <typename Window> Window* showing_window() {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* window = qobject_cast<Window*>(widget); window != nullptr && window->isVisible())
            return window;
    return nullptr;
}

class AwaitWindow {
public:
    static constexpr int kPollMs = 10;
    static constexpr int kLimitMs = 60000;

    using Find = std::function<QWidget*()>;
    using Work = std::function<void(QWidget&)>;
    using Fault = std::function<void(const QString&)>;

    AwaitWindow(Find find, Work work, Fault fault)
        : find_(std::move(find)), work_(std::move(work)), fault_(std::move(fault)) {
        QObject::connect(&timer_, &QTimer::timeout, [this] { poll(); });
        timer_.start(kPollMs);
    }
    // A window that never came is reported when the wait ends.
    ~AwaitWindow() {
        if (!found_ && !timed_out_)
            fault_(QStringLiteral("the awaited window never opened"));
    }
    AwaitWindow(const AwaitWindow&) = delete;
    AwaitWindow& operator=(const AwaitWindow&) = delete;

private:
    void poll() {
        waited_ms_ += kPollMs;
        if (QWidget* window = find_()) {
            timer_.stop(); // the work runs event loops of its own
            found_ = true;
            const QPointer<QWidget> worked_in(window);
            work_(*window);
            // A modal window the work failed to close would block the action for good.
            if (worked_in && worked_in->isVisible() &&
                QApplication::activeModalWidget() == worked_in) {
                fault_(QStringLiteral("the window was left open"));
                worked_in->close();
            }
            return;
        }
        if (waited_ms_ < kLimitMs)
            return;
        timer_.stop();
        timed_out_ = true;
        fault_(QStringLiteral("the awaited window did not open within %1 ms").arg(kLimitMs));
        if (QWidget* other = QApplication::activeModalWidget())
            other->close();
    }

    Find find_;
    Work work_;
    Fault fault_;
    QTimer timer_;
    int waited_ms_ = 0;
    bool found_ = false;
    bool timed_out_ = false;
};

} // namespace acceptance
