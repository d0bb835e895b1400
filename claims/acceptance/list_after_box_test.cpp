// A list left empty on saving is opened after the "Field Required" box (every form does it through
// SendF4), on a real display with a window manager: the box is a real window that takes the
// activation, and a key press closes it as a clerk's would. Run by scripts/on-xvfb (its own Xvfb
// and openbox), never on the offscreen platform, where no window ever loses the activation.
#include "acceptance.h"
#include "temporary_register.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QMessageBox>
#include <QProcess>

namespace acceptance {
namespace {

TEST(ListAfterBox, TheEntryFormOpensTheDistrictList) {
    ASSERT_EQ(QApplication::platformName(), "xcb");
    store::TemporaryRegister reg;
    frmBillEntry form;
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    vetra_testing::Clerk clerk(form);
    clerk.click("cmd_addnew");
    Claim claim = numbered_claim("L", 1);
    claim.erase("cmb_district"); // the one box left empty
    enter_claim(clerk, claim, false);
    // Enter, through the X server, once the box is the active window.
    const AwaitWindow<QMessageBox> box([](QMessageBox& shown) {
        EXPECT_EQ(shown.windowTitle() + ": " + shown.text(),
                  "Field Required: Select District Please");
        EXPECT_TRUE(QTest::qWaitForWindowActive(&shown));
        // A press that comes while the window manager still hands the keyboard over is lost, now
        // and then: as a clerk would, press again.
        for (int press = 0; press < 5 && shown.isVisible(); ++press) {
            QProcess::execute("xdotool", {"key", "Return"});
            (void)QTest::qWaitFor([&shown] { return !shown.isVisible(); }, 1000);
        }
        EXPECT_FALSE(shown.isVisible());
    });
    clerk.click("cmd_save");
    auto* combo = clerk.find<QComboBox>("cmb_district");
    EXPECT_TRUE(QTest::qWaitFor([combo] { return combo->view()->isVisible(); }, 5000))
        << "the district list stayed closed";
}

} // namespace
} // namespace acceptance
