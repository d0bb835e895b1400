// The platform services through real widgets: numbers, dates, keys, pick-only lists and dialogs.
#include "dialogs.h"
#include "format_date.h"
#include "key_press.h"
#include "pick_only.h"
#include "val.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <cstdint>
#include <gtest/gtest.h>
#include <limits>

using namespace platform;

namespace {

TEST(Val, ReadsTheLeadingNumberSkippingBlanksAndRoundsHalvesToEven) {
    const std::tuple<const char*, double, std::int64_t> typed[] = {
        {" 1 2abc", 12, 12}, {"12,5", 12, 12},   {"1.2.3", 1.2, 1},  {" - 7.5x", -7.5, -8},
        {"12.5", 12.5, 12},  {"13.5", 13.5, 14}, {"-2.5", -2.5, -2}, {"12.51", 12.51, 13},
        {"+.", 0, 0},        {"+ 5", 5, 5},      {"a12", 0, 0},      {"-32769", -32769, -32769}};
    for (const auto& [text, value, rounded] : typed) {
        EXPECT_EQ(Val(text), value) << text;
        EXPECT_EQ(RoundHalfEven(Val(text)), rounded) << text;
    }
    EXPECT_EQ(RoundHalfEven(Val("9223372036854775807")), std::nullopt); // reads as 2^63
    EXPECT_EQ(RoundHalfEven(-9223372036854775808.0), INT64_MIN);
    EXPECT_EQ(RoundHalfEven(std::numeric_limits<double>::quiet_NaN()), std::nullopt);
}

TEST(FormatDate, MonthNamesStayEnglishUnderAnotherLocale) {
    QLocale::setDefault(QLocale::German);
    EXPECT_EQ(FormatDate(QDate(2007, 3, 5), "dd-MMM-yyyy"), "05-Mar-2007");
    EXPECT_EQ(FormatDate(QDate(2010, 12, 31), "dd - MMM - yyyy"), "31 - Dec - 2010");
    QLocale::setDefault(QLocale::c());
}

// Typed characters, Backspace and Enter reach the handler, which may discard them; keys that type
// nothing and Ctrl commands (a paste) do not.
TEST(OnKeyPress, OnlyTypedCharactersReachTheHandler) {
    QLineEdit edit;
    std::vector<qint16> seen;
    OnKeyPress(&edit, [&](qint16& KeyAscii) {
        seen.push_back(KeyAscii);
        KeyAscii = KeyAscii == 'x' ? 0 : KeyAscii;
    });
    QTest::keyClicks(&edit, "axb'");
    for (auto key : {Qt::Key_Backspace, Qt::Key_Return, Qt::Key_Home, Qt::Key_Delete, Qt::Key_F4})
        QTest::keyClick(&edit, key);
    QApplication::clipboard()->setText("x'x");
    QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(seen, (std::vector<qint16>{'a', 'x', 'b', '\'', 8, 13}));
    EXPECT_EQ(edit.text(), "x'xb"); // Delete still deletes: it types nothing
}

// No key, the wheel, Enter or leaving the box makes a choice; only a choice from the list changes
// the value, even to the entry it shows.
TEST(Widgets, APickOnlyBoxChangesOnlyByAChoiceFromItsList) {
    QWidget window;
    auto* combo = new QComboBox;
    auto* box = new QLineEdit;
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(combo);
    layout->addWidget(box);
    combo->addItems({"Pending", "Sanctioned", "Rejected"});
    MakePickOnly(combo);
    std::vector<int> chosen;
    QObject::connect(combo, &QComboBox::activated, [&](int i) { chosen.push_back(i); });
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    combo->setFocus();
    SetPickOnlyText(combo, "sanctioned"); // a stored value that is no entry
    for (auto key : {Qt::Key_Down, Qt::Key_Up, Qt::Key_End, Qt::Key_PageDown, Qt::Key_Delete,
                     Qt::Key_Return, Qt::Key_Tab})
        QTest::keyClick(combo, key);
    QWheelEvent wheel({5, 5}, combo->mapToGlobal(QPointF(5, 5)), {}, {0, -120}, Qt::NoButton, {},
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(combo, &wheel);
    EXPECT_EQ(combo->currentText(), "sanctioned");
    EXPECT_EQ(QApplication::focusWidget(), box);
    combo->setFocus();
    for (int pick = 0; pick < 2; ++pick) {
        SendF4();
        QAbstractItemView* list = combo->view();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualRect(list->model()->index(2, 0)).center());
    }
    EXPECT_EQ(combo->currentText(), "Rejected");
    EXPECT_EQ(chosen, (std::vector<int>{2, 2}));
}

TEST(DialogScript, RecordsTheBoxesGivesTheAnswersAndReportsWhatDoesNotMatch) {
    std::vector<QString> faults;
    {
        DialogScript script([&](const QString& fault) { faults.push_back(fault); });
        script.answer(vbNo).type("12");
        EXPECT_EQ(MsgBox("Saved", MsgBoxStyle::Information, "Save"), vbOK);
        EXPECT_EQ(MsgBox("Save?", MsgBoxStyle::Question, "Save?"), vbNo);
        EXPECT_EQ(InputBox("Enter Reference Number", "Find"), "12");
        EXPECT_EQ(MsgBox("Delete?", MsgBoxStyle::Question, "Delete?"), vbNo);
        EXPECT_EQ(InputBox("Enter Reference Number", "Find"), "");
        EXPECT_EQ(script.shown().size(), 5u);
        script.answer(vbYes);
    }
    EXPECT_EQ(faults, (std::vector<QString>{"unexpected question box \"Delete?\" (title "
                                            "\"Delete?\")",
                                            "unexpected input prompt \"Enter Reference Number\" "
                                            "(title \"Find\")",
                                            "1 queued answer(s) were never asked for"}));
    EXPECT_DEATH(
        {
            DialogScript script;
            MsgBox("Save?", MsgBoxStyle::Question, "Save?");
        },
        "unexpected question box");
}

TEST(MsgBox, WithoutAScriptTheRealQuestionBoxReturnsTheButtonPressed) {
    for (const auto& [button, code] :
         {std::pair{QMessageBox::Yes, vbYes}, {QMessageBox::No, vbNo}}) {
        QTimer::singleShot(0, [button = button] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_TRUE(box != nullptr && box->icon() == QMessageBox::Question);
            box->button(button)->click();
        });
        EXPECT_EQ(MsgBox("Do you want to Delete Record?", MsgBoxStyle::Question, "Delete?"), code);
    }
}

} // namespace
