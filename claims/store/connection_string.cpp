// Parsing of "key=value;..." connection strings with optional quoted values.
#include "connection_string.h"

#include "store_error.h"

#include <QStringList>

namespace store {
namespace {

// Splits at ';' outside double quotes, undoing the quoting of quoted values.
QStringList split_pairs(const QString& text) {
    QStringList pairs;
    QString current;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'"') {
            if (quoted && i + 1 < text.size() && text[i + 1] == u'"') {
                current += c;
                ++i;
            } else {
                quoted = !quoted;
            }
        } else if (c == u';' && !quoted) {
            pairs << current;
            current.clear();
        } else {
            current += c;
        }
    }
    pairs << current;
    return pairs;
}

} // namespace

ConnectionSettings parse_connection_string(const QString& connection_string) {
    ConnectionSettings settings;
    bool has_source = false;
    for (const QString& pair : split_pairs(connection_string)) {
        const auto equals = pair.indexOf(u'=');
        if (equals < 0)
            continue;
        const QString key = pair.left(equals).simplified();
        const QString value = pair.mid(equals + 1).trimmed();
        if (key.compare(u"data source", Qt::CaseInsensitive) == 0) {
            settings.data_source = value;
            has_source = !value.isEmpty();
        } else if (key.compare(u"Jet OLEDB:Database Password", Qt::CaseInsensitive) == 0) {
            settings.password = value;
        }
    }
    if (!has_source)
        throw StoreError(QStringLiteral("the connection string names no data source"));
    return settings;
}

QString connection_string_value(const QString& value) {
    if (!value.contains(u';') && !value.contains(u'"'))
        return value;
    QString quoted = value;
    quoted.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

} // namespace store
