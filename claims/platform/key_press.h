// A control's KeyPress event as the forms know it: every typed character reaches a handler as its
// character code, KeyAscii, which the handler may set to 0 to discard the keystroke.
//
// Backspace arrives as 8 and Enter as 13, like any typed character. Keys that type nothing
// (arrows, Delete, Tab, function keys) and text that arrives by pasting do not reach the handler.
#pragma once

#include <QtGlobal>
#include <functional>

class QWidget;

namespace platform {

using KeyPressHandler = std::function<void(qint16& KeyAscii)>;

// Calls `handler` for each character typed into `control` (or into a child it forwards keys to)
// and discards the key when the handler leaves KeyAscii at 0. The filter lives as long as the
// control.
void OnKeyPress(QWidget* control, KeyPressHandler handler);

} // namespace platform
