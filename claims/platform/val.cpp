// Locale-free number reading and banker's rounding.
#include "val.h"

#include <charconv>
#include <cmath>
#include <string>

namespace platform {
namespace {

bool is_blank(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}
bool is_ascii_digit(QChar c) {
    return c >= u'0' && c <= u'9';
}

} // namespace

double Val(const QString& text) {
    std::string number;
    bool seen_point = false;
    bool seen_digit = false;
    for (const QChar c : text) {
        if (is_blank(c))
            continue;
        if (is_ascii_digit(c)) {
            number += static_cast<char>(c.unicode());
            seen_digit = true;
        } else if (c == u'.' && !seen_point) {
            number += '.';
            seen_point = true;
        } else if ((c == u'-' || c == u'+') && number.empty()) {
            number += static_cast<char>(c.unicode());
        } else {
            break;
        }
    }
    if (!seen_digit)
        return 0.0;
    const char* first = number.data();
    if (*first == '+')
        ++first; // from_chars takes no plus sign
    double value = 0.0;
    std::from_chars(first, number.data() + number.size(), value);
    return value;
}

std::optional<std::int64_t> RoundHalfEven(double value) {
    if (!std::isfinite(value))
        return std::nullopt;
    const double below = std::floor(value);
    const double fraction = value - below;
    double whole = below;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(below, 2.0) != 0.0))
        whole = below + 1.0;
    // 2^63 is exactly representable; every double below it converts without overflow.
    constexpr double limit = 9223372036854775808.0;
    if (whole < -limit || whole >= limit)
        return std::nullopt;
    return static_cast<std::int64_t>(whole);
}

} // namespace platform
