// Dates keep English month names whatever locale the user runs.
#include "format_date.h"

#include <QLocale>
#include <gtest/gtest.h>

using platform::FormatDate;

namespace {

class UnderLocale {
public:
    explicit UnderLocale(const QLocale& locale) { QLocale::setDefault(locale); }
    ~UnderLocale() { QLocale::setDefault(saved_); }

private:
    QLocale saved_ = QLocale();
};

} // namespace

TEST(FormatDate, MonthNamesStayEnglishUnderAnotherLocale) {
    for (const auto language : {QLocale::German, QLocale::Hindi, QLocale::French}) {
        UnderLocale locale{QLocale(language)};
        EXPECT_EQ(FormatDate(QDate(2007, 3, 5), "dd-MMM-yyyy"), "05-Mar-2007");
        EXPECT_EQ(FormatDate(QDate(2010, 12, 31), "dd-MMM-yyyy"), "31-Dec-2010");
        EXPECT_EQ(FormatDate(QDate(2007, 3, 5), "dd-MM-yyyy"), "05-03-2007");
        EXPECT_EQ(FormatDate(QDate(2007, 5, 1), "dd - MMM - yyyy"), "01 - May - 2007");
    }
}
