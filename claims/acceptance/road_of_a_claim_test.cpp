// One claim's road through the real program, as a clerk takes it: the program's start and sign-in,
// the main window's menus, the entry form (Add New Bill, the claim typed key by key, SAVE, FIND,
// EDIT, UPDATE), the status form, the case list exported to PDF through its viewer, and the
// consolidated report counted, printed into preport and exported to PDF. What each step left in
// the database and on paper is checked.
#include "VETRA.h"
#include "clerk.h"
#include "dialogs.h"
#include "expect_window.h"
#include "frmBillEntry.h"
#include "frmBillUpdation.h"
#include "frmLogin.h"
#include "module1.h"
#include "qt_printing.h"
#include "reports/RptPendancy.h"
#include "reports/frmCRCases.h"
#include "reports/frmreport.h"
#include "reports/pdf_text.h"
#include "reports/report_preview.h"
#include "run_register.h"
#include "stored_claims.h"
#include "temporary_register.h"

#include <QAction>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace acceptance {
namespace {

using platform::MsgBoxStyle;
using platform::ShownBox;
using platform::vbYes;

ShownBox info(const QString& text, const QString& title) {
    return {ShownBox::Kind::Message, text, title, MsgBoxStyle::Information};
}
ShownBox question(const QString& text, const QString& title) {
    return {ShownBox::Kind::Message, text, title, MsgBoxStyle::Question};
}

// The claim as the clerk first types it; the hospital's name arrives pasted, apostrophe and all.
ClaimEntries first_claim() {
    ClaimEntries c;
    c.refdate = {2024, 3, 5};
    c.empname = "Harjinder Singh Sidhu";
    c.fname = "Karnail Singh";
    c.design = "Senior Assistant";
    c.pay = "1,20,000";
    c.oaddress = "O/o District Education Officer, Civil Lines";
    c.ovill = "Bathinda";
    c.oteh = "";
    c.oblkname = "Bathinda-1";
    c.district = "Bathinda";
    c.raddress = "House 42, Ajit Road";
    c.rvill = "Bathinda";
    c.rteh = "";
    c.rdist = "";
    c.rstate = "Punjab";
    c.pname = "Gurmeet Kaur";
    c.age = "58";
    c.relation = "Wife";
    c.disease = "Coronary artery disease";
    c.dfrom = {2024, 2, 3};
    c.dto = {2024, 2, 14};
    c.hospital = "St. Stephen's Hospital, Ludhiana";
    c.claimed = "2,45,500";
    c.type = "Dependent";
    c.dependent_income = "4,200";
    c.documents = "Yes";
    c.approval = "Yes";
    c.health_amount = "2,30,000";
    c.doctor = "Yes";
    c.in_time = "No";
    c.officer = "R. K. Bansal";
    c.offdesign = "Superintendent";
    c.branch = "Medical Reimbursement";
    return c;
}

class RoadOfOneClaim : public ::testing::Test {
protected:
    void TearDown() override { store::TemporaryRegister::close_all(); }

    // Opens `menu` on the menu bar and clicks `item` in it, as the clerk does with the mouse.
    static void choose_menu_item(VETRA& window, QMenu* menu, QAction* item) {
        QMenuBar* bar = window.menuBar();
        QTest::mouseClick(bar, Qt::LeftButton, {},
                          bar->actionGeometry(menu->menuAction()).center());
        ASSERT_TRUE(menu->isVisible()) << menu->title().toStdString();
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
    }

    // Exports the viewer's report through its "Export PDF" button. The file chooser is the
    // viewer's own seam: the name the clerk would choose there is given to it.
    static void export_pdf(reports::ReportPreview& viewer, const QString& path) {
        reports::ReportPreview::Dialogs chooser;
        chooser.saveFileName = [path](QWidget*, const QString&, const QString&) { return path; };
        chooser.showError = [](QWidget*, const QString&, const QString& message) {
            ADD_FAILURE() << message.toStdString();
        };
        viewer.setDialogs(chooser);
        viewer.findChild<QAction*>("actionExportPdf")->trigger();
        EXPECT_TRUE(QFileInfo(path).size() > 0) << path.toStdString();
    }

    void sign_in(frmLogin& login) {
        Clerk clerk(login);
        clerk.type("txt_uid", " krove ");
        clerk.type("txt_pass", "739");
        QTest::keyClick(clerk.find<QLineEdit>("txt_pass"), Qt::Key_Return);
    }

    void enter_save_find_edit_update(frmBillEntry& form);
    void decide(frmBillUpdation& form);
    void list_cases(frmreport& form);
    void count_and_print(RptPendancy& form);
    void walk(VETRA& window);

    QTemporaryDir data;
    QTemporaryDir paper;
    platform::DialogScript boxes;
    ClaimEntries claim = first_claim();
    // The second claim, of another district and left pending, shows that the reports select.
    ClaimEntries other = numbered_claim("other", 7);
};

void RoadOfOneClaim::enter_save_find_edit_update(frmBillEntry& form) {
    Clerk clerk(form);
    clerk.click("cmd_addnew");
    EXPECT_EQ(clerk.text("txt_refno"), "101");
    ClaimEntries typed = claim;
    typed.hospital.clear();
    type_claim(clerk, typed);
    clerk.type("txt_Relation", "'"); // the quote key is refused in names
    clerk.paste("txt_Hospital", claim.hospital);
    EXPECT_EQ(clerk.text("txt_Hospital"), claim.hospital);
    EXPECT_EQ(clerk.text("txt_Relation"), claim.relation);

    boxes.answer(vbYes);
    clerk.click("cmd_save");
    EXPECT_EQ(boxes.shown(), (std::vector{question("Do you want to save record ?", "Save?"),
                                          info("Record Saved Successfully.", "Saved")}));
    EXPECT_EQ(clerk.text("txt_refno"), "") << "the form is idle again";
    boxes.clear_shown();

    boxes.type("101");
    clerk.click("cmd_find");
    EXPECT_EQ(clerk.text("txt_EmpName"), claim.empname);
    EXPECT_EQ(clerk.text("txt_Hospital"), claim.hospital);
    EXPECT_EQ(clerk.text("txt_Pay"), "120000");
    EXPECT_EQ(clerk.text("txt_OTehsil"), "") << "a stored dash shows as an empty box";
    EXPECT_EQ(clerk.text("cmb_district"), "Bathinda");
    EXPECT_EQ(clerk.text("txt_HAmount"), "230000");

    clerk.click("cmd_edit");
    claim.disease = "Coronary artery disease, bypass surgery";
    claim.claimed = "2,52,300";
    clerk.retype("txt_Disease", claim.disease);
    clerk.retype("txt_AmtClaimed", claim.claimed);
    boxes.answer(vbYes);
    clerk.click("cmd_save");
    EXPECT_EQ(boxes.shown(),
              (std::vector{ShownBox{ShownBox::Kind::Input, "Enter Reference Number",
                                    "Find Bill By Ref. No.", MsgBoxStyle::Information},
                           question("Do you want to update record ?", "Update?"),
                           info("Record Updated Successfully.", "Updated")}));
    boxes.clear_shown();

    other.refdate = {2024, 3, 20};
    other.district = "Patiala";
    clerk.click("cmd_addnew");
    fill_claim(clerk, other);
    boxes.answer(vbYes);
    clerk.click("cmd_save");
    EXPECT_EQ(boxes.shown().back(), info("Record Saved Successfully.", "Saved"));
    boxes.clear_shown();
    clerk.click("cmd_close");
}

void RoadOfOneClaim::decide(frmBillUpdation& form) {
    Clerk clerk(form);
    clerk.type("txt_refno", "101");
    EXPECT_EQ(clerk.find<QLabel>("lbl_name")->text(), claim.empname);
    EXPECT_EQ(clerk.text("cmb_status"), "Pending");
    clerk.choose("cmb_status", "Sanctioned");
    clerk.type("txt_amount", "2,25,000");
    clerk.type_date("txt_date", {2024, 4, 10});
    clerk.type("txt_remarks", "Sanctioned at the approved rates");
    boxes.answer(vbYes);
    clerk.click("cmd_update");
    EXPECT_EQ(boxes.shown(), (std::vector{question("Do you want to update record?", "Update?"),
                                          info("Record Updated Successfully!", "Updated!")}));
    boxes.clear_shown();
    clerk.click("cmd_close");
}

void RoadOfOneClaim::list_cases(frmreport& form) {
    Clerk clerk(form);
    clerk.type_date("txt_dfrom", {2024, 3, 1});
    clerk.type_date("txt_dto", {2024, 3, 31});
    clerk.choose("cmb_district", "All Districts");
    clerk.choose("cmb_status", "Sanctioned");
    const auto viewer = expect_window<frmCRCases>([&](frmCRCases& window) {
        EXPECT_EQ(window.CRViewer1->pageCount(), 1);
        export_pdf(*window.CRViewer1, paper.filePath("cases.pdf"));
        window.close();
    });
    clerk.click("cmd_show");
    EXPECT_TRUE(boxes.shown().empty());
    clerk.click("cmd_close");
}

void RoadOfOneClaim::count_and_print(RptPendancy& form) {
    Clerk clerk(form);
    clerk.type_date("txt_from", {2024, 3, 1});
    clerk.type_date("txt_to", {2024, 3, 31});
    clerk.click("cmd_show");
    reports::FlexGrid& grid = form.GRD();
    ASSERT_EQ(grid.Rows(), 22) << "headings, twenty districts, the state";
    for (int row = 1; row < grid.Rows(); ++row) {
        const QString district = grid.TextMatrix(row, 1);
        const QString counts = QStringList{grid.TextMatrix(row, 2), grid.TextMatrix(row, 3),
                                           grid.TextMatrix(row, 4), grid.TextMatrix(row, 5)}
                                   .join(' ');
        const QString expected = district == "Bathinda"         ? "1 1 0 0"
                                 : district == "Patiala"        ? "1 0 0 1"
                                 : district == "PUNJAB (TOTAL)" ? "2 1 0 1"
                                                                : "0 0 0 0";
        EXPECT_EQ(counts, expected) << district.toStdString();
    }
    const auto report =
        expect_window<reports::ReportPreviewDialog>([&](reports::ReportPreviewDialog& window) {
            export_pdf(*window.preview(), paper.filePath("pendency.pdf"));
            window.reject();
        });
    clerk.click("cmd_print");
    EXPECT_TRUE(boxes.shown().empty());
    clerk.click("cmd_close");
}

void RoadOfOneClaim::walk(VETRA& window) {
    {
        const auto form = expect_window<frmBillEntry>(
            [&](frmBillEntry& entry) { enter_save_find_edit_update(entry); });
        choose_menu_item(window, window.mnu_Entry, window.mnuAddCase);
    }
    {
        const auto form =
            expect_window<frmBillUpdation>([&](frmBillUpdation& status) { decide(status); });
        choose_menu_item(window, window.mnu_Entry, window.mnu_StatusUpdation);
    }
    {
        const auto form = expect_window<frmreport>([&](frmreport& list) { list_cases(list); });
        choose_menu_item(window, window.mnu_reports, window.mnu_list);
    }
    {
        const auto form =
            expect_window<RptPendancy>([&](RptPendancy& report) { count_and_print(report); });
        choose_menu_item(window, window.mnu_reports, window.mnu_pendancy);
    }
}

TEST_F(RoadOfOneClaim, FromTheSignInToThePrintedReports) {
    const auto login = expect_window<frmLogin>([&](frmLogin& window) { sign_in(window); });
    const auto main_window = expect_window<VETRA>(
        [&](VETRA& window) {
            walk(window);
            choose_menu_item(window, window.mnu_Entry, window.mnu_Exit);
        },
        false);
    ASSERT_EQ(run_register({"vetra", "--data-dir", data.path()}), 0);
    EXPECT_TRUE(boxes.shown().empty());

    // The program left its connection open, as it does when it ends: read through it.
    ASSERT_EQ(Module1::db_conn.State(), store::adStateOpen);
    EXPECT_EQ(integrity_check(), QStringList{"ok"});
    const std::vector<StoredRow> rows = stored_rows();
    ASSERT_EQ(rows.size(), 2u);
    StoredRow expected = saved_row(claim, 101);
    expected["billstatus"] = store::FieldValue(QStringLiteral("Sanctioned"));
    expected["amtapproved"] = store::FieldValue(std::int64_t{225000});
    expected["appdate"] = store::FieldValue(QDate(2024, 4, 10));
    expected["remarks"] = store::FieldValue(QStringLiteral("Sanctioned at the approved rates"));
    EXPECT_EQ(differences(expected, rows[0]), QStringList());
    StoredRow second = saved_row(other, 102);
    second["amtapproved"] = store::FieldValue();
    second["appdate"] = store::FieldValue();
    second["remarks"] = store::FieldValue();
    EXPECT_EQ(differences(second, rows[1]), QStringList());

    store::Recordset preport;
    preport.Open("Select sno, distname, tc, sc, rc, pc from preport order by sno",
                 Module1::db_conn);
    QStringList lines;
    for (; !preport.Eof(); preport.MoveNext()) {
        QStringList fields;
        for (int i = 0; i < 6; ++i)
            fields << preport.Fields(i).text();
        lines << fields.join('|');
    }
    ASSERT_EQ(lines.size(), 21);
    EXPECT_EQ(lines[2], "3|Bathinda|1|1|0|0");
    EXPECT_EQ(lines[16], "17|Patiala|1|0|0|1");
    EXPECT_EQ(lines[20], "21|PUNJAB (TOTAL)|2|1|0|1");

    const QString cases = reports::testing::pdfPages(paper.filePath("cases.pdf")).join('\n');
    const QString pendency = reports::testing::pdfPages(paper.filePath("pendency.pdf")).join('\n');
    // Names may be cut short in their columns; the figures never are.
    const QRegularExpression claim_line(
        "101 +05-03-2024 +Harjinder.* +Bathinda +Gurmeet Kaur +58 +Wife +Coronary.* +03-02-2024 "
        "+14-02-2024 +252300 +Sanctioned +225000 +10-04-2024");
    EXPECT_TRUE(claim_line.match(cases).hasMatch()) << cases.toStdString();
    EXPECT_TRUE(cases.contains(QRegularExpression(" 120000 +Bathinda "))) << "the basic pay";
    EXPECT_TRUE(cases.contains(QRegularExpression("Number of Cases: 1\\b")));
    EXPECT_FALSE(cases.contains("102")) << "the pending claim is not listed";
    EXPECT_TRUE(cases.contains("Reference Date Between 01-03-2024 and 31-03-2024"));
    EXPECT_TRUE(cases.contains("Status of Bill : Sanctioned"));

    EXPECT_TRUE(pendency.contains("Consolidated Report (Medical Reimbursement Cases)"));
    EXPECT_TRUE(pendency.contains(QRegularExpression("Period From : +01-03-2024 +To +31-03-2024")));
    for (const char* line :
         {"3 +Bathinda +1 +1 +0 +0\\n", "17 +Patiala +1 +0 +0 +1\\n",
          "21 +PUNJAB \\(TOTAL\\) +2 +1 +0 +1\\n", "9 +Jalandhar +0 +0 +0 +0\\n"})
        EXPECT_TRUE(pendency.contains(QRegularExpression(line))) << line << pendency.toStdString();
}

} // namespace
} // namespace acceptance
