// Test helpers for the report tests: what poppler's pdftotext reads from a PDF, page by page in
// layout mode, and a list report shaped like the register's case list, with rows whose keys
// ("K00001", "K00002", ...) appear nowhere else in the report.
#pragma once

#include "reports/tabular_report.h"

#include <QString>
#include <QStringList>

namespace reports::testing {

// The text of each page, laid out as on the page.
QStringList pdfPages(const QString& path);

// The pages of `report` exported as a PDF, read back as above.
QStringList printedPages(PagedReport& report);

QString sampleKey(int row);

// Columns: key, name (wide enough for a short name only), date, amount
// (right-aligned, totalled), status. Row i has amount i * 10 + 0.5.
TabularReport sampleList(int rowCount);

} // namespace reports::testing
