// A list report: a title and a few header lines on the first page, column
// headings on every page, one line per row in the given order, "Page N of M"
// at the foot of every page, and a closing block with the number of rows and
// the totals of the chosen columns. Columns are declared once (heading,
// width, alignment, formatter); a cell never writes into its neighbour, since
// long texts are elided within their column. Figures are never elided: a total,
// or a cell of a column marked whole, that is too wide prints in a smaller font.
// The rows come from a source that counts them up front and gives them a stretch
// at a time, so a list of any length is laid out from its count and holds only
// the rows of the page being painted.
#pragma once

#include "reports/banded_report.h"
#include "reports/value_format.h"

#include <QList>
#include <QStringList>
#include <QVariantList>
#include <memory>
#include <vector>

namespace reports {

// Where a list's rows come from.
class RowSource {
public:
    virtual ~RowSource() = default;
    virtual qsizetype rowCount() const = 0;
    // Rows `first` to `first + count - 1` (from 0) in the list's order, each with one value per
    // column; fewer at the end, or when rows have gone since they were counted.
    virtual QList<QVariantList> rows(qsizetype first, qsizetype count) = 0;
    // The sum of the column's numbers over every row: a whole number when each is one.
    virtual QVariant total(size_t column) = 0;
};

// Rows held in memory, for short lists.
class RowList : public RowSource {
public:
    explicit RowList(QList<QVariantList> rows) : rows_(std::move(rows)) {}
    qsizetype rowCount() const override { return rows_.size(); }
    QList<QVariantList> rows(qsizetype first, qsizetype count) override;
    QVariant total(size_t column) override;

private:
    QList<QVariantList> rows_;
};

struct TabularColumn {
    QString heading;
    int width = 1440; // twips
    Qt::Alignment alignment = Qt::AlignLeft;
    ValueFormatter format = plainText;
    bool totalled = false; // summed in the closing block
    bool whole = false;    // figures, shrunk to fit their column but never elided (as totals are)
};

class TabularReport : public PagedReport {
public:
    // A4 landscape with margins of 10 mm until told otherwise.
    TabularReport();

    void setTitle(const QString& title) { title_ = title; }
    const QString& title() const { return title_; }
    // Lines under the title, such as the selection and the print date.
    void setHeaderLines(const QStringList& lines) { headerLines_ = lines; }
    void setColumns(const std::vector<TabularColumn>& columns) { columns_ = columns; }
    const std::vector<TabularColumn>& columns() const { return columns_; }
    // Each row holds one value per column, in column order; missing values are Null.
    void setRows(const QList<QVariantList>& rows);
    void setRowSource(std::shared_ptr<RowSource> source);
    RowSource& rowSource() const { return *source_; }
    qsizetype rowCount() const { return source_->rowCount(); }
    // The closing block prints "<countCaption>: <rows>" and, before the
    // totals, `totalsCaption`.
    void setFooterCaptions(const QString& countCaption, const QString& totalsCaption);
    void setPageLayout(const QPageLayout& layout) { pageLayout_ = layout; }

    // The text printed for one cell: the column's formatter applied to the value.
    QString cellText(const QVariantList& row, size_t column) const;
    QString cellText(qsizetype row, size_t column) const;
    // The column's formatter applied to the sum of its numeric values: a whole
    // number when every value is one, a decimal number otherwise.
    QString totalText(size_t column) const;

    QPageLayout pageLayout() const override { return pageLayout_; }
    int contentWidth() const override;
    int paginate(QSize pageTwips) override;
    void paintPage(ReportCanvas& canvas, int index) const override;

private:
    // Declares the bands for a page of that width; the rows are shared, not copied.
    void buildBands(int pageWidth);

    QString title_;
    QStringList headerLines_;
    std::vector<TabularColumn> columns_;
    std::shared_ptr<RowSource> source_;
    QString countCaption_ = QStringLiteral("Number of rows");
    QString totalsCaption_ = QStringLiteral("Total");
    QPageLayout pageLayout_;
    BandedReport bands_;
};

} // namespace reports
