// The keystroke filters the forms share, and the program's one instance of them, `key_check`.
//
// Each filter takes the code of the key being typed (KeyAscii), sets it to 0 when the key is not
// admitted, which discards the keystroke, and returns the resulting code. The calling form is
// passed along but not used. The class keeps no state.
#pragma once

#include <QtGlobal>

class QWidget;

class Class1 {
public:
    // Admits the digits, Backspace, Enter, ".", "," and the blank.
    qint16 only_numeric(qint16& KeyAscii, QWidget* frm) const;
    // Admits the letters a-z and A-Z, Backspace, Enter, ".", the blank, "(", ")" and "-".
    qint16 only_alpha(qint16& KeyAscii, QWidget* frm) const;
};

namespace Module1 {
extern Class1 key_check;
} // namespace Module1
