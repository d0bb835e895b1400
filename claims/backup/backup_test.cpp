// Backups and restores of a register: restores through the menu beside side files of a newer
// state, refusals that leave the register as it was, copies that find no room, the rotation, and
// a journal that does not belong to the register at start.
#include "backup.h"
#include "demo_claims.h"
#include "dialogs.h"
#include "module1.h"
#include "register_menu.h"
#include "schema.h"
#include "temporary_register.h"
#include "test_files.h"

#include <QAction>
#include <QMainWindow>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/resource.h>

namespace backup {
namespace {

using store::test::failure;
using store::test::file_bytes;
using store::test::folder_names;

void add_claims(int first, int count) {
    std::vector<demo::SampleClaim> claims = demo::demo_claims(QDate(2025, 3, 31), count);
    for (demo::SampleClaim& claim : claims)
        claim.refno = QString::number(first++);
    demo::save_claims(Module1::db_conn, claims);
}

// Every stored claim, whole, in number order.
QStringList stored() {
    store::Recordset rows;
    rows.Open("Select * from detail order by refno", Module1::db_conn);
    QStringList found;
    for (; !rows.Eof(); rows.MoveNext())
        for (int i = 0; i < rows.FieldCount(); ++i)
            found << rows.Fields(i).text();
    return found;
}

void fail(const QString& fault) {
    ADD_FAILURE() << fault.toStdString();
}

TEST(Restore, TheBackupExactlyBesideSideFilesOfANewerStateAndTheOldOneKept) {
    store::TemporaryRegister reg;
    add_claims(101, 30);
    QMainWindow window;
    QAction back_up, restore, list;
    FileRegister file;
    RegisterMenu menu(window, file, [] { return QDateTime(QDate(2026, 5, 4), QTime(9, 30)); });
    menu.attach(&back_up, &restore, &list);
    const QString copy = reg.folder() + "/chosen.mdb";
    file_choosers() = {[&](QWidget*, const QString&, const QString&) { return copy; },
                       [&](QWidget*, const QString&, const QString&) { return copy; }};
    platform::DialogScript boxes(fail);
    back_up.trigger();
    const QStringList backed_up = stored();
    add_claims(131, 5);
    store::Connection other; // another program keeps the newer journal beside the file
    other.Open(Module1::db_conn.ConnectionString());
    ASSERT_GT(QFileInfo(reg.database_path() + "-wal").size(), 0);
    boxes.answer(platform::vbYes);
    restore.trigger();

    EXPECT_EQ(stored(), backed_up);
    const QString aside = reg.database_path() + ".before-restore-20260504-093000";
    ASSERT_EQ(boxes.shown().size(), 3u);
    EXPECT_TRUE(boxes.shown()[2].text.contains("It holds 30 claims. The register as it was is "
                                               "kept as " +
                                               aside + "."));
    EXPECT_TRUE(QFileInfo::exists(aside + "-wal"));
    other.Close();
    EXPECT_TRUE(QFileInfo::exists(reg.database_path() + "-wal")) << "the new file's journal";
    // The restore undone: the register set aside, its journal with it, put back the same way.
    boxes.answer(platform::vbYes);
    file_choosers().open = [&](QWidget*, const QString&, const QString&) { return aside; };
    restore.trigger();
    EXPECT_EQ(stored().size(), backed_up.size() / 30 * 35);
}

TEST(Restore, RefusedCopiesLeaveTheRegisterByteForByte) {
    store::TemporaryRegister reg;
    add_claims(101, 1500); // a file of many pages
    const QString good = reg.folder() + "/good.mdb";
    back_up(reg.database_path(), Module1::kDatabasePassword, good);
    const QString damaged = good + "1", other_key = good + "2", newer = good + "3";
    QByteArray bytes = file_bytes(good);
    store::test::write_bytes(damaged, bytes.replace(bytes.size() / 2, 512, QByteArray(512, 'Z')));
    store::create_database_if_missing(other_key, "not-the-password");
    QFile::copy(good, newer);
    store::Connection later;
    later.Open("Data Source=" + newer + ";Jet OLEDB:Database Password=kertpol");
    later.Execute(QStringLiteral("PRAGMA user_version = %1").arg(store::kSchemaVersion + 1));
    later.Close();
    const std::pair<QString, QString> cases[] = {
        {damaged, "the file is damaged ("},
        {other_key, "the password does not fit or the file is damaged"},
        {newer, "the file was made by a newer version of the program"}};
    const QByteArray before = file_bytes(reg.database_path());
    const QStringList names = folder_names(reg.folder());
    for (const auto& [copy, reason] : cases) {
        const QString why = failure(
            [&, &file = copy] { FileRegister().restore(file, QDateTime::currentDateTime()); });
        EXPECT_TRUE(why.startsWith(reason)) << copy.toStdString() << ": " << why.toStdString();
        EXPECT_TRUE(file_bytes(reg.database_path()) == before);
        EXPECT_EQ(folder_names(reg.folder()), names);
        EXPECT_EQ(Module1::db_conn.State(), store::adStateOpen);
    }
}

// A copy that finds no room: refused before it starts on a disk too small, or failing midway
// under a file size limit; either way no file is left and the register is as it was.
TEST(Backup, NoRoomLeavesNoFile) {
    store::TemporaryRegister reg;
    add_claims(101, 1500);
    const QByteArray before = file_bytes(reg.database_path());
    for (const bool small_disk : {true, false}) {
        QTemporaryDir target;
        const QByteArray folder = QFile::encodeName(target.path());
        if (small_disk && ::mount("tmpfs", folder.constData(), "tmpfs", 0, "size=262144") != 0)
            GTEST_SKIP() << "the machine refuses to mount a small disk";
        rlimit usual{};
        ::getrlimit(RLIMIT_FSIZE, &usual);
        const rlimit limit{262144, usual.rlim_max};
        std::signal(SIGXFSZ, SIG_IGN); // a write past the limit fails as on a full disk
        ::setrlimit(RLIMIT_FSIZE, small_disk ? &usual : &limit);
        const QString why = failure([&] {
            back_up(reg.database_path(), Module1::kDatabasePassword, target.filePath("copy.mdb"));
        });
        EXPECT_TRUE(why.contains(small_disk ? "only 0 MB are free" : "the disk may be full"))
            << why.toStdString();
        ::setrlimit(RLIMIT_FSIZE, &usual);
        EXPECT_EQ(folder_names(target.path()), QStringList());
        if (small_disk)
            ::umount2(folder.constData(), MNT_DETACH);
    }
    EXPECT_TRUE(file_bytes(reg.database_path()) == before);
}

TEST(Automatic, SevenDailyAndFourWeeklyCopiesRemain) {
    store::TemporaryRegister reg;
    QMainWindow window;
    FileRegister file;
    QDateTime now(QDate(2026, 1, 20), QTime(18, 0));
    RegisterMenu menu(window, file, [&] { return now; });
    for (; now.date() <= QDate(2026, 3, 4); now = now.addDays(1))
        menu.back_up_at_exit();
    now = QDateTime(QDate(2026, 3, 4), QTime(9, 0)); // older than the day's copy at 18:00
    menu.back_up_at_exit();
    menu.back_up_at_start(); // today has its copy already
    // The daily copies from Thursday to Wednesday: the weekly ones are of the weeks before both.
    QStringList expected;
    for (const char* day : {"02-01", "02-08", "02-15", "02-22", "02-26", "02-27", "02-28", "03-01",
                            "03-02", "03-03", "03-04"})
        expected << QStringLiteral("VETRA-2026-%1-180000.mdb").arg(day);
    EXPECT_EQ(folder_names(file.automatic_folder()), expected);
}

TEST(Start, AJournalThatDoesNotBelongIsSetAsideAndOneThatBelongsIsRead) {
    store::TemporaryRegister reg;
    add_claims(101, 20);
    const QString copy = reg.folder() + "/copy.mdb", path = reg.database_path();
    back_up(path, Module1::kDatabasePassword, copy);
    const QStringList backed_up = stored();
    // The file alone reads sound, the newer claims only in the journal: a journal to keep.
    Module1::db_conn.Execute("PRAGMA wal_checkpoint(TRUNCATE)");
    add_claims(121, 3);
    const QStringList newer = stored();
    QTemporaryDir killed; // the files as a program killed now leaves them
    for (const char* suffix : {"", "-wal", "-shm"})
        ASSERT_TRUE(QFile::copy(path + suffix, killed.filePath(QString("VETRA.mdb") + suffix)));
    for (const bool by_hand : {true, false}) {
        store::TemporaryRegister::close_all();
        for (const char* suffix : {"", "-wal", "-shm"}) {
            QFile::remove(path + suffix);
            QFile::copy(killed.filePath(QString("VETRA.mdb") + suffix), path + suffix);
        }
        if (by_hand)
            store::test::write_bytes(path, file_bytes(copy));
        platform::DialogScript boxes(fail);
        set_aside_stray_journal_at_start(path, Module1::kDatabasePassword);
        Module1::open_database();
        EXPECT_EQ(stored(), by_hand ? backed_up : newer);
        EXPECT_EQ(boxes.shown().size(), by_hand ? 1u : 0u);
    }
}

} // namespace
} // namespace backup
