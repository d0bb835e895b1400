// List report, declared as bands over the shared banded report engine.
#include "reports/tabular_report.h"

#include <QMarginsF>
#include <QPageSize>
#include <algorithm>

namespace reports {

namespace {

// Layout in twips.
constexpr int cellPadding = 60;       // space kept free on either side of a cell's text
constexpr int titleHeight = 420;      // 14 pt bold
constexpr int headerLineHeight = 270; // 9 pt
constexpr int reportHeaderGap = 180;  // between the header lines and the headings
constexpr int headingHeight = 480;    // room for a heading on two lines
constexpr int rowHeight = 240;        // six lines to the inch
constexpr int pageFooterHeight = 420; // rule, then the page number
constexpr int footerLineHeight = 300; // a line of the closing block
constexpr int ruleOffset = 60;        // a rule's distance from the band it closes
constexpr int thickRule = 20;
constexpr int thinRule = 10;

QRect cellBox(int left, int top, int width, int height) {
    return {left + cellPadding, top, std::max(width - 2 * cellPadding, 0), height};
}

} // namespace

QList<QVariantList> RowList::rows(qsizetype first, qsizetype count) {
    return rows_.mid(first, count);
}

QVariant RowList::total(size_t column) {
    qlonglong wholeSum = 0;
    double sum = 0;
    bool whole = true;
    for (const QVariantList& values : rows_) {
        if (qsizetype(column) >= values.size() || values[qsizetype(column)].isNull())
            continue;
        const QVariant& value = values[qsizetype(column)];
        bool isNumber = false;
        const double number = value.toDouble(&isNumber);
        if (!isNumber)
            continue;
        switch (value.typeId()) {
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
            wholeSum += value.toLongLong();
            break;
        default:
            whole = false;
            break;
        }
        sum += number;
    }
    return whole ? QVariant(wholeSum) : QVariant(sum);
}

TabularReport::TabularReport()
    : source_(std::make_shared<RowList>(QList<QVariantList>())),
      pageLayout_(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(10, 10, 10, 10),
                  QPageLayout::Millimeter) {}

void TabularReport::setRows(const QList<QVariantList>& rows) {
    setRowSource(std::make_shared<RowList>(rows));
}

void TabularReport::setRowSource(std::shared_ptr<RowSource> source) {
    source_ = std::move(source);
    bands_ = BandedReport(); // the last layout's hold on the old rows goes too
}

void TabularReport::setFooterCaptions(const QString& countCaption, const QString& totalsCaption) {
    countCaption_ = countCaption;
    totalsCaption_ = totalsCaption;
}

QString TabularReport::cellText(const QVariantList& row, size_t column) const {
    const QVariant value = qsizetype(column) < row.size() ? row[qsizetype(column)] : QVariant();
    const ValueFormatter& format = columns_[column].format;
    return format ? format(value) : plainText(value);
}

QString TabularReport::cellText(qsizetype row, size_t column) const {
    return cellText(source_->rows(row, 1).value(0), column);
}

QString TabularReport::totalText(size_t column) const {
    const QVariant total = source_->total(column);
    const ValueFormatter& format = columns_[column].format;
    return format ? format(total) : plainText(total);
}

int TabularReport::contentWidth() const {
    int width = 0;
    for (const TabularColumn& column : columns_)
        width += column.width;
    return width;
}

int TabularReport::paginate(QSize pageTwips) {
    buildBands(pageTwips.width());
    return bands_.paginate(pageTwips);
}

void TabularReport::paintPage(ReportCanvas& canvas, int index) const {
    bands_.paintPage(canvas, index);
}

void TabularReport::buildBands(int pageWidth) {
    bands_ = BandedReport();
    const int tableWidth = contentWidth();

    ReportSection& header = bands_.section(SectionKind::ReportHeader);
    header.addLabel("title", {0, 0, pageWidth, titleHeight}, title_).font = reportFont(14, true);
    int y = titleHeight;
    for (qsizetype i = 0; i < headerLines_.size(); ++i, y += headerLineHeight)
        header.addLabel("headerLine" + QString::number(i), {0, y, pageWidth, headerLineHeight},
                        headerLines_[i]);
    header.setHeight(y + reportHeaderGap);

    ReportSection& headings = bands_.section(SectionKind::PageHeader);
    headings.setHeight(headingHeight);
    ReportSection& detail = bands_.section(SectionKind::Detail);
    detail.setHeight(rowHeight);
    ReportSection& closing = bands_.section(SectionKind::ReportFooter);
    const bool anyTotal = std::any_of(columns_.begin(), columns_.end(),
                                      [](const TabularColumn& c) { return c.totalled; });
    const int countTop = ruleOffset + (anyTotal ? footerLineHeight : 0);
    QStringList fields;
    int left = 0;
    int firstTotalLeft = -1;
    for (size_t i = 0; i < columns_.size(); ++i) {
        const TabularColumn& column = columns_[i];
        const QString field = QString::number(i);
        fields << field;
        ReportLabel& heading = headings.addLabel(
            "heading" + field, cellBox(left, 0, column.width, headingHeight), column.heading);
        heading.font = reportFont(8, true);
        heading.alignment = column.alignment | Qt::AlignVCenter;
        heading.wordWrap = true;
        ReportTextBox& cell =
            detail.addTextBox("cell" + field, cellBox(left, 0, column.width, rowHeight), field);
        cell.font = reportFont(8);
        cell.alignment = column.alignment;
        cell.format = column.format;
        cell.whole = column.whole;
        if (column.totalled) {
            ReportLabel& total = closing.addLabel(
                "total" + field, cellBox(left, ruleOffset, column.width, footerLineHeight));
            // Summed when the last page is painted: the source may have to read every row.
            total.deferred = [source = source_, format = column.format, i] {
                const QVariant sum = source->total(i);
                return format ? format(sum) : plainText(sum);
            };
            total.font = reportFont(8, true);
            total.alignment = column.alignment;
            total.whole = true;
            if (firstTotalLeft < 0)
                firstTotalLeft = left;
        }
        left += column.width;
    }
    headings.addLine("headingTopRule", {0, 0, tableWidth, 0}).penWidth = thickRule;
    headings.addLine("headingBottomRule", {0, headingHeight, tableWidth, headingHeight}).penWidth =
        thinRule;

    closing.addLine("closingRule", {0, ruleOffset / 2, tableWidth, ruleOffset / 2}).penWidth =
        thickRule;
    if (anyTotal)
        closing
            .addLabel("totalsCaption", cellBox(0, ruleOffset, firstTotalLeft, footerLineHeight),
                      totalsCaption_)
            .font = reportFont(8, true);
    closing
        .addLabel("rowCount", cellBox(0, countTop, pageWidth, footerLineHeight),
                  countCaption_ + ": " + QString::number(source_->rowCount()))
        .font = reportFont(9, true);
    closing.setHeight(countTop + footerLineHeight);

    ReportSection& pageFooter = bands_.section(SectionKind::PageFooter);
    pageFooter.setHeight(pageFooterHeight);
    pageFooter.addLine("pageRule", {0, ruleOffset, pageWidth, ruleOffset}).penWidth = thinRule;
    ReportLabel& pageNumber = pageFooter.addLabel(
        "pageNumber", {0, pageFooterHeight - footerLineHeight, pageWidth, footerLineHeight},
        QStringLiteral("Page %p of %P"));
    pageNumber.font = reportFont(8);
    pageNumber.alignment = Qt::AlignRight;

    bands_.setData(fields, source_->rowCount(),
                   [source = source_](qsizetype first, qsizetype count) {
                       return source->rows(first, count);
                   });
}

} // namespace reports
