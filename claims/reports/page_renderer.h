// The one code path that puts a report on paper, in a PDF or in the preview:
// lay it out for the device's page, then paint the pages in order.
#pragma once

#include <QString>

class QPagedPaintDevice;

namespace reports {

class PagedReport;

// Pages to render, numbered from 1, both ends included; `last` 0 means to the end.
struct PageRange {
    int first = 1;
    int last = 0;
};

// Renders onto the device with the page layout it already has (the caller
// chooses it, or lets the user choose it in a print dialog). Returns false when
// the device cannot be painted on.
bool renderReport(PagedReport& report, QPagedPaintDevice& device, PageRange range = {});

// Writes the report as a PDF on its own page layout, whole or not at all, for
// the owner only (whole_file.h); on failure `error` says why.
bool exportPdf(PagedReport& report, const QString& path, QString* error = nullptr);

} // namespace reports
