// Page renderer: pagination once per device, then every page through the
// report's own painting, whatever the device.
#include "reports/page_renderer.h"

#include "reports/paged_report.h"
#include "reports/report_canvas.h"
#include "reports/twips.h"
#include "reports/whole_file.h"

#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <algorithm>
#include <cmath>

namespace reports {

PageGeometry pageGeometry(const PagedReport& report, const QPageLayout& layout) {
    const QSizeF page = layout.paintRect(QPageLayout::Point).size() * twipsPerPoint;
    const double shrink =
        report.contentWidth() > page.width() ? page.width() / report.contentWidth() : 1.0;
    return {shrink,
            QSize(int(std::floor(page.width() / shrink)), int(std::floor(page.height() / shrink)))};
}

bool renderReport(PagedReport& report, QPagedPaintDevice& device, PageRange range,
                  const Progress& progress) {
    const PageGeometry geometry = pageGeometry(report, device.pageLayout());
    const int pageCount = report.paginate(geometry.pageTwips);

    const int first = std::max(range.first, 1);
    const int last = range.last > 0 ? std::min(range.last, pageCount) : pageCount;
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    painter.setRenderHint(QPainter::TextAntialiasing);
    ReportCanvas canvas(painter, geometry.shrink);
    for (int number = first; number <= last; ++number) {
        if (number > first && !device.newPage())
            return false;
        canvas.setOrigin({});
        report.paintPage(canvas, number - 1);
        if (progress && !progress(number - first + 1, last - first + 1)) {
            if (auto* printer = dynamic_cast<QPrinter*>(&device))
                printer->abort();
            painter.end();
            return false;
        }
    }
    return painter.end();
}

bool exportPdf(PagedReport& report, const QString& path, QString* error, const Progress& progress) {
    WholeFile file(path);
    if (!file.create(error))
        return false;
    bool rendered = false;
    bool stopped = false;
    {
        QPdfWriter writer(&file);
        writer.setCreator(QStringLiteral("Vetraplex"));
        writer.setPageLayout(report.pageLayout());
        rendered = renderReport(report, writer, {}, [&](qint64 done, qint64 total) {
            stopped = progress && !progress(done, total);
            return !stopped;
        });
    }
    if (stopped) {
        if (error)
            error->clear();
        return false;
    }
    if (!rendered) {
        if (error)
            *error = QStringLiteral("The PDF could not be written.");
        return false;
    }
    return file.commit(error);
}

} // namespace reports
