// Page renderer: pagination once per device, then every page through the
// report's own painting, whatever the device.
#include "reports/page_renderer.h"

#include "reports/paged_report.h"
#include "reports/report_canvas.h"
#include "reports/twips.h"
#include "reports/whole_file.h"

#include <QBuffer>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>
#include <cmath>

namespace reports {

bool renderReport(PagedReport& report, QPagedPaintDevice& device, PageRange range) {
    // The printable area comes from the page layout rather than from the pixel
    // size, so that every resolution gives the same pages.
    const QSizeF page = device.pageLayout().paintRect(QPageLayout::Point).size() * twipsPerPoint;
    const double shrink =
        report.contentWidth() > page.width() ? page.width() / report.contentWidth() : 1.0;
    const int pageCount = report.paginate(
        QSize(int(std::floor(page.width() / shrink)), int(std::floor(page.height() / shrink))));

    const int first = std::max(range.first, 1);
    const int last = range.last > 0 ? std::min(range.last, pageCount) : pageCount;
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    painter.setRenderHint(QPainter::TextAntialiasing);
    ReportCanvas canvas(painter, shrink);
    for (int number = first; number <= last; ++number) {
        if (number > first && !device.newPage())
            return false;
        canvas.setOrigin({});
        report.paintPage(canvas, number - 1);
    }
    return painter.end();
}

bool exportPdf(PagedReport& report, const QString& path, QString* error) {
    // Rendered in memory, then written whole: a failed export leaves no partial file.
    QByteArray document;
    QBuffer buffer(&document);
    buffer.open(QIODevice::WriteOnly);
    bool rendered = false;
    {
        QPdfWriter writer(&buffer);
        writer.setCreator(QStringLiteral("Vetraplex"));
        writer.setPageLayout(report.pageLayout());
        rendered = renderReport(report, writer);
    }
    if (!rendered) {
        if (error)
            *error = QStringLiteral("The PDF could not be written.");
        return false;
    }
    return writeWholeFile(path, document, error);
}

} // namespace reports
