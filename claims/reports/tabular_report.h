// A list report: a title and a few header lines on the first page, column
// headings on every page, one line per row in the given order, "Page N of M"
// at the foot of every page, and a closing block with the number of rows and
// the totals of the chosen columns. Columns are declared once (heading,
// width, alignment, formatter); a cell never writes into its neighbour, since
// long texts are elided within their column. Figures are never elided: a total,
// or a cell of a column marked whole, that is too wide prints in a smaller font.
#pragma once

#include "reports/banded_report.h"
#include "reports/value_format.h"

#include <QList>
#include <QStringList>
#include <QVariantList>
#include <vector>

namespace reports {

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
    void setRows(const QList<QVariantList>& rows) { rows_ = rows; }
    const QList<QVariantList>& rows() const { return rows_; }
    // The closing block prints "<countCaption>: <rows>" and, before the
    // totals, `totalsCaption`.
    void setFooterCaptions(const QString& countCaption, const QString& totalsCaption);
    void setPageLayout(const QPageLayout& layout) { pageLayout_ = layout; }

    // The text printed for one cell: the column's formatter applied to the value.
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
    QList<QVariantList> rows_;
    QString countCaption_ = QStringLiteral("Number of rows");
    QString totalsCaption_ = QStringLiteral("Total");
    QPageLayout pageLayout_;
    BandedReport bands_;
};

} // namespace reports
