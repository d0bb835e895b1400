// KeyPress with a discardable KeyAscii: which keys reach the handler, with which code, and what
// the box then holds.
#include "key_press.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>
#include <vector>

namespace {

// A line edit whose handler records every code and discards the letter x.
struct FilteredEdit {
    QLineEdit edit;
    std::vector<qint16> seen;

    FilteredEdit() {
        platform::OnKeyPress(&edit, [this](qint16& KeyAscii) {
            seen.push_back(KeyAscii);
            if (KeyAscii == 'x')
                KeyAscii = 0;
        });
    }
};

TEST(OnKeyPress, CharactersBackspaceAndEnterReachTheHandlerWhichMayDiscardThem) {
    FilteredEdit f;
    QTest::keyClicks(&f.edit, "axb x'1");
    EXPECT_EQ(f.edit.text(), "ab '1");
    QTest::keyClick(&f.edit, Qt::Key_Backspace);
    QTest::keyClick(&f.edit, Qt::Key_Return);
    QTest::keyClick(&f.edit, Qt::Key_Enter);
    EXPECT_EQ(f.seen, (std::vector<qint16>{'a', 'x', 'b', ' ', 'x', '\'', '1', 8, 13, 13}));
    EXPECT_EQ(f.edit.text(), "ab '");

    // A character outside Latin arrives whole, one code per UTF-16 unit.
    f.seen.clear();
    const QString gurmukhi = QString::fromUtf8("ਪੰ");
    for (QChar c : gurmukhi) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(&f.edit, &press);
    }
    EXPECT_EQ(f.seen, (std::vector<qint16>{static_cast<qint16>(gurmukhi.at(0).unicode()),
                                           static_cast<qint16>(gurmukhi.at(1).unicode())}));
    EXPECT_EQ(f.edit.text(), "ab '" + gurmukhi);
}

// Pasting with Ctrl+V is no keystroke, so pasted text passes every filter (and the forms check it
// when they save).
TEST(OnKeyPress, KeysThatTypeNoCharacterAndCtrlCommandsDoNotReachTheHandler) {
    FilteredEdit f;
    f.edit.setText("abc");
    for (auto key : {Qt::Key_Home, Qt::Key_Delete, Qt::Key_Left, Qt::Key_F4, Qt::Key_Tab})
        QTest::keyClick(&f.edit, key);
    EXPECT_EQ(f.edit.text(), "bc"); // Delete still deletes; it just is no KeyPress
    QApplication::clipboard()->setText("x'x");
    QTest::keyClick(&f.edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_TRUE(f.seen.empty());
    EXPECT_EQ(f.edit.text(), "x'xbc");
}

} // namespace
