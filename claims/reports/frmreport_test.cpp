// The case list driven through its forms: the checks of the choices, the statements, the claims
// the viewer lists, what it prints and exports, and what a failure leaves behind.
#include "clerk.h"
#include "demo_claims.h"
#include "dialogs.h"
#include "module1.h"
#include "pdf_text.h"
#include "recordset.h"
#include "reports/frmCRCases.h"
#include "reports/frmreport.h"
#include "reports/report_preview.h"
#include "store_error.h"
#include "temporary_register.h"
#include "test_files.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace reports {
namespace {

using platform::MsgBoxStyle;
using platform::ShownBox;

// A claim as the entry form saves it and, unless Pending, as the status form decides it.
struct CaseClaim {
    long long refno = 101;
    QDate refdate{2024, 3, 5};
    QString odist = "Ludhiana", billstatus = "Pending", empname = "Ram Lal", fname = "Sohan Lal";
    QString amtclaimed = "12500", amtapproved = "10000"; // approved: of a sanctioned claim
};

void save_claim(const CaseClaim& c) {
    demo::SampleClaim claim = demo::demo_claims(c.refdate, 1).front(); // the rest as drawn
    claim.refno = QString::number(c.refno);
    claim.odist = c.odist;
    claim.billstatus = c.billstatus;
    claim.empname = c.empname;
    claim.fname = c.fname;
    claim.amtclaimed = c.amtclaimed;
    claim.amtapproved = c.amtapproved;
    claim.appdate = c.refdate.addDays(20);
    demo::save_claim(Module1::db_conn, claim);
}

ShownBox info(const QString& text, const QString& title) {
    return {ShownBox::Kind::Message, text, title, MsgBoxStyle::Information};
}

class CaseList : public ::testing::Test {
protected:
    void SetUp() override {
        form.show();
        QApplication::setActiveWindow(&form);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    }

    void select(const QDate& from, const QDate& to, const QString& district,
                const QString& status) {
        clerk.type_date("txt_dfrom", from);
        clerk.type_date("txt_dto", to);
        clerk.choose("cmb_district", district);
        clerk.choose("cmb_status", status);
    }

    // Presses "Show Report", lets `look` use the viewer that opens, closes it; returns how often
    // it opened.
    int show(const std::function<void(frmCRCases&)>& look = {}) {
        int opened = 0;
        QTimer timer;
        QObject::connect(&timer, &QTimer::timeout, [&] {
            auto* viewer = qobject_cast<frmCRCases*>(QApplication::activeModalWidget());
            if (!viewer || !viewer->isVisible())
                return;
            timer.stop(); // the look may run event loops of its own
            ++opened;
            if (look)
                look(*viewer);
            viewer->close();
        });
        timer.start(10);
        clerk.click("cmd_show");
        return opened;
    }

    store::TemporaryRegister temporary;
    platform::DialogScript script;
    frmreport form;
    vetra_testing::Clerk clerk{form};
};

// Asked for the district first, then for the status, with the list open. Each showing then lists
// what its own selection finds, both end days included, in number order, with the statements as
// written; the form keeps its choices. Nothing found opens no viewer.
TEST_F(CaseList, AsksForTheChoicesThenListsTheClaimsOfThePeriodDistrictAndStatusChosen) {
    for (const char* list : {"cmb_district", "cmb_status"}) {
        script.clear_shown();
        EXPECT_EQ(show(), 0);
        EXPECT_EQ(script.shown(), std::vector{info(list[4] == 'd' ? "Select DISTRICT Please."
                                                                  : "Select Status of Bill Please.",
                                                   "Field Required")});
        auto* combo = clerk.find<QComboBox>(list);
        EXPECT_TRUE(combo->view()->isVisible());
        combo->hidePopup();
        EXPECT_EQ(QApplication::focusWidget(), combo);
        clerk.choose(list, list[4] == 'd' ? "Moga" : "Pending");
    }
    save_claim({.refno = 150, .odist = "Tarn Taran"});
    save_claim({.refno = 104, .refdate = {2024, 3, 6}});
    save_claim({.refno = 101, .refdate = {2024, 3, 4}});
    save_claim({.refno = 102});
    save_claim({.refno = 103, .billstatus = "Sanctioned"});
    save_claim({.refno = 130, .odist = "Chandigarh"}); // no district of the list
    save_claim({.refno = 140, .refdate = {2023, 3, 5}, .odist = "Moga"});
    const QString all = frmreport::district_set("All Districts");
    const struct {
        QString from, to, district, status, where;
        QList<long long> listed;
    } selections[] = {
        // clang-format off
        {"05-Mar-2024", "05-Mar-2024", "Ludhiana", "All Cases", "odist in ('Ludhiana')", {102, 103}},
        {"04-Mar-2024", "06-Mar-2024", "Ludhiana", "Pending",
         "billstatus='Pending' and odist in ('Ludhiana')", {101, 102, 104}},
        {"01-Jan-2024", "31-Dec-2024", "All Districts", "All Cases", "odist in (" + all + ")",
         {101, 102, 103, 104, 150}},
        {"01-Jan-2024", "31-Dec-2024", "Moga", "Rejected",
         "billstatus='Rejected' and odist in ('Moga')", {}},
        // clang-format on
    };
    for (const auto& s : selections) {
        SCOPED_TRACE((s.district + ", " + s.status).toStdString());
        script.clear_shown();
        select(QDate::fromString(s.from, "dd-MMM-yyyy"), QDate::fromString(s.to, "dd-MMM-yyyy"),
               s.district, s.status);
        QStringList statements;
        Module1::db_conn.set_statement_hook([&](const QString& text) { statements << text; });
        QList<long long> listed; // by reference number; none when the viewer does not open
        show([&](frmCRCases&) {
            const CRDetail& report = frmCRCases::case_report();
            for (qsizetype r = 0; r < report.rowCount(); ++r)
                listed << report.cellText(r, 0).toLongLong();
        });
        EXPECT_EQ(listed, s.listed);
        Module1::db_conn.set_statement_hook({});
        EXPECT_EQ(statements.value(0),
                  "SELECT refno,refdate,empname,fname,design,basicpay,odist,pname,page,relation,"
                  "disease,dfrom,dto,amtclaimed,billstatus,amtapproved,appdate FROM detail where "
                  "refdate between #" +
                      s.from + "# and #" + s.to + "# and " + s.where + " order by refno");
        EXPECT_EQ(script.shown(), s.listed.isEmpty() ? std::vector{info("No Record Found", "Sorry")}
                                                     : std::vector<ShownBox>{});
        EXPECT_EQ(clerk.text("cmb_district"), s.district);
        EXPECT_EQ(clerk.text("cmb_status"), s.status);
    }
}

// The list's title block, figures and totals whole however large, and the CSV with every field;
// both files for their owner only, the suffix added to the name typed.
TEST_F(CaseList, ExportsEveryFieldForTheOwnerOnly) {
    save_claim({.refno = 101, .empname = "Singh, Gurdev \"Bittu\"", .amtclaimed = "10000000.75"});
    save_claim({.refno = 102, .odist = "Chandigarh", .amtclaimed = "900"});
    save_claim({.refno = 103, .billstatus = "Sanctioned", .amtclaimed = "12345678.5"});
    select({2024, 1, 1}, {2024, 12, 31}, "All Districts", "All Cases");
    QTemporaryDir dir;
    show([&](frmCRCases& viewer) {
        ReportPreview::Dialogs dialogs;
        dialogs.saveFileName = [&](QWidget*, const QString&, const QString&) {
            return dir.filePath("cases");
        };
        dialogs.showError = [](QWidget*, const QString&, const QString& m) {
            ADD_FAILURE() << m.toStdString();
        };
        viewer.CRViewer1->setDialogs(dialogs);
        for (const char* action : {"actionExportCsv", "actionExportPdf"})
            viewer.CRViewer1->findChild<QAction*>(action)->trigger();
    });
    for (const QString file : {"cases.csv", "cases.pdf"})
        EXPECT_EQ((QFile::permissions(dir.filePath(file)) & 0x0077).toInt(), 0) << "owner only";
    const QString page = testing::pdfPages(dir.filePath("cases.pdf")).join('\f');
    for (const QString& text : QStringList{
             "List of Cases", "Reference Date Between 01-01-2024 and 31-12-2024",
             "District : All Districts", "Status of Bill : All Cases",
             "Printed on : " + QDate::currentDate().toString("dd-MM-yyyy"), "Number of Cases: 2",
             "10000000.75", "12345678.50", "22345679.25", "10000", "Page 1 of 1"})
        EXPECT_TRUE(page.contains(text)) << text.toStdString();
    EXPECT_FALSE(page.contains("Chandigarh"));
    const QList<QByteArray> lines = store::test::file_bytes(dir.filePath("cases.csv")).split('\n');
    ASSERT_EQ(lines.size(), 4); // three records, each ending in CR LF
    EXPECT_TRUE(lines[0].startsWith("\xEF\xBB\xBFRef. No.,Ref. Date,Employee Name,"));
    EXPECT_TRUE(lines[1].startsWith("101,05-03-2024,\"Singh, Gurdev \"\"Bittu\"\"\",Sohan Lal,"));
    EXPECT_EQ(lines[2].count(','), 16);
}

// The list read from the register a page at a time prints, page for page, what the selection
// read whole into memory prints: its claims in number order across more than one stretch, their
// count and the totals of the selection alone. Read whole, the fields are found by name whatever
// their order, and a selection without one of the seventeen is refused, the rows kept.
TEST(CaseListPages, PrintPageForPageWhatTheSelectionReadWholePrints) {
    store::TemporaryRegister temporary;
    // Claims numbered 1000, 1003, ... through 2857: more than one stretch of rows read at a time,
    // every seventh in Moga and the rest in Ludhiana, names of many lengths, amounts with and
    // without paise, the three statuses in turn.
    store::Transaction all(Module1::db_conn);
    for (int i = 0; i < 620; ++i)
        save_claim({.refno = 1000 + 3 * i,
                    .refdate = QDate(2024, 1, 1).addDays(i % 360),
                    .odist = i % 7 ? "Ludhiana" : "Moga",
                    .billstatus = QStringList{"Pending", "Sanctioned", "Rejected"}[i % 3],
                    .empname = "Ram Lal " + QString(i % 30, u'x'),
                    .amtclaimed = QString::number(1000 + i) + (i % 4 ? "" : ".5"),
                    .amtapproved = QString::number(500 + i)});
    all.commit();
    const QDate from(2024, 1, 1), to(2024, 12, 31);
    const QString condition =
        frmreport::selectionCondition("All Cases", from, to, frmreport::district_set("Ludhiana"));
    QList<QStringList> printed;
    for (const bool paged : {false, true}) {
        CRDetail report;
        report.setSelection({from, to, "Ludhiana", "All Cases"}, {2025, 1, 2});
        store::Recordset whole, three;
        if (paged) {
            report.setDataSource(Module1::db_conn, condition);
        } else {
            whole.Open("SELECT appdate, amtapproved, billstatus, amtclaimed, dto, dfrom, disease, "
                       "relation, page, pname, odist, basicpay, design, fname, empname, refdate, "
                       "refno FROM detail where " +
                           condition + " order by refno",
                       Module1::db_conn);
            report.setDataSource(whole);
            three.Open("SELECT refno, refdate, empname FROM detail", Module1::db_conn);
            EXPECT_THROW(report.setDataSource(three), store::StoreError);
        }
        printed << testing::printedPages(report);
    }
    ASSERT_GT(printed[0].size(), 10);
    ASSERT_EQ(printed[1].size(), printed[0].size());
    for (qsizetype p = 0; p < printed[0].size(); ++p)
        EXPECT_EQ(printed[1][p].toStdString(), printed[0][p].toStdString()) << "page " << p + 1;
}

} // namespace
} // namespace reports
