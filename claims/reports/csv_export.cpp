// CSV writing for list reports.
#include "reports/csv_export.h"

#include "reports/tabular_report.h"

#include <QSaveFile>

namespace reports {

namespace {

void appendField(QString& line, const QString& field) {
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
    QSaveFile file(path);
    const bool written =
        file.open(QIODevice::WriteOnly) && file.write(csvText(report)) >= 0 && file.commit();
    if (!written && error)
        *error = file.errorString();
    return written;
}

} // namespace reports
