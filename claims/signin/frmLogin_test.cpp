// The sign-in window driven through its real widgets.
#include "dialogs.h"
#include "frmLogin.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// Only the first failing check is reported, with the focus on its box; both boxes keep their text.
TEST(SignIn, TheChecksRunInOrderAndReportOnlyTheFirstFailure) {
    platform::DialogScript script;
    frmLogin form;
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    auto* id = form.findChild<QLineEdit*>("txt_uid");
    auto* password = form.findChild<QLineEdit*>("txt_pass");
    const struct {
        const char *id, *password, *box;
        QLineEdit* focus;
    } attempts[] = {
        {"", "", "Field Requried: Enter Login ID!", id},
        {" ", "739", "Field Requried: Enter Login ID!", id},
        {"KROVE", "   ", "Field Requried: Enter Password!", password},
        {"KROVEX", "", "Field Requried: Enter Password!", password},
        {"KROVEX", "739", "Invalid: Invalid Login ID!", id},
        {"krove", "738", "Invalid: Invalid Password!", password},
        {"krove", "7 39", "Invalid: Invalid Password!", password},
    };
    for (const auto& a : attempts) {
        script.clear_shown();
        id->setText(a.id);
        password->setText(a.password);
        QTest::mouseClick(form.findChild<QPushButton*>("cmd_login"), Qt::LeftButton);
        ASSERT_EQ(script.shown().size(), 1u) << a.id << '/' << a.password;
        EXPECT_EQ(script.shown()[0].title + ": " + script.shown()[0].text, a.box);
        EXPECT_EQ(QApplication::focusWidget(), a.focus) << a.id << '/' << a.password;
        EXPECT_EQ(id->text() + '/' + password->text(), QString(a.id) + '/' + a.password);
    }
    script.clear_shown();
    id->setText("  krove ");
    password->setText(" 739 ");
    QTest::keyClick(password, Qt::Key_Enter); // Enter in a box is LOGIN
    EXPECT_TRUE(script.shown().empty());
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_FALSE(form.isVisible());
}

} // namespace
