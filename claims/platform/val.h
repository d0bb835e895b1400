// Reading a number from the start of a text, and rounding it to a whole number.
//
// Val skips blanks anywhere, takes an optional sign, digits and at most one decimal point, and
// stops at the first other character; a text with no leading number reads as 0. It never depends
// on the user's locale. RoundHalfEven rounds to the nearest whole number, halves to the even
// neighbour, and has no result when the value does not fit a 64-bit integer.
#pragma once

#include <QString>
#include <cstdint>
#include <optional>

namespace platform {

double Val(const QString& text);

std::optional<std::int64_t> RoundHalfEven(double value);

} // namespace platform
