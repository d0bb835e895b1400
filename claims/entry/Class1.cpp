#include "Class1.h"

namespace {

constexpr qint16 kBackspace = 8;
constexpr qint16 kEnter = 13;

bool is_between(qint16 code, char first, char last) {
    return code >= first && code <= last;
}

} // namespace

qint16 Class1::only_numeric(qint16& KeyAscii, QWidget* /*frm*/) const {
    const bool admitted = is_between(KeyAscii, '0', '9') || KeyAscii == kBackspace ||
                          KeyAscii == kEnter || KeyAscii == '.' || KeyAscii == ',' ||
                          KeyAscii == ' ';
    if (!admitted)
        KeyAscii = 0;
    return KeyAscii;
}

qint16 Class1::only_alpha(qint16& KeyAscii, QWidget* /*frm*/) const {
    const bool admitted = is_between(KeyAscii, 'a', 'z') || is_between(KeyAscii, 'A', 'Z') ||
                          KeyAscii == kBackspace || KeyAscii == kEnter || KeyAscii == '.' ||
                          KeyAscii == ' ' || KeyAscii == '(' || KeyAscii == ')' || KeyAscii == '-';
    if (!admitted)
        KeyAscii = 0;
    return KeyAscii;
}

namespace Module1 {
Class1 key_check;
} // namespace Module1
