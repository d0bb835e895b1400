// CSV writing for list reports.
#include "reports/csv_export.h"

#include "reports/tabular_report.h"
#include "reports/whole_file.h"

namespace reports {

namespace {

// A spreadsheet program takes text starting with one of these as a formula; an apostrophe makes
// it read as text. Numbers (a negative amount) and the lone dash of an empty address stay as
// they are.
QString guarded(const QString& field) {
    if (field.isEmpty() || field == u'-' || !QStringLiteral("=+-@").contains(field.front()))
        return field;
    bool isNumber = false;
    field.toDouble(&isNumber);
    return isNumber ? field : QChar(u'\'') + field;
}

void appendField(QString& line, const QString& text) {
    const QString field = guarded(text);
    const bool quoted = field.contains(u',') || field.contains(u'"') || field.contains(u'\n') ||
                        field.contains(u'\r');
    if (!quoted) {
        line += field;
        return;
    }
    line += u'"';
    line += QString(field).replace(u'"', QStringLiteral("\"\""));
    line += u'"';
}

// One record: `count` fields given by `fieldText(index)`, then the line end.
template <typename FieldText> void appendRecord(QString& text, size_t count, FieldText fieldText) {
    for (size_t i = 0; i < count; ++i) {
        if (i > 0)
            text += u',';
        appendField(text, fieldText(i));
    }
    text += QStringLiteral("\r\n");
}

} // namespace

QByteArray csvText(const TabularReport& report) {
    const auto& columns = report.columns();
    QString text = QStringLiteral("\uFEFF");
    appendRecord(text, columns.size(), [&](size_t c) { return columns[c].heading; });
    for (qsizetype r = 0; r < report.rows().size(); ++r)
        appendRecord(text, columns.size(), [&](size_t c) { return report.cellText(r, c); });
    return text.toUtf8();
}

bool exportCsv(const TabularReport& report, const QString& path, QString* error) {
    return writeWholeFile(path, csvText(report), error);
}

} // namespace reports
