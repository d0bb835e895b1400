// Literal writing for statement texts.
#include "values.h"

#include "format_date.h"

#include <charconv>
#include <string>

namespace store {

QString text_literal(const QString& text) {
    QString body = text.trimmed();
    body.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + body + QLatin1Char('\'');
}

bool text_storable(const QString& text) {
    return !text.contains(QChar::Null) && text.isValidUtf16();
}

std::optional<QString> number_literal(const QString& text) {
    // A comma groups whole digits only: after the decimal point it is the mark of another way of
    // writing numbers ("1.234,50"), whose value would be misread if the comma were dropped.
    QString digits;
    for (const QChar c : text) {
        if (c == u',' && digits.contains(u'.'))
            return std::nullopt;
        if (!c.isSpace() && c != u',')
            digits += c;
    }
    bool seen_digit = false;
    bool seen_point = false;
    for (const QChar c : digits) {
        if (c >= u'0' && c <= u'9')
            seen_digit = true;
        else if (c == u'.' && !seen_point)
            seen_point = true;
        else
            return std::nullopt;
    }
    if (!seen_digit)
        return std::nullopt;
    // A whole part beyond the largest double would be stored as infinity.
    const std::string whole = digits.section(u'.', 0, 0).toStdString();
    double value = 0;
    if (std::from_chars(whole.data(), whole.data() + whole.size(), value).ec ==
        std::errc::result_out_of_range)
        return std::nullopt;
    return digits;
}

QString date_literal(const QDate& date) {
    return QLatin1Char('#') + platform::FormatDate(date, QStringLiteral("dd-MMM-yyyy")) +
           QLatin1Char('#');
}

} // namespace store
