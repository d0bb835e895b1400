// The one code path that puts a report on paper, in a PDF or in the preview:
// lay it out for the device's page, then paint the pages in order, one at a
// time, so that a report of any length is never held whole.
#pragma once

#include "reports/progress.h"

#include <QPageLayout>
#include <QSize>
#include <QString>

class QPagedPaintDevice;

namespace reports {

class PagedReport;

// Pages to render, numbered from 1, both ends included; `last` 0 means to the end.
struct PageRange {
    int first = 1;
    int last = 0;
};

// How a report sits on a page: scaled down by `shrink` (at most 1) when the report is wider than
// the printable area, which then measures `pageTwips` in the report's own twips.
struct PageGeometry {
    double shrink = 1.0;
    QSize pageTwips;
};

// The printable area comes from the page layout rather than from a device's pixels, so that
// every resolution gives the same pages.
PageGeometry pageGeometry(const PagedReport& report, const QPageLayout& layout);

// Renders onto the device with the page layout it already has (the caller
// chooses it, or lets the user choose it in a print dialog), telling `progress`
// the pages done. Returns false when the device cannot be painted on or
// `progress` asked to stop (a printer's job is then aborted).
bool renderReport(PagedReport& report, QPagedPaintDevice& device, PageRange range = {},
                  const Progress& progress = {});

// Writes the report as a PDF on its own page layout, page after page into a file
// that takes the chosen name only once it is whole, for the owner only
// (whole_file.h). On failure `error` says why; stopped by `progress`, it
// returns false with `error` empty.
bool exportPdf(PagedReport& report, const QString& path, QString* error = nullptr,
               const Progress& progress = {});

} // namespace reports
