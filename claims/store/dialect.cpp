// Date literal translation, skipping quoted text.
#include "dialect.h"

#include "store_error.h"

#include <QDate>
#include <array>
#include <cctype>
#include <cstdio>
#include <optional>

namespace store {
namespace {

constexpr std::array<std::string_view, 12> kMonths{"jan", "feb", "mar", "apr", "may", "jun",
                                                   "jul", "aug", "sep", "oct", "nov", "dec"};

bool all_digits(std::string_view s) {
    if (s.empty())
        return false;
    for (const char c : s)
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return false;
    return true;
}

int to_int(std::string_view digits) {
    int value = 0;
    for (const char c : digits)
        value = value * 10 + (c - '0');
    return value;
}

std::optional<int> month_number(std::string_view name) {
    if (name.size() != 3)
        return std::nullopt;
    std::string lower;
    for (const char c : name)
        lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (std::size_t i = 0; i < kMonths.size(); ++i)
        if (kMonths[i] == lower)
            return static_cast<int>(i) + 1;
    return std::nullopt;
}

// "05-Mar-2007" -> "'2007-03-05'"; nothing when the text is no valid date.
std::optional<std::string> iso_literal(std::string_view body) {
    const auto first = body.find('-');
    const auto second = body.find('-', first == std::string_view::npos ? first : first + 1);
    if (first == std::string_view::npos || second == std::string_view::npos)
        return std::nullopt;
    const auto day = body.substr(0, first);
    const auto month = month_number(body.substr(first + 1, second - first - 1));
    const auto year = body.substr(second + 1);
    if (day.size() > 2 || !all_digits(day) || !month || year.size() != 4 || !all_digits(year))
        return std::nullopt;
    const QDate date(to_int(year), *month, to_int(day));
    if (!date.isValid())
        return std::nullopt;
    char text[16];
    std::snprintf(text, sizeof text, "'%04d-%02d-%02d'", date.year(), date.month(), date.day());
    return std::string(text);
}

} // namespace

std::string translate_dialect(std::string_view statement) {
    std::string out;
    out.reserve(statement.size() + 8);
    char quote = 0; // the quote character of the text being copied, 0 outside quotes
    for (std::size_t i = 0; i < statement.size(); ++i) {
        const char c = statement[i];
        if (quote != 0) {
            out += c; // a doubled quote closes and reopens: still copied verbatim
            if (c == quote)
                quote = 0;
        } else if (c == '\'' || c == '"') {
            quote = c;
            out += c;
        } else if (c == '#') {
            const auto close = statement.find('#', i + 1);
            const auto body = close == std::string_view::npos
                                  ? statement.substr(i + 1)
                                  : statement.substr(i + 1, close - i - 1);
            const auto literal = close == std::string_view::npos ? std::nullopt : iso_literal(body);
            if (!literal)
                throw StoreError(
                    QStringLiteral("malformed date literal #%1#")
                        .arg(QString::fromUtf8(body.data(), static_cast<qsizetype>(body.size()))));
            out += *literal;
            i = close;
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace store
