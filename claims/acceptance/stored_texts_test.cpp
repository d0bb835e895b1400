// Texts stored longer than their box allows (by another program, or before the limit) are shown
// whole by the entry form and written back unchanged by UPDATE; one of megabytes leaves the form
// on the screen.
#include "acceptance.h"
#include "temporary_register.h"

namespace acceptance {
namespace {

TEST(StoredTexts, TheEntryFormShowsLongTextsWholeAndUpdatesThemUnchanged) {
    store::TemporaryRegister reg;
    platform::DialogScript boxes;
    frmBillEntry form;
    form.show();
    vetra_testing::Clerk clerk(form);
    clerk.click("cmd_addnew");
    enter_claim(clerk, numbered_claim("long", 1), false);
    boxes.answer(platform::vbYes);
    clerk.click("cmd_save");
    const QString name = QString(93, u'N'), address = QString(250, u'A');
    const QString hospital = QString(2'000'000, u'H');
    Module1::db_conn.Execute("Update detail set empname='" + name + "', oaddress='" + address +
                             "', ovill='" + address + "', hospital='" + hospital +
                             "' where refno=101");
    const int width = form.frameGeometry().width();
    boxes.type("101");
    clerk.click("cmd_find");
    EXPECT_EQ(clerk.text("txt_EmpName"), name);
    EXPECT_EQ(clerk.text("txt_OAddress"), address);
    EXPECT_EQ(clerk.text("txt_OVillage"), address);
    EXPECT_EQ(clerk.text("txt_Hospital").size(), hospital.size());
    EXPECT_EQ(form.frameGeometry().width(), width);

    clerk.click("cmd_edit");
    clerk.retype("txt_Fname", QString(60, u'F')); // the limit applies to what is typed
    boxes.answer(platform::vbYes);
    clerk.click("cmd_save");
    EXPECT_EQ(boxes.shown().back().text, "Record Updated Successfully.");
    const Row row = rows("Select * from detail where refno=101").at(0);
    EXPECT_EQ(row.at("empname").text(), name);
    EXPECT_EQ(row.at("oaddress").text(), address);
    EXPECT_EQ(row.at("ovill").text(), address);
    EXPECT_EQ(row.at("hospital").text(), hospital);
    EXPECT_EQ(row.at("fname").text(), QString(50, u'F'));
}

} // namespace
} // namespace acceptance
