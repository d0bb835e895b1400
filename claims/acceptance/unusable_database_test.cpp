// Database files the program cannot use: read-only (by permission, as a clerk without rights
// meets it, and on a read-only disk, which stops root too), a read-only folder, a file damaged
// in the middle, a file keyed with another password. The real program is started each time
// (claims_writer start runs the register's start and signs in); each must say clearly what is
// wrong with which file, end with status 1, and leave the file and its folder byte for byte as
// they were. Permission cases run the program as the user nobody: root ignores permission bits.
#include "module1.h"
#include "mounts.h"
#include "qt_printing.h"
#include "schema.h"
#include "stored_claims.h"
#include "test_files.h"
#include "writer_process.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

namespace acceptance {
namespace {

constexpr char kUser[] = "nobody";
constexpr int kClaims = 300;

struct Outcome {
    int status = -1;
    QStringList boxes;
    QString errors;
};

class UnusableDatabase : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(base.isValid());
        // The user the program runs as must reach the folder.
        ASSERT_TRUE(QFile::setPermissions(base.path(), QFile::ReadOwner | QFile::WriteOwner |
                                                           QFile::ExeOwner | QFile::ReadOther |
                                                           QFile::ExeOther));
        ASSERT_TRUE(QDir().mkpath(folder));
    }

    // A register of kClaims claims in the folder, closed again.
    void make_register() {
        const OpenRegister opened(folder);
        store::Transaction saving(Module1::db_conn);
        for (int n = 1; n <= kClaims; ++n)
            Module1::db_conn.Execute(
                QStringLiteral("Insert into detail (refno, refdate, empname, disease, billstatus) "
                               "values (%1, #05-Mar-2024#, 'Employee %1', 'A long illness "
                               "described at length, claim %1', 'Pending')")
                    .arg(100 + n));
        saving.commit();
    }

    static void give_to(const QString& user, const QStringList& paths) {
        const passwd* account = ::getpwnam(user.toLocal8Bit().constData());
        ASSERT_NE(account, nullptr) << user.toStdString();
        for (const QString& path : paths)
            ASSERT_EQ(
                ::chown(QFile::encodeName(path).constData(), account->pw_uid, account->pw_gid), 0)
                << path.toStdString();
    }

    // Starts the program on `data_folder`, as `user` unless empty, and signs in.
    static Outcome start_program(const QString& data_folder, const QString& user = {}) {
        QStringList arguments{"start"};
        if (!user.isEmpty())
            arguments << "--as-user" << user;
        arguments << "--"
                  << "vetra"
                  << "--data-dir" << data_folder;
        WriterProcess program(arguments);
        Outcome outcome;
        outcome.status = program.finish(60000);
        for (const QString& line : program.lines())
            if (line.startsWith("box "))
                outcome.boxes << line.mid(4);
        outcome.errors = program.errors();
        return outcome;
    }

    // Starts the program on `data_folder` and expects it to refuse the database there for
    // `reason` (the engine's details may follow), leaving the folder `watched` (the same folder,
    // seen elsewhere) as it was.
    void expect_refused(const QString& data_folder, const QString& reason, const QString& user,
                        const QString& watched) {
        const QString file = QDir(watched).filePath(Module1::kDatabaseFileName);
        const QByteArray bytes = store::test::file_bytes(file);
        const QStringList names = store::test::folder_names(watched);
        const Outcome outcome = start_program(data_folder, user);
        EXPECT_EQ(outcome.status, 1) << outcome.errors.toStdString();
        const QString shown = QDir::toNativeSeparators(
            QDir(data_folder).absoluteFilePath(Module1::kDatabaseFileName));
        ASSERT_EQ(outcome.boxes.size(), 1) << outcome.errors.toStdString();
        EXPECT_TRUE(outcome.boxes[0].startsWith("Database Error: The database " + shown +
                                                " cannot be opened: " + reason))
            << outcome.boxes[0].toStdString();
        EXPECT_TRUE(store::test::file_bytes(file) == bytes) << "the file was changed";
        EXPECT_EQ(store::test::folder_names(watched), names);
    }
    void expect_refused(const QString& reason, const QString& user = {}) {
        expect_refused(folder, reason, user, folder);
    }

    QString database() const { return QDir(folder).filePath(Module1::kDatabaseFileName); }

    QTemporaryDir base;
    const QString folder = base.filePath("data");
};

TEST_F(UnusableDatabase, ASoundFileOpensForAClerkWithoutRootRights) {
    make_register();
    give_to(kUser, {folder, database()});
    const Outcome outcome = start_program(folder, kUser);
    EXPECT_EQ(outcome.status, 0) << outcome.errors.toStdString();
    EXPECT_EQ(outcome.boxes, QStringList()) << outcome.errors.toStdString();
}

TEST_F(UnusableDatabase, AReadOnlyFile) {
    make_register();
    give_to(kUser, {folder, database()});
    ASSERT_TRUE(QFile::setPermissions(database(), QFile::ReadOwner | QFile::ReadOther));
    expect_refused("the file is read-only", kUser);
}

TEST_F(UnusableDatabase, AReadOnlyFolder) {
    make_register();
    give_to(kUser, {folder, database()});
    ASSERT_TRUE(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
    expect_refused("the folder " + QDir::toNativeSeparators(folder) + " is not writable", kUser);
}

TEST_F(UnusableDatabase, AMissingFileInAReadOnlyFolderIsNotCreated) {
    give_to(kUser, {folder});
    ASSERT_TRUE(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
    const Outcome outcome = start_program(folder, kUser);
    EXPECT_EQ(outcome.status, 1) << outcome.errors.toStdString();
    ASSERT_EQ(outcome.boxes.size(), 1) << outcome.errors.toStdString();
    EXPECT_TRUE(outcome.boxes[0].contains("cannot create a file in the folder"))
        << outcome.boxes[0].toStdString();
    EXPECT_EQ(store::test::folder_names(folder), QStringList());
}

TEST_F(UnusableDatabase, AReadOnlyDiskStopsRootToo) {
    make_register();
    const QString view = base.filePath("view");
    ASSERT_TRUE(QDir().mkpath(view));
    QString refused;
    const auto mount = Mount::read_only_view(folder, view, &refused);
    if (!mount)
        GTEST_SKIP() << "this machine does not let the test mount a read-only view: "
                     << refused.toStdString();
    expect_refused(view, "the file is read-only", {}, folder);
}

TEST_F(UnusableDatabase, AFileDamagedInTheMiddle) {
    make_register();
    QFile file(database());
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_GT(file.size(), 16 * 4096) << "the register should span many pages";
    file.seek(file.size() / 2);
    file.write(QByteArray(512, '\x5a'));
    file.close();
    expect_refused("the file is damaged (");
}

TEST_F(UnusableDatabase, AFileKeyedWithAnotherPassword) {
    ASSERT_TRUE(store::create_database_if_missing(database(), "not-the-password"));
    expect_refused("the password does not fit or the file is damaged (file is encrypted or is "
                   "not a database)");
}

} // namespace
} // namespace acceptance
