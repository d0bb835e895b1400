// Reading query results: counts, moving, and fields by position and by name in every kind.
#include "module1.h"
#include "recordset.h"
#include "store_error.h"
#include "temporary_register.h"

#include <gtest/gtest.h>

using namespace store;
using Module1::db_conn;
using Module1::rs_aux;

namespace {

class RecordsetTest : public ::testing::Test {
protected:
    void add_claim(int refno, const QString& date, const QString& district, const QString& status) {
        const QString r = QString::number(refno);
        db_conn.Execute("Insert into detail (refno,refdate,billstatus) values(" + r + ", #" + date +
                        "#,'" + status + "')");
        db_conn.Execute("Update detail set odist='" + district + "' where refno=" + r);
    }

    void reopen(const QString& query) {
        if (rs_aux.State() == adStateOpen)
            rs_aux.Close();
        rs_aux.Open(query, db_conn, adOpenKeyset, adLockOptimistic, adCmdUnspecified);
    }

    TemporaryRegister reg;
};

} // namespace

TEST_F(RecordsetTest, FieldsReadAsNullNumberTextAndDate) {
    add_claim(101, "05-Mar-2007", "Moga", "Sanctioned");
    db_conn.Execute("Update detail set empname='  Ram Lal', basicpay=12000, amtclaimed=1500.5, "
                    "amtapproved=1200, appdate=#10-Apr-2007#, remarks='O''Neil' where refno=101");
    reopen("Select billstatus,amtapproved,appdate,remarks,empname,fname,refdate from detail where "
           "refno=101");
    ASSERT_EQ(rs_aux.RecordCount(), 1);
    EXPECT_EQ(rs_aux.Fields(0).text(), "Sanctioned");
    EXPECT_EQ(rs_aux.Fields(1).kind(), FieldValue::Kind::Integer);
    EXPECT_EQ(rs_aux.Fields(1).text(), "1200");
    EXPECT_EQ(rs_aux.Fields(2).kind(), FieldValue::Kind::Date);
    EXPECT_EQ(rs_aux.Fields(2).date(), QDate(2007, 4, 10));
    EXPECT_EQ(rs_aux.Fields(3).text(), "O'Neil");
    EXPECT_EQ(rs_aux.Fields(4).text(), "  Ram Lal"); // stored as written, blanks included
    EXPECT_TRUE(rs_aux.Fields(5).is_null());
    EXPECT_EQ(rs_aux.Fields(5).text(), "");
    EXPECT_EQ(rs_aux.Fields(5).number(), 0.0);

    // By name, without regard to case.
    EXPECT_EQ(rs_aux.Fields("REFDATE").date(), QDate(2007, 3, 5));
    EXPECT_EQ(rs_aux.Fields("remarks"), rs_aux.Fields(3));
    EXPECT_THROW(rs_aux.Fields("refnumber"), StoreError);
    EXPECT_THROW(rs_aux.Fields(7), StoreError);
    EXPECT_EQ(rs_aux.FieldCount(), 7);
    EXPECT_EQ(rs_aux.FieldName(6), "refdate");

    reopen("Select amtclaimed, basicpay, max(refdate) from detail");
    EXPECT_EQ(rs_aux.Fields(0).text(), "1500.5");
    EXPECT_EQ(rs_aux.Fields(0).number(), 1500.5);
    EXPECT_EQ(rs_aux.Fields(1).text(), "12000");
    // A computed column is not declared DATE: it reads as the text stored.
    EXPECT_EQ(rs_aux.Fields(2).kind(), FieldValue::Kind::Text);
    EXPECT_EQ(rs_aux.Fields(2).date(), QDate(2007, 3, 5));
}

TEST_F(RecordsetTest, RowsAreWalkedInOrderAndCounted) {
    add_claim(101, "05-Mar-2007", "Moga", "Pending");
    add_claim(102, "06-Mar-2007", "Mansa", "Rejected");
    add_claim(103, "07-Mar-2007", "Moga", "Pending");

    reopen("Select refno from detail where odist='Moga' order by refno");
    EXPECT_EQ(rs_aux.RecordCount(), 2); // counted before any row is read
    EXPECT_FALSE(rs_aux.Eof());
    EXPECT_EQ(rs_aux.Fields(0).text(), "101");
    rs_aux.MoveNext();
    EXPECT_EQ(rs_aux.Fields("refno").text(), "103");
    rs_aux.MoveNext();
    EXPECT_TRUE(rs_aux.Eof());
    EXPECT_THROW(rs_aux.Fields(0), StoreError);
    EXPECT_THROW(rs_aux.MoveNext(), StoreError);
    rs_aux.MoveFirst();
    EXPECT_EQ(rs_aux.Fields(0).text(), "101");
    EXPECT_EQ(rs_aux.RecordCount(), 2);

    reopen("Select * from detail where refno=5");
    EXPECT_EQ(rs_aux.RecordCount(), 0);
    EXPECT_TRUE(rs_aux.Eof());
    rs_aux.MoveFirst();
    EXPECT_TRUE(rs_aux.Eof());
}

TEST_F(RecordsetTest, ACountBeforeReadingAgreesWithTheRowsRead) {
    for (int refno = 101; refno < 131; ++refno)
        add_claim(refno, refno % 2 ? "05-Mar-2007" : "05-Apr-2007", "Moga",
                  refno % 3 ? "Pending" : "Sanctioned");
    for (const char* query :
         {"Select refno from detail",
          "Select * from detail where refdate between #01-Mar-2007# "
          "and #31-Mar-2007# and billstatus='Pending' order by refno",
          "Select count(*) from detail", "Select distname from districts order by distname"}) {
        Recordset counted;
        counted.Open(query, db_conn, adOpenKeyset, adLockOptimistic);
        const auto count = counted.RecordCount();
        std::int64_t walked = 0;
        for (; !counted.Eof(); counted.MoveNext())
            ++walked;
        EXPECT_EQ(count, walked) << query;
    }
}

TEST_F(RecordsetTest, RequeryRunsTheStatementAgain) {
    reopen("Select refno from detail");
    EXPECT_TRUE(rs_aux.Eof());
    add_claim(101, "05-Mar-2007", "Moga", "Pending");
    EXPECT_TRUE(rs_aux.Eof()); // the result read before stays as it was
    rs_aux.Requery();
    EXPECT_EQ(rs_aux.RecordCount(), 1);
    EXPECT_EQ(rs_aux.Fields(0).text(), "101");
}

TEST_F(RecordsetTest, OpenAndCloseFollowTheObjectState) {
    Recordset result;
    EXPECT_EQ(result.State(), adStateClosed);
    EXPECT_THROW(result.RecordCount(), StoreError);
    result.Close(); // closing a closed recordset is harmless
    result.Open("Select distname from districts", db_conn, adOpenStatic, adLockOptimistic, -1);
    EXPECT_EQ(result.State(), adStateOpen);
    EXPECT_THROW(result.Open("Select 1", db_conn), StoreError);
    result.Close();
    EXPECT_EQ(result.State(), adStateClosed);

    EXPECT_THROW(result.Open("Select refnumber from detail", db_conn), StoreError);
    EXPECT_EQ(result.State(), adStateClosed);
}

TEST_F(RecordsetTest, ARecordsetOutlivingItsConnectionReportsIt) {
    Recordset result;
    result.Open("Select refno from detail", db_conn);
    db_conn.Close();
    EXPECT_THROW(result.Eof(), StoreError);
    EXPECT_THROW(result.RecordCount(), StoreError);
    result.Close();
    EXPECT_THROW(result.Open("Select refno from detail", db_conn), StoreError);
}
