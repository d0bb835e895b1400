// Banded reports: how bands flow over pages, controls at their twip positions,
// page headers on every page and captions set by name, read back from PDFs.
#include "pdf_text.h"
#include "reports/banded_report.h"
#include "reports/page_renderer.h"
#include "reports/twips.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace reports {
namespace {

using testing::pdfPages;
using testing::pdfWords;

constexpr double marginPoints = 10 / 25.4 * 72; // the default 10 mm margins

// A district table: a title block, column labels, one band per district.
BandedReport districtTable(int rowCount) {
    BandedReport report;
    ReportSection& header = report.section(SectionKind::ReportHeader).setHeight(1260);
    header.addLabel("Title", {144, 144, 10365, 420}, "Consolidated Summary").font =
        reportFont(14, true);
    header.addLabel("lblFrom", {1584, 720, 1296, 285});
    header.addLabel("lblDate", {7776, 720, 2745, 420});
    header.addLine("Rule", {144, 1200, 10509, 1200});
    ReportSection& pageHeader = report.section(SectionKind::PageHeader).setHeight(540);
    pageHeader.addLabel("HeadNo", {288, 144, 1140, 240}, "Sr. No.");
    pageHeader.addLabel("HeadName", {1584, 144, 2304, 240}, "District Name");
    pageHeader.addLabel("HeadTotal", {4752, 144, 1305, 240}, "Total");
    ReportSection& detail = report.section(SectionKind::Detail).setHeight(300);
    detail.addTextBox("txtNo", {288, 0, 1140, 240}, "sno");
    detail.addTextBox("txtName", {1584, 0, 3168, 240}, "distname");
    detail.addTextBox("txtTotal", {4752, 0, 1290, 240}, "tc").alignment = Qt::AlignRight;
    detail.addLine("RowRule", {288, 290, 10500, 290});
    report.section(SectionKind::PageFooter).setHeight(75);
    report.section(SectionKind::ReportFooter).setHeight(30);

    QList<QVariantList> rows;
    for (int i = 1; i <= rowCount; ++i)
        rows.append({i, QStringLiteral("Dist%1").arg(i, 3, 10, QLatin1Char('0')), i * 7});
    report.setData({"sno", "distname", "tc"}, rows);
    return report;
}

TEST(BandedReport, RepeatsThePageHeaderAndFlowsDetailBandsAcrossPages) {
    QTemporaryDir dir;
    const int rowCount = 120;
    BandedReport report = districtTable(rowCount);
    report.label("lblDate").setCaption("05-Mar-2024");
    report.label("lblFrom").setCaption("01-01-2024");
    const QString path = dir.filePath("table.pdf");
    ASSERT_TRUE(exportPdf(report, path));
    const QStringList pages = pdfPages(path);

    ASSERT_EQ(pages.size(), 3);
    for (const QString& page : pages) {
        EXPECT_TRUE(page.contains("Sr. No."));
        EXPECT_TRUE(page.contains("District Name"));
    }
    EXPECT_TRUE(pages[0].contains("Consolidated Summary"));
    EXPECT_TRUE(pages[0].contains("05-Mar-2024"));
    EXPECT_TRUE(pages[0].contains("01-01-2024"));
    EXPECT_FALSE(pages[1].contains("Consolidated Summary"))
        << "the report header opens page 1 only";

    const QString all = pages.join(u'\f');
    qsizetype previous = -1;
    for (int i = 1; i <= rowCount; ++i) {
        const QString name = QStringLiteral("Dist%1").arg(i, 3, 10, QLatin1Char('0'));
        ASSERT_EQ(all.count(name), 1) << name.toStdString();
        ASSERT_GT(all.indexOf(name), previous) << name.toStdString() << " out of order";
        previous = all.indexOf(name);
    }
}

TEST(BandedReport, PlacesControlsAtTheirTwipPositions) {
    QTemporaryDir dir;
    BandedReport report = districtTable(2);
    const QString path = dir.filePath("positions.pdf");
    ASSERT_TRUE(exportPdf(report, path));
    auto find = [&](const QString& text) {
        for (const testing::PdfWord& word : pdfWords(path)) {
            if (word.text == text)
                return word;
        }
        ADD_FAILURE() << text.toStdString() << " not found";
        return testing::PdfWord{};
    };
    const double twip = 1.0 / twipsPerPoint;
    EXPECT_NEAR(find("Sr.").xMin, marginPoints + 288 * twip, 1.0);
    EXPECT_NEAR(find("District").xMin, marginPoints + 1584 * twip, 1.0);
    EXPECT_NEAR(find("Dist001").xMin, marginPoints + 1584 * twip, 1.0);
    // Right-aligned: the count ends at the box's right edge.
    EXPECT_NEAR(find("14").xMax, marginPoints + (4752 + 1290) * twip, 1.0);
    // The second detail band lies one detail height (300 twips) below the first.
    EXPECT_NEAR(find("Dist002").yMin - find("Dist001").yMin, 300 * twip, 0.5);
    // First band: below the report header (1260) and the page header (540).
    const testing::PdfWord first = find("Dist001");
    EXPECT_LT(first.yMin, marginPoints + (1260 + 540) * twip + 240 * twip);
    EXPECT_GT(first.yMin, marginPoints + (1260 + 540) * twip);
}

TEST(BandedReport, PaginatesBandHeightsExactly) {
    BandedReport report;
    report.section(SectionKind::ReportHeader).setHeight(1000);
    report.section(SectionKind::PageHeader).setHeight(500);
    report.section(SectionKind::Detail).setHeight(300);
    report.section(SectionKind::PageFooter).setHeight(200);
    report.section(SectionKind::ReportFooter).setHeight(400);
    auto pagesFor = [&](int rowCount, int pageHeight) {
        report.setData({"n"}, QList<QVariantList>(rowCount, QVariantList{1}));
        return report.paginate({9000, pageHeight});
    };
    // 2800 twips above the footer: 4 rows under both headers, 7 under the page header.
    EXPECT_EQ(pagesFor(4, 3000), 2) << "the report footer needs a page of its own";
    EXPECT_EQ(pagesFor(3, 3000), 1);
    EXPECT_EQ(pagesFor(10, 3000), 2);
    EXPECT_EQ(pagesFor(11, 3000), 3);
    EXPECT_EQ(pagesFor(0, 3000), 1);
    // A page too small for any band still takes one row each, then the footer.
    EXPECT_EQ(pagesFor(5, 100), 6);
}

TEST(BandedReport, NamesUnknownLabelsAndUnboundFields) {
    BandedReport report = districtTable(1);
    EXPECT_THROW(report.label("lblMissing"), std::out_of_range);
    report.section(SectionKind::Detail).addTextBox("txtOdd", {0, 0, 100, 100}, "nosuchfield");
    EXPECT_THROW(report.paginate({9000, 9000}), std::invalid_argument);
}

} // namespace
} // namespace reports
