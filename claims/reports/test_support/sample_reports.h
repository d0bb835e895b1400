// Test helper: a list report shaped like the register's case list, with rows
// whose keys ("K00001", "K00002", ...) appear nowhere else in the report.
#pragma once

#include "reports/tabular_report.h"

namespace reports::testing {

QString sampleKey(int row);

// Columns: key, name (wide enough for a short name only), date, amount
// (right-aligned, totalled), status. Row i has amount i * 10 + 0.5.
TabularReport sampleList(int rowCount);

} // namespace reports::testing
