// The dialog facade: scripted answers and records for tests, and the real Qt dialogs behind it.
#include "dialogs.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <gtest/gtest.h>

using namespace platform;

namespace {

// Collects faults instead of aborting, so that a test can assert on them.
struct FaultLog {
    std::vector<QString> faults;
    DialogScript::FaultHandler handler() {
        return [this](const QString& f) { faults.push_back(f); };
    }
};

} // namespace

TEST(DialogScript, RecordsEveryBoxInOrderAndGivesTheQueuedAnswers) {
    DialogScript script;
    script.answer(vbNo).type("12").answer(vbYes).type("");

    EXPECT_EQ(MsgBox("Enter Login ID!", MsgBoxStyle::Information, "Field Requried"), vbOK);
    EXPECT_EQ(MsgBox("Do you want to save record ?", MsgBoxStyle::Question, "Save?"), vbNo);
    EXPECT_EQ(InputBox("Enter Reference Number", "Find Bill By Ref. No."), "12");
    EXPECT_EQ(MsgBox("Do you want to Delete Record?", MsgBoxStyle::Question, "Delete?"), vbYes);
    EXPECT_EQ(InputBox("Enter Reference Number", "Find Bill By Ref. No."), ""); // Cancel

    const std::vector<ShownBox> expected{
        {ShownBox::Kind::Message, "Enter Login ID!", "Field Requried", MsgBoxStyle::Information},
        {ShownBox::Kind::Message, "Do you want to save record ?", "Save?", MsgBoxStyle::Question},
        {ShownBox::Kind::Input, "Enter Reference Number", "Find Bill By Ref. No.",
         MsgBoxStyle::Information},
        {ShownBox::Kind::Message, "Do you want to Delete Record?", "Delete?",
         MsgBoxStyle::Question},
        {ShownBox::Kind::Input, "Enter Reference Number", "Find Bill By Ref. No.",
         MsgBoxStyle::Information},
    };
    EXPECT_EQ(script.shown(), expected);
}

// An unexpected question is answered No, an unexpected prompt Cancel; answers of the wrong kind
// or never asked for are faults too.
TEST(DialogScript, BoxesAndAnswersThatDoNotMatchAreFaults) {
    FaultLog log;
    {
        DialogScript script(log.handler());
        EXPECT_EQ(MsgBox("Update?", MsgBoxStyle::Question, "Update?"), vbNo);
        EXPECT_EQ(InputBox("Enter Reference Number", "Find"), "");
        script.type("12");
        EXPECT_EQ(MsgBox("Save?", MsgBoxStyle::Question, "Save?"), vbNo);
        EXPECT_EQ(InputBox("Enter Reference Number", "Find"), "12");
        script.answer(vbYes).type("5");
    }
    ASSERT_EQ(log.faults.size(), 4u);
    EXPECT_TRUE(log.faults[0].contains("unexpected question box"));
    EXPECT_TRUE(log.faults[1].contains("unexpected input prompt"));
    EXPECT_TRUE(log.faults[2].contains("unexpected question box"));
    EXPECT_TRUE(log.faults[3].contains("2 queued answer(s)"));
}

TEST(DialogScript, AnUnexpectedBoxAbortsLoudlyByDefault) {
    EXPECT_DEATH(
        {
            DialogScript script;
            MsgBox("Do you want to save record ?", MsgBoxStyle::Question, "Save?");
        },
        "unexpected question box \"Do you want to save record \\?\"");
}

TEST(MsgBox, WithoutAScriptTheRealQuestionBoxReturnsTheButtonPressed) {
    for (const auto& [button, code] :
         {std::pair{QMessageBox::Yes, vbYes}, {QMessageBox::No, vbNo}}) {
        QTimer::singleShot(0, [button = button] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(box->windowTitle(), "Delete?");
            EXPECT_EQ(box->icon(), QMessageBox::Question);
            box->button(button)->click();
        });
        EXPECT_EQ(MsgBox("Do you want to Delete Record?", MsgBoxStyle::Question, "Delete?"), code);
    }
}

TEST(SendF4, OpensTheListOfTheFocusedComboBox) {
    QDialog form;
    auto* layout = new QVBoxLayout(&form);
    auto* first = new QComboBox(&form);
    auto* district = new QComboBox(&form);
    district->addItems({"Amritsar", "Barnala"});
    layout->addWidget(first);
    layout->addWidget(district);
    form.show();
    QApplication::setActiveWindow(&form);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));

    district->setFocus();
    SendF4();
    EXPECT_TRUE(district->view()->isVisible());
    EXPECT_FALSE(first->view()->isVisible());
    district->hidePopup();
}
