// Opening, statements and transactions over one SQLCipher handle.
#include "connection.h"

#include "connection_string.h"
#include "dialect.h"
#include "engine.h"
#include "store_error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <sys/stat.h>
#include <tuple>

namespace store {
namespace {

[[noreturn]] void refuse(const QString& reason) {
    throw StoreError(reason);
}

// Checks made before the engine touches the file, so that they can fail without side effects.
void check_file_usable(const QString& path) {
    const QFileInfo file(path);
    const QFileInfo folder(file.absolutePath());
    if (!folder.isDir())
        refuse(QStringLiteral("the folder %1 does not exist")
                   .arg(QDir::toNativeSeparators(folder.absoluteFilePath())));
    if (!file.exists())
        refuse(QStringLiteral("the file does not exist"));
    if (!file.isFile())
        refuse(QStringLiteral("it is not a file"));
    if (!file.isReadable())
        refuse(QStringLiteral("the file cannot be read (permission denied)"));
    if (!file.isWritable())
        refuse(QStringLiteral("the file is read-only"));
    if (!folder.isWritable())
        refuse(QStringLiteral("the folder %1 is not writable")
                   .arg(QDir::toNativeSeparators(folder.absoluteFilePath())));
    if (file.size() == 0)
        refuse(QStringLiteral("the file is empty, not a database"));
}

// Reads the schema once; this is where a wrong password or a damaged file shows.
void check_readable(sqlite3* db) {
    const int rc =
        sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
    if (rc == SQLITE_OK)
        return;
    const QString engine_reason = QString::fromUtf8(sqlite3_errmsg(db));
    switch (rc & 0xff) {
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
        throw StoreError(QStringLiteral("the password does not fit or the file is damaged (%1)")
                             .arg(engine_reason),
                         sqlite3_extended_errcode(db));
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        throw StoreError(
            QStringLiteral("the file is locked by another program (%1)").arg(engine_reason),
            sqlite3_extended_errcode(db));
    default:
        engine::fail(db, rc);
    }
}

void switch_to_write_ahead_log(sqlite3* db) {
    sqlite3_stmt* stmt = nullptr;
    int rc = sqlite3_prepare_v2(db, "PRAGMA journal_mode = WAL", -1, &stmt, nullptr);
    if (rc != SQLITE_OK)
        engine::fail(db, rc);
    rc = sqlite3_step(stmt);
    const bool wal = rc == SQLITE_ROW &&
                     QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)))
                             .compare(u"wal", Qt::CaseInsensitive) == 0;
    sqlite3_finalize(stmt);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE)
        engine::fail(db, rc);
    if (!wal)
        refuse(QStringLiteral("the journal cannot be written beside the file"));
    // Every commit reaches the disk before the clerk is told "Saved". A page cache of 64 MiB
    // keeps the reference-number index decrypted between look-ups.
    engine::exec(db, "PRAGMA synchronous = FULL; PRAGMA cache_size = -65536");
}

// The device and inode of the file at `path`, or nothing when there is none.
std::optional<std::pair<std::uint64_t, std::uint64_t>> file_identity(const QString& path) {
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return std::nullopt;
    return std::pair<std::uint64_t, std::uint64_t>(status.st_dev, status.st_ino);
}

bool only_blanks_left(const char* tail) {
    for (; *tail != '\0'; ++tail)
        if (!std::isspace(static_cast<unsigned char>(*tail)) && *tail != ';')
            return false;
    return true;
}

} // namespace

Connection::~Connection() {
    Close();
}

void Connection::Open(const QString& connection_string, const QString&, const QString&, long) {
    if (db_ != nullptr)
        refuse(QStringLiteral("the connection is already open"));
    const ConnectionSettings settings = parse_connection_string(connection_string);
    const QString path = QFileInfo(settings.data_source).absoluteFilePath();
    check_file_usable(path);
    sqlite3* db = engine::open_keyed(path, settings.password, SQLITE_OPEN_READWRITE);
    const auto identity = file_identity(path);
    db_ = db;
    path_ = path;
    password_ = settings.password;
    try {
        if (!identity)
            refuse(QStringLiteral("the file was removed while it was being opened"));
        std::tie(device_, inode_) = *identity;
        sqlite3_busy_timeout(db, busy_timeout_ms_);
        check_readable(db);
        if (sqlite3_db_readonly(db, "main") == 1)
            refuse(QStringLiteral("the file is read-only"));
        if (open_check_)
            open_check_(*this);
        switch_to_write_ahead_log(db);
    } catch (...) {
        Close();
        throw;
    }
    connection_string_ = connection_string;
}

void Connection::Close() {
    if (db_ == nullptr)
        return;
    rollback_quietly();
    // On a file replaced meanwhile (a restore), the engine would delete the journal by its name,
    // which is now the new file's: it keeps it, emptied into the old file.
    if (const auto identity = file_identity(path_);
        !identity || identity->first != device_ || identity->second != inode_) {
        int keep = 1;
        sqlite3_file_control(db_, "main", SQLITE_FCNTL_PERSIST_WAL, &keep);
    }
    engine::close(db_);
    db_ = nullptr;
    path_.clear();
    password_.clear();
}

std::int64_t Connection::Execute(const QString& statement, long) {
    require_open();
    require_same_file();
    sqlite3_stmt* stmt = prepare(statement);
    int rc = SQLITE_ROW;
    while (rc == SQLITE_ROW)
        rc = sqlite3_step(stmt);
    if (rc != SQLITE_DONE)
        engine::fail_statement(stmt);
    sqlite3_finalize(stmt);
    return sqlite3_changes(db_);
}

std::optional<std::int64_t> Connection::ReadNumber(const QString& query) {
    require_open();
    sqlite3_stmt* stmt = prepare_translated(translate_dialect(query.toStdString()));
    const int rc = sqlite3_step(stmt);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE)
        engine::fail_statement(stmt);
    std::optional<std::int64_t> number;
    if (rc == SQLITE_ROW && sqlite3_column_type(stmt, 0) != SQLITE_NULL)
        number = sqlite3_column_int64(stmt, 0);
    sqlite3_finalize(stmt);
    return number;
}

void Connection::CopyTo(const QString& target) {
    require_open();
    const QString partial = target + QStringLiteral(".partial");
    QFile::remove(partial);
    sqlite3* copy =
        engine::open_keyed(partial, password_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    sqlite3_backup* backup = sqlite3_backup_init(copy, "main", db_, "main");
    int rc = backup != nullptr ? sqlite3_backup_step(backup, -1) : sqlite3_errcode(copy);
    if (backup != nullptr && sqlite3_backup_finish(backup) != SQLITE_OK && rc == SQLITE_DONE)
        rc = sqlite3_errcode(copy);
    QString reason = QString::fromUtf8(sqlite3_errmsg(copy));
    engine::close(copy);
    if (rc == SQLITE_DONE && std::rename(QFile::encodeName(partial).constData(),
                                         QFile::encodeName(target).constData()) != 0)
        reason = QString::fromLocal8Bit(std::strerror(errno)), rc = SQLITE_CANTOPEN;
    if (rc != SQLITE_DONE) {
        QFile::remove(partial);
        refuse(QStringLiteral("the file could not be copied to %1 (%2)")
                   .arg(QDir::toNativeSeparators(target), reason));
    }
}

void Connection::BeginTrans() {
    require_open();
    if (InTransaction())
        refuse(QStringLiteral("a transaction is already in progress"));
    engine::exec(db_, "BEGIN IMMEDIATE");
}

void Connection::CommitTrans() {
    require_open();
    if (!InTransaction())
        refuse(QStringLiteral("no transaction is in progress"));
    require_same_file();
    engine::exec(db_, "COMMIT");
}

bool Connection::InTransaction() const {
    return db_ != nullptr && sqlite3_get_autocommit(db_) == 0;
}

sqlite3_stmt* Connection::prepare(const QString& statement) {
    require_open();
    if (hook_)
        hook_(statement);
    // The engine reads a statement only up to a NUL: the rest would be dropped unseen.
    if (statement.contains(QChar::Null))
        refuse(QStringLiteral("the statement holds a NUL character, which cannot be stored"));
    return prepare_translated(translate_dialect(statement.toStdString()));
}

sqlite3_stmt* Connection::prepare_translated(const std::string& sql) {
    sqlite3_stmt* stmt = nullptr;
    const char* tail = nullptr;
    const int rc =
        sqlite3_prepare_v2(db_, sql.c_str(), static_cast<int>(sql.size() + 1), &stmt, &tail);
    if (rc != SQLITE_OK)
        engine::fail(db_, rc);
    if (stmt == nullptr)
        refuse(QStringLiteral("the statement is empty"));
    if (!only_blanks_left(tail)) {
        sqlite3_finalize(stmt);
        refuse(QStringLiteral("characters found after the end of the statement"));
    }
    return stmt;
}

void Connection::require_open() const {
    if (db_ == nullptr)
        refuse(QStringLiteral("the connection is closed"));
}

void Connection::require_same_file() const {
    const auto identity = file_identity(path_);
    if (!identity || identity->first != device_ || identity->second != inode_)
        refuse(QStringLiteral("the database file %1 was deleted or replaced while the program was "
                              "running, so nothing more is written to it. Close the program and "
                              "start it again")
                   .arg(QDir::toNativeSeparators(path_)));
}

void Connection::rollback_quietly() noexcept {
    if (InTransaction())
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
}

Transaction::Transaction(Connection& connection) : connection_(connection) {
    connection_.BeginTrans();
}

Transaction::~Transaction() {
    if (!finished_)
        connection_.rollback_quietly();
}

void Transaction::commit() {
    connection_.CommitTrans();
    finished_ = true;
}

} // namespace store
