// How long work on a report (printing, a PDF, a CSV file) tells where it stands: after each page
// or stretch of rows, the number done and the total. The answer false asks the work to stop; it
// then ends as a failure without a reason, leaving nothing behind.
#pragma once

#include <QtGlobal>
#include <functional>

namespace reports {

using Progress = std::function<bool(qint64 done, qint64 total)>;

} // namespace reports
