// List reports rendered to PDF and read back with pdftotext: every row once and
// in order, headings and page numbers on every page, the closing block, long
// texts kept inside their column, and pages narrower than the report.
#include "pdf_text.h"
#include "reports/page_renderer.h"
#include "reports/tabular_report.h"
#include "reports/twips.h"
#include "sample_reports.h"

#include <QPdfWriter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace reports {
namespace {

using testing::pdfPages;
using testing::pdfWords;
using testing::sampleKey;
using testing::sampleList;

constexpr double marginPoints = 10 / 25.4 * 72; // the default 10 mm margins

QString exported(PagedReport& report, const QTemporaryDir& dir, const QString& name) {
    const QString path = dir.filePath(name);
    QString error;
    EXPECT_TRUE(exportPdf(report, path, &error)) << error.toStdString();
    return path;
}

TEST(TabularReport, PrintsEveryRowOnceInOrderWithHeadingsAndPageNumbersOnEveryPage) {
    QTemporaryDir dir;
    const int rowCount = 300;
    TabularReport report = sampleList(rowCount);
    const QStringList pages = pdfPages(exported(report, dir, "list.pdf"));

    ASSERT_GE(pages.size(), 5);
    for (int p = 0; p < pages.size(); ++p) {
        SCOPED_TRACE("page " + std::to_string(p + 1));
        EXPECT_TRUE(pages[p].contains("Key")) << pages[p].toStdString();
        EXPECT_TRUE(pages[p].contains("Status"));
        EXPECT_EQ(pages[p].count(QRegularExpression("Page \\d+ of \\d+")), 1);
        EXPECT_TRUE(pages[p].contains(QString("Page %1 of %2").arg(p + 1).arg(pages.size())));
    }
    const QString all = pages.join(u'\f');
    qsizetype previous = -1;
    for (int i = 0; i < rowCount; ++i) {
        const QString key = sampleKey(i);
        ASSERT_EQ(all.count(key), 1) << key.toStdString();
        const qsizetype at = all.indexOf(key);
        ASSERT_GT(at, previous) << key.toStdString() << " out of order";
        previous = at;
    }
    // No page ends early: the middle pages are equally full, the first also holds the title.
    QList<qsizetype> perPage;
    for (const QString& page : pages)
        perPage << page.count(QRegularExpression("K\\d{5}"));
    for (qsizetype p = 2; p < perPage.size() - 1; ++p)
        EXPECT_EQ(perPage[p], perPage[1]) << "page " << p + 1;
    EXPECT_GT(perPage[1], perPage[0]);
    EXPECT_LE(perPage.last(), perPage[1]);

    EXPECT_TRUE(pages.first().contains("List of Sample Cases"));
    EXPECT_TRUE(pages.first().contains("District: All Districts"));
    EXPECT_FALSE(pages[1].contains("List of Sample Cases"));
    EXPECT_TRUE(pages.first().contains("05-03-2024")) << "dates go through the column formatter";
    // 10 * (0 + ... + 299) + 300 * 0.5
    EXPECT_TRUE(pages.last().contains("448650.00")) << pages.last().toStdString();
    EXPECT_TRUE(pages.last().contains("Number of cases: 300"));
}

TEST(TabularReport, ElidesLongTextWithinItsColumn) {
    QTemporaryDir dir;
    TabularReport report = sampleList(3);
    QList<QVariantList> rows = report.rows();
    rows[1][1] = QStringLiteral("Overlong") + QString(60, u'w');
    rows[2][1] = QStringLiteral("Spaced out words that run far beyond the edge of their column");
    report.setRows(rows);
    const std::vector<testing::PdfWord> words = pdfWords(exported(report, dir, "elided.pdf"));

    // Name is the second column: 1000 to 3000 twips from the left margin.
    const double nameRight = marginPoints + 3000.0 / twipsPerPoint;
    bool sawElided = false;
    bool sawDate = false;
    for (const testing::PdfWord& word : words) {
        if (word.text.startsWith("Overlong") || word.text == "Spaced" || word.text == "beyond") {
            EXPECT_LE(word.xMax, nameRight) << word.text.toStdString();
            sawElided |= word.text.startsWith("Overlong") && word.text.endsWith(u'\u2026');
        }
        if (word.text == "06-03-2024") {
            // The date column starts where the name column ends, and its text
            // stands on its own.
            EXPECT_GE(word.xMin, nameRight);
            sawDate = true;
        }
        EXPECT_NE(word.text, "edge") << "words past the column's end must be dropped";
    }
    EXPECT_TRUE(sawElided) << "the long name ends in an ellipsis";
    EXPECT_TRUE(sawDate);
}

TEST(TabularReport, WrapsHeadingsAndElidesWordsTooLongForTheirColumn) {
    QTemporaryDir dir;
    TabularReport report = sampleList(2);
    std::vector<TabularColumn> columns = report.columns();
    columns[0].heading = "Designation"; // one word, wider than 1000 twips at 8 pt bold
    columns[3].heading = "Amount Claimed";
    report.setColumns(columns);
    QList<QVariantList> rows = report.rows();
    rows[0][1] = QStringLiteral("Two\nlines");
    report.setRows(rows);
    const std::vector<testing::PdfWord> words = pdfWords(exported(report, dir, "headings.pdf"));
    auto find = [&](auto matches) {
        for (const testing::PdfWord& word : words) {
            if (matches(word.text))
                return word;
        }
        ADD_FAILURE() << "word not found";
        return testing::PdfWord{};
    };

    const testing::PdfWord designation =
        find([](const QString& w) { return w.startsWith("Design"); });
    EXPECT_TRUE(designation.text.endsWith(u'\u2026')) << designation.text.toStdString();
    EXPECT_LE(designation.xMax, marginPoints + 1000.0 / twipsPerPoint);

    // Amount is the fourth column, 4300 to 5900 twips, right-aligned.
    const testing::PdfWord amount = find([](const QString& w) { return w == "Amount"; });
    const testing::PdfWord claimed = find([](const QString& w) { return w == "Claimed"; });
    EXPECT_GT(claimed.yMin, amount.yMax - 1) << "the heading wraps onto a second line";
    EXPECT_NEAR(claimed.xMax, marginPoints + (5900.0 - 60) / twipsPerPoint, 1.0);
    EXPECT_NEAR(amount.xMax, claimed.xMax, 1.0);

    const testing::PdfWord two = find([](const QString& w) { return w == "Two"; });
    const testing::PdfWord lines = find([](const QString& w) { return w == "lines"; });
    EXPECT_NEAR(two.yMin, lines.yMin, 0.1) << "a line break in a value prints as a blank";
}

TEST(TabularReport, ShrinksToFitAPageNarrowerThanTheTable) {
    QTemporaryDir dir;
    TabularReport report = sampleList(60);
    std::vector<TabularColumn> columns = report.columns();
    columns[1].width = 14000; // far wider than A4 portrait
    report.setColumns(columns);
    const QString path = dir.filePath("portrait.pdf");
    {
        QPdfWriter writer(path);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                         QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
        ASSERT_TRUE(renderReport(report, writer));
    }
    const double rightEdge = 210 / 25.4 * 72 - marginPoints;
    bool sawStatus = false;
    for (const testing::PdfWord& word : pdfWords(path)) {
        EXPECT_LE(word.xMax, rightEdge + 0.5) << word.text.toStdString();
        sawStatus |= word.text == "Status";
    }
    EXPECT_TRUE(sawStatus) << "the last column is still on the page";
    EXPECT_TRUE(pdfPages(path).join("").contains("K00060"));
}

TEST(TabularReport, EmptyListIsOnePageWithHeadingsAndACountOfNone) {
    QTemporaryDir dir;
    TabularReport report = sampleList(0);
    const QStringList pages = pdfPages(exported(report, dir, "empty.pdf"));
    ASSERT_EQ(pages.size(), 1);
    EXPECT_TRUE(pages[0].contains("Amount"));
    EXPECT_TRUE(pages[0].contains("Number of cases: 0"));
    EXPECT_TRUE(pages[0].contains("Page 1 of 1"));
}

TEST(TabularReport, TotalsAreWholeNumbersOnlyWhenEveryValueIs) {
    TabularReport report;
    report.setColumns({{"Whole", 1000, Qt::AlignRight, plainText, true},
                       {"Mixed", 1000, Qt::AlignRight, plainText, true},
                       {"Text", 1000, Qt::AlignLeft, plainText, true}});
    report.setRows({{qlonglong(1) << 40, 1, "x"},
                    {2, 2.25, QVariant()},
                    {QVariant(), QString("0.5"), "12"},
                    {3}});
    EXPECT_EQ(report.totalText(0), QString::number((qlonglong(1) << 40) + 5));
    EXPECT_EQ(report.totalText(1), "3.75");
    EXPECT_EQ(report.totalText(2), "12") << "non-numbers and Null are left out";
    EXPECT_EQ(report.cellText(3, 2), "") << "a short row reads as Null";
}

} // namespace
} // namespace reports
