// Date literals become ISO text; quoted text is never touched.
#include "dialect.h"
#include "store_error.h"

#include <gtest/gtest.h>

using store::StoreError;
using store::translate_dialect;

TEST(Dialect, DateLiteralsBecomeIsoText) {
    EXPECT_EQ(translate_dialect("Insert into detail (refno,refdate,billstatus) values(101, "
                                "#05-Mar-2007#,'Pending')"),
              "Insert into detail (refno,refdate,billstatus) values(101, "
              "'2007-03-05','Pending')");
    EXPECT_EQ(translate_dialect("where refdate between #01-jan-2007# and #31-DEC-2007#"),
              "where refdate between '2007-01-01' and '2007-12-31'");
    EXPECT_EQ(translate_dialect("appdate=#5-Mar-2007#"), "appdate='2007-03-05'");
    EXPECT_EQ(translate_dialect("appdate=#29-Feb-2008#"), "appdate='2008-02-29'");
}

TEST(Dialect, QuotedTextIsCopiedUntouched) {
    EXPECT_EQ(translate_dialect("remarks='paid #05-Mar-2007# by cheque'"),
              "remarks='paid #05-Mar-2007# by cheque'");
    EXPECT_EQ(translate_dialect("empname='O''Neil #1', refdate=#05-Mar-2007#"),
              "empname='O''Neil #1', refdate='2007-03-05'");
    EXPECT_EQ(translate_dialect("hospital=\"St. #5\""), "hospital=\"St. #5\"");
    EXPECT_EQ(translate_dialect("Select count(*) from detail where odist='Moga'"),
              "Select count(*) from detail where odist='Moga'");
}

TEST(Dialect, AHashThatOpensNoDateIsRefused) {
    for (const char* bad : {"refdate=#31-Feb-2007#", "refdate=#05-Mrz-2007#", "refdate=#05-Mar-07#",
                            "refdate=#2007-03-05#", "refdate=#05-Mar-2007", "refno=#12"}) {
        EXPECT_THROW(translate_dialect(bad), StoreError) << bad;
    }
    try {
        translate_dialect("refdate=#31-Feb-2007#");
    } catch (const StoreError& e) {
        EXPECT_EQ(e.reason(), "malformed date literal #31-Feb-2007#");
    }
}
