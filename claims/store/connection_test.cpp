// Opening a database file, running statements, and all-or-nothing transactions.
#include "connection.h"
#include "connection_string.h"
#include "engine.h"
#include "recordset.h"
#include "schema.h"
#include "store_error.h"
#include "test_files.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace store;
using namespace store::test;

namespace {

constexpr char kPassword[] = "kertpol";

QString connection_string_for(const QString& file, const QString& password = kPassword) {
    return "Provider=Microsoft.jet.oledb.4.0; data source=" + connection_string_value(file) +
           ";Persist Security Info=False;Jet OLEDB:Database Password=" + password;
}

class ConnectionTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        file = dir.filePath("VETRA.mdb");
        ASSERT_TRUE(create_database_if_missing(file, kPassword));
    }

    std::int64_t count(Connection& connection, const QString& query) {
        Recordset result;
        result.Open(query, connection);
        return static_cast<std::int64_t>(result.Fields(0).number());
    }

    // Opening must fail with a reason containing `expected` and leave the folder as it was.
    void expect_refused_without_change(const QString& connection_string, const QString& expected) {
        const QByteArray before = file_bytes(file);
        const QStringList names = folder_names(dir.path());
        Connection connection;
        connection.set_busy_timeout(100);
        try {
            connection.Open(connection_string);
            ADD_FAILURE() << "opened: " << connection_string.toStdString();
        } catch (const StoreError& e) {
            EXPECT_TRUE(e.reason().contains(expected)) << e.reason().toStdString();
        }
        EXPECT_EQ(connection.State(), adStateClosed);
        EXPECT_TRUE(file_bytes(file) == before) << "the file was changed";
        EXPECT_EQ(folder_names(dir.path()), names);
    }

    QTemporaryDir dir;
    QString file;
};

} // namespace

TEST_F(ConnectionTest, OpensWithTheConnectionStringAndReportsItsState) {
    Connection connection;
    EXPECT_EQ(connection.State(), adStateClosed);
    const QString text = connection_string_for(file);
    connection.Open(text, "", "", adCmdUnspecified);
    EXPECT_EQ(connection.State(), adStateOpen);
    EXPECT_EQ(connection.ConnectionString(), text);
    EXPECT_EQ(connection.DatabasePath(), file);
    EXPECT_EQ(count(connection, "Select count(*) from districts"), 20);

    Recordset mode;
    mode.Open("PRAGMA journal_mode", connection);
    EXPECT_EQ(mode.Fields(0).text(), "wal");
    mode.Close();

    connection.Close();
    EXPECT_EQ(connection.State(), adStateClosed);
    EXPECT_THROW(connection.Execute("Delete from preport"), StoreError);
}

TEST_F(ConnectionTest, AWrongPasswordIsRefusedAndTheFileStaysByteForByte) {
    expect_refused_without_change(connection_string_for(file, "Kertpol"),
                                  "the password does not fit or the file is damaged");
    expect_refused_without_change(connection_string_for(file, ""), "password does not fit");
}

TEST_F(ConnectionTest, ADamagedFileIsRefusedAndTheFileStaysByteForByte) {
    QByteArray bytes = file_bytes(file);
    ASSERT_GT(bytes.size(), 4096);
    for (int i = 100; i < 160; ++i)
        bytes[i] = static_cast<char>(bytes[i] ^ 0x5a);
    write_bytes(file, bytes);
    expect_refused_without_change(connection_string_for(file), "file is damaged");

    write_bytes(file, bytes.left(700)); // cut short
    expect_refused_without_change(connection_string_for(file), "file is damaged");

    static constexpr char kForeign[] = "Standard Jet DB\0\0\0 not ours";
    write_bytes(file, QByteArray(kForeign, sizeof kForeign - 1));
    expect_refused_without_change(connection_string_for(file), "file is damaged");
}

TEST_F(ConnectionTest, AnEmptyOrMissingFileIsRefusedAndNothingIsCreated) {
    write_bytes(file, {});
    expect_refused_without_change(connection_string_for(file), "empty");

    const QString missing = dir.filePath("OTHER.mdb");
    const QStringList names = folder_names(dir.path());
    Connection connection;
    EXPECT_THROW(connection.Open(connection_string_for(missing)), StoreError);
    EXPECT_EQ(folder_names(dir.path()), names);
}

TEST_F(ConnectionTest, AFileLockedByAnotherProgramIsRefusedAfterWaiting) {
    {
        Connection first; // leaves the file in write-ahead mode, as the program does
        first.Open(connection_string_for(file));
    }
    sqlite3* holder = engine::open_keyed(file, kPassword, SQLITE_OPEN_READWRITE);
    engine::exec(holder, "PRAGMA locking_mode = EXCLUSIVE; BEGIN EXCLUSIVE");
    expect_refused_without_change(connection_string_for(file), "locked by another program");
    engine::exec(holder, "ROLLBACK");
    engine::close(holder);
}

TEST_F(ConnectionTest, ExecuteRunsOneStatementAndReportsTheEnginesReason) {
    Connection connection;
    connection.Open(connection_string_for(file));
    EXPECT_EQ(connection.Execute("Insert into detail (refno,refdate,billstatus) values(101, "
                                 "#05-Mar-2007#,'Pending')",
                                 adCmdUnspecified),
              1);
    EXPECT_EQ(connection.Execute("Update detail set billstatus='Rejected' where refno=999"), 0);
    try {
        connection.Execute("Update detail set refnumber=5 where refno=101");
        ADD_FAILURE() << "a malformed statement ran";
    } catch (const StoreError& e) {
        EXPECT_EQ(e.reason(), "no such column: refnumber");
    }
    // A second statement smuggled behind the first never runs.
    EXPECT_THROW(connection.Execute("Update detail set empname='x' where refno=101; Delete from "
                                    "detail"),
                 StoreError);
    EXPECT_EQ(count(connection, "Select count(*) from detail where empname is null"), 1);
    // The unique reference number holds.
    EXPECT_THROW(connection.Execute("Insert into detail (refno,refdate,billstatus) values(101, "
                                    "#06-Mar-2007#,'Pending')"),
                 StoreError);
}

TEST_F(ConnectionTest, AStatementHoldingANulIsRefusedWhole) {
    Connection connection;
    connection.Open(connection_string_for(file));
    connection.Execute("Insert into detail (refno,refdate,billstatus) values(101, #05-Mar-2007#,"
                       "'Pending')");
    // The engine would run the part before the NUL and drop the rest unseen.
    for (const QString& statement :
         {QString("Update detail set empname='Ram' where refno=101") + QChar(0) + " or 1=1",
          QString("Update detail set empname='Ram") + QChar(0) + "Lal' where refno=101"}) {
        try {
            connection.Execute(statement);
            ADD_FAILURE() << "ran a statement holding a NUL";
        } catch (const StoreError& e) {
            EXPECT_EQ(e.reason(), "the statement holds a NUL character, which cannot be stored");
        }
    }
    EXPECT_EQ(count(connection, "Select count(*) from detail where empname is null"), 1);
}

TEST_F(ConnectionTest, ATransactionLeftWithoutCommitKeepsNothing) {
    Connection connection;
    connection.Open(connection_string_for(file));
    int executed = 0;
    connection.set_statement_hook([&](const QString& statement) {
        if (statement.startsWith("Update") && ++executed == 3)
            throw StoreError("disk unplugged");
    });
    const auto save = [&](int refno) {
        Transaction transaction(connection);
        const QString r = QString::number(refno);
        connection.Execute("Insert into detail (refno,refdate,billstatus) values(" + r +
                           ", #05-Mar-2007#,'Pending')");
        for (const char* column : {"empname", "fname", "design", "oaddress"})
            connection.Execute(QStringLiteral("Update detail set %1='x' where refno=").arg(column) +
                               r);
        transaction.commit();
    };
    EXPECT_THROW(save(101), StoreError);
    EXPECT_FALSE(connection.InTransaction());
    EXPECT_EQ(count(connection, "Select count(*) from detail"), 0);

    save(102); // the hook fires only once: this save runs through
    EXPECT_EQ(count(connection, "Select count(*) from detail where oaddress='x'"), 1);
}

TEST_F(ConnectionTest, BeginCommitAndRollbackByHand) {
    Connection connection;
    connection.Open(connection_string_for(file));
    connection.BeginTrans();
    EXPECT_TRUE(connection.InTransaction());
    EXPECT_THROW(connection.BeginTrans(), StoreError);
    connection.Execute("Insert into preport (sno,distname,tc,sc,rc,pc) values (1,'Moga',1,0,0,1)");
    connection.RollbackTrans();
    EXPECT_EQ(count(connection, "Select count(*) from preport"), 0);

    connection.BeginTrans();
    connection.Execute("Insert into preport (sno,distname,tc,sc,rc,pc) values (1,'Moga',1,0,0,1)");
    connection.CommitTrans();
    EXPECT_FALSE(connection.InTransaction());
    EXPECT_THROW(connection.CommitTrans(), StoreError);
    EXPECT_EQ(count(connection, "Select count(*) from preport"), 1);
}

TEST_F(ConnectionTest, TheHookSeesEveryStatementAsWritten) {
    Connection connection;
    connection.Open(connection_string_for(file));
    QStringList seen;
    connection.set_statement_hook([&](const QString& statement) { seen << statement; });
    connection.Execute("Delete from preport");
    Recordset result;
    result.Open("Select refno from detail where refdate=#05-Mar-2007#", connection, adOpenKeyset,
                adLockPessimistic);
    EXPECT_EQ(seen, QStringList({"Delete from preport",
                                 "Select refno from detail where refdate=#05-Mar-2007#"}));
}

TEST(ConnectionString, ReadsTheDataSourceAndThePassword) {
    const auto settings = parse_connection_string(
        "Provider=Microsoft.jet.oledb.4.0; data source=/srv/claims/VETRA.mdb;Persist Security "
        "Info=False;Jet OLEDB:Database Password=kertpol");
    EXPECT_EQ(settings.data_source, "/srv/claims/VETRA.mdb");
    EXPECT_EQ(settings.password, "kertpol");

    const auto odd = parse_connection_string(
        "DATA SOURCE = " + connection_string_value("/srv/a;b \"c\"/VETRA.mdb") +
        ";jet oledb:database password=x=y");
    EXPECT_EQ(odd.data_source, "/srv/a;b \"c\"/VETRA.mdb");
    EXPECT_EQ(odd.password, "x=y");

    EXPECT_THROW(parse_connection_string("Provider=Microsoft.jet.oledb.4.0"), StoreError);
}
