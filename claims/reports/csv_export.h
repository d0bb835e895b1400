// A list report as comma-separated values for spreadsheets: UTF-8 with a byte
// order mark (so that spreadsheet programs take it as UTF-8), the headings on
// the first line, then one line per row with the texts the report prints.
// Lines end in CR LF; a field holding a comma, a double quote or a line break
// is put in double quotes, with its quotes doubled. A text that a spreadsheet
// would take for a formula (starting with =, +, - or @) gets an apostrophe
// in front.
#pragma once

#include "reports/progress.h"

#include <QByteArray>
#include <QString>

namespace reports {

class TabularReport;

QByteArray csvText(const TabularReport& report);

// Written a stretch of rows at a time, whole or not at all, for the owner only
// (whole_file.h), telling `progress` the rows done; on failure `error` says why.
// Stopped by `progress`, it returns false with `error` empty.
bool exportCsv(const TabularReport& report, const QString& path, QString* error = nullptr,
               const Progress& progress = {});

} // namespace reports
