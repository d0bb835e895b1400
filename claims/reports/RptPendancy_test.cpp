// The consolidated report form on a register of its own: the grid of counts, the statements it
// runs, the preport refill, the printed header, and what a database error leaves behind.
#include "dedetail.h"
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
#include <QProgressDialog>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using Module1::db_conn;
using platform::MsgBoxStyle;
using platform::ShownBox;
using Cells = std::vector<std::string>;

namespace {

const QDate kFrom(2024, 1, 1);
const QDate kTo(2024, 1, 31);

class ConsolidatedReport : public ::testing::Test {
protected:
    void SetUp() override {
        set_districts({"B", "A's"}); // a quote the statements must keep
        form.show();
    }

    static void set_districts(const QStringList& names) {
        db_conn.Execute("Delete from districts");
        for (const QString& name : names)
            db_conn.Execute("Insert into districts (distname) values (" +
                            store::text_literal(name) + ")");
    }

    void add_claim(const QDate& refdate, const QString& district, const QString& status) {
        db_conn.Execute(QStringLiteral("Insert into detail (refno, refdate, odist, billstatus) "
                                       "values (%1, %2, %3, %4)")
                            .arg(++last_refno_)
                            .arg(store::date_literal(refdate), store::text_literal(district),
                                 store::text_literal(status)));
    }

    // One line of the grid, row 0 being the headings.
    Cells line(int row) {
        Cells cells;
        for (int col = 0; col < form.GRD().Cols(); ++col)
            cells.push_back(form.GRD().TextMatrix(row, col).toStdString());
        return cells;
    }

    std::vector<Cells> whole_grid() {
        std::vector<Cells> lines;
        for (int row = 0; row < form.GRD().Rows(); ++row)
            lines.push_back(line(row));
        return lines;
    }

    static std::vector<Cells> preport() {
        store::Recordset rows;
        rows.Open("Select sno, distname, tc, sc, rc, pc from preport order by sno", db_conn);
        std::vector<Cells> lines;
        for (; !rows.Eof(); rows.MoveNext()) {
            Cells cells;
            for (int i = 0; i < rows.FieldCount(); ++i)
                cells.push_back(rows.Fields(i).text().toStdString());
            lines.push_back(cells);
        }
        return lines;
    }

    void count(const QDate& from = kFrom, const QDate& to = kTo) {
        form.txt_from()->setDate(from);
        form.txt_to()->setDate(to);
        QTest::mouseClick(form.cmd_show(), Qt::LeftButton);
    }

    store::TemporaryRegister register_;
    platform::DialogScript boxes;
    RptPendancy form;
    int last_refno_ = 100;
};

const Cells kHeadings{"Sr.No.", "District", "Total", "Sactioned", "Rejected", "Pending"};

// Watches for the report window that "Report" opens modally, hands it to `inspect` and closes
// it. The timer belongs to the watcher, so a report that never opens leaves nothing behind.
class ReportWindow {
public:
    explicit ReportWindow(std::function<void(reports::ReportPreviewDialog&)> inspect) {
        timer_.setSingleShot(true);
        timer_.setInterval(0);
        QObject::connect(&timer_, &QTimer::timeout, [this, inspect = std::move(inspect)] {
            auto* window =
                qobject_cast<reports::ReportPreviewDialog*>(QApplication::activeModalWidget());
            if (!window) {
                timer_.start(); // not open yet
                return;
            }
            ++shown;
            inspect(*window);
            window->reject();
        });
        timer_.start();
    }
    int shown = 0;

private:
    QTimer timer_;
};

// Exports the report window's pages as a PDF through its own "Export PDF" action.
void export_pdf(reports::ReportPreviewDialog& window, const QString& path) {
    reports::ReportPreview::Dialogs dialogs;
    dialogs.saveFileName = [path](QWidget*, const QString&, const QString&) { return path; };
    window.preview()->setDialogs(dialogs);
    window.findChild<QAction*>("actionExportPdf")->trigger();
}

TEST_F(ConsolidatedReport, CountsEachDistrictInNameOrderThenTheWholeState) {
    add_claim(kFrom, "A's", "Sanctioned"); // first day of the period
    add_claim(kTo, "A's", "Pending");      // last day
    add_claim({2024, 1, 15}, "A's", "Rejected");
    add_claim({2024, 1, 15}, "B", "Pending");
    add_claim({2024, 1, 16}, "B", "Pending");
    add_claim({2024, 1, 10}, "Z", "Sanctioned");    // district not in the districts table
    add_claim(kFrom.addDays(-1), "A's", "Pending"); // outside the period
    add_claim(kTo.addDays(1), "B", "Sanctioned");

    count();

    const std::vector<Cells> expected{
        kHeadings,
        {"1", "A's", "3", "1", "1", "1"},
        {"2", "B", "2", "0", "0", "2"},
        {"", "PUNJAB (TOTAL)", "6", "2", "1", "3"},
    };
    EXPECT_EQ(whole_grid(), expected);
    EXPECT_TRUE(boxes.shown().empty());

    count(); // again: the same grid, not a longer one
    EXPECT_EQ(whole_grid(), expected);
}

TEST_F(ConsolidatedReport, RunsTheClerksStatementsWordForWord) {
    set_districts({"A"});
    QStringList statements;
    db_conn.set_statement_hook([&](const QString& statement) { statements << statement; });
    count();

    const QString period = "refdate between #01-Jan-2024# and #31-Jan-2024#";
    const QStringList expected{
        "Select distname from districts order by distname",
        "Select count(*) from detail where odist='A' and " + period,
        "Select count(*) from detail where odist='A' and billstatus='Sanctioned' and " + period,
        "Select count(*) from detail where odist='A' and billstatus='Rejected' and " + period,
        "Select count(*) from detail where odist='A' and billstatus='Pending'and " + period,
        "Select count(*) from detail where " + period + " ",
        "Select count(*) from detail where billstatus='Sanctioned' and " + period,
        "Select count(*) from detail where billstatus='Rejected' and " + period,
        "Select count(*) from detail where billstatus='Pending' and " + period,
    };
    EXPECT_EQ(statements.join('\n').toStdString(), expected.join('\n').toStdString());
}

// An empty districts table is no error, and a count of nothing is a 0, not an empty cell.
TEST_F(ConsolidatedReport, NoDistrictsGivesTheHeadingsAndTheStateTotalCountingZeros) {
    set_districts({});
    add_claim({2023, 6, 1}, "A", "Rejected");
    count();
    const std::vector<Cells> expected{kHeadings, {"", "PUNJAB (TOTAL)", "0", "0", "0", "0"}};
    EXPECT_EQ(whole_grid(), expected);
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(ConsolidatedReport, ReportRefillsPreportWithEveryLineAndPrintsThePeriodCounted) {
    add_claim({2024, 1, 2}, "A's", "Sanctioned");
    add_claim({2024, 1, 3}, "B", "Pending");
    db_conn.Execute("Insert into preport (sno,distname,tc,sc,rc,pc) values (9,'stale',1,1,1,1)");
    count();

    QTemporaryDir dir;
    ReportWindow first([&](reports::ReportPreviewDialog& window) {
        EXPECT_EQ(window.windowTitle(), "Consolidated Report");
        EXPECT_TRUE(window.isModal());
        export_pdf(window, dir.filePath("first.pdf"));
    });
    QTest::mouseClick(form.cmd_print(), Qt::LeftButton);
    ASSERT_EQ(first.shown, 1);
    const std::vector<Cells> expected{
        {"1", "A's", "1", "1", "0", "0"},
        {"2", "B", "1", "0", "0", "1"},
        {"3", "PUNJAB (TOTAL)", "2", "1", "0", "1"},
    };
    EXPECT_EQ(preport(), expected);

    const QStringList pages = reports::testing::pdfPages(dir.filePath("first.pdf"));
    ASSERT_EQ(pages.size(), 1);
    const QString today = platform::FormatDate(QDate::currentDate(), "dd-MMM-yyyy");
    EXPECT_TRUE(pages[0].contains(today)) << pages[0].toStdString();
    EXPECT_TRUE(pages[0].contains("01-01-2024")) << pages[0].toStdString();
    EXPECT_TRUE(pages[0].contains("31-01-2024")) << pages[0].toStdString();
    EXPECT_TRUE(pages[0].contains("PUNJAB (TOTAL)"));
    EXPECT_FALSE(pages[0].contains("stale"));

    // Dates changed after the count: the report still prints the period that was counted.
    form.txt_from()->setDate({2023, 12, 5});
    form.txt_to()->setDate({2024, 2, 29});
    ReportWindow second([&](reports::ReportPreviewDialog& window) {
        export_pdf(window, dir.filePath("second.pdf"));
    });
    QTest::mouseClick(form.cmd_print(), Qt::LeftButton);
    ASSERT_EQ(second.shown, 1);
    const QString page = reports::testing::pdfPages(dir.filePath("second.pdf")).value(0);
    EXPECT_TRUE(page.contains("01-01-2024")) << page.toStdString();
    EXPECT_TRUE(page.contains("31-01-2024")) << page.toStdString();
    EXPECT_FALSE(page.contains("05-12-2023")) << page.toStdString();
    EXPECT_EQ(preport(), expected);
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(ConsolidatedReport, ReportWithNothingToPrintSaysSoAndShowsNoReport) {
    QStringList statements;
    db_conn.set_statement_hook([&](const QString& statement) { statements << statement; });
    ReportWindow window([](reports::ReportPreviewDialog&) {});
    QTest::mouseClick(form.cmd_print(), Qt::LeftButton); // before any count
    EXPECT_TRUE(statements.isEmpty());
    count();
    // A rule of the database that empties the table behind the form's back.
    db_conn.Execute("Create trigger empty_preport after insert on preport "
                    "begin delete from preport; end");
    QTest::mouseClick(form.cmd_print(), Qt::LeftButton);
    EXPECT_EQ(window.shown, 0);
    const auto sorry = [](const char* text) {
        return ShownBox{ShownBox::Kind::Message, text, "Sorry", MsgBoxStyle::Information};
    };
    EXPECT_EQ(boxes.shown(),
              (std::vector{sorry("No Record to Print."), sorry("No Record Found ")}));
}

// The refill is one write: whichever of its statements fails, preport keeps what it held, the
// form its count and dates, and the clerk sees the engine's reason.
TEST_F(ConsolidatedReport, ARefillFailingAtAnyStatementLeavesPreportAsItWas) {
    add_claim({2024, 1, 2}, "A's", "Sanctioned");
    db_conn.Execute("Insert into preport (sno,distname,tc,sc,rc,pc) values (1,'earlier',4,3,1,0)");
    count();
    const std::vector<Cells> grid = whole_grid();
    // The delete, then one insert for each of the grid's three lines.
    for (int n = 1; n <= 4; ++n) {
        SCOPED_TRACE(n);
        boxes.clear_shown();
        store::TemporaryRegister::fail_nth_statement(n);
        ReportWindow window([](reports::ReportPreviewDialog&) {});
        QTest::mouseClick(form.cmd_print(), Qt::LeftButton);
        EXPECT_EQ(window.shown, 0);
        ASSERT_EQ(boxes.shown().size(), 1u);
        EXPECT_EQ(boxes.shown()[0].title, "Database Error");
        EXPECT_TRUE(boxes.shown()[0].text.contains(n == 1 ? "Delete from preport" : "Insert into"));
        EXPECT_EQ(preport(), (std::vector<Cells>{{"1", "earlier", "4", "3", "1", "0"}}));
        EXPECT_EQ(whole_grid(), grid);
        EXPECT_EQ(form.txt_to()->date(), kTo);
    }
}

TEST_F(ConsolidatedReport, ADatabaseErrorWhileCountingLeavesTheHeadingsOnly) {
    add_claim({2024, 1, 2}, "A", "Sanctioned");
    count();
    ASSERT_EQ(form.GRD().Rows(), 4);
    store::TemporaryRegister::fail_nth_statement(7); // a count of district B
    count();

    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].title, "Database Error");
    EXPECT_EQ(boxes.shown()[0].style, MsgBoxStyle::Information);
    EXPECT_TRUE(boxes.shown()[0].text.contains("odist='B'")) << "the engine's reason";
    EXPECT_EQ(whole_grid(), std::vector<Cells>{kHeadings});
    EXPECT_EQ(form.txt_from()->date(), kFrom) << "the dates are kept";
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr) << "the wait cursor is gone";
    EXPECT_EQ(form.findChild<QProgressDialog*>(), nullptr);

    boxes.clear_shown();
    QTest::mouseClick(form.cmd_print(), Qt::LeftButton);
    EXPECT_EQ(boxes.shown().at(0).text, "No Record to Print.");
}

TEST_F(ConsolidatedReport, ShowsTheWaitCursorAndTheDistrictBeingCountedOnceTheDelayHasPassed) {
    set_districts({"A", "B", "C"});
    form.setProgressDelay(0);
    QStringList seen;
    db_conn.set_statement_hook([&](const QString& statement) {
        if (!statement.startsWith("Select count(*)"))
            return;
        const QCursor* cursor = QGuiApplication::overrideCursor();
        const auto* progress = form.findChild<QProgressDialog*>("countProgress");
        seen << QStringLiteral("%1 %2")
                    .arg(cursor && cursor->shape() == Qt::WaitCursor ? "wait" : "no wait")
                    .arg(progress && progress->isVisible() ? progress->labelText() : "hidden");
    });
    count();

    ASSERT_EQ(seen.size(), 16);
    for (int district = 0; district < 3; ++district)
        EXPECT_EQ(seen[district * 4].toStdString(),
                  QStringLiteral("wait District %1 of 3").arg(district + 1).toStdString());
    EXPECT_EQ(seen[12].toStdString(), "wait State total");
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(form.findChild<QProgressDialog*>(), nullptr);
}

TEST_F(ConsolidatedReport, OpensWithTodayInBothPickersAndTheHeadingsOnly) {
    EXPECT_EQ(form.windowTitle(), "Consolidated Report");
    for (QDateEdit* picker : {form.txt_from(), form.txt_to()}) {
        EXPECT_EQ(picker->date(), QDate::currentDate());
        picker->setDate({2007, 3, 5});
        EXPECT_EQ(picker->text(), "05 - Mar - 2007");
        EXPECT_TRUE(picker->calendarPopup());
    }
    EXPECT_EQ(whole_grid(), std::vector<Cells>{kHeadings});
    QTest::mouseClick(form.cmd_close(), Qt::LeftButton);
    EXPECT_FALSE(form.isVisible());
}

} // namespace
