// Banded reports: how many pages the bands take. What the pages show, and where, is read back
// from the printed consolidated report (RptPendancy_test.cpp).
#include "reports/banded_report.h"

#include <gtest/gtest.h>

namespace reports {
namespace {

TEST(BandedReport, PaginatesBandHeightsExactly) {
    BandedReport report;
    report.section(SectionKind::ReportHeader).setHeight(1000);
    report.section(SectionKind::PageHeader).setHeight(500);
    report.section(SectionKind::Detail).setHeight(300);
    report.section(SectionKind::PageFooter).setHeight(200);
    report.section(SectionKind::ReportFooter).setHeight(400);
    // 2800 twips above the footer: 4 rows under both headers, 7 under the page header; a page
    // too small for any band still takes one row, then the footer.
    const struct {
        int rows, pageHeight, pages;
    } cases[] = {{4, 3000, 2},  {3, 3000, 1}, {10, 3000, 2},
                 {11, 3000, 3}, {0, 3000, 1}, {5, 100, 6}};
    for (const auto& c : cases) {
        report.setData({"n"}, QList<QVariantList>(c.rows, QVariantList{1}));
        EXPECT_EQ(report.paginate({9000, c.pageHeight}), c.pages) << c.rows << " rows";
    }
}

} // namespace
} // namespace reports
