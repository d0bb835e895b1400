// The sign-in window driven through its real widgets.
#include "dialogs.h"
#include "frmLogin.h"
#include "pasted_text.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace platform;

namespace {

class SignIn : public ::testing::Test {
protected:
    void SetUp() override {
        form.show();
        QApplication::setActiveWindow(&form);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    }

    // Types into the boxes as a clerk would and presses LOGIN.
    void attempt(const QString& id, const QString& password) {
        form.txt_uid()->clear();
        form.txt_pass()->clear();
        QTest::keyClicks(form.txt_uid(), id);
        QTest::keyClicks(form.txt_pass(), password);
        QTest::mouseClick(form.cmd_login(), Qt::LeftButton);
    }

    std::vector<ShownBox> boxes() const { return script.shown(); }

    static ShownBox info(const char* text, const char* title) {
        return {ShownBox::Kind::Message, text, title, MsgBoxStyle::Information};
    }

    DialogScript script;
    frmLogin form;
};

} // namespace

TEST_F(SignIn, ShowsItsTextsWithTheIdBoxFocusedAndThePasswordMasked) {
    EXPECT_TRUE(form.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(form.findChild<QLabel*>("Label1")->text(), "Vetradesk");
    EXPECT_EQ(form.findChild<QLabel*>("Label2")->text(), "Login ID :");
    EXPECT_EQ(form.findChild<QLabel*>("Label3")->text(), "Password :");
    EXPECT_EQ(form.cmd_login()->text(), "LOGIN");
    EXPECT_EQ(form.cmd_close()->text(), "CLOSE");
    EXPECT_TRUE(form.txt_uid()->text().isEmpty());
    EXPECT_EQ(QApplication::focusWidget(), form.txt_uid());

    QTest::keyClicks(form.txt_pass(), "739");
    EXPECT_EQ(form.txt_pass()->displayText(), "***");

    // Tab walks the boxes and buttons in order and comes round again.
    form.txt_uid()->setFocus();
    std::vector<QWidget*> order;
    for (int i = 0; i < 4; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        order.push_back(QApplication::focusWidget());
    }
    EXPECT_EQ(order, (std::vector<QWidget*>{form.txt_pass(), form.cmd_login(), form.cmd_close(),
                                            form.txt_uid()}));
}

// Only the first failing check is reported, with the focus on its box; both boxes keep their text.
TEST_F(SignIn, TheChecksRunInOrderAndReportOnlyTheFirstFailure) {
    const struct {
        const char* id;
        const char* password;
        const char* message;
        const char* title;
        bool on_id;
    } attempts[] = {
        {"", "", "Enter Login ID!", "Field Requried", true},
        {"KROVE", "   ", "Enter Password!", "Field Requried", false},
        {"KROVEX", "000", "Invalid Login ID!", "Invalid", true},
        {"krove", "738", "Invalid Password!", "Invalid", false},
        {"krove", "7390", "Invalid Password!", "Invalid", false},
        {"krove", "73", "Invalid Password!", "Invalid", false},
        {"krove", "7 39", "Invalid Password!", "Invalid", false},
    };
    for (const auto& a : attempts) {
        SCOPED_TRACE(std::string(a.id) + " / " + a.password);
        script.clear_shown();
        attempt(a.id, a.password);
        EXPECT_EQ(boxes(), std::vector{info(a.message, a.title)});
        EXPECT_EQ(QApplication::focusWidget(), a.on_id ? form.txt_uid() : form.txt_pass());
        EXPECT_EQ(form.txt_uid()->text(), a.id);
        EXPECT_EQ(form.txt_pass()->text(), a.password);
        EXPECT_TRUE(form.isVisible());
    }
    script.clear_shown();
    attempt("  krove ", " 739 ");
    EXPECT_TRUE(boxes().empty());
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_FALSE(form.isVisible());
}

TEST_F(SignIn, EnterInEitherBoxIsLogin) {
    QTest::keyClicks(form.txt_uid(), "KROVE");
    QTest::keyClick(form.txt_uid(), Qt::Key_Return);
    EXPECT_EQ(boxes(), std::vector{info("Enter Password!", "Field Requried")});
    EXPECT_EQ(QApplication::focusWidget(), form.txt_pass());

    QTest::keyClicks(form.txt_pass(), "739");
    QTest::keyClick(form.txt_pass(), Qt::Key_Enter);
    EXPECT_EQ(boxes().size(), 1u);
    EXPECT_EQ(form.result(), QDialog::Accepted);
}

TEST_F(SignIn, CloseEndsWithoutSigningIn) {
    QTest::keyClicks(form.txt_uid(), "KROVE");
    QTest::mouseClick(form.cmd_close(), Qt::LeftButton);
    EXPECT_TRUE(boxes().empty());
    EXPECT_EQ(form.result(), QDialog::Rejected);
    EXPECT_FALSE(form.isVisible());
}

TEST_F(SignIn, PastedAwkwardTextIsRefusedAndKept) {
    for (const auto& [kind, text] : vetra_testing::every_awkward_text()) {
        SCOPED_TRACE(kind);
        script.clear_shown();
        vetra_testing::paste(form.txt_uid(), text);
        vetra_testing::paste(form.txt_pass(), "739");
        QTest::mouseClick(form.cmd_login(), Qt::LeftButton);
        EXPECT_EQ(boxes(), std::vector{info("Invalid Login ID!", "Invalid")});
        EXPECT_EQ(form.txt_uid()->text(), text);

        script.clear_shown();
        vetra_testing::paste(form.txt_uid(), "KROVE");
        vetra_testing::paste(form.txt_pass(), text);
        QTest::mouseClick(form.cmd_login(), Qt::LeftButton);
        EXPECT_EQ(boxes(), std::vector{info("Invalid Password!", "Invalid")});
        EXPECT_EQ(form.txt_pass()->text(), text);
        EXPECT_TRUE(form.isVisible());
    }
}
