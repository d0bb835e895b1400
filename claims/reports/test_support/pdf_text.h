// Test helper: what poppler's pdftotext reads from a PDF, page by page in layout mode.
#pragma once

#include <QString>
#include <QStringList>

namespace reports::testing {

// The text of each page, laid out as on the page.
QStringList pdfPages(const QString& path);

} // namespace reports::testing
