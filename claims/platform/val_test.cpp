// Val and RoundHalfEven on the texts a clerk types at a number prompt.
#include "val.h"

#include <gtest/gtest.h>
#include <limits>

using platform::RoundHalfEven;
using platform::Val;

TEST(Val, ReadsTheLeadingNumberSkippingBlanks) {
    EXPECT_EQ(Val("12"), 12.0);
    EXPECT_EQ(Val("  12"), 12.0);
    EXPECT_EQ(Val("12abc"), 12.0);
    EXPECT_EQ(Val("12.4"), 12.4);
    EXPECT_EQ(Val("1 2"), 12.0);  // inner blanks are skipped
    EXPECT_EQ(Val("12,5"), 12.0); // a comma ends the number
    EXPECT_EQ(Val("1.2.3"), 1.2); // only one decimal point
    EXPECT_EQ(Val(" - 7.5x"), -7.5);
}

TEST(Val, TextWithoutALeadingNumberIsZero) {
    EXPECT_EQ(Val("abc"), 0.0);
    EXPECT_EQ(Val(""), 0.0);
    EXPECT_EQ(Val("."), 0.0);
    EXPECT_EQ(Val("-"), 0.0);
    EXPECT_EQ(Val("a12"), 0.0);
}

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour) {
    const auto lookup = [](const char* typed) { return RoundHalfEven(Val(typed)); };
    EXPECT_EQ(lookup("12"), 12);
    EXPECT_EQ(lookup("  12"), 12);
    EXPECT_EQ(lookup("12abc"), 12);
    EXPECT_EQ(lookup("12.4"), 12);
    EXPECT_EQ(lookup("12.5"), 12);
    EXPECT_EQ(lookup("13.5"), 14);
    EXPECT_EQ(lookup("12.51"), 13);
    EXPECT_EQ(lookup("abc"), 0);
    EXPECT_EQ(lookup("-2.5"), -2);
    EXPECT_EQ(lookup("-3.5"), -4);
}

TEST(RoundHalfEven, WholeNumbersBeyondSixteenBitsAreKept) {
    EXPECT_EQ(RoundHalfEven(Val("40000")), 40000);
    EXPECT_EQ(RoundHalfEven(Val("-32769")), -32769);
    EXPECT_EQ(RoundHalfEven(Val("9007199254740993")), 9007199254740992); // nearest double
}

TEST(RoundHalfEven, NumbersOutsideSixtyFourBitsHaveNoResult) {
    EXPECT_EQ(RoundHalfEven(Val("99999999999999999999")), std::nullopt);
    EXPECT_EQ(RoundHalfEven(9223372036854775808.0), std::nullopt);
    EXPECT_EQ(RoundHalfEven(-9223372036854775808.0), std::numeric_limits<std::int64_t>::min());
    EXPECT_EQ(RoundHalfEven(std::numeric_limits<double>::quiet_NaN()), std::nullopt);
    EXPECT_EQ(RoundHalfEven(std::numeric_limits<double>::infinity()), std::nullopt);
}
