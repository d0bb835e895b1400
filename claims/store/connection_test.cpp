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

TEST_F(ConnectionTest, ADamagedEmptyOrMissingFileIsRefusedAndNothingChanges) {
    QByteArray flipped = file_bytes(file);
    ASSERT_GT(flipped.size(), 4096);
    for (int i = 100; i < 160; ++i)
        flipped[i] = static_cast<char>(flipped[i] ^ 0x5a);
    static constexpr char kForeign[] = "Standard Jet DB\0\0\0 not ours";
    const std::pair<QByteArray, const char*> files[] = {
        {flipped, "file is damaged"},
        {flipped.left(700), "file is damaged"}, // cut short
        {QByteArray(kForeign, sizeof kForeign - 1), "file is damaged"},
        {QByteArray(), "empty"}};
    for (const auto& [bytes, reason] : files) {
        write_bytes(file, bytes);
        expect_refused_without_change(connection_string_for(file), reason);
    }

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
