// Choosing the data folder, opening the shared database and allocating reference numbers.
#include "data_folder.h"
#include "dedetail.h"
#include "module1.h"
#include "store_error.h"
#include "temporary_register.h"
#include "test_files.h"

#include <QFileInfo>
#include <gtest/gtest.h>

using namespace store;
using namespace Module1;

namespace {

void add_claim(int refno) {
    db_conn.Execute("Insert into detail (refno,refdate,billstatus) values(" +
                    QString::number(refno) + ", #05-Mar-2007#,'Pending')");
}

} // namespace

TEST(StoreModule1, TheCommandLineWinsThenTheFolderThatHoldsTheDatabase) {
    QTemporaryDir root;
    const QString program = root.filePath("bin"), per_user = root.filePath("user");
    EXPECT_EQ(choose_data_folder(program, {}, per_user), per_user); // no folder to write in
    QDir().mkpath(program);
    EXPECT_EQ(choose_data_folder(program, root.filePath("chosen"), per_user),
              root.filePath("chosen"));
    EXPECT_EQ(choose_data_folder(program, {}, per_user), program);
    QDir().mkpath(per_user);
    test::write_bytes(per_user + "/VETRA.mdb", "x");
    EXPECT_EQ(choose_data_folder(program, {}, per_user), per_user);
}

TEST(StoreModule1, BothConnectionsOpenOnTheRegisterAndARestartFindsEveryClaim) {
    TemporaryRegister reg;
    EXPECT_EQ(db_conn.DatabasePath(), QFileInfo(reg.folder() + "/VETRA.mdb").absoluteFilePath());
    EXPECT_EQ(DEDetail::Connection1.ConnectionString(), db_conn.ConnectionString());
    for (int refno = 101; refno <= 140; ++refno)
        add_claim(refno);
    DEDetail::detail(); // the reports read through their own connection
    EXPECT_EQ(DEDetail::rsdetail.RecordCount(), 40);
    EXPECT_EQ(DEDetail::rsdetail.Fields("refdate").date(), QDate(2007, 3, 5));
    reg.restart();
    EXPECT_EQ(db_conn.ReadNumber("Select count(*) from detail"), 40);
}

TEST(StoreModule1, AFileDamagedFarFromItsFirstPageIsRefusedUnchanged) {
    TemporaryRegister reg;
    Transaction adding(db_conn);
    for (int refno = 101; refno <= 400; ++refno) {
        add_claim(refno);
        db_conn.Execute("Update detail set disease='" + QString(200, 'x') +
                        "' where refno=" + QString::number(refno));
    }
    adding.commit();
    TemporaryRegister::close_all();
    QByteArray damaged = test::file_bytes(database_path());
    ASSERT_GT(damaged.size(), 20 * 4096);
    damaged[damaged.size() / 2] = static_cast<char>(damaged[damaged.size() / 2] ^ 1);
    test::write_bytes(database_path(), damaged);
    try {
        open_database();
        ADD_FAILURE() << "a damaged file was opened";
    } catch (const StoreError& e) {
        EXPECT_TRUE(e.reason().startsWith("the file is damaged (")) << e.what();
    }
    EXPECT_EQ(db_conn.State(), adStateClosed);
    EXPECT_EQ(DEDetail::Connection1.State(), adStateClosed);
    EXPECT_TRUE(test::file_bytes(database_path()) == damaged);
}

TEST(StoreModule1, ANewClaimTakesTheLargestNumberPlusOneFrom101) {
    TemporaryRegister reg;
    EXPECT_EQ(allocate_reference_number(), "101");
    for (const int refno : {101, 102, 150, 250, 7})
        add_claim(refno);
    EXPECT_EQ(allocate_reference_number(), "251");
    db_conn.Execute("Delete from detail where refno in (250, 102)");
    EXPECT_EQ(allocate_reference_number(), "151"); // gaps below are never refilled
}
