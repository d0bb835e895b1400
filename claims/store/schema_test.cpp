// The register's layout: a new file, the column check at start, the upgrade of an older file and
// the change counter. Each connection's own report table is backend_test's.
#include "claim_changes.h"
#include "engine.h"
#include "module1.h"
#include "recordset.h"
#include "schema.h"
#include "store_error.h"
#include "temporary_register.h"
#include "test_files.h"

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

} // namespace

// Its columns are checked at every open, the districts' numbers in every report.
TEST(StoreSchema, ANewRegisterIsKeyedAndNeverReplaced) {
    TemporaryRegister reg;
    EXPECT_FALSE(test::file_bytes(reg.database_path()).contains("Tarn Taran"));
    EXPECT_FALSE(create_database_if_missing(reg.database_path(), "kertpol")); // never replaced
}

TEST(StoreSchema, ATableWithAColumnMoreLessOrMovedIsRefusedByNameAndLeftAsItWas) {
    TemporaryRegister reg;
    const QStringList columns = detail_columns();
    QStringList extra = columns, missing = columns, swapped = columns;
    extra.insert(4, "extra");
    missing.removeAll("raddress");
    swapped.swapItemsAt(12, 13);
    const std::tuple<QStringList, int, const char*> files[] = {
        {extra, kSchemaVersion,
         "detail is not laid out as this program expects: it has a column "
         "extra that does not belong there"},
        {missing, kSchemaVersion, "the column raddress is missing"},
        {swapped, kSchemaVersion, "the column rvill stands where raddress belongs"},
        {columns, 1, "it has a column changes that does not belong there"}, // not yet
        {columns, 2, "the file lacks the trigger detail_changes of its layout"},
        {columns, kSchemaVersion, "the file lacks the table claim_history of its layout"}};
    for (const auto& [detail, version, difference] : files) {
        write_register(detail, version);
        const QByteArray before = test::file_bytes(reg.database_path());
        const QString refusal = test::failure(Module1::open_database);
        EXPECT_TRUE(refusal.endsWith(difference)) << refusal.toStdString();
        EXPECT_TRUE(test::file_bytes(reg.database_path()) == before);
        EXPECT_EQ(test::folder_names(reg.folder()), QStringList{"VETRA.mdb"});
    }
}

TEST(StoreSchema, AnOlderRegisterIsCopiedAsideThenGivenTheChangeCounter) {
    TemporaryRegister reg;
    write_register(detail_columns().mid(0, 39), 1);
    Module1::open_database();
    EXPECT_EQ(db_conn.ReadNumber("PRAGMA user_version"), kSchemaVersion);
    db_conn.Execute("Update detail set empname='Ram' where refno=101");
    EXPECT_EQ(change_count(db_conn, "101"), 1);
    Connection copy;
    copy.Open(QString(db_conn.ConnectionString()).replace("VETRA.mdb", "VETRA.mdb.before-upgrade"));
    EXPECT_EQ(copy.ReadNumber("PRAGMA user_version"), 1);
    EXPECT_EQ(copy.ReadNumber("Select count(*) from detail where empname is null"), 1);
}

TEST(StoreSchema, EveryUpdateCountsAndAClaimChangedSinceItWasShownIsNotOverwritten) {
    TemporaryRegister reg;
    db_conn.Execute("Insert into detail (refno) values(101)");
    Module1::rs_aux.Open("Select * from detail where refno=101", db_conn);
    const ChangeCount shown = change_count(Module1::rs_aux);
    Connection other;
    other.Open(db_conn.ConnectionString());
    other.Execute("Update detail set empname='Ram' where refno=101");
    other.Execute("Update detail set changes=0 where refno=101"); // cannot set it back
    EXPECT_EQ(change_count(db_conn, "101"), shown + 2);
    EXPECT_THROW(require_unchanged(db_conn, "101", shown), StoreError);
    EXPECT_NO_THROW(require_unchanged(db_conn, "101", shown + 2));
    EXPECT_NO_THROW(require_unchanged(db_conn, "999", 5)); // gone: the save itself says so
}
