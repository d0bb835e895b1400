// Val and RoundHalfEven on the texts a clerk types at a number prompt.
#include "val.h"

#include <gtest/gtest.h>
#include <limits>

using platform::RoundHalfEven;
using platform::Val;

// What a clerk types, what Val reads and what RoundHalfEven makes of it. The last reads as the
// nearest double, one below the digits typed.
const std::tuple<const char*, double, std::int64_t> kTyped[] = {
    {"12", 12, 12},
    {"  12", 12, 12},
    {"12abc", 12, 12},
    {"12.4", 12.4, 12},
    {"1 2", 12, 12},
    {"12,5", 12, 12},
    {"1.2.3", 1.2, 1},
    {" - 7.5x", -7.5, -8},
    {"12.5", 12.5, 12},
    {"13.5", 13.5, 14},
    {"12.51", 12.51, 13},
    {"-2.5", -2.5, -2},
    {"abc", 0, 0},
    {"", 0, 0},
    {".", 0, 0},
    {"-", 0, 0},
    {"a12", 0, 0},
    {"40000", 40000, 40000},
    {"-32769", -32769, -32769},
    {"9007199254740993", 9007199254740992.0, 9007199254740992}};

TEST(Val, ReadsTheLeadingNumberSkippingBlanksAndRoundsHalvesToEven) {
    for (const auto& [typed, value, rounded] : kTyped) {
        EXPECT_EQ(Val(typed), value) << typed;
        EXPECT_EQ(RoundHalfEven(Val(typed)), rounded) << typed;
    }
}

TEST(RoundHalfEven, NumbersOutsideSixtyFourBitsHaveNoResult) {
    EXPECT_EQ(RoundHalfEven(Val("99999999999999999999")), std::nullopt);
    EXPECT_EQ(RoundHalfEven(9223372036854775808.0), std::nullopt);
    EXPECT_EQ(RoundHalfEven(-9223372036854775808.0), std::numeric_limits<std::int64_t>::min());
    EXPECT_EQ(RoundHalfEven(std::numeric_limits<double>::quiet_NaN()), std::nullopt);
    EXPECT_EQ(RoundHalfEven(std::numeric_limits<double>::infinity()), std::nullopt);
}
