// The consolidated report on a register of its own: the grid of counts and the statements behind
// it, the preport refill and the report printed from it, and what a database error leaves behind.
#include "clerk.h"
#include "dialogs.h"
#include "format_date.h"
#include "module1.h"
#include "pdf_text.h"
#include "reports/RptPendancy.h"
#include "reports/report_preview.h"
#include "temporary_register.h"
#include "values.h"

#include <QAction>
#include <QApplication>
#include <QDateEdit>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

using Module1::db_conn;
using Cells = std::vector<std::string>;

namespace {

const QDate kFrom(2024, 1, 1);
const QDate kTo(2024, 1, 31);
const Cells kHeadings{"Sr.No.", "District", "Total", "Sactioned", "Rejected", "Pending"};

class ConsolidatedReport : public ::testing::Test {
protected:
    void SetUp() override {
        db_conn.Execute("Delete from districts");
        for (const char* name : {"B", "A's"}) // a quote the statements must keep
            db_conn.Execute("Insert into districts (distname) values (" +
                            store::text_literal(name) + ")");
        form.show();
    }

    void add_claim(const QDate& refdate, const QString& district, const QString& status) {
        db_conn.Execute(QStringLiteral("Insert into detail (refno, refdate, odist, billstatus) "
                                       "values (%1, %2, %3, %4)")
                            .arg(++last_refno_)
                            .arg(store::date_literal(refdate), store::text_literal(district),
                                 store::text_literal(status)));
    }

    std::vector<Cells> grid() {
        std::vector<Cells> lines(size_t(form.GRD().Rows()));
        for (int row = 0; row < form.GRD().Rows(); ++row)
            for (int col = 0; col < form.GRD().Cols(); ++col)
                lines[size_t(row)].push_back(form.GRD().TextMatrix(row, col).toStdString());
        return lines;
    }

    void count() {
        clerk.type_date("txt_from", kFrom);
        clerk.type_date("txt_to", kTo);
        clerk.click("cmd_show");
    }

    // Presses "Report"; the report window it opens is exported as a PDF into `pdf`, if given,
    // and closed. Returns how often a report window opened.
    int report(const QString& pdf = {}) {
        int shown = 0;
        QTimer timer;
        QObject::connect(&timer, &QTimer::timeout, [&] {
            auto* window =
                qobject_cast<reports::ReportPreviewDialog*>(QApplication::activeModalWidget());
            if (!window)
                return;
            timer.stop();
            ++shown;
            reports::ReportPreview::Dialogs dialogs;
            dialogs.saveFileName = [&](QWidget*, const QString&, const QString&) { return pdf; };
            window->preview()->setDialogs(dialogs);
            window->findChild<QAction*>("actionExportPdf")->trigger();
            window->reject();
        });
        timer.start(0);
        clerk.click("cmd_print");
        return shown;
    }

    store::TemporaryRegister register_;
    platform::DialogScript boxes;
    RptPendancy form;
    vetra_testing::Clerk clerk{form};
    int last_refno_ = 100;
};

// Both end days counted, districts in name order, the state counting every claim of the period
// whatever its district, a count of nothing a 0; counting again gives the same grid, and a count
// that fails leaves none.
TEST_F(ConsolidatedReport, CountsEachDistrictInNameOrderThenTheWholeState) {
    add_claim(kFrom, "A's", "Sanctioned");
    add_claim(kTo, "A's", "Pending");
    add_claim({2024, 1, 15}, "A's", "Rejected");
    add_claim({2024, 1, 15}, "B", "Pending");
    add_claim({2024, 1, 10}, "Z", "Sanctioned"); // no district of the table
    add_claim(kFrom.addDays(-1), "A's", "Pending");
    add_claim(kTo.addDays(1), "B", "Sanctioned");
    for (int again = 0; again < 2; ++again) {
        count();
        EXPECT_EQ(grid(), (std::vector<Cells>{kHeadings,
                                              {"1", "A's", "3", "1", "1", "1"},
                                              {"2", "B", "1", "0", "0", "1"},
                                              {"", "PUNJAB (TOTAL)", "5", "2", "1", "2"}}));
    }
    EXPECT_TRUE(boxes.shown().empty());
    // A half-counted grid would print wrong figures: the headings alone stay, and the dates.
    store::TemporaryRegister::fail_nth_statement(7); // a count of district B
    count();
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].title, "Database Error");
    EXPECT_TRUE(boxes.shown()[0].text.contains("odist='B'")) << "the engine's reason";
    EXPECT_EQ(grid(), std::vector<Cells>{kHeadings});
    EXPECT_EQ(clerk.find<QDateEdit>("txt_from")->date(), kFrom);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr) << "the wait cursor is gone";
    boxes.clear_shown();
    EXPECT_EQ(report(), 0);
    EXPECT_EQ(boxes.shown().at(0).text, "No Record to Print.");
}

// The refill is one write: whichever of its statements fails, preport keeps what it held, the
// form its count and dates, and the clerk sees the engine's reason. Dates changed after the count:
// the report still prints the period that was counted.
TEST_F(ConsolidatedReport, TheReportRefillsPreportWhollyOrNotAtAllAndPrintsThePeriodCounted) {
    add_claim({2024, 1, 2}, "A's", "Sanctioned");
    add_claim({2024, 1, 3}, "B", "Pending");
    db_conn.Execute("Insert into preport (sno,distname,tc,sc,rc,pc) values (1,'earlier',4,3,1,0)");
    count();
    const std::vector<Cells> counted = grid();
    clerk.type_date("txt_from", {2023, 12, 5});
    clerk.type_date("txt_to", {2024, 2, 29});
    for (int n = 1; n <= 4; ++n) { // the delete, then an insert for each of the three lines
        SCOPED_TRACE(n);
        boxes.clear_shown();
        store::TemporaryRegister::fail_nth_statement(n);
        EXPECT_EQ(report(), 0);
        ASSERT_EQ(boxes.shown().size(), 1u);
        EXPECT_EQ(boxes.shown()[0].title, "Database Error");
        EXPECT_TRUE(boxes.shown()[0].text.contains(n == 1 ? "Delete from preport" : "Insert into"));
        EXPECT_EQ(db_conn.ReadNumber("Select count(*) from preport"), 1);
        EXPECT_EQ(db_conn.ReadNumber("Select tc from preport where distname='earlier'"), 4);
        EXPECT_EQ(grid(), counted);
        EXPECT_EQ(clerk.find<QDateEdit>("txt_to")->date(), QDate(2024, 2, 29));
    }
    boxes.clear_shown();
    QTemporaryDir dir;
    ASSERT_EQ(report(dir.filePath("report.pdf")), 1);
    // The lines printed are those of the refilled preport.
    const QString page = reports::testing::pdfPages(dir.filePath("report.pdf")).join('\f');
    for (const char* text : {"01-01-2024", "31-01-2024", "1 +A's +1 +1 +0 +0\n",
                             "2 +B +1 +0 +0 +1\n", "PUNJAB \\(TOTAL\\) +2 +1 +0 +1\n"})
        EXPECT_TRUE(page.contains(QRegularExpression(text))) << text << page.toStdString();
    EXPECT_TRUE(page.contains(platform::FormatDate(QDate::currentDate(), "dd-MMM-yyyy")));
    EXPECT_FALSE(page.contains("05-12-2023") || page.contains("earlier")) << page.toStdString();
    EXPECT_TRUE(boxes.shown().empty());
}

} // namespace
