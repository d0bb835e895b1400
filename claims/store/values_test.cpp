// Literals as the forms write them, and the date dialect the connection translates.
#include "dialect.h"
#include "store_error.h"
#include "values.h"

#include <QLocale>
#include <gtest/gtest.h>

using namespace store;

// What a text box may not store (a NUL, half a surrogate pair) is refused by the forms' tests.
TEST(StoreValues, TextsAreTrimmedWithQuotesDoubledAndStorableWithAnyWholeCharacter) {
    EXPECT_EQ(text_literal("  Ram Lal  "), "'Ram Lal'");
    EXPECT_EQ(text_literal("'); Delete from detail; --"), "'''); Delete from detail; --'");
    EXPECT_TRUE(text_storable(QString::fromUtf8("ਹਰਪ੍ਰੀਤ ' -- ; #05-Mar-2007# 😀")));
}

TEST(StoreValues, NumbersArePlainDecimalsOnceBlanksAndGroupingCommasAreGone) {
    const std::pair<QString, QString> written[] = {{"1,20,000", "120000"},
                                                   {"12 00", "1200"},
                                                   {" 1500.50 ", "1500.50"},
                                                   {".5", ".5"},
                                                   {QString(300, '9'), QString(300, '9')}};
    for (const auto& [typed, literal] : written)
        EXPECT_EQ(number_literal(typed), literal) << typed.toStdString();
    // "1.234,50" written the other way round; 400 nines are infinity to the engine.
    for (const QString& refused :
         QStringList{"1.234,50", "1.5,", "", ".", "1.2.3", "12a", "-5", "1e5", QString(400, '9')})
        EXPECT_EQ(number_literal(refused), std::nullopt) << refused.toStdString();
}

TEST(StoreValues, DatesAreWrittenInEnglishAndBecomeIsoTextOutsideQuotesOnly) {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(date_literal(QDate(2007, 3, 5)), "#05-Mar-2007#");
    const std::pair<const char*, const char*> translated[] = {
        {"values(101, #05-Mar-2007#,'Pending')", "values(101, '2007-03-05','Pending')"},
        {"between #1-jan-2007# and #31-DEC-2007#", "between '2007-01-01' and '2007-12-31'"},
        {"remarks='paid #05-Mar-2007#' or x=\"St. #5\"",
         "remarks='paid #05-Mar-2007#' or x=\"St. #5\""},
        {"empname='O''Neil #1', dto=#15-Oct-2007#", "empname='O''Neil #1', dto='2007-10-15'"}};
    for (const auto& [dialect, sql] : translated)
        EXPECT_EQ(translate_dialect(dialect), sql);
    for (const char* bad : {"#31-Feb-2007#", "#05-Mrz-2007#", "#05-Mar-07#", "#2007-03-05#",
                            "#05-Mar-2007", "refno=#12"})
        EXPECT_THROW(translate_dialect(bad), StoreError) << bad;
}
