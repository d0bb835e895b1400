// A list left empty on saving is opened after the "Field Required" box (every form does it through
// SendF4), on a real display with a window manager: the box is a real window that takes the
// activation, and a key press closes it as a clerk's would. Run by scripts/on-xvfb (its own Xvfb
// and openbox), never on the offscreen platform, where no window ever loses the activation.
#include "clerk.h"
#include "frmBillEntry.h"
#include "temporary_register.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QMessageBox>
#include <QProcess>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace acceptance {
namespace {

// Presses Enter, through the X server, in each message box that becomes the active window.
class EnterOnBoxes {
public:
    EnterOnBoxes() {
        QObject::connect(&poll_, &QTimer::timeout, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeWindow());
            if (box == nullptr || box == answered_)
                return;
            answered_ = box;
            titles << box->windowTitle() + ": " + box->text();
            QProcess::execute("xdotool", {"key", "Return"});
        });
        poll_.start(20);
    }
    QStringList titles;

private:
    QTimer poll_;
    QPointer<QMessageBox> answered_;
};

void expect_list_open(QWidget& form, const char* combo_name) {
    auto* combo = form.findChild<QComboBox*>(combo_name);
    ASSERT_NE(combo, nullptr);
    EXPECT_TRUE(QTest::qWaitFor([combo] { return combo->view()->isVisible(); }, 5000))
        << combo_name << "'s list stayed closed";
    combo->hidePopup();
}

TEST(ListAfterBox, TheEntryFormOpensTheDistrictList) {
    ASSERT_EQ(QApplication::platformName(), "xcb");
    store::TemporaryRegister reg;
    frmBillEntry form;
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    vetra_testing::Clerk clerk(form);
    clerk.click("cmd_addnew");
    for (const auto& [box, text] : {std::pair{"txt_EmpName", "Ravi"},
                                    {"txt_Fname", "Mohan"},
                                    {"txt_Design", "Clerk"},
                                    {"txt_Pay", "9000"},
                                    {"txt_OAddress", "Mall Road"}})
        clerk.type(box, text);
    EnterOnBoxes enter;
    clerk.click("cmd_save");
    EXPECT_EQ(enter.titles, QStringList{"Field Required: Select District Please"});
    expect_list_open(form, "cmb_district");
}

} // namespace
} // namespace acceptance
