// A banded report: five sections whose controls sit at fixed twip positions,
// printed over plain rows of data. On each page the page header follows the
// report header (first page only); detail bands, one per row and in the rows'
// order, follow until the next would reach the page footer, which closes
// every page; the report footer follows the last detail band, on a new page
// if it does not fit. Every page holds at least one detail band while rows
// remain, so any page size makes progress. Pages are laid out from the number
// of rows alone; a page's rows are read when it is painted, so a report of any
// length holds no more than one page of them.
#pragma once

#include "reports/paged_report.h"
#include "reports/report_section.h"

#include <QList>
#include <QStringList>
#include <QVariantList>
#include <array>
#include <functional>
#include <vector>

namespace reports {

enum class SectionKind { ReportHeader, PageHeader, Detail, PageFooter, ReportFooter };

class BandedReport : public PagedReport {
public:
    // A4 portrait with margins of 10 mm until told otherwise.
    BandedReport();

    ReportSection& section(SectionKind kind);
    const ReportSection& section(SectionKind kind) const;

    // The label of that name in any section; throws std::out_of_range if none.
    ReportLabel& label(const QString& name);

    // Reads `count` rows from row `first` (from 0); each row holds the values of the fields
    // in their order.
    using RowReader = std::function<QList<QVariantList>(qsizetype first, qsizetype count)>;

    // The rows to print, each holding the values of `fields` in that order;
    // text boxes find their value by field name.
    void setData(const QStringList& fields, const QList<QVariantList>& rows);
    // The same for `rowCount` rows that `read` gives a page at a time.
    void setData(const QStringList& fields, qsizetype rowCount, RowReader read);
    qsizetype rowCount() const { return rowCount_; }

    void setPageLayout(const QPageLayout& layout) { pageLayout_ = layout; }
    QPageLayout pageLayout() const override { return pageLayout_; }
    int contentWidth() const override;
    // Throws std::invalid_argument if a detail text box names an unknown field.
    int paginate(QSize pageTwips) override;
    void paintPage(ReportCanvas& canvas, int index) const override;

private:
    // What one page holds; the band positions follow from the section heights.
    struct Page {
        bool reportHeader = false;
        qsizetype firstRow = 0;
        qsizetype rowCount = 0;
        int detailTop = 0;
        bool reportFooter = false;
        int reportFooterTop = 0;
    };

    void paintSection(ReportCanvas& canvas, SectionKind kind, int top, int pageNumber,
                      const QVariantList* row = nullptr) const;

    std::array<ReportSection, 5> sections_;
    QPageLayout pageLayout_;
    QStringList fields_;
    qsizetype rowCount_ = 0;
    RowReader read_;
    // Layout of the last pagination.
    std::vector<Page> pages_;
    int pageHeight_ = 0;
    std::vector<qsizetype> detailFields_; // field index of each detail text box
};

} // namespace reports
