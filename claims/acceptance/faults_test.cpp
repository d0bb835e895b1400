// The faults the register survives: a program killed mid-save, two programs saving on one file, a
// full disk, and files it cannot use. The savers are claims_writer child processes; the tests run
// as root, which mounts a small disk and runs the program as another user.
#include "acceptance.h"
#include "claim_statements.h"
#include "connection.h"
#include "demo_claims.h"
#include "schema.h"
#include "temporary_register.h"
#include "test_files.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <pwd.h>
#include <random>
#include <set>
#include <sys/mount.h>
#include <thread>
#include <unistd.h>

namespace acceptance {
namespace {

// A claims_writer child process (see claims_writer.cpp), started and ready to go.
struct Writer : QProcess {
    explicit Writer(const QStringList& arguments) {
        start(CLAIMS_WRITER, arguments);
        EXPECT_TRUE(waitForReadyRead(30000) && readLine() == "ready\n")
            << readAllStandardError().toStdString();
    }
    void go() {
        write("go\n");
        waitForBytesWritten();
    }
};

// Takes in what a writer printed: the claims the clerk was told are saved, under which number
// ("A-17" -> 117), and how many of them moved to another number. Returns the claim whose save
// began and was not reported saved.
QString take_in(Writer& writer, const QString& tag, std::map<QString, std::int64_t>& told,
                int& moved) {
    QString unfinished;
    std::int64_t before = 0;
    for (const QString& line :
         QString(writer.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts)) {
        const QStringList words = line.split(' ');
        const QString id = tag + '-' + words.value(1);
        if (words[0] == "saved") {
            told[id] = words[2].toLongLong();
            moved += words.size() == 4 ? 1 : 0;
            EXPECT_GT(told[id], std::exchange(before, told[id])) << "a writer's numbers rise";
        }
        unfinished = words[0] == "begin" ? id : QString();
    }
    return unfinished;
}

// Opens the register as the program's start does and checks it: a sound file, every row a whole
// claim, every claim the clerk was told is saved under its number. Returns the stored claims.
std::map<QString, std::int64_t> check_register(const QString& folder,
                                               const std::map<QString, std::int64_t>& told) {
    open_register(folder);
    EXPECT_EQ(Module1::db_conn.OnServer() ? "ok" : integrity(), "ok");
    std::map<QString, std::int64_t> stored;
    for (const Row& row : rows()) {
        EXPECT_EQ(row, numbered_row(row));
        stored[row.at("empname").text().section(' ', 1)] = refno(row); // "empname A-17"
    }
    for (const auto& [id, number] : told)
        EXPECT_EQ(stored[id], number) << id.toStdString();
    return stored;
}

class PowerCuts : public OnBoth {};
class TwoPrograms : public OnBoth {};
INSTANTIATE_TEST_SUITE_P(Register, PowerCuts, kBoth, backend_name);
INSTANTIATE_TEST_SUITE_P(Register, TwoPrograms, kBoth, backend_name);

TEST_P(PowerCuts, EveryClaimIsWholeOrAbsentAfterEachKill) {
    open_register(data.where);
    const unsigned seed = qEnvironmentVariableIsSet("VETRA_KILL_SEED") // repeats a run's kills
                              ? unsigned(qEnvironmentVariableIntValue("VETRA_KILL_SEED"))
                              : std::random_device{}() % 1000000;
    std::mt19937 random(seed);
    std::cout << "kill moments from VETRA_KILL_SEED=" << seed << std::endl;
    std::map<QString, std::int64_t> told;
    int cut_before_commit = 0, moved = 0;
    for (int kill = 0; kill < 50 && !HasFailure(); ++kill) { // stops at the first fault
        SCOPED_TRACE(kill);
        const QString tag = QStringLiteral("K%1").arg(kill);
        // Each statement of a save waits a millisecond, so that random kills land inside saves.
        Writer writer({data.where, tag, "0", "1000"});
        writer.go();
        std::this_thread::sleep_for(std::chrono::milliseconds(random() % 250));
        writer.kill(); // SIGKILL: no handler, no flush, no clean-up
        writer.waitForFinished();
        const QString unfinished = take_in(writer, tag, told, moved);
        cut_before_commit +=
            !unfinished.isEmpty() && !check_register(data.where, told).count(unfinished);
    }
    EXPECT_GT(cut_before_commit, 0) << "no kill cut a save short: the test proved nothing";
}

// A program killed while it upgrades an older register: the file stays usable in the older layout
// or the new one, with every claim, and the next start completes the upgrade.
TEST(PowerCut, AnUpgradeCutShortLeavesTheOlderRegisterUsable) {
    QTemporaryDir data;
    open_register(data.path());
    const QString file = Module1::database_path();
    store::Connection& db = Module1::db_conn;
    store::Recordset later; // back to layout 2: what layouts 3 and 4 brought goes
    later.Open("SELECT type, name FROM sqlite_master WHERE type IN ('table', 'trigger') AND "
               "name <> 'detail_changes' AND name NOT IN ('detail', 'preport', 'districts') "
               "AND NOT (type = 'table' AND name LIKE 'detail_search_%') ORDER BY type DESC",
               db);
    for (; !later.Eof(); later.MoveNext())
        db.Execute("DROP " + later.Fields(0).text() + " " + later.Fields(1).text());
    db.Execute("PRAGMA user_version = 2");
    // 65,536 claims, so that the upgrade lasts long enough for kills to land inside it.
    db.Execute("Insert into detail (refno, empname, hospital) values (1, 'S. Singh', 'Civil')");
    for (int doubling = 0; doubling < 16; ++doubling)
        db.Execute("Insert into detail (refno, empname, hospital) select refno + (select "
                   "max(refno) from detail), empname, hospital from detail");
    const QString connection_string = db.ConnectionString();
    store::TemporaryRegister::close_all();
    // Kills ever later, from before the copy aside until one finds the upgrade done.
    int cut_inside = 0;
    for (int delay = 100; delay < 20000 && !HasFailure(); delay += 150) {
        QProcess program;
        program.start(CLAIMS_WRITER, {data.path(), "U", "1"});
        std::this_thread::sleep_for(std::chrono::milliseconds(delay));
        program.kill();
        program.waitForFinished();
        store::Connection look; // as it lies: no check, no upgrade
        look.Open(connection_string);
        const auto layout = look.ReadNumber("PRAGMA user_version");
        EXPECT_TRUE(layout == 2 || layout == store::kSchemaVersion) << *layout;
        EXPECT_EQ(look.ReadNumber("Select count(*) from detail"), 65536);
        look.Close();
        cut_inside += layout == 2 && QFile::remove(file + ".before-upgrade") ? 1 : 0;
        if (layout == store::kSchemaVersion)
            break;
    }
    EXPECT_GT(cut_inside, 0) << "no kill landed inside the upgrade: the test proved nothing";
    open_register(data.path());
    EXPECT_EQ(integrity(), "ok");
    EXPECT_EQ(db.ReadNumber("PRAGMA user_version"), store::kSchemaVersion);
    EXPECT_EQ(db.ReadNumber("Select count(*) from detail_search"), 65536);
}

TEST_P(TwoPrograms, FiveHundredClaimsEachAtTheSameTime) {
    open_register(data.where);
    Writer a({data.where, "A", "500"}), b({data.where, "B", "500"});
    a.go();
    b.go();
    std::map<QString, std::int64_t> told;
    int moved = 0;
    for (auto [tag, writer] : {std::pair{"A", &a}, {"B", &b}}) {
        ASSERT_TRUE(writer->waitForFinished(600000));
        EXPECT_EQ(writer->exitCode(), 0) << writer->readAllStandardError().toStdString();
        take_in(*writer, tag, told, moved);
    }
    ASSERT_EQ(told.size(), 1000u);
    // Each save takes the largest number plus one at that moment: none skipped, none twice.
    std::set<std::int64_t> numbers;
    for (const auto& [id, number] : check_register(data.where, told))
        numbers.insert(number);
    EXPECT_EQ(numbers.size(), 1000u);
    EXPECT_EQ(*numbers.begin(), 101);
    EXPECT_EQ(*numbers.rbegin(), 1100);
    EXPECT_GT(moved, 0) << "the two writers never met: the test proved nothing";
}

// Every control of the form as the clerk sees it: texts, choices, dates, enabled or not.
QStringList form_contents(const QWidget& form) {
    QStringList contents;
    for (const QWidget* control : form.findChildren<QWidget*>())
        for (const char* shown : {"text", "currentText", "date"})
            if (const QVariant value = control->property(shown); value.isValid())
                contents << control->objectName() + ": " + value.toString() +
                                (control->isEnabled() ? "" : " (off)");
    return contents;
}

// The entry form on the register in `where`, claim D-1 saved; a SAVE that answers its question
// and returns the box it ends with.
struct EntryDesk {
    explicit EntryDesk(const QString& where) {
        open_register(where);
        form.show();
        enter(1);
        EXPECT_EQ(save().title, "Saved");
    }
    void enter(int n) {
        clerk.click("cmd_addnew");
        enter_claim(clerk, numbered_claim("D", n), false);
        typed = form_contents(form);
    }
    platform::ShownBox save() {
        boxes.answer(platform::vbYes);
        clerk.click("cmd_save");
        return boxes.shown().back();
    }
    // A SAVE that fails in one "Database Error" box whose text matches `reason`, the form keeping
    // every box, the number, the mode and the buttons.
    void expect_refused(const QString& reason) {
        const platform::ShownBox refusal = save();
        EXPECT_EQ(refusal.title, "Database Error");
        EXPECT_TRUE(refusal.text.contains(QRegularExpression(reason)))
            << refusal.text.toStdString();
        EXPECT_EQ(form_contents(form), typed);
    }
    platform::DialogScript boxes;
    frmBillEntry form;
    vetra_testing::Clerk clerk{form};
    QStringList typed;
};

TEST(FullDisk, ASaveThatFindsNoRoomFailsWholeAndTheFormKeepsItsInput) {
    QTemporaryDir data;
    const QByteArray folder = QFile::encodeName(data.path());
    if (::mount("tmpfs", folder.constData(), "tmpfs", 0, "size=1048576") != 0)
        GTEST_SKIP() << "the machine refuses to mount a small disk";
    const auto detach = [](const char* where) { ::umount2(where, MNT_DETACH); }; // files stay open
    const std::unique_ptr<const char, decltype(detach)> unmount(folder.constData(), detach);
    EntryDesk desk(data.path());
    QFile filler(data.filePath("filler"));
    ASSERT_TRUE(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    for (qint64 chunk = 4096; chunk > 0; chunk /= 2) // down to the last byte
        while (filler.write(QByteArray(chunk, '\0')) == chunk) {
        }
    filler.close();
    desk.enter(2);
    desk.expect_refused("^The record was not saved: .*full");
    EXPECT_EQ(check_register(data.path(), {{"D-1", 101}}).size(), 1u) << "as a restart finds it";

    // Room again: the same SAVE on the same form stores the claim.
    ASSERT_TRUE(QFile::remove(data.filePath("filler")));
    EXPECT_EQ(desk.save().title, "Saved");
    EXPECT_EQ(check_register(data.path(), {{"D-1", 101}, {"D-2", 102}}).size(), 2u);
}

// The server goes away in the middle of a save and stays away a while: the clerk is told at each
// SAVE, the form keeps every box, nothing of the claim is stored; once it is back, SAVE works.
TEST(ServerStopped, ASaveCutShortFailsWholeTheFormKeepsItsInputAndSavesOnceTheServerIsBack) {
    const store::RegisterPlace data(store::Backend::Server);
    const QString database = data.server->name();
    const auto allow = [&](bool allowed) {
        store::TestDatabase::administer("ALTER DATABASE " + database + " ALLOW_CONNECTIONS " +
                                        (allowed ? "true" : "false"));
    };
    const auto cut_connections = [&] {
        store::TestDatabase::administer("SELECT pg_terminate_backend(pid) FROM pg_stat_activity "
                                        "WHERE datname = '" +
                                        database + "'");
    };
    EntryDesk desk(data.where);
    Module1::db_conn.set_statement_hook([&](const QString& statement) {
        if (!statement.startsWith("Update detail set disease"))
            return;
        allow(false);
        cut_connections();
    });
    desk.enter(2);
    desk.expect_refused("^The record was not saved: ");
    Module1::db_conn.set_statement_hook({});
    desk.expect_refused("cannot be made again");

    allow(true);
    EXPECT_EQ(desk.save().title, "Saved");
    // A restart of the server that the idle program has not noticed yet.
    cut_connections();
    desk.enter(3);
    EXPECT_EQ(desk.save().title, "Saved");
    EXPECT_EQ(check_register(data.where, {{"D-1", 101}, {"D-2", 102}, {"D-3", 103}}).size(), 3u);
}

// Files the program cannot use: it must say which file and why in one box, end with status 1 and
// leave the file and its folder as they were. Permission cases run the program's start as the
// user nobody, since root ignores permission bits. A file of another password is StoreConnection's.
TEST(UnusableDatabase, OneBoxStatusOneAndNothingChanged) {
    enum Spoil { ReadOnlyFile, ReadOnlyFolder, Damage };
    const struct {
        bool claims;
        Spoil spoil;
        QString reason; // %1: the folder
    } cases[] = {{true, ReadOnlyFile, "the file is read-only"},
                 {true, ReadOnlyFolder, "the folder %1 is not writable"},
                 {false, ReadOnlyFolder, "cannot create a file in the folder %1"},
                 {true, Damage, "the file is damaged ("}};
    const passwd* clerk = ::getpwnam("nobody");
    ASSERT_NE(clerk, nullptr);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reason.toStdString());
        QTemporaryDir base;
        const QString folder = base.filePath("data"), file = folder + "/VETRA.mdb";
        ASSERT_TRUE(QDir().mkpath(folder));
        if (c.claims) { // a file of many pages
            open_register(folder);
            demo::save_claims(Module1::db_conn, demo::demo_claims(QDate(2025, 3, 31), 1500));
            store::TemporaryRegister::close_all();
        }
        const bool as_clerk = c.spoil == ReadOnlyFile || c.spoil == ReadOnlyFolder;
        if (as_clerk) {
            ASSERT_TRUE(QFile::setPermissions(base.path(), QFile::ReadOwner | QFile::ExeOwner |
                                                               QFile::ExeGroup | QFile::ExeOther));
            for (const QString& path : {folder, file})
                ASSERT_TRUE(!QFile::exists(path) ||
                            ::chown(QFile::encodeName(path).constData(), clerk->pw_uid, 0) == 0);
            ASSERT_TRUE(c.spoil == ReadOnlyFile
                            ? QFile::setPermissions(file, QFile::ReadOwner)
                            : QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
        } else {
            QFile damaged(file);
            ASSERT_TRUE(damaged.open(QIODevice::ReadWrite) && damaged.size() > 16 * 4096);
            damaged.seek(damaged.size() / 2);
            damaged.write(QByteArray(512, 'Z'));
        }
        const QByteArray bytes = store::test::file_bytes(file);
        const QStringList names = store::test::folder_names(folder);

        platform::DialogScript boxes(fail);
        const bool missing = !QFile::exists(file);
        if (missing)
            boxes.answer(platform::vbYes); // to the new register
        const AwaitWindow<frmLogin> login(sign_in);
        const AwaitWindow<VETRA> opened([](VETRA& window) { window.mnu_Exit->trigger(); });
        // Root can come back: the saved user stays root.
        ASSERT_EQ(::setresuid(as_clerk ? clerk->pw_uid : 0, as_clerk ? clerk->pw_uid : 0, 0), 0);
        const int status = run_register({"vetra", "--data-dir", folder});
        ASSERT_EQ(::setresuid(0, 0, 0), 0);
        EXPECT_EQ(status, 1);
        ASSERT_EQ(boxes.shown().size(), missing ? 2u : 1u);
        EXPECT_EQ(boxes.shown().back().title, "Database Error");
        EXPECT_TRUE(boxes.shown().back().text.startsWith(
            "The database " + file +
            " cannot be opened: " + QString(c.reason).replace("%1", folder)))
            << boxes.shown().back().text.toStdString();
        EXPECT_TRUE(store::test::file_bytes(file) == bytes) << "the file was changed";
        EXPECT_EQ(store::test::folder_names(folder), names);
    }
}

} // namespace
} // namespace acceptance
