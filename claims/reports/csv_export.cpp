// CSV writing for list reports.
#include "reports/csv_export.h"

#include "reports/tabular_report.h"
#include "reports/whole_file.h"

#include <algorithm>

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

// Rows read and written at a time: a few pages' worth, so a long list is never held whole.
constexpr qsizetype rowsAtATime = 500;

// The byte order mark and the headings, then every row, a stretch at a time.
template <typename Write> bool writeCsv(const TabularReport& report, Write write) {
    const auto& columns = report.columns();
    QString text = QStringLiteral("\uFEFF");
    appendRecord(text, columns.size(), [&](size_t c) { return columns[c].heading; });
    const qsizetype total = report.rowCount();
    for (qsizetype first = 0; first < total; first += rowsAtATime) {
        for (const QVariantList& row : report.rowSource().rows(first, rowsAtATime))
            appendRecord(text, columns.size(), [&](size_t c) { return report.cellText(row, c); });
        if (!write(text, std::min(first + rowsAtATime, total), total))
            return false;
        text.clear();
    }
    return write(text, total, total);
}

} // namespace

QByteArray csvText(const TabularReport& report) {
    QByteArray csv;
    writeCsv(report, [&](const QString& text, qsizetype, qsizetype) {
        csv += text.toUtf8();
        return true;
    });
    return csv;
}

bool exportCsv(const TabularReport& report, const QString& path, QString* error,
               const Progress& progress) {
    WholeFile file(path);
    if (!file.create(error))
        return false;
    const bool whole = writeCsv(report, [&](const QString& text, qsizetype done, qsizetype total) {
        file.write(text.toUtf8());
        return !progress || progress(done, total);
    });
    if (!whole) {
        if (error)
            error->clear();
        return false;
    }
    return file.commit(error);
}

} // namespace reports
