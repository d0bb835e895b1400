// Banded reports: how many pages the bands take, and the names a report does not have. What the
// pages show, and where, is read back from the printed consolidated report (DRPendancy_test.cpp).
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
    BandedReport report;
    report.section(SectionKind::Detail).setHeight(300);
    report.setData({"sno"}, {{1}});
    EXPECT_THROW(report.label("lblMissing"), std::out_of_range);
    report.section(SectionKind::Detail).addTextBox("txtOdd", {0, 0, 100, 100}, "nosuchfield");
    EXPECT_THROW(report.paginate({9000, 9000}), std::invalid_argument);
}

} // namespace
} // namespace reports
