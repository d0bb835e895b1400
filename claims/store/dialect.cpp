// Date literal translation, skipping quoted text.
#include "dialect.h"

#include "server_register.h"
#include "store_error.h"

#include <QDate>
#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <optional>
#include <regex>

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

namespace {

// "detail_search MATCH '<terms>'" as a condition on the words of the server's search table. The
// terms hold only normalised words (letters, digits and marks), so none is a pattern character.
std::string search_condition(const std::string& terms) {
    std::string condition;
    std::size_t start = 0;
    while (start < terms.size()) {
        std::size_t end = terms.find(' ', start);
        if (end == std::string::npos)
            end = terms.size();
        const std::string term = terms.substr(start, end - start);
        start = end + 1;
        if (term.empty())
            continue;
        if (!condition.empty())
            condition += " AND ";
        if (term.rfind("words:", 0) == 0 && term.back() == '*')
            condition += "(' ' || words) LIKE '% " + term.substr(6, term.size() - 7) + "%'";
        else if (term.rfind("facets:", 0) == 0)
            condition += "(' ' || facets || ' ') LIKE '% " + term.substr(7) + " %'";
        else
            throw StoreError(QStringLiteral("the search term %1 is not understood")
                                 .arg(QString::fromStdString(term)));
    }
    return condition.empty() ? std::string("false") : "(" + condition + ")";
}

// Replaces every "detail_search MATCH '...'" outside quoted text by its search condition.
std::string with_search_conditions(const std::string& sql) {
    static const std::string match = "detail_search MATCH '";
    std::string out;
    char quote = 0;
    for (std::size_t i = 0; i < sql.size(); ++i) {
        if (quote == 0 && sql.compare(i, match.size(), match) == 0) {
            const std::size_t begin = i + match.size();
            const std::size_t close = sql.find('\'', begin);
            if (close == std::string::npos || sql.compare(close, 2, "''") == 0)
                throw StoreError(QStringLiteral("malformed search"));
            out += search_condition(sql.substr(begin, close - begin));
            i = close;
            continue;
        }
        const char c = sql[i];
        if (quote != 0)
            quote = c == quote ? 0 : quote;
        else if (c == '\'' || c == '"')
            quote = c;
        out += c;
    }
    return out;
}

// A claim's value read back from the history, where the server keeps it as text, cast back to
// its column's type, so that putting a deleted claim back restores it as it was.
std::string with_history_casts(const std::string& sql) {
    if (sql.find("claim_history_fields") == std::string::npos)
        return sql;
    static const std::regex value(
        R"(\(SELECT before_value FROM claim_history_fields WHERE change = \d+ AND field = '(\w+)'\))");
    std::string out;
    std::size_t copied = 0;
    for (auto it = std::sregex_iterator(sql.begin(), sql.end(), value);
         it != std::sregex_iterator(); ++it) {
        const auto end = static_cast<std::size_t>(it->position() + it->length());
        out += sql.substr(copied, end - copied);
        const QString type = server_value_type(QString::fromStdString((*it)[1].str()));
        if (!type.isEmpty())
            out += "::" + type.toStdString();
        copied = end;
    }
    return out + sql.substr(copied);
}

} // namespace

std::string translate_server_dialect(std::string_view statement) {
    const std::string sql =
        with_history_casts(with_search_conditions(translate_dialect(statement)));
    const auto word_char = [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_';
    };
    std::string out;
    out.reserve(sql.size());
    char quote = 0;
    for (std::size_t i = 0; i < sql.size(); ++i) {
        const char c = sql[i];
        if (quote != 0) {
            quote = c == quote ? 0 : quote;
        } else if (c == '\'' || c == '"') {
            quote = c;
        } else if ((i == 0 || !word_char(sql[i - 1])) && sql.size() - i >= 5 &&
                   std::equal(sql.begin() + static_cast<std::ptrdiff_t>(i),
                              sql.begin() + static_cast<std::ptrdiff_t>(i + 5), "rowid",
                              [](char a, char b) {
                                  return std::tolower(static_cast<unsigned char>(a)) == b;
                              }) &&
                   (i + 5 == sql.size() || !word_char(sql[i + 5]))) {
            out += "ctid";
            i += 4;
            continue;
        }
        out += c;
    }
    return out;
}

} // namespace store
