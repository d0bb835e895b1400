// Opening the shared database and allocating reference numbers.
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

TEST(OpenDatabase, CreatesTheDatabaseInTheDataFolderAndOpensBothConnections) {
    TemporaryRegister reg;
    EXPECT_EQ(database_path(), QFileInfo(reg.folder() + "/VETRA.mdb").absoluteFilePath());
    EXPECT_TRUE(QFileInfo::exists(database_path()));
    EXPECT_EQ(db_conn.State(), adStateOpen);
    EXPECT_EQ(db_conn.DatabasePath(), database_path());
    EXPECT_TRUE(db_conn.ConnectionString().startsWith(
        "Provider=Microsoft.jet.oledb.4.0; data source=" + database_path() +
        ";Persist Security Info=False;Jet OLEDB:Database Password=kertpol"));
    EXPECT_EQ(DEDetail::Connection1.State(), adStateOpen);
    EXPECT_EQ(DEDetail::Connection1.ConnectionString(), db_conn.ConnectionString());

    // The reports read through their own connection what the forms write through db_conn.
    add_claim(101);
    DEDetail::detail();
    ASSERT_EQ(DEDetail::rsdetail.RecordCount(), 1);
    EXPECT_EQ(DEDetail::rsdetail.Fields("refdate").date(), QDate(2007, 3, 5));
    EXPECT_EQ(DEDetail::rsdetail.FieldCount(), 17);
    DEDetail::Pendancy();
    EXPECT_EQ(DEDetail::rsPendancy.FieldName(1), "distname");
    EXPECT_TRUE(DEDetail::rsPendancy.Eof());

    open_database(); // a second call reopens cleanly
    EXPECT_EQ(db_conn.State(), adStateOpen);
}

TEST(OpenDatabase, ARestartFindsEveryClaimSavedBefore) {
    TemporaryRegister reg;
    for (int refno = 101; refno <= 140; ++refno)
        add_claim(refno);
    db_conn.Execute("Update detail set empname='Asha D''Souza' where refno=120");
    reg.restart();
    rs_aux.Open("Select * from detail where refno=120", db_conn, adOpenKeyset, adLockPessimistic);
    ASSERT_EQ(rs_aux.RecordCount(), 1);
    EXPECT_EQ(rs_aux.Fields(3).text(), "Asha D'Souza");
    rs_main.Open("Select refno from detail", db_conn, adOpenKeyset, adLockPessimistic);
    EXPECT_EQ(rs_main.RecordCount(), 40);
}

TEST(OpenDatabase, AnUnusableFileIsReportedAndNothingStaysOpen) {
    TemporaryRegister reg;
    const QString file = database_path();
    TemporaryRegister::close_all();
    QByteArray damaged = test::file_bytes(file);
    damaged[2000] = static_cast<char>(damaged[2000] ^ 1);
    test::write_bytes(file, damaged);
    EXPECT_THROW(open_database(), StoreError);
    EXPECT_EQ(db_conn.State(), adStateClosed);
    EXPECT_EQ(DEDetail::Connection1.State(), adStateClosed);
    EXPECT_TRUE(test::file_bytes(file) == damaged);
}

TEST(OpenDatabase, AFileDamagedFarFromItsFirstPageIsRefusedToo) {
    TemporaryRegister reg;
    const QString file = database_path();
    Transaction adding(db_conn);
    for (int refno = 101; refno <= 400; ++refno) {
        add_claim(refno);
        db_conn.Execute("Update detail set disease='" + QString(200, 'x') +
                        "' where refno=" + QString::number(refno));
    }
    adding.commit();
    TemporaryRegister::close_all();
    QByteArray damaged = test::file_bytes(file);
    ASSERT_GT(damaged.size(), 20 * 4096);
    const qsizetype middle = damaged.size() / 2;
    damaged[middle] = static_cast<char>(damaged[middle] ^ 1);
    test::write_bytes(file, damaged);
    try {
        open_database();
        ADD_FAILURE() << "a damaged file was opened";
    } catch (const StoreError& e) {
        EXPECT_TRUE(e.reason().startsWith("the file is damaged (")) << e.reason().toStdString();
        EXPECT_FALSE(e.reason().contains('\n'));
    }
    EXPECT_EQ(db_conn.State(), adStateClosed);
    EXPECT_TRUE(test::file_bytes(file) == damaged);
}

TEST(ReferenceNumber, AnEmptyRegisterStartsAt101) {
    TemporaryRegister reg;
    EXPECT_EQ(allocate_reference_number(), "101");
    EXPECT_EQ(allocate_reference_number(), "101"); // nothing is reserved until saved
    EXPECT_EQ(rs_main.State(), adStateOpen);
}

TEST(ReferenceNumber, TheLargestPlusOneWhateverTheGaps) {
    TemporaryRegister reg;
    for (const int refno : {101, 102, 150, 250, 7})
        add_claim(refno);
    EXPECT_EQ(allocate_reference_number(), "251");
    db_conn.Execute("Delete from detail where refno=250");
    EXPECT_EQ(allocate_reference_number(), "151");
    db_conn.Execute("Delete from detail where refno=102");
    EXPECT_EQ(allocate_reference_number(), "151"); // gaps below are never refilled
    add_claim(151);
    EXPECT_EQ(allocate_reference_number(), "152");
}
