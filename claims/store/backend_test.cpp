// The same statements on both backends give the same results: values read back as written, a
// transaction all or nothing, reference numbers, the change counter, the history, and each
// connection's scratch table. Then what only the server has: its register's checks, its roles.
#include "claim_history.h"
#include "claim_search.h"
#include "connection.h"
#include "dedetail.h"
#include "history_triggers.h"
#include "module1.h"
#include "recordset.h"
#include "schema.h"
#include "server_register.h"
#include "store_error.h"
#include "temporary_register.h"
#include "test_files.h"

#include <gtest/gtest.h>

using namespace store;
using store::test::failure;

namespace {

using Rows = std::vector<std::vector<FieldValue>>;

Rows rows(const QString& query, Connection& connection = Module1::db_conn) {
    Recordset result;
    result.Open(query, connection);
    Rows found;
    for (; !result.Eof(); result.MoveNext()) {
        auto& values = found.emplace_back();
        for (int i = 0; i < result.FieldCount(); ++i)
            values.push_back(result.Fields(i));
    }
    return found;
}

QStringList column(const QString& query) {
    QStringList values;
    for (const auto& found : rows(query))
        values << found[0].text();
    return values;
}

class BothBackends : public ::testing::TestWithParam<Backend> {
protected:
    TemporaryRegister reg{GetParam()};
    Connection& db = Module1::db_conn;
};

INSTANTIATE_TEST_SUITE_P(Store, BothBackends, ::testing::Values(Backend::File, Backend::Server),
                         [](const auto& info) {
                             return info.param == Backend::File ? "File" : "Server";
                         });

TEST_P(BothBackends, ValuesReadBackOfTheSameKindAndValue) {
    db.Execute(
        "Insert into detail (refno,refdate,empname,basicpay,page,amtclaimed,dfrom) "
        "values(101, #05-Mar-2007#, '  O''Neil # ', 12000, 61.5, 1234567.25, #29-Feb-2024#)");
    db.Execute("Insert into detail (refno,basicpay) values(102, 12000.0)");
    // A value equals only one of its own kind: 12000 read back as 12000.0 or "12000" differs.
    const Rows stored{{FieldValue(std::int64_t{101}), FieldValue(QDate(2007, 3, 5)),
                       FieldValue(QDate(2024, 2, 29)), FieldValue("  O'Neil # "),
                       FieldValue(std::int64_t{12000}), FieldValue(61.5), FieldValue(1234567.25),
                       FieldValue(), FieldValue(std::int64_t{0})}};
    EXPECT_EQ(rows("Select refno, refdate, dfrom, empname, basicpay, page, amtclaimed, fname, "
                   "changes from detail where refno=101"),
              stored);
    const Rows counted{{FieldValue(std::int64_t{12000}), FieldValue(std::int64_t{1}),
                        FieldValue(std::int64_t{102})}};
    EXPECT_EQ(rows("Select basicpay, (Select count(*) from detail where refdate between "
                   "#01-Mar-2007# and #31-Mar-2007#), (Select max(refno) from detail) from detail "
                   "where refno=102"),
              counted);
}

// Whole saves kept or dropped on the server are the acceptance tests' (ServerStopped, PowerCuts).
TEST_P(BothBackends, StatementsRunOneAtATimeCountTheirRowsAndFailClearlyOrAreRolledBack) {
    db.Execute("Insert into detail (refno) values(101)");
    EXPECT_EQ(db.Execute("Update detail set empname='A' where refno=101"), 1);
    EXPECT_EQ(db.Execute("Update detail set empname='A' where refno=999"), 0);
    Recordset rs;
    EXPECT_TRUE(failure([&] { rs.Open("Select nosuch from detail", db); }).contains("nosuch"));
    // A number taken, a second statement behind the first or a part behind a NUL never runs.
    for (const QString& refused : {QString("Insert into detail (refno) values(101)"),
                                   QString("Update detail set empname='x'; Delete from detail"),
                                   QString("Update detail set empname='x") + QChar(0) + "'"})
        EXPECT_FALSE(failure([&] { db.Execute(refused); }).isEmpty()) << refused.toStdString();
    {
        Transaction abandoned(db); // by an exception or an early return
        db.Execute("Insert into detail (refno) values(103)");
    }
    rs.Open("Select refno from detail", db);
    db.Execute("Insert into detail (refno) values(102)");
    EXPECT_EQ(rs.RecordCount(), 2) << "a query runs when first read, not at Open";
}

TEST_P(BothBackends, EveryUpdateCountsAndLeavesItsHistory) {
    {
        Transaction save(db);
        db.Execute("Insert into detail (refno,refdate,billstatus) values(101, #05-Mar-2007#, "
                   "'Pending')");
        db.Execute("Update detail set empname='A', basicpay=12000 where refno=101");
        save.commit();
    }
    db.Execute("Update detail set billstatus='Sanctioned', amtapproved=11000 where refno=101");
    db.Execute("Update detail set empname='B', changes=0 where refno=101");
    db.Execute("Update detail set empname='B' where refno=101"); // nothing changes
    db.Execute("Update detail set refdate=#06-Mar-2007#, page=61.5 where refno=101");
    const auto before = rows("Select * from detail where refno=101").at(0);
    db.Execute("Delete from detail where refno=101");
    EXPECT_EQ(column("SELECT kind FROM claim_history WHERE refno = 101 ORDER BY id"),
              QStringList({kSavedNew, kStatusRecorded, kUpdated, kUpdated, kDeleted}));
    EXPECT_EQ(column("SELECT f.field || '=' || coalesce(f.after_value, '') FROM claim_history h "
                     "JOIN claim_history_fields f ON f.change = h.id WHERE h.kind = 'saved new' "
                     "ORDER BY f.field"),
              QStringList({"basicpay=12000", "billstatus=Pending", "empname=A",
                           "refdate=2007-03-05", "refno=101"}));
    EXPECT_EQ(db.ReadNumber("SELECT count(*) FROM claim_history_fields WHERE before_value = 'B'"),
              1);
    EXPECT_FALSE(failure([&] { db.Execute("Update claim_history set kind='x'"); }).isEmpty());
    EXPECT_FALSE(failure([&] { db.Execute("Delete from claim_history_fields"); }).isEmpty());
    // A deleted claim put back counts as restored, with its values as they were.
    history::restore_claim(db, 101);
    auto after = rows("Select * from detail where refno=101").at(0);
    ASSERT_EQ(after.size(), before.size());
    after.front() = before.front(); // a new row id
    after.back() = before.back();   // the counter starts again
    EXPECT_TRUE(after == before);
    db.Execute("Update detail set empname='C' where refno=101");
    EXPECT_EQ(column("SELECT kind FROM claim_history WHERE refno = 101 ORDER BY id").mid(5),
              QStringList({kRestored, kUpdated}));
    EXPECT_EQ(db.ReadNumber("Select changes from detail where refno=101"), 1);
}

TEST_P(BothBackends, BothConnectionsSeeEveryClaimAndNumbersContinueFromTheLargest) {
    EXPECT_EQ(Module1::allocate_reference_number(), "101");
    for (const int refno : {7, 101, 102, 150})
        db.Execute(QStringLiteral("Insert into detail (refno,refdate) values(%1, #05-Mar-2007#)")
                       .arg(refno));
    DEDetail::detail(); // the reports read through their own connection
    EXPECT_EQ(DEDetail::rsdetail.RecordCount(), 4);
    EXPECT_EQ(DEDetail::rsdetail.Fields("refdate").date(), QDate(2007, 3, 5));
    reg.restart();
    EXPECT_EQ(Module1::allocate_reference_number(), "151");
    db.Execute("Delete from detail where refno in (150, 101)");
    EXPECT_EQ(Module1::allocate_reference_number(), "103"); // gaps below are never refilled
}

TEST_P(BothBackends, EachConnectionCountsInAScratchTableOfItsOwn) {
    db.Execute("Insert into preport (sno,distname,tc,sc,rc,pc) values (1,'Moga',3,1,1,1)");
    EXPECT_EQ(DEDetail::Connection1.ReadNumber("SELECT count(*) FROM preport"), 0);
    EXPECT_EQ(db.ReadNumber("SELECT count(*) FROM preport"), 1);
    EXPECT_EQ(column("Select distname from districts order by distname").size(), 20);
}

TEST_P(BothBackends, FindsClaimsByTheBeginningsOfTheirWords) {
    db.Execute("Insert into detail (refno,empname,pname,odist,billstatus) values(101, 'Gurpreet "
               "Singh', 'Harjit KAUR', 'Fatehgarh Sahib', 'Pending')");
    db.Execute("Insert into detail (refno,empname,odist,billstatus) values(102, 'Singh, Amar', "
               "'Moga', 'Pending')");
    db.Execute("Update detail set billstatus='Sanctioned' where refno=101");
    const auto found = [&](const QString& typed, const search::Filters& filters = {}) {
        QStringList refnos;
        for (const search::FoundClaim& line : search::find_claims(db, typed, filters).lines)
            refnos << line.refno;
        return refnos;
    };
    EXPECT_EQ(found("SIN"), QStringList({"102", "101"}));
    EXPECT_EQ(found("sin gur"), QStringList({"101"}));
    EXPECT_EQ(found("kaur", {"Fatehgarh Sahib", ""}), QStringList({"101"}));
    EXPECT_EQ(found("sin", {"", "Sanctioned"}), QStringList({"101"}));
    EXPECT_EQ(found("ingh"), QStringList());
    EXPECT_EQ(found("amar", {"Moga", "Sanctioned"}), QStringList());
    db.Execute("Delete from detail where refno=102");
    EXPECT_EQ(found("amar"), QStringList());
}

// What only a register on a server has.
class Server : public ::testing::Test {
protected:
    TemporaryRegister reg{Backend::Server};
};

// Unusable servers at the program's start are the acceptance tests' (ServerStart).
TEST_F(Server, ARegisterIsMadeOnlyWhereNoneOfItsTablesStands) {
    EXPECT_TRUE(
        failure([] { create_server_register(Module1::db_conn); }).contains("already holds"));
    TestDatabase other;
    Connection foreign;
    foreign.Open(other.conninfo());
    foreign.Execute("CREATE TABLE detail (x integer)");
    EXPECT_TRUE(failure([&] { create_server_register(foreign); }).contains("already holds"));
    EXPECT_EQ(foreign.ReadNumber("SELECT count(*) FROM pg_class WHERE relname = 'districts'"), 0);
}

TEST_F(Server, AClerkWritesClaimsButCannotChangeTheHistoryOrTheTables) {
    const QString clerk = "clerk_" + reg.server()->name();
    TestDatabase::administer(
        QStringLiteral("CREATE ROLE %1 LOGIN IN ROLE %2").arg(clerk, kClerkRole));
    Connection as_clerk;
    as_clerk.Open(reg.server()->conninfo() + " user=" + clerk);
    {
        Transaction save(as_clerk);
        as_clerk.Execute("Insert into detail (refno) values(101)");
        as_clerk.Execute("Update detail set empname='A' where refno=101");
        save.commit();
    }
    EXPECT_EQ(
        as_clerk.ReadNumber("SELECT count(*) FROM claim_history WHERE who LIKE '" + clerk + "@%'"),
        1);
    for (const char* refused : {"DROP TABLE detail", "ALTER TABLE detail ADD COLUMN x integer",
                                "Update claim_history set kind='x'", "Delete from claim_history",
                                "Update vetra_register set version = 9"})
        EXPECT_FALSE(failure([&] { as_clerk.Execute(refused); }).isEmpty()) << refused;
    EXPECT_EQ(as_clerk.ReadNumber("SELECT count(*) FROM claim_history"), 1);
    EXPECT_EQ(as_clerk.ReadNumber("SELECT version FROM vetra_register"), kSchemaVersion);
    as_clerk.Close();
    TestDatabase::administer("DROP ROLE " + clerk);
}

TEST(CopyToServer, EveryClaimArrivesColumnByColumnAndOnlyIntoAnEmptyRegister) {
    TemporaryRegister file(Backend::File);
    Connection& source = Module1::db_conn;
    // 20,000 claims with every kind of value: blanks and quotes kept, other scripts, decimals,
    // nulls, dates; one of them changed afterwards so that the history holds more than saves.
    source.Execute(
        "INSERT INTO detail (refno, refdate, empname, fname, basicpay, page, odist, pname, "
        "amtclaimed, dfrom, billstatus, remarks) WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL "
        "SELECT i + 1 FROM n WHERE i < 20000) SELECT 100 + i, date('2020-01-01', '+' || (i % "
        "1500) || ' days'), ' O''Neil ' || i || ' ', 'ਗੁਰਪ੍ਰੀਤ ' || i, 10000 + i, i % 90 + 0.5, "
        "'Moga', CASE WHEN i % 7 = 0 THEN NULL ELSE 'Kaur ' || i END, i * 0.25, "
        "CASE WHEN i % 3 = 0 THEN NULL ELSE date('2019-12-31', '+' || (i % 400) || ' days') END, "
        "'Pending', '' FROM n");
    source.Execute("Update detail set billstatus='Sanctioned', amtapproved=9000.5 where refno=117");
    source.Execute("Delete from detail where refno=118");
    TestDatabase database;
    database.make_register();
    Connection target;
    target.Open(database.conninfo());
    std::int64_t last_done = 0;
    EXPECT_EQ(copy_register(source, target,
                            [&](std::int64_t done, std::int64_t total) {
                                EXPECT_EQ(total, 19999);
                                EXPECT_GT(done, last_done);
                                last_done = done;
                            }),
              19999);
    EXPECT_EQ(last_done, 19999);
    // The claims, their history and the search words as the file has them.
    for (const char* query :
         {"Select * from detail order by id",
          "Select id, txn, refno, at_utc, who, kind from claim_history order by id",
          "Select count(*) from claim_history_fields",
          "Select words, facets from detail_search where docid in (1, 117, 20000) order by docid"})
        EXPECT_TRUE(rows(query) == rows(query, target)) << query;
    // The copy goes on as a register: new numbers, new ids, history kept.
    target.Execute("Insert into detail (refno, empname) values(20101, 'Amar')");
    EXPECT_EQ(target.ReadNumber("Select count(*) from claim_history where refno=20101"), 1);
    EXPECT_TRUE(failure([&] {
                    copy_register(source, target, [](auto, auto) {});
                }).contains("already holds claims"));
    EXPECT_EQ(target.ReadNumber("Select count(*) from detail"), 20000);
}

} // namespace
