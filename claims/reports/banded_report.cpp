// Banded report: pagination of the bands over the rows, and painting a page.
#include "reports/banded_report.h"

#include "reports/report_canvas.h"

#include <QMarginsF>
#include <QPageSize>
#include <algorithm>
#include <stdexcept>

namespace reports {

namespace {

// "%p" and "%P" in a caption become the page number and the page count.
QString withPageNumbers(const QString& caption, int pageNumber, int pageCount) {
    if (!caption.contains(u'%'))
        return caption;
    QString text;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        const QChar next = i + 1 < caption.size() ? caption[i + 1] : QChar();
        if (caption[i] == u'%' && (next == u'p' || next == u'P')) {
            text += QString::number(next == u'p' ? pageNumber : pageCount);
            ++i;
        } else {
            text += caption[i];
        }
    }
    return text;
}

} // namespace

BandedReport::BandedReport()
    : pageLayout_(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(10, 10, 10, 10),
                  QPageLayout::Millimeter) {}

ReportSection& BandedReport::section(SectionKind kind) {
    return sections_[size_t(kind)];
}

const ReportSection& BandedReport::section(SectionKind kind) const {
    return sections_[size_t(kind)];
}

ReportLabel& BandedReport::label(const QString& name) {
    for (ReportSection& section : sections_) {
        if (ReportLabel* label = section.findLabel(name))
            return *label;
    }
    throw std::out_of_range("report has no label " + name.toStdString());
}

void BandedReport::setData(const QStringList& fields, const QList<QVariantList>& rows) {
    setData(fields, rows.size(),
            [rows](qsizetype first, qsizetype count) { return rows.mid(first, count); });
}

void BandedReport::setData(const QStringList& fields, qsizetype rowCount, RowReader read) {
    fields_ = fields;
    rowCount_ = rowCount;
    read_ = std::move(read);
}

int BandedReport::contentWidth() const {
    int width = 0;
    for (const ReportSection& section : sections_)
        width = std::max(width, section.contentWidth());
    return width;
}

int BandedReport::paginate(QSize pageTwips) {
    detailFields_.clear();
    for (const ReportTextBox& textBox : section(SectionKind::Detail).textBoxes()) {
        const qsizetype index = fields_.indexOf(textBox.field);
        if (index < 0)
            throw std::invalid_argument("text box " + textBox.name.toStdString() +
                                        " is bound to unknown field " +
                                        textBox.field.toStdString());
        detailFields_.push_back(index);
    }

    pageHeight_ = pageTwips.height();
    const int bottom = pageHeight_ - section(SectionKind::PageFooter).height();
    const int pageHeader = section(SectionKind::PageHeader).height();
    const int detail = section(SectionKind::Detail).height();
    const int reportFooter = section(SectionKind::ReportFooter).height();

    pages_.clear();
    Page page;
    page.reportHeader = true;
    page.detailTop = section(SectionKind::ReportHeader).height() + pageHeader;
    int y = page.detailTop;
    auto startPage = [&](qsizetype firstRow) {
        pages_.push_back(page);
        page = Page();
        page.firstRow = firstRow;
        page.detailTop = pageHeader;
        y = page.detailTop;
    };
    for (qsizetype row = 0; row < rowCount_; ++row) {
        if (page.rowCount > 0 && y + detail > bottom)
            startPage(row);
        ++page.rowCount;
        y += detail;
    }
    if (reportFooter > 0 && y + reportFooter > bottom && (page.rowCount > 0 || page.reportHeader))
        startPage(rowCount_);
    page.reportFooter = true;
    page.reportFooterTop = y;
    pages_.push_back(page);
    return int(pages_.size());
}

void BandedReport::paintPage(ReportCanvas& canvas, int index) const {
    const Page& page = pages_.at(size_t(index));
    const int number = index + 1;
    if (page.reportHeader)
        paintSection(canvas, SectionKind::ReportHeader, 0, number);
    paintSection(canvas, SectionKind::PageHeader,
                 page.detailTop - section(SectionKind::PageHeader).height(), number);
    const int detail = section(SectionKind::Detail).height();
    const QList<QVariantList> rows =
        page.rowCount > 0 ? read_(page.firstRow, page.rowCount) : QList<QVariantList>();
    // A row gone from the source since it was counted prints as an empty line.
    const QVariantList none;
    for (qsizetype i = 0; i < page.rowCount; ++i)
        paintSection(canvas, SectionKind::Detail, page.detailTop + int(i) * detail, number,
                     i < rows.size() ? &rows[i] : &none);
    if (page.reportFooter)
        paintSection(canvas, SectionKind::ReportFooter, page.reportFooterTop, number);
    paintSection(canvas, SectionKind::PageFooter,
                 pageHeight_ - section(SectionKind::PageFooter).height(), number);
}

void BandedReport::paintSection(ReportCanvas& canvas, SectionKind kind, int top, int pageNumber,
                                const QVariantList* row) const {
    const ReportSection& band = section(kind);
    canvas.setOrigin({0, top});
    for (const ReportLine& line : band.lines())
        canvas.drawLine(line.line, line.penWidth);
    for (const ReportLabel& label : band.labels()) {
        const QString caption = label.deferred ? label.deferred() : label.caption;
        const QString text = withPageNumbers(caption, pageNumber, int(pages_.size()));
        if (label.wordWrap)
            canvas.drawWrappedText(label.box, text, label.font, label.alignment);
        else
            canvas.drawText(label.box, text, label.font, label.alignment, label.whole);
    }
    if (!row)
        return;
    const auto& textBoxes = band.textBoxes();
    for (size_t i = 0; i < textBoxes.size(); ++i) {
        const ReportTextBox& textBox = textBoxes[i];
        const qsizetype field = detailFields_[i];
        const QVariant value = field < row->size() ? row->at(field) : QVariant();
        const QString text = textBox.format ? textBox.format(value) : plainText(value);
        canvas.drawText(textBox.box, text, textBox.font, textBox.alignment, textBox.whole);
    }
}

} // namespace reports
