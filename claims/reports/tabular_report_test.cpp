// List reports rendered to PDF and read back with pdftotext: every row once and in order under
// headings and "Page N of M" on every page, the closing count and totals, long texts kept inside
// their column, and figures never cut short.
#include "pdf_text.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

namespace reports {
namespace {

using testing::sampleKey;
using testing::sampleList;

TEST(TabularReport, PrintsEveryRowOnceInOrderWithHeadingsAndPageNumbersOnEveryPage) {
    for (const int rowCount : {0, 300}) {
        SCOPED_TRACE(rowCount);
        TabularReport report = sampleList(rowCount);
        const QStringList pages = testing::printedPages(report);
        ASSERT_EQ(pages.size() >= 5, rowCount > 0);
        for (int p = 0; p < pages.size(); ++p) {
            EXPECT_TRUE(pages[p].contains("Status")) << "headings on page " << p + 1;
            EXPECT_EQ(pages[p].count(QRegularExpression("Page \\d+ of \\d+")), 1);
            EXPECT_TRUE(pages[p].contains(QString("Page %1 of %2").arg(p + 1).arg(pages.size())));
            EXPECT_EQ(pages[p].contains("List of Sample Cases"), p == 0);
        }
        const QString all = pages.join(u'\f');
        qsizetype previous = -1;
        for (int i = 0; i < rowCount; ++i) {
            ASSERT_EQ(all.count(sampleKey(i)), 1) << i;
            ASSERT_GT(all.indexOf(sampleKey(i)), previous) << i << " out of order";
            previous = all.indexOf(sampleKey(i));
        }
        EXPECT_TRUE(pages.last().contains(QString("Number of cases: %1").arg(rowCount)));
        // 10 * (0 + ... + 299) + 300 * 0.5
        EXPECT_EQ(pages.last().contains("448650.00"), rowCount == 300);
    }
}

// The name cut short with an ellipsis rather than run into the next column; the figures, the
// cell and the total, whole though wider than theirs.
TEST(TabularReport, ElidesALongNameInsideItsColumnButPrintsAFigureWhole) {
    TabularReport report = sampleList(2);
    std::vector<TabularColumn> columns = report.columns();
    columns[3].width = 700; // Amount: too narrow for ten digits and paise
    columns[3].whole = true;
    report.setColumns(columns);
    const QString name = "Overlong" + QString(60, u'w');
    report.setRows({{sampleKey(0), name, {}, 0.5}, {sampleKey(1), "Name 1", {}, 1234567890.5}});
    const QString page = testing::printedPages(report).join(u'\f');
    EXPECT_TRUE(page.contains("Overlongw") && page.contains(u'\u2026') && !page.contains(name));
    EXPECT_TRUE(page.contains("1234567890.50") && page.contains("1234567891.00"));
}

} // namespace
} // namespace reports
