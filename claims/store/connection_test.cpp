// Opening a database file, a writer waiting for another, and the file staying the one opened.
// Statements and transactions on either backend are backend_test's.
#include "connection.h"
#include "connection_string.h"
#include "engine.h"
#include "schema.h"
#include "store_error.h"
#include "test_files.h"

#include <QTemporaryDir>
#include <cstdio>
#include <gtest/gtest.h>
#include <thread>

using namespace store;
using namespace store::test;

namespace {

const QString kInsert = "Insert into detail (refno,refdate) values(%1, #05-Mar-2007#)";

class StoreConnection : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(create_database_if_missing(file, "kertpol")); }
    QString opening(const QString& path, const char* password = "kertpol") {
        return "data source=" + connection_string_value(path) +
               ";Jet OLEDB:Database Password=" + password;
    }
    Connection& open(Connection& connection, int busy_ms = 5000) {
        connection.set_busy_timeout(busy_ms);
        connection.Open(opening(file));
        return connection;
    }

    QTemporaryDir dir;
    QString file = dir.filePath("VETRA.mdb");
    Connection connection;
};

} // namespace

TEST_F(StoreConnection, AWrongKeyADamagedLockedEmptyOrMissingFileIsRefusedUnchanged) {
    const auto expect_refused = [&](const QString& connection_string, const char* reason) {
        const QByteArray bytes = file_bytes(file);
        const QStringList names = folder_names(dir.path());
        connection.set_busy_timeout(100);
        EXPECT_TRUE(failure([&] { connection.Open(connection_string); }).contains(reason))
            << reason;
        EXPECT_EQ(connection.State(), adStateClosed);
        EXPECT_TRUE(file_bytes(file) == bytes) << reason;
        EXPECT_EQ(folder_names(dir.path()), names);
    };
    open(connection).Close(); // leaves the file in write-ahead mode, as the program does
    expect_refused(opening(file, "Kertpol"), "the password does not fit");
    expect_refused(opening(file, ""), "the password does not fit");
    sqlite3* holder = engine::open_keyed(file, "kertpol", SQLITE_OPEN_READWRITE);
    engine::exec(holder, "PRAGMA locking_mode = EXCLUSIVE; BEGIN EXCLUSIVE");
    expect_refused(opening(file), "locked by another program");
    engine::close(holder);
    QByteArray flipped = file_bytes(file);
    for (int i = 100; i < 160; ++i)
        flipped[i] = static_cast<char>(flipped[i] ^ 0x5a);
    const std::pair<QByteArray, const char*> files[] = {
        {flipped, "file is damaged"}, {flipped.left(700), "file is damaged"}, {{}, "empty"}};
    for (const auto& [bytes, reason] : files) {
        write_bytes(file, bytes);
        expect_refused(opening(file), reason);
    }
    expect_refused(opening(dir.filePath("OTHER.mdb")), "does not exist");
}

TEST_F(StoreConnection, AWriterWaitsForAnotherAndATransactionHoldsTheLockFromItsStart) {
    Connection impatient, patient;
    open(connection).BeginTrans(); // so that a save reads and writes one state
    EXPECT_NE(failure([&] { open(impatient, 100).BeginTrans(); }), "");
    std::thread finisher([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        connection.CommitTrans();
    });
    EXPECT_EQ(open(patient).Execute(kInsert.arg(101)), 1);
    finisher.join();
}

TEST_F(StoreConnection, NothingIsWrittenOnceTheFileWasReplacedOrDeleted) {
    open(connection).Execute(kInsert.arg(101));
    ASSERT_TRUE(QFile::copy(file, file + ".copy"));
    ASSERT_EQ(std::rename(QFile::encodeName(file + ".copy").constData(),
                          QFile::encodeName(file).constData()),
              0);
    const QByteArray restored = file_bytes(file);
    EXPECT_TRUE(failure([&] {
                    connection.Execute(kInsert.arg(102));
                }).contains("was deleted or replaced while the program was running"));
    EXPECT_TRUE(file_bytes(file) == restored);
    QFile::remove(file);
    EXPECT_NE(failure([&] { connection.Execute(kInsert.arg(103)); }), "");
}

TEST_F(StoreConnection, AFolderWithTooLongANameIsNamedInTheReason) {
    QString folder = dir.path();
    while (folder.toUtf8().size() < 520) // 40 Gurmukhi letters, 120 bytes, a part
        folder += "/" + QString::fromUtf8("ਰਜਿਸਟਰ").repeated(7).left(40);
    ASSERT_TRUE(QDir().mkpath(folder));
    EXPECT_TRUE(failure([&] {
                    create_database_if_missing(folder + "/V.mdb", "k");
                }).startsWith("the name of the folder " + folder + " is too long"));
    EXPECT_TRUE(folder_names(folder).isEmpty());
}
