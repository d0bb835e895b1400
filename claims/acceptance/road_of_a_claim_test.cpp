// One claim's road through the real program, as a clerk takes it: sign-in, the menus, the claim
// typed and pasted, SAVE, FIND, EDIT, UPDATE, the decision, then both reports exported to PDF.
// A second claim, of another district and left pending, shows that the reports select.
#include "acceptance.h"
#include "frmBillUpdation.h"
#include "pdf_text.h"
#include "reports/RptPendancy.h"
#include "reports/frmCRCases.h"
#include "reports/frmreport.h"
#include "reports/report_preview.h"

#include <QAction>
#include <QLabel>
#include <QMenuBar>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace acceptance {
namespace {

// Opens `menu` on the menu bar and clicks `item` in it, with the mouse.
void choose_menu_item(VETRA& window, QMenu* menu, QAction* item) {
    QMenuBar* bar = window.menuBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(menu->menuAction()).center());
    ASSERT_TRUE(menu->isVisible()) << menu->title().toStdString();
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
}

// The viewer's "Export PDF", the file chooser answered with `path`.
void export_pdf(reports::ReportPreview& viewer, const QString& path) {
    reports::ReportPreview::Dialogs chooser;
    chooser.saveFileName = [path](QWidget*, const QString&, const QString&) { return path; };
    chooser.showError = [](QWidget*, const QString&, const QString& message) { fail(message); };
    viewer.setDialogs(chooser);
    viewer.findChild<QAction*>("actionExportPdf")->trigger();
}

// Waits for the `Form` that `item` in `menu` opens, and works in it with `step`.
template <typename Form>
void visit(VETRA& window, QMenu* menu, QAction* item, std::function<void(Form&)> step) {
    const AwaitWindow<Form> form(step);
    choose_menu_item(window, menu, item);
}

// clang-format off
const Claim kClaim{{"txt_RefDate", "2024-03-05"}, {"txt_EmpName", "Harjinder Singh Sidhu"},
    {"txt_Fname", "Karnail Singh"}, {"txt_Design", "Senior Assistant"}, {"txt_Pay", "1,20,000"},
    {"txt_OAddress", "O/o District Education Officer"}, {"txt_OVillage", "Bathinda"},
    {"txt_OTehsil", ""}, {"txt_OEBlock", "Bathinda-1"}, {"cmb_district", "Bathinda"},
    {"txt_PAddress", "House 42, Ajit Road"}, {"txt_PVillage", "Bathinda"}, {"txt_PTehsil", ""},
    {"txt_PDistrict", ""}, {"txt_State", "Punjab"}, {"txt_pname", "Gurmeet Kaur"},
    {"txt_age", "58"}, {"txt_Relation", "Wife"}, {"txt_Disease", "Coronary artery disease"},
    {"txt_from", "2024-02-03"}, {"txt_to", "2024-02-14"}, {"txt_AmtClaimed", "2,45,500"},
    {"cmb_Type", "Dependent"}, {"txt_DIncome", "4,200"}, {"cmb_Documents", "Yes"},
    {"cmb_HApproval", "Yes"}, {"txt_HAmount", "2,30,000"}, {"cmb_doctor", "Yes"},
    {"cmb_BillTime", "No"}, {"txt_DOfficer", "R. K. Bansal"}, {"txt_DDesign", "Superintendent"},
    {"txt_DBranch", "Medical Reimbursement"}};
// clang-format on
const QString kHospital = "St. Stephen's Hospital, Ludhiana"; // pasted: the quote key is refused

// The same road on a register file and on a register on the tests' server.
class RoadOfOneClaim : public OnBoth {};
INSTANTIATE_TEST_SUITE_P(Register, RoadOfOneClaim, kBoth, backend_name);

TEST_P(RoadOfOneClaim, FromTheSignInToThePrintedReports) {
    const bool file = GetParam() == store::Backend::File;
    QTemporaryDir paper;
    platform::DialogScript boxes;
    Claim claim = kClaim;
    // Another district's claim, left pending, shows that the reports select.
    Claim other = numbered_claim("other", 7);
    other["txt_RefDate"] = "2024-03-20";
    other["cmb_district"] = "Patiala";
    const auto enter = [&](frmBillEntry& form) {
        vetra_testing::Clerk clerk(form);
        clerk.click("cmd_addnew");
        EXPECT_EQ(clerk.text("txt_refno"), "101");
        enter_claim(clerk, claim, true);
        clerk.type("txt_Relation", "'");
        clerk.paste("txt_Hospital", claim["txt_Hospital"] = kHospital);
        clerk.click("cmd_save");
        clerk.click("cmd_find");
        // A stored dash shows as an empty box.
        for (const char* name : {"txt_EmpName", "txt_Hospital", "txt_Relation", "txt_OTehsil"})
            EXPECT_EQ(clerk.text(name), claim[name]) << name;
        clerk.click("cmd_edit");
        clerk.retype("txt_Disease", claim["txt_Disease"] = "Coronary artery disease, bypass");
        clerk.retype("txt_AmtClaimed", claim["txt_AmtClaimed"] = "2,52,300");
        clerk.click("cmd_save");
        clerk.click("cmd_addnew");
        enter_claim(clerk, other, false);
        clerk.click("cmd_save");
        clerk.click("cmd_close");
    };
    const auto decide = [&](frmBillUpdation& form) {
        vetra_testing::Clerk clerk(form);
        clerk.type("txt_refno", "101");
        EXPECT_EQ(clerk.find<QLabel>("lbl_name")->text(), claim["txt_EmpName"]);
        clerk.choose("cmb_status", "Sanctioned");
        clerk.type("txt_amount", "2,25,000");
        clerk.type_date("txt_date", {2024, 4, 10});
        clerk.type("txt_remarks", "Sanctioned at the approved rates");
        clerk.click("cmd_update");
        clerk.click("cmd_close");
    };
    const auto list_cases = [&](frmreport& form) {
        vetra_testing::Clerk clerk(form);
        clerk.type_date("txt_dfrom", {2024, 3, 1});
        clerk.type_date("txt_dto", {2024, 3, 31});
        clerk.choose("cmb_district", "All Districts");
        clerk.choose("cmb_status", "Sanctioned");
        const AwaitWindow<frmCRCases> viewer([&](frmCRCases& window) {
            export_pdf(*window.CRViewer1, paper.filePath("cases.pdf"));
            window.close();
        });
        clerk.click("cmd_show");
        clerk.click("cmd_close");
    };
    const auto count = [&](RptPendancy& form) {
        vetra_testing::Clerk clerk(form);
        clerk.type_date("txt_from", {2024, 3, 1});
        clerk.type_date("txt_to", {2024, 3, 31});
        clerk.click("cmd_show");
        const AwaitWindow<reports::ReportPreviewDialog> report(
            [&](reports::ReportPreviewDialog& window) {
                export_pdf(*window.preview(), paper.filePath("pendency.pdf"));
                window.reject();
            });
        clerk.click("cmd_print");
        clerk.click("cmd_close");
    };
    const AwaitWindow<frmLogin> login(sign_in);
    const AwaitWindow<VETRA> main_window([&](VETRA& window) {
        visit<frmBillEntry>(window, window.mnu_Entry, window.mnuAddCase, enter);
        visit<frmBillUpdation>(window, window.mnu_Entry, window.mnu_StatusUpdation, decide);
        visit<frmreport>(window, window.mnu_reports, window.mnu_list, list_cases);
        visit<RptPendancy>(window, window.mnu_reports, window.mnu_pendancy, count);
        choose_menu_item(window, window.mnu_Entry, window.mnu_Exit);
    });
    // The first answer agrees to the new register file.
    if (file)
        boxes.answer(platform::vbYes);
    boxes.answer(platform::vbYes).type("101").answer(platform::vbYes).answer(platform::vbYes);
    boxes.answer(platform::vbYes);
    ASSERT_EQ(run_register({"vetra", file ? "--data-dir" : "--server", data.where}), 0);
    Module1::server.clear();
    QStringList titles;
    for (const platform::ShownBox& shown : boxes.shown())
        titles << shown.title;
    EXPECT_EQ(titles, QStringList({"New Register", "Save?", "Saved", "Find Bill By Ref. No.",
                                   "Update?", "Updated", "Save?", "Saved", "Update?", "Updated!"})
                          .mid(file ? 0 : 1));

    // The program leaves its connection open when it ends: read through it.
    EXPECT_EQ(file ? integrity() : "ok", "ok");
    Row decided = saved_row(claim, 101);
    decided["billstatus"] = store::FieldValue("Sanctioned");
    decided["amtapproved"] = store::FieldValue(std::int64_t{225000});
    decided["appdate"] = store::FieldValue(QDate(2024, 4, 10));
    decided["remarks"] = store::FieldValue("Sanctioned at the approved rates");
    EXPECT_EQ(rows(), (std::vector{decided, saved_row(other, 102)}));

    // Names may be cut short in their columns; the figures never are.
    const QString cases = reports::testing::pdfPages(paper.filePath("cases.pdf")).join('\n');
    EXPECT_TRUE(cases.contains(QRegularExpression(
        "101 +05-03-2024 +Harjinder.* +120000 +Bathinda +Gurmeet Kaur +58 +Wife +Coronary.* "
        "+03-02-2024 +14-02-2024 +252300 +Sanctioned +225000 +10-04-2024\\n")))
        << cases.toStdString();
    EXPECT_FALSE(cases.contains("102")) << "the pending claim is not listed";
    const QString pendency = reports::testing::pdfPages(paper.filePath("pendency.pdf")).join('\n');
    for (const char* line : {"3 +Bathinda +1 +1 +0 +0\\n", "17 +Patiala +1 +0 +0 +1\\n",
                             "9 +Jalandhar +0 +0 +0 +0\\n", "PUNJAB \\(TOTAL\\) +2 +1 +0 +1\\n"})
        EXPECT_TRUE(pendency.contains(QRegularExpression(line))) << line << pendency.toStdString();
}

} // namespace
} // namespace acceptance
