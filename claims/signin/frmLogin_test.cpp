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
    const std::tuple<const char*, const char*, const char*, QLineEdit*> attempts[] = {
        {"", "", "Field Requried: Enter Login ID!", id},
        {" ", "739", "Field Requried: Enter Login ID!", id},
        {"KROVE", "   ", "Field Requried: Enter Password!", password},
        {"KROVEX", "", "Field Requried: Enter Password!", password},
        {"KROVEX", "739", "Invalid: Invalid Login ID!", id},
        {"krove", "738", "Invalid: Invalid Password!", password},
        {"krove", "7 39", "Invalid: Invalid Password!", password},
    };
    for (const auto& [typed_id, typed_password, box, focus] : attempts) {
        script.clear_shown();
        id->setText(typed_id);
        password->setText(typed_password);
        QTest::mouseClick(form.findChild<QPushButton*>("cmd_login"), Qt::LeftButton);
        const QString typed = QString(typed_id) + '/' + typed_password;
        ASSERT_EQ(script.shown().size(), 1u) << typed.toStdString();
        EXPECT_EQ(script.shown()[0].title + ": " + script.shown()[0].text, box);
        EXPECT_EQ(QApplication::focusWidget(), focus) << typed.toStdString();
        EXPECT_EQ(id->text() + '/' + password->text(), typed);
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
