// Test side of AwaitWindow: a window the test expects to open, its faults reported as test
// failures.
#pragma once

#include "await_window.h"

#include <gtest/gtest.h>
#include <memory>

namespace acceptance {

// Arms a wait for the `Window` that the next blocking action opens (modal unless told otherwise);
// `work` must close it, or end the program.
template <typename Window>
std::unique_ptr<AwaitWindow> expect_window(std::function<void(Window&)> work, bool modal = true) {
    return std::make_unique<AwaitWindow>(
        [modal]() -> QWidget* { return modal ? active_modal<Window>() : showing_window<Window>(); },
        [work = std::move(work)](QWidget& window) { work(static_cast<Window&>(window)); },
        [](const QString& fault) {
            ADD_FAILURE() << Window::staticMetaObject.className() << ": " << fault.toStdString();
        });
}

} // namespace acceptance
