// Opening the shared database and allocating reference numbers.
#include "dedetail.h"
#include "module1.h"
#include "temporary_register.h"

#include <gtest/gtest.h>

using namespace store;
using namespace Module1;

TEST(StoreModule1, BothConnectionsSeeEveryClaimAndNumbersContinueFromTheLargest) {
    TemporaryRegister reg;
    EXPECT_EQ(allocate_reference_number(), "101");
    for (const int refno : {7, 101, 102, 150})
        db_conn.Execute(
            QStringLiteral("Insert into detail (refno,refdate) values(%1, #05-Mar-2007#)")
                .arg(refno));
    DEDetail::detail(); // the reports read through their own connection
    EXPECT_EQ(DEDetail::rsdetail.RecordCount(), 4);
    EXPECT_EQ(DEDetail::rsdetail.Fields("refdate").date(), QDate(2007, 3, 5));
    reg.restart();
    EXPECT_EQ(allocate_reference_number(), "151");
    db_conn.Execute("Delete from detail where refno in (150, 101)");
    EXPECT_EQ(allocate_reference_number(), "103"); // gaps below are never refilled
}
