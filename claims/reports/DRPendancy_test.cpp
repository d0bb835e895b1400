// The printed consolidated report, read back from its PDF: rows of preport in their order under
// a page header on every page, the captions set at its start, and every control at its twip
// position (which also proves the banded renderer's placing, alignment and band flow).
#include "dedetail.h"
#include "format_date.h"
#include "module1.h"
#include "pdf_text.h"
#include "reports/DRPendancy.h"
#include "reports/page_renderer.h"
#include "temporary_register.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <limits>

namespace {

using reports::testing::PdfWord;

constexpr double kMarginPoints = 10 / 25.4 * 72; // the report's 10 mm margins

double points(int twips) {
    return twips / 20.0 + kMarginPoints;
}

// The first word of that text; a missing word fails the test and has no position.
PdfWord find_word(const std::vector<PdfWord>& words, const QString& text) {
    for (const PdfWord& word : words) {
        if (word.text == text)
            return word;
    }
    ADD_FAILURE() << "no word " << text.toStdString();
    const double nowhere = std::numeric_limits<double>::quiet_NaN();
    return {0, nowhere, nowhere, nowhere, nowhere, text};
}

TEST(DRPendancy, PrintsEveryRowInOrderUnderItsHeadersWithEachControlInItsPlace) {
    store::TemporaryRegister register_;
    // Rows D001, D002, ... with totals 1001, 1002, ... read through rsPendancy.
    constexpr int kRows = 80;
    for (int i = 1; i <= kRows; ++i)
        Module1::db_conn.Execute(
            QStringLiteral(
                "Insert into preport (sno,distname,tc,sc,rc,pc) values (%1,'D%2',%3,1,2,3)")
                .arg(i)
                .arg(i, 3, 10, QLatin1Char('0'))
                .arg(1000 + i));
    DEDetail::rsPendancy.Open("SELECT sno, distname, tc, sc, rc, pc FROM preport order by sno",
                              Module1::db_conn, store::adOpenStatic, store::adLockOptimistic);
    DRPendancy report;
    report.takeRows(DEDetail::rsPendancy);
    report.DataReport_Initialize({2024, 4, 1}, {2025, 3, 31});
    QTemporaryDir dir;
    const QString pdf = dir.filePath("pendency.pdf");
    ASSERT_TRUE(reports::exportPdf(report, pdf));

    const QStringList pages = reports::testing::pdfPages(pdf);
    ASSERT_GE(pages.size(), 2);
    EXPECT_TRUE(pages[0].contains("Consolidated Report (Medical Reimbursement Cases)"));
    EXPECT_TRUE(pages[0].contains("Period From :"));
    for (int i = 1; i < pages.size(); ++i)
        EXPECT_FALSE(pages[i].contains("Medical Reimbursement")) << "report header on page 1 only";
    for (const QString& page : pages) {
        for (const char* heading :
             {"Sr. No.", "District Name", "Total", "Sanctioned", "Rejected", "Pending"})
            EXPECT_TRUE(page.contains(heading)) << heading;
    }
    const QString all = pages.join('\f');
    qsizetype previous = -1;
    for (int i = 1; i <= kRows; ++i) {
        const QString name = QStringLiteral("D%1").arg(i, 3, 10, QLatin1Char('0'));
        ASSERT_EQ(all.count(name), 1) << name.toStdString();
        ASSERT_GT(all.indexOf(name), previous) << name.toStdString() << " out of order";
        previous = all.indexOf(name);
    }

    const std::vector<PdfWord> words = reports::testing::pdfWords(pdf);
    const double tolerance = 1.5; // points
    EXPECT_NEAR(find_word(words, "Period").xMin, points(144), tolerance);
    EXPECT_NEAR(find_word(words, "01-04-2024").xMin, points(1584), tolerance);
    EXPECT_NEAR(find_word(words, "31-03-2025").xMin, points(3312), tolerance);
    EXPECT_NEAR(find_word(words, "District").xMin, points(1584), tolerance);
    const PdfWord first = find_word(words, "D001");
    EXPECT_NEAR(first.xMin, points(1584), tolerance);
    EXPECT_GE(first.yMin, points(1260 + 540) - tolerance)
        << "the first detail band follows the two headers";
    EXPECT_NEAR(find_word(words, "D002").yMin - first.yMin, 300 / 20.0, 0.5) << "one band down";
    // The print date keeps to the right edge of its box, a total to the middle of its column.
    const QString today = platform::FormatDate(QDate::currentDate(), "dd-MMM-yyyy");
    EXPECT_NEAR(find_word(words, today).xMax, points(7776 + 2745), tolerance);
    const PdfWord total = find_word(words, "1001");
    EXPECT_NEAR((total.xMin + total.xMax) / 2, points(4752 + 1290 / 2), tolerance);
}

} // namespace
