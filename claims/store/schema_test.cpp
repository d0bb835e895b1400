// A new database: its tables, districts and indexes, and how it comes into being.
#include "engine.h"
#include "module1.h"
#include "recordset.h"
#include "schema.h"
#include "store_error.h"
#include "temporary_register.h"
#include "test_files.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace store;
using Module1::db_conn;

TEST(Schema, ANewDatabaseHoldsTheTwentyDistrictsInOrder) {
    TemporaryRegister reg;
    Recordset districts;
    districts.Open("Select distname from districts", db_conn, adOpenKeyset, adLockOptimistic);
    QStringList names;
    for (; !districts.Eof(); districts.MoveNext())
        names << districts.Fields("distname").text();
    EXPECT_EQ(names, district_names());
    ASSERT_EQ(names.size(), 20);
    EXPECT_LT(names.indexOf("Ferozepur"), names.indexOf("Faridkot"));
    EXPECT_LT(names.indexOf("Muktsar"), names.indexOf("Mohali"));
    EXPECT_EQ(names.last(), "Tarn Taran");
}

// A new claim's insert names only refno, refdate and billstatus: the other columns stay empty.
TEST(Schema, DetailColumnsStandInTheirFixedPositionsAndANewClaimHasNoDecision) {
    TemporaryRegister reg;
    db_conn.Execute(
        "Insert into detail (refno,refdate,billstatus) values(101, #05-Mar-2007#,'Pending')");
    Recordset row;
    row.Open("Select * from detail where refno=101", db_conn, adOpenKeyset, adLockPessimistic);
    const QStringList expected{"id",         "refno",       "refdate",   "empname",   "fname",
                               "design",     "basicpay",    "oaddress",  "ovill",     "oteh",
                               "oblkname",   "odist",       "raddress",  "rvill",     "rteh",
                               "rdist",      "rstate",      "pname",     "page",      "relation",
                               "disease",    "dfrom",       "dto",       "hospital",  "amtclaimed",
                               "claimtype",  "dependpay",   "documents", "apphealth", "amthealth",
                               "medicalcrt", "intime",      "officer",   "offdesign", "branch",
                               "billstatus", "amtapproved", "appdate",   "remarks"};
    QStringList names;
    for (int i = 0; i < row.FieldCount(); ++i)
        names << row.FieldName(i);
    EXPECT_EQ(names, expected);
    EXPECT_EQ(row.Fields(0).kind(), FieldValue::Kind::Integer); // the automatic row id
    EXPECT_EQ(row.Fields(2).date(), QDate(2007, 3, 5));
    EXPECT_EQ(row.Fields("billstatus").text(), "Pending");
    for (const char* column : {"amtapproved", "appdate", "remarks"})
        EXPECT_TRUE(row.Fields(column).is_null()) << column;

    Recordset version;
    version.Open("PRAGMA user_version", db_conn);
    EXPECT_EQ(version.Fields(0).number(), kSchemaVersion);
}

TEST(Schema, CreationLeavesOnlyTheDatabaseAndNeverReplacesAFile) {
    QTemporaryDir dir;
    const QString file = dir.filePath("VETRA.mdb");
    EXPECT_TRUE(create_database_if_missing(file, "kertpol"));
    EXPECT_EQ(test::folder_names(dir.path()), QStringList{"VETRA.mdb"});

    const QByteArray before = test::file_bytes(file);
    EXPECT_FALSE(create_database_if_missing(file, "kertpol"));
    EXPECT_TRUE(test::file_bytes(file) == before);

    test::write_bytes(file, "something else");
    EXPECT_FALSE(create_database_if_missing(file, "kertpol"));
    EXPECT_EQ(test::file_bytes(file), "something else");
}

TEST(Schema, CreationInAMissingFolderFailsWithItsReason) {
    QTemporaryDir dir;
    const QString folder = dir.filePath("gone");
    try {
        create_database_if_missing(folder + "/VETRA.mdb", "kertpol");
        ADD_FAILURE() << "created a database in a missing folder";
    } catch (const StoreError& e) {
        EXPECT_TRUE(e.reason().contains("No such file or directory")) << e.reason().toStdString();
    }
    EXPECT_TRUE(test::folder_names(dir.path()).isEmpty());
}

TEST(Schema, ANewFileIsKeyedWithThePassword) {
    QTemporaryDir dir;
    const QString file = dir.filePath("VETRA.mdb");
    ASSERT_TRUE(create_database_if_missing(file, "kertpol"));
    EXPECT_FALSE(test::file_bytes(file).contains("districts"));
    EXPECT_FALSE(test::file_bytes(file).contains("Tarn Taran"));
    sqlite3* plain = nullptr;
    sqlite3_open_v2(QFile::encodeName(file).constData(), &plain, SQLITE_OPEN_READONLY, nullptr);
    EXPECT_EQ(sqlite3_exec(plain, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr),
              SQLITE_NOTADB);
    sqlite3_close(plain);
}

// Every statement of the case list and the pendency counts must be served by an index: with
// two hundred thousand claims a full scan per count would stall the report.
TEST(Schema, ReportSelectionsAndCountsNeverScanTheWholeTable) {
    TemporaryRegister reg;
    const QString period = " refdate between #01-Apr-2007# and #31-Mar-2008#";
    const QString columns = "refno,refdate,empname,fname,design,basicpay,odist,pname,page,relation,"
                            "disease,dfrom,dto,amtclaimed,billstatus,amtapproved,appdate";
    const QStringList statements{
        "Select * from detail where refno=12",
        "Select max(refno) from detail",
        "Select billstatus,amtapproved,appdate,remarks,empname,fname,design from detail where "
        "refno=12",
        "Select count(*) from detail where odist='Moga' and" + period,
        "Select count(*) from detail where odist='Moga' and billstatus='Sanctioned' and" + period,
        "Select count(*) from detail where odist='Moga' and billstatus='Pending'and" + period,
        "Select count(*) from detail where" + period + " ",
        "Select count(*) from detail where billstatus='Rejected' and" + period,
        "SELECT " + columns + " FROM detail where" + period +
            " and billstatus='Pending' and odist in ('Moga','Mansa') order by refno",
        "SELECT " + columns + " FROM detail where" + period +
            " and odist in ('Moga','Mansa') order by refno",
    };
    for (const QString& statement : statements) {
        Recordset plan;
        plan.Open("EXPLAIN QUERY PLAN " + statement, db_conn);
        QStringList steps;
        for (; !plan.Eof(); plan.MoveNext())
            steps << plan.Fields("detail").text();
        const QString described = statement + "\n  " + steps.join("\n  ");
        EXPECT_TRUE(steps.join(' ').contains("SEARCH TABLE detail USING"))
            << described.toStdString();
        // A count reads one range of an index that holds every column it tests.
        if (statement.startsWith("Select count(*)")) {
            EXPECT_TRUE(steps.join(' ').contains("COVERING INDEX")) << described.toStdString();
        }
        for (const QString& step : steps)
            EXPECT_FALSE(step.startsWith("SCAN TABLE detail")) << described.toStdString();
    }
}
