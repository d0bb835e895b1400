// Text, number and date literals as the forms write them.
#include "values.h"

#include <QLocale>
#include <gtest/gtest.h>

using namespace store;

TEST(TextLiteral, TrimsAndDoublesQuotes) {
    EXPECT_EQ(text_literal("  Ram Lal  "), "'Ram Lal'");
    EXPECT_EQ(text_literal("D'Souza"), "'D''Souza'");
    EXPECT_EQ(text_literal("'); Delete from detail; --"), "'''); Delete from detail; --'");
    EXPECT_EQ(text_literal("   "), "''");
}

TEST(TextLiteral, EveryTextButANulOrAHalfSurrogatePairCanBeStored) {
    EXPECT_TRUE(text_storable(QString::fromUtf8("ਹਰਪ੍ਰੀਤ ਕੌਰ \t\n\x01 ' -- ; #05-Mar-2007# 😀")));
    EXPECT_FALSE(text_storable(QString("Ram") + QChar(0) + "Lal"));
    EXPECT_FALSE(text_storable(QString("Ram ") + QChar(0xD83D))); // cut before its pair
    EXPECT_FALSE(text_storable(QString(QChar(0xDE00)) + "Ram"));  // the second half alone
}

TEST(NumberLiteral, BlanksAndCommasAreRemoved) {
    EXPECT_EQ(number_literal("1,20,000"), "120000");
    EXPECT_EQ(number_literal("12 00"), "1200");
    EXPECT_EQ(number_literal(" 1500.50 "), "1500.50");
    EXPECT_EQ(number_literal("0"), "0");
    EXPECT_EQ(number_literal(".5"), ".5");
}

TEST(NumberLiteral, WhatIsNoPlainDecimalNumberHasNoLiteral) {
    for (const char* bad : {"", "   ", ".", ",", "1.2.3", "12a", "-5", "1e5", "12;drop"})
        EXPECT_EQ(number_literal(bad), std::nullopt) << bad;
    // The engine reads a number past the largest double as infinity.
    EXPECT_EQ(number_literal(QString(400, '9')), std::nullopt);
    EXPECT_EQ(number_literal(QString(300, '9')), QString(300, '9'));
    const QString tiny = "0." + QString(400, '0') + "1"; // read as 0, not refused
    EXPECT_EQ(number_literal(tiny), tiny);
}

TEST(DateLiteral, KeepsEnglishMonthsUnderAnotherLocale) {
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(date_literal(QDate(2007, 3, 5)), "#05-Mar-2007#");
    EXPECT_EQ(date_literal(QDate(2007, 10, 15)), "#15-Oct-2007#");
    QLocale::setDefault(saved);
}
