// Reading query results: counts, moving, and fields by position and by name in every kind.
#include "module1.h"
#include "recordset.h"
#include "store_error.h"
#include "temporary_register.h"

#include <gtest/gtest.h>

using namespace store;
using Module1::db_conn;

namespace {

class StoreRecordset : public ::testing::Test {
protected:
    void add_claim(int refno, const char* date, const char* status = "Pending") {
        db_conn.Execute(QStringLiteral("Insert into detail (refno,refdate,billstatus,odist) "
                                       "values(%1, #%2#,'%3','Moga')")
                            .arg(refno)
                            .arg(date, status));
    }
    TemporaryRegister reg;
    Recordset rs;
};

} // namespace

TEST_F(StoreRecordset, FieldsReadAsNullNumberTextAndDateByPositionOrName) {
    add_claim(101, "05-Mar-2007", "Sanctioned");
    db_conn.Execute("Update detail set empname='  Ram', amtclaimed=1500.5, amtapproved=1200, "
                    "appdate=#10-Apr-2007#, remarks='O''Neil' where refno=101");
    rs.Open("Select amtapproved,appdate,remarks,empname,fname,amtclaimed,max(refdate) from detail",
            db_conn, adOpenKeyset, adLockOptimistic, adCmdUnspecified);
    const std::pair<FieldValue, FieldValue> fields[] = {
        {rs.Fields(0), FieldValue(std::int64_t{1200})},
        {rs.Fields(1), FieldValue(QDate(2007, 4, 10))},
        {rs.Fields("REMARKS"), FieldValue(QString("O'Neil"))},
        {rs.Fields(3), FieldValue(QString("  Ram"))},
        {rs.Fields(4), FieldValue()},
        {rs.Fields(5), FieldValue(1500.5)},
        {rs.Fields(6), FieldValue(QString("2007-03-05"))}}; // computed: not declared DATE
    for (const auto& [read, expected] : fields)
        EXPECT_EQ(read, expected) << expected.text().toStdString();
    EXPECT_EQ(rs.Fields(4).text(), "");
    EXPECT_EQ(rs.FieldName(3), "empname");
    EXPECT_THROW(rs.Fields("refnumber"), StoreError);
    EXPECT_THROW(rs.Fields(7), StoreError);
}

TEST_F(StoreRecordset, RowsAreWalkedInOrderAndCountedAlikeBeforeAndAfterReading) {
    for (int refno = 101; refno < 121; ++refno)
        add_claim(refno, refno % 2 ? "05-Mar-2007" : "05-Apr-2007",
                  refno % 3 ? "Pending" : "Rejected");
    for (const char* query : {"Select refno from detail where refdate between #01-Mar-2007# and "
                              "#31-Mar-2007# and billstatus='Pending' order by refno desc",
                              "Select count(*) from detail", "Select * from detail where refno=5",
                              "PRAGMA table_info(preport)"}) {
        Recordset counted;
        counted.Open(query, db_conn);
        const auto count = counted.RecordCount();
        QStringList walked;
        for (; !counted.Eof(); counted.MoveNext())
            walked << counted.Fields(0).text();
        EXPECT_EQ(count, walked.size()) << query;
        EXPECT_THROW(counted.MoveNext(), StoreError);
        counted.MoveFirst();
        EXPECT_EQ(counted.Eof(), walked.isEmpty());
    }
    rs.Open("Select refno from detail where refno>115 and billstatus='Pending' order by refno",
            db_conn);
    EXPECT_EQ(rs.Fields(0).text(), "116");
    rs.MoveNext();
    EXPECT_EQ(rs.Fields(0).text(), "118");
}

TEST_F(StoreRecordset, RequeryReadsAgainAndAClosedConnectionIsReported) {
    rs.Open("Select refno from detail", db_conn);
    EXPECT_TRUE(rs.Eof());
    EXPECT_THROW(rs.Open("Select 1", db_conn), StoreError);
    add_claim(101, "05-Mar-2007");
    EXPECT_TRUE(rs.Eof()); // what was read stays
    rs.Requery();
    EXPECT_EQ(rs.Fields(0).text(), "101");
    rs.Requery();
    db_conn.Close();
    EXPECT_THROW(rs.Eof(), StoreError);
    rs.Close();
    EXPECT_EQ(rs.State(), adStateClosed);
    EXPECT_THROW(rs.Open("Select refno from detail", db_conn), StoreError);
}
