// The register's layout: a new file, the column check at start, the upgrade of an older file, the
// change counter and each connection's own report table.
#include "claim_changes.h"
#include "engine.h"
#include "module1.h"
#include "recordset.h"
#include "schema.h"
#include "store_error.h"
#include "temporary_register.h"
#include "test_files.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

using namespace store;
using Module1::db_conn;

namespace {

QStringList detail_columns() {
    Recordset row;
    row.Open("Select * from detail", db_conn);
    QStringList names;
    for (int i = 0; i < row.FieldCount(); ++i)
        names << row.FieldName(i);
    return names;
}

// Replaces the register with a file whose `detail` has `columns`, in layout `version`, as an older
// program or a hand-made change may have left it.
void write_register(const QStringList& columns, int version) {
    TemporaryRegister::close_all();
    QFile::remove(Module1::database_path());
    QStringList defined;
    for (const QString& c : columns)
        defined << c + (c == "id" ? " INTEGER PRIMARY KEY" : c.contains("date") ? " DATE" : "");
    sqlite3* db = engine::open_keyed(Module1::database_path(), Module1::kDatabasePassword,
                                     SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    engine::exec(db, ("CREATE TABLE detail (" + defined.join(',') +
                      "); CREATE TABLE preport (sno, distname, tc, sc, rc, pc); CREATE TABLE "
                      "districts (distname); PRAGMA user_version=" +
                      QString::number(version) +
                      "; INSERT INTO detail (refno, refdate) VALUES (101, '2007-03-05')")
                         .toUtf8());
    engine::close(db);
}

QString refusal() {
    try {
        Module1::open_database();
    } catch (const StoreError& e) {
        return e.reason();
    }
    return {};
}

} // namespace

TEST(StoreSchema, ANewRegisterIsKeyedAndHoldsTheDistrictsAndEveryColumnInItsPlace) {
    TemporaryRegister reg;
    const QStringList names = detail_columns();
    ASSERT_EQ(names.size(), 40);
    const std::pair<int, const char*> places[] = {
        {0, "id"},          {1, "refno"},        {2, "refdate"},  {11, "odist"},  {34, "branch"},
        {35, "billstatus"}, {36, "amtapproved"}, {38, "remarks"}, {39, "changes"}};
    for (const auto& [position, name] : places)
        EXPECT_EQ(names[position], name);
    EXPECT_EQ(district_names().size(), 20);
    EXPECT_EQ(db_conn.ReadNumber("Select count(*) from districts where rowid=4 and "
                                 "distname='Fatehgarh Sahib'"),
              1);
    EXPECT_FALSE(test::file_bytes(reg.database_path()).contains("Tarn Taran"));

    // A file is never replaced, and a missing folder is named.
    EXPECT_FALSE(create_database_if_missing(reg.database_path(), "kertpol"));
    EXPECT_THROW(create_database_if_missing(reg.folder() + "/gone/VETRA.mdb", "kertpol"),
                 StoreError);
}

TEST(StoreSchema, ATableWithAColumnMoreLessOrMovedIsRefusedByNameAndLeftAsItWas) {
    TemporaryRegister reg;
    const QStringList columns = detail_columns();
    const auto changed = [&](const std::function<void(QStringList&)>& change) {
        QStringList altered = columns;
        change(altered);
        return altered;
    };
    const std::pair<QStringList, const char*> files[] = {
        {changed([](QStringList& c) { c.insert(4, "extra"); }),
         "it has a column extra that does not belong there"},
        {changed([](QStringList& c) { c.removeAll("raddress"); }),
         "the column raddress is missing"},
        {changed([](QStringList& c) { c.swapItemsAt(12, 13); }),
         "the column rvill stands where raddress belongs"},
        {columns, "the file lacks the change counter of the claims"}};
    for (const auto& [detail, difference] : files) {
        write_register(detail, kSchemaVersion);
        const QByteArray before = test::file_bytes(reg.database_path());
        EXPECT_TRUE(refusal().endsWith(difference)) << refusal().toStdString();
        EXPECT_TRUE(test::file_bytes(reg.database_path()) == before);
        EXPECT_EQ(test::folder_names(reg.folder()), QStringList{"VETRA.mdb"});
    }
    write_register(columns, 1); // an older layout has no counter yet
    EXPECT_TRUE(refusal().contains("detail is not laid out as this program expects: it has a "
                                   "column changes that does not belong there"));
}

TEST(StoreSchema, AnOlderRegisterIsCopiedAsideThenGivenTheChangeCounter) {
    TemporaryRegister reg;
    write_register(detail_columns().mid(0, 39), 1);
    Module1::open_database();
    EXPECT_EQ(db_conn.ReadNumber("PRAGMA user_version"), kSchemaVersion);
    EXPECT_EQ(change_count(db_conn, "101"), 0);
    db_conn.Execute("Update detail set empname='Ram' where refno=101");
    EXPECT_EQ(change_count(db_conn, "101"), 1);

    Connection copy;
    copy.Open(QString(db_conn.ConnectionString()).replace("VETRA.mdb", "VETRA.mdb.before-upgrade"));
    EXPECT_EQ(copy.ReadNumber("PRAGMA user_version"), 1);
    EXPECT_EQ(copy.ReadNumber("Select count(*) from detail where refno=101 and empname is null"),
              1);
}

TEST(StoreSchema, EveryUpdateCountsAndAClaimChangedSinceItWasShownIsNotOverwritten) {
    TemporaryRegister reg;
    db_conn.Execute("Insert into detail (refno,refdate,billstatus) values(101, #05-Mar-2007#,'P')");
    Module1::rs_aux.Open("Select * from detail where refno=101", db_conn);
    const ChangeCount shown = change_count(Module1::rs_aux);
    EXPECT_EQ(shown, 0);
    Connection other;
    other.Open(db_conn.ConnectionString());
    other.Execute("Update detail set empname='Ram' where refno=101");
    other.Execute("Update detail set changes=0 where refno=101"); // cannot set it back
    EXPECT_EQ(change_count(db_conn, "101"), 2);
    try {
        require_unchanged(db_conn, "101", shown);
        ADD_FAILURE() << "a claim changed meanwhile passed";
    } catch (const StoreError& e) {
        EXPECT_TRUE(e.reason().contains("101 was changed by another user")) << e.what();
    }
    EXPECT_NO_THROW(require_unchanged(db_conn, "101", 2));
    EXPECT_NO_THROW(require_unchanged(db_conn, "999", 5)); // gone: the save itself says so
}

TEST(StoreSchema, EachConnectionFillsAReportTableOfItsOwn) {
    TemporaryRegister reg;
    Connection other;
    other.Open(db_conn.ConnectionString());
    create_scratch_tables(other);
    const QString insert = "Insert into preport (sno,distname,tc,sc,rc,pc) values (1,'%1',5,1,1,3)";
    db_conn.Execute(insert.arg("Moga"));
    other.Execute(insert.arg("Mansa"));
    other.Execute(insert.arg("Mansa"));
    EXPECT_EQ(db_conn.ReadNumber("Select count(*) from preport where distname='Moga'"), 1);
    EXPECT_EQ(other.ReadNumber("Select count(*) from preport where distname='Mansa'"), 2);
    EXPECT_EQ(other.ReadNumber("Select count(*) from preport"), 2);
    EXPECT_EQ(db_conn.ReadNumber("Select count(*) from main.preport"), 0);
}

// With two hundred thousand claims a full scan per count would stall the reports.
TEST(StoreSchema, ReportSelectionsAndCountsAreServedByIndexes) {
    TemporaryRegister reg;
    const QString period = " refdate between #01-Apr-2007# and #31-Mar-2008#";
    const QString count = "Select count(*) from detail where ";
    for (const QString& statement : QStringList{
             count + "odist='Moga' and billstatus='Sanctioned' and" + period, count + period,
             count + "billstatus='Rejected' and" + period, "Select max(refno) from detail",
             "SELECT refno, empname FROM detail where" + period +
                 " and odist in ('Moga','Mansa') order by refno"}) {
        Recordset plan;
        plan.Open("EXPLAIN QUERY PLAN " + statement, db_conn);
        QStringList steps;
        for (; !plan.Eof(); plan.MoveNext())
            steps << plan.Fields("detail").text();
        const QString all = steps.join(' ');
        EXPECT_TRUE(all.contains(statement.startsWith(count) ? "COVERING INDEX" : "USING"))
            << (statement + ": " + all).toStdString();
        EXPECT_FALSE(all.contains("SCAN TABLE detail")) << (statement + ": " + all).toStdString();
    }
}
