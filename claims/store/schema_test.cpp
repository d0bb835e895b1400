// The register's layout: the column check at start and the upgrade of an older file. The change
// counter and each connection's own report table are backend_test's.
#include "connection.h"
#include "engine.h"
#include "module1.h"
#include "schema.h"
#include "store_error.h"
#include "temporary_register.h"
#include "test_files.h"

#include <gtest/gtest.h>

using namespace store;
using Module1::db_conn;

namespace {

// Replaces the register with a file whose `detail` has `columns`, in layout `version`, as an older
// program or a hand-made change may have left it.
void write_register(const QStringList& columns, int version, const QString& more = {}) {
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
                      "; INSERT INTO detail (refno, refdate) VALUES (101, '2007-03-05');" + more)
                         .toUtf8());
    engine::close(db);
}

} // namespace

TEST(StoreSchema, ATableWithAColumnMoreLessOrMovedIsRefusedByNameAndLeftAsItWas) {
    TemporaryRegister reg;
    const QStringList columns = column_names(db_conn, "detail");
    QStringList extra = columns, missing = columns, swapped = columns;
    extra.insert(4, "extra");
    missing.removeAll("raddress");
    swapped.swapItemsAt(12, 13);
    // Each file: its detail columns, the layout it states, what more it holds, and the refusal.
    const std::tuple<QStringList, int, const char*, const char*> files[] = {
        {extra, kSchemaVersion, "",
         "detail is not laid out as this program expects: it has a column "
         "extra that does not belong there"},
        {missing, kSchemaVersion, "", "the column raddress is missing"},
        {swapped, kSchemaVersion, "", "the column rvill stands where raddress belongs"},
        {columns, 1, "", "it has a column changes that does not belong there"}, // not yet
        {columns, 2, "", "the file lacks the trigger detail_changes of its layout"},
        {columns, kSchemaVersion, "", "the file lacks the table claim_history of its layout"},
        {columns, 2, "CREATE TABLE claim_history (id)",
         "the file holds the table claim_history of layout 3 but states layout 2"}};
    for (const auto& [detail, version, more, difference] : files) {
        write_register(detail, version, more);
        const QByteArray before = test::file_bytes(reg.database_path());
        const QString refusal = test::failure(Module1::open_database);
        EXPECT_TRUE(refusal.endsWith(difference)) << refusal.toStdString();
        EXPECT_TRUE(test::file_bytes(reg.database_path()) == before);
        EXPECT_EQ(test::folder_names(reg.folder()), QStringList{"VETRA.mdb"});
    }
}

TEST(StoreSchema, AnOlderRegisterIsCopiedAsideThenGivenTheChangeCounter) {
    TemporaryRegister reg;
    write_register(column_names(db_conn, "detail").mid(0, 39), 1);
    Module1::open_database();
    EXPECT_EQ(db_conn.ReadNumber("PRAGMA user_version"), kSchemaVersion);
    db_conn.Execute("Update detail set empname='Ram' where refno=101");
    EXPECT_EQ(db_conn.ReadNumber("Select changes from detail where refno=101"), 1);
    Connection copy;
    copy.Open(QString(db_conn.ConnectionString()).replace("VETRA.mdb", "VETRA.mdb.before-upgrade"));
    EXPECT_EQ(copy.ReadNumber("PRAGMA user_version"), 1);
    EXPECT_EQ(copy.ReadNumber("Select count(*) from detail where empname is null"), 1);
}
