// A list report as comma-separated values for spreadsheets: UTF-8 with a byte
// order mark (so that spreadsheet programs take it as UTF-8), the headings on
// the first line, then one line per row with the texts the report prints.
// Lines end in CR LF; a field holding a comma, a double quote or a line break
// is put in double quotes, with its quotes doubled.
#pragma once

#include <QByteArray>
#include <QString>

namespace reports {

class TabularReport;

QByteArray csvText(const TabularReport& report);

// Replaces the file only once all of it is written; on failure `error` says why.
bool exportCsv(const TabularReport& report, const QString& path, QString* error = nullptr);

} // namespace reports
