// Test helper: CSV text split into records of fields the way spreadsheet programs read it
// (RFC 4180: CR LF between records, quoted fields with their quotes doubled).
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace reports::testing {

// Fails the running test when the text ends inside a quoted field or without a line end.
std::vector<QStringList> readCsv(const QString& text);

} // namespace reports::testing
