// How a field's value becomes the text a report prints. Each bound text box
// and each column of a list carries one formatter; Null always prints as
// nothing.
#pragma once

#include <QString>
#include <QVariant>
#include <functional>

namespace reports {

using ValueFormatter = std::function<QString(const QVariant&)>;

// The value's own text.
QString plainText(const QVariant& value);

// Dates in `pattern` with English month names, whatever the locale (e.g.
// "dd-MM-yyyy"). Date-times print their date; text holding an ISO date is
// read as that date; any other value prints as plain text.
ValueFormatter dateText(const QString& pattern);

// Numbers with a fixed count of decimals; values that are not numbers print
// as plain text.
ValueFormatter numberText(int decimals);

} // namespace reports
