// The engine's online backup, the checks of a copy, the restore and the stray journal.
#include "backup.h"

#include "automatic.h"
#include "connection.h"
#include "connection_string.h"
#include "dedetail.h"
#include "engine.h"
#include "module1.h"
#include "reports/whole_file.h"
#include "schema.h"
#include "store_error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace backup {
namespace {

using store::StoreError;

// Room left beside a copy for its journal's bookkeeping.
constexpr std::int64_t kMargin = 1 << 20;

QString native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

QString system_reason(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

// Closes the handle whatever happens to the work done on it.
struct Handle {
    sqlite3* db;
    explicit Handle(sqlite3* opened) : db(opened) {}
    ~Handle() { store::engine::close(db); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
};

std::int64_t number(sqlite3* db, const char* query) {
    sqlite3_stmt* stmt = nullptr;
    const int rc = sqlite3_prepare_v2(db, query, -1, &stmt, nullptr);
    if (rc != SQLITE_OK)
        store::engine::fail(db, rc);
    if (sqlite3_step(stmt) != SQLITE_ROW)
        store::engine::fail_statement(stmt);
    const std::int64_t value = sqlite3_column_int64(stmt, 0);
    sqlite3_finalize(stmt);
    return value;
}

// Reads every page once; a copy that is not whole says where.
QString soundness(sqlite3* db, const char* check) {
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, check, -1, &stmt, nullptr) != SQLITE_OK)
        return QString::fromUtf8(sqlite3_errmsg(db));
    const int rc = sqlite3_step(stmt);
    const QString finding =
        rc == SQLITE_ROW
            ? QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)))
            : QString::fromUtf8(sqlite3_errmsg(db));
    sqlite3_finalize(stmt);
    return finding;
}

// A unique empty file in `folder` for the owner only, named after `name`.
QString temporary_in(const QString& folder, const QString& name) {
    QByteArray pattern = QFile::encodeName(QDir(folder).filePath("." + name + ".XXXXXX"));
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0)
        throw StoreError(QStringLiteral("cannot write in the folder %1: %2")
                             .arg(native(folder), system_reason(errno)));
    ::close(fd);
    return QFile::decodeName(pattern);
}

void remove_with_side_files(const QString& path) {
    for (const char* suffix : {"", "-journal", "-wal", "-shm"})
        QFile::remove(path + suffix);
}

void require_room(const QString& folder, std::int64_t bytes) {
    struct statvfs disk {};
    if (::statvfs(QFile::encodeName(folder).constData(), &disk) != 0)
        throw StoreError(QStringLiteral("the folder %1 cannot be used: %2")
                             .arg(native(folder), system_reason(errno)));
    const auto free = static_cast<std::int64_t>(disk.f_bavail * disk.f_frsize);
    if (free < bytes + kMargin)
        throw StoreError(QStringLiteral("it needs %1 MB and only %2 MB are free in %3")
                             .arg((bytes + kMargin) / 1000000 + 1)
                             .arg(free / 1000000)
                             .arg(native(folder)));
}

void rename_into_place(const QString& temporary, const QString& path) {
    QString reason;
    if (!reports::renameWholeFile(temporary, path, &reason))
        throw StoreError(
            QStringLiteral("the copy cannot be named %1: %2").arg(native(path), reason));
}

// Opens a finished copy without writing to it and checks it whole.
Copy check_copy(const QString& path, const QString& password) {
    Handle copy(store::engine::open_keyed(path, password, SQLITE_OPEN_READONLY));
    // Every page is read, decrypted against its checksum and its tree structure checked. The
    // indexes are not compared with the rows again: the pages are the source's, byte for byte,
    // and comparing them would double the time of a backup.
    const QString finding = soundness(copy.db, "PRAGMA quick_check(1)");
    if (finding != "ok")
        throw StoreError(QStringLiteral("the copy does not read back sound (%1)").arg(finding));
    return {path,
            number(copy.db, "SELECT count(*) FROM detail"),
            static_cast<int>(number(copy.db, "PRAGMA user_version")),
            {},
            {}};
}

// Copies the bytes of `from` into the existing file `to`, flushed to the disk.
void copy_bytes(const QString& from, const QString& to) {
    QFile in(from), out(to);
    if (!in.open(QIODevice::ReadOnly))
        throw StoreError(
            QStringLiteral("the file %1 cannot be read: %2").arg(native(from), in.errorString()));
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw StoreError(out.errorString());
    while (!in.atEnd()) {
        const QByteArray block = in.read(1 << 20);
        if (block.isEmpty() && in.error() != QFileDevice::NoError)
            throw StoreError(QStringLiteral("the file %1 cannot be read: %2")
                                 .arg(native(from), in.errorString()));
        if (out.write(block) != block.size())
            throw StoreError(out.errorString());
    }
    if (!out.flush() || ::fsync(out.handle()) != 0)
        throw StoreError(system_reason(errno));
}

enum class Reading { Sound, Damaged, Unsure };

// Reads the register at `uri` (with its journal unless the URI says otherwise) whole, without
// writing. Only a read that fails on the content says Damaged: a lock or an unreadable side file
// says nothing about it.
Reading read_whole(const QString& uri, const QString& password) {
    sqlite3* opened = nullptr;
    try {
        opened = store::engine::open_keyed(uri, password, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI);
    } catch (const StoreError&) {
        return Reading::Unsure;
    }
    Handle db(opened);
    sqlite3_busy_timeout(db.db, store::Connection::kDefaultBusyTimeoutMs);
    sqlite3_stmt* stmt = nullptr;
    int rc = sqlite3_prepare_v2(db.db, "PRAGMA quick_check(1)", -1, &stmt, nullptr);
    bool sound = false;
    if (rc == SQLITE_OK) {
        rc = sqlite3_step(stmt);
        sound = rc == SQLITE_ROW &&
                qstrcmp(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)), "ok") == 0;
    }
    sqlite3_finalize(stmt);
    if (sound)
        return Reading::Sound;
    const int kind = rc & 0xff;
    return rc == SQLITE_ROW || kind == SQLITE_NOTADB || kind == SQLITE_CORRUPT ? Reading::Damaged
                                                                               : Reading::Unsure;
}

QString uri(const QString& path, const char* query) {
    return "file:" +
           QString::fromUtf8(QUrl::toPercentEncoding(QFileInfo(path).absoluteFilePath(), "/")) +
           query;
}

} // namespace

Copy back_up(const QString& register_path, const QString& password, const QString& target) {
    const QFileInfo to(target);
    const QString folder = to.absolutePath();
    if (!QFileInfo(folder).isDir())
        throw StoreError(QStringLiteral("the folder %1 does not exist").arg(native(folder)));
    Handle source(store::engine::open_keyed(register_path, password, SQLITE_OPEN_READWRITE));
    sqlite3_busy_timeout(source.db, store::Connection::kDefaultBusyTimeoutMs);
    // One read snapshot for the count and the copy: saves meanwhile go on and are not in either.
    store::engine::exec(source.db, "BEGIN");
    const std::int64_t claims = number(source.db, "SELECT count(*) FROM detail");
    require_room(folder,
                 number(source.db, "PRAGMA page_count") * number(source.db, "PRAGMA page_size"));
    const QString temporary = temporary_in(folder, to.fileName());
    try {
        {
            Handle copy(store::engine::open_keyed(temporary, password, SQLITE_OPEN_READWRITE));
            sqlite3_backup* engine_backup = sqlite3_backup_init(copy.db, "main", source.db, "main");
            if (engine_backup == nullptr)
                store::engine::fail(copy.db, sqlite3_errcode(copy.db));
            const int rc = sqlite3_backup_step(engine_backup, -1);
            sqlite3_backup_finish(engine_backup);
            if ((rc & 0xff) == SQLITE_FULL || (rc & 0xff) == SQLITE_IOERR)
                throw StoreError(QStringLiteral("the copy could not be written in %1 (%2); the "
                                                "disk may be full or gone")
                                     .arg(native(folder), QString::fromUtf8(sqlite3_errstr(rc))));
            if (rc != SQLITE_DONE)
                store::engine::fail(copy.db, rc);
            // The copy stands alone: it never needs a journal beside it to be read.
            store::engine::exec(copy.db, "PRAGMA journal_mode = DELETE");
        }
        store::engine::exec(source.db, "COMMIT");
        Copy made = check_copy(temporary, password);
        if (made.claims != claims)
            throw StoreError(QStringLiteral("the copy holds %1 claims, the register %2")
                                 .arg(made.claims)
                                 .arg(claims));
        rename_into_place(temporary, to.absoluteFilePath());
        made.path = to.absoluteFilePath();
        made.taken = QFileInfo(made.path).lastModified();
        return made;
    } catch (...) {
        remove_with_side_files(temporary);
        throw;
    }
}

Copy restore(const QString& register_path, const QString& password, const QString& backup_file,
             const QDateTime& now, const std::function<void()>& close_register) {
    const QFileInfo chosen(backup_file);
    if (!chosen.isFile())
        throw StoreError(QStringLiteral("it is not a file"));
    const QFileInfo live(register_path);
    const QString folder = live.absolutePath();
    require_room(folder, chosen.size());
    const QString temporary = temporary_in(folder, live.fileName());
    Copy restored{chosen.absoluteFilePath(), 0, 0, chosen.lastModified(), {}};
    try {
        copy_bytes(backup_file, temporary);
        // A journal beside the chosen copy (a register set aside) belongs to it and comes along.
        if (QFileInfo(backup_file + "-wal").size() > 0)
            copy_bytes(backup_file + "-wal", temporary + "-wal");
        store::Connection check;
        check.set_open_check([](store::Connection& opened) {
            store::check_claims_schema(opened);
            store::check_file_sound(opened);
        });
        check.Open("Data Source=" + store::connection_string_value(temporary) +
                   ";Jet OLEDB:Database Password=" + store::connection_string_value(password));
        restored.claims = check.ReadNumber("SELECT count(*) FROM detail").value_or(0);
        restored.layout = static_cast<int>(check.ReadNumber("PRAGMA user_version").value_or(0));
        check.Execute("PRAGMA journal_mode = DELETE"); // folds the journal in, leaves none
        check.Close();
    } catch (...) {
        remove_with_side_files(temporary);
        throw;
    }
    close_register();
    QString aside = register_path + ".before-restore-" + now.toString("yyyyMMdd-HHmmss");
    for (int n = 2; QFileInfo::exists(aside) || QFileInfo::exists(aside + "-wal"); ++n)
        aside = register_path + ".before-restore-" + now.toString("yyyyMMdd-HHmmss") + '-' +
                QString::number(n);
    QStringList moved;
    for (const char* suffix : {"", "-wal", "-shm"}) {
        const QString from = register_path + suffix;
        if (QFileInfo::exists(from) && !QFile::rename(from, aside + suffix)) {
            for (const QString& back : moved) // as it was
                QFile::rename(aside + back, register_path + back);
            remove_with_side_files(temporary);
            throw StoreError(
                QStringLiteral("the register %1 cannot be moved aside").arg(native(from)));
        }
        moved << suffix;
    }
    restored.set_aside = aside;
    try {
        rename_into_place(temporary, register_path);
    } catch (...) {
        for (const QString& back : moved)
            QFile::rename(aside + back, register_path + back);
        throw;
    }
    return restored;
}

QStringList set_aside_stray_journal(const QString& register_path, const QString& password,
                                    const QDateTime& now) {
    const QString journal = register_path + "-wal";
    if (QFileInfo(journal).size() == 0 ||
        read_whole(uri(register_path, ""), password) != Reading::Damaged ||
        read_whole(uri(register_path, "?immutable=1"), password) != Reading::Sound)
        return {};
    QStringList names;
    const QString stray = ".stray-" + now.toString("yyyyMMdd-HHmmss");
    for (const char* suffix : {"-wal", "-shm"}) {
        const QString from = register_path + suffix;
        if (QFileInfo::exists(from) && QFile::rename(from, from + stray))
            names << from + stray;
    }
    return names;
}

Copy FileRegister::back_up(const QString& target) {
    return backup::back_up(Module1::database_path(), Module1::kDatabasePassword, target);
}

Copy FileRegister::restore(const QString& backup_file, const QDateTime& now) {
    bool closed = false;
    const auto close = [&closed] {
        for (store::Recordset* open :
             {&Module1::rs_main, &Module1::rs_aux, &DEDetail::rsdetail, &DEDetail::rsPendancy})
            open->Close();
        Module1::db_conn.Close();
        DEDetail::Connection1.Close();
        closed = true;
    };
    Copy restored;
    try {
        restored = backup::restore(Module1::database_path(), Module1::kDatabasePassword,
                                   backup_file, now, close);
    } catch (const StoreError&) {
        if (closed) // the register was put back as it was
            Module1::open_database();
        throw;
    }
    try {
        Module1::open_database(); // an older layout is upgraded as at start
    } catch (const StoreError& e) {
        throw ReopenError(restored, e.reason());
    }
    return restored;
}

QString FileRegister::automatic_folder() const {
    return backup::automatic_folder(Module1::database_path());
}

} // namespace backup
