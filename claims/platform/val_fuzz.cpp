// libFuzzer entry for the number reading of typed text: any text through Val and RoundHalfEven.
// Val always gives a finite number; whatever follows the number it read, a comma or an exponent,
// never changes it; rounding lands within a half of it.
#include "val.h"

#include <QString>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

void check(const QString& text) {
    const double value = platform::Val(text);
    if (!std::isfinite(value))
        std::abort();
    // Reading stops at the first character that is no part of a number.
    for (const char* tail : {",5", "e5", "x"})
        if (platform::Val(text + QLatin1String(tail)) != value)
            std::abort();
    const auto whole = platform::RoundHalfEven(value);
    if (std::fabs(value) < 9.0e15 &&
        (!whole || std::fabs(static_cast<double>(*whole) - value) > 0.5))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 4096)
        return 0;
    check(QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    return 0;
}
