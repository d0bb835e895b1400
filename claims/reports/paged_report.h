// What the page renderer asks of a report: the page it is designed for, its
// width, how it splits into pages of a given size, and how each page looks.
// A report is laid out again for every device it is rendered on, since the
// printer or the PDF may carry another page than the designed one; painting
// always uses the last layout.
#pragma once

#include <QPageLayout>
#include <QSize>

namespace reports {

class ReportCanvas;

class PagedReport {
public:
    virtual ~PagedReport() = default;

    // Paper, orientation and margins that previews and PDFs start from.
    virtual QPageLayout pageLayout() const = 0;
    // Width of the widest band in twips; a narrower page shrinks the whole
    // report to fit rather than cut it off.
    virtual int contentWidth() const = 0;
    // Lays the report out on pages of the given printable size in twips and
    // returns the number of pages, at least 1.
    virtual int paginate(QSize pageTwips) = 0;
    // Paints page `index` (0-based) of the last layout.
    virtual void paintPage(ReportCanvas& canvas, int index) const = 0;
};

} // namespace reports
