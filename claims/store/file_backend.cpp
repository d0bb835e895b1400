// The register in one password-protected SQLCipher file.
//
// Open reads the file once before it changes anything: a wrong password, a damaged or empty
// file, a locked file or a folder where the journal cannot be written is reported as a
// StoreError and leaves the file and its folder exactly as they were. Only then is the file
// switched to write-ahead logging. A second program on the same file waits up to the busy
// timeout for a lock instead of failing at once.
//
// Before each write the file at the database's path must still be the file that was opened
// (same device and inode): one deleted or replaced meanwhile, say by a restore, is refused, so
// nothing is written into a file that is gone or mixed into its replacement.
#include "backend.h"
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
#include <sys/stat.h>
#include <tuple>

namespace store::backend {
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

sqlite3_stmt* prepare_sql(sqlite3* db, const std::string& sql) {
    sqlite3_stmt* stmt = nullptr;
    const char* tail = nullptr;
    const int rc =
        sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size() + 1), &stmt, &tail);
    if (rc != SQLITE_OK)
        engine::fail(db, rc);
    if (stmt == nullptr)
        refuse(QStringLiteral("the statement is empty"));
    if (!only_blanks_left(tail)) {
        sqlite3_finalize(stmt);
        refuse(QStringLiteral("characters found after the end of the statement"));
    }
    return stmt;
}

FieldValue read_column(sqlite3_stmt* stmt, int column, bool date_column) {
    switch (sqlite3_column_type(stmt, column)) {
    case SQLITE_NULL:
        return {};
    case SQLITE_INTEGER:
        return FieldValue(static_cast<std::int64_t>(sqlite3_column_int64(stmt, column)));
    case SQLITE_FLOAT:
        return FieldValue(sqlite3_column_double(stmt, column));
    default: {
        const auto* bytes = static_cast<const char*>(sqlite3_column_blob(stmt, column));
        QString text = QString::fromUtf8(bytes, sqlite3_column_bytes(stmt, column));
        if (date_column) {
            const QDate date = QDate::fromString(text, Qt::ISODate);
            if (date.isValid())
                return FieldValue(date);
        }
        return FieldValue(std::move(text));
    }
    }
}

// The statement text as the engine holds it, without a closing ';', fit to be wrapped.
std::string bare_text(sqlite3_stmt* stmt) {
    std::string sql = sqlite3_sql(stmt);
    while (!sql.empty() &&
           (sql.back() == ';' || std::isspace(static_cast<unsigned char>(sql.back()))))
        sql.pop_back();
    return sql;
}

// A prepared statement keeps its handle alive after the connection closed it, so a recordset
// outliving its connection only fails to read.
class FileQuery final : public Query {
public:
    explicit FileQuery(sqlite3_stmt* stmt) : stmt_(stmt) {
        const int columns = sqlite3_column_count(stmt);
        for (int i = 0; i < columns; ++i) {
            names_ << QString::fromUtf8(sqlite3_column_name(stmt, i));
            const char* declared = sqlite3_column_decltype(stmt, i);
            is_date_.push_back(declared != nullptr && QString::fromUtf8(declared).compare(
                                                          u"DATE", Qt::CaseInsensitive) == 0);
        }
    }
    ~FileQuery() override { sqlite3_finalize(stmt_); }
    FileQuery(const FileQuery&) = delete;
    FileQuery& operator=(const FileQuery&) = delete;

    const QStringList& names() const override { return names_; }

    std::vector<Row> read() override {
        std::vector<Row> rows;
        const auto columns = static_cast<int>(names_.size());
        int rc = sqlite3_step(stmt_);
        for (; rc == SQLITE_ROW; rc = sqlite3_step(stmt_)) {
            auto& row = rows.emplace_back();
            row.reserve(static_cast<std::size_t>(columns));
            for (int i = 0; i < columns; ++i)
                row.push_back(read_column(stmt_, i, is_date_[static_cast<std::size_t>(i)]));
        }
        sqlite3* db = sqlite3_db_handle(stmt_);
        if (rc != SQLITE_DONE) {
            StoreError error(QString::fromUtf8(sqlite3_errmsg(db)), sqlite3_extended_errcode(db));
            sqlite3_reset(stmt_);
            throw error;
        }
        sqlite3_reset(stmt_);
        return rows;
    }

    // Counting a bare table or an indexed condition costs far less than reading the rows.
    std::optional<std::int64_t> count() override {
        const std::string count_sql = "SELECT count(*) FROM (" + bare_text(stmt_) + ")";
        sqlite3_stmt* count = nullptr;
        if (sqlite3_prepare_v2(sqlite3_db_handle(stmt_), count_sql.c_str(), -1, &count, nullptr) !=
            SQLITE_OK) {
            sqlite3_finalize(count);
            return std::nullopt; // not a plain query (a PRAGMA, say)
        }
        if (sqlite3_step(count) != SQLITE_ROW)
            engine::fail_statement(count);
        const std::int64_t counted = sqlite3_column_int64(count, 0);
        sqlite3_finalize(count);
        return counted;
    }

private:
    sqlite3_stmt* stmt_;
    QStringList names_;
    std::vector<bool> is_date_;
};

class FileBackend final : public Backend {
public:
    FileBackend(const QString& path, const QString& password, int busy_timeout_ms)
        : path_(path), password_(password) {
        check_file_usable(path);
        db_ = engine::open_keyed(path, password, SQLITE_OPEN_READWRITE);
        try {
            const auto identity = file_identity(path);
            if (!identity)
                refuse(QStringLiteral("the file was removed while it was being opened"));
            std::tie(device_, inode_) = *identity;
            sqlite3_busy_timeout(db_, busy_timeout_ms);
            check_readable(db_);
            if (sqlite3_db_readonly(db_, "main") == 1)
                refuse(QStringLiteral("the file is read-only"));
        } catch (...) {
            engine::close(db_);
            throw;
        }
    }

    ~FileBackend() override {
        rollback_quietly();
        // On a file replaced meanwhile (a restore), the engine would delete the journal by its
        // name, which is now the new file's: it keeps it, emptied into the old file.
        if (!same_file()) {
            int keep = 1;
            sqlite3_file_control(db_, "main", SQLITE_FCNTL_PERSIST_WAL, &keep);
        }
        engine::close(db_);
    }
    FileBackend(const FileBackend&) = delete;
    FileBackend& operator=(const FileBackend&) = delete;

    void finish_open() override { switch_to_write_ahead_log(db_); }

    std::unique_ptr<Query> prepare(const QString& statement) override {
        return std::make_unique<FileQuery>(
            prepare_sql(db_, translate_dialect(statement.toStdString())));
    }

    std::int64_t execute(const QString& statement) override {
        check_writable();
        sqlite3_stmt* stmt = prepare_sql(db_, translate_dialect(statement.toStdString()));
        int rc = SQLITE_ROW;
        while (rc == SQLITE_ROW)
            rc = sqlite3_step(stmt);
        if (rc != SQLITE_DONE)
            engine::fail_statement(stmt);
        sqlite3_finalize(stmt);
        return sqlite3_changes(db_);
    }

    std::optional<std::int64_t> read_number(const QString& query) override {
        sqlite3_stmt* stmt = prepare_sql(db_, translate_dialect(query.toStdString()));
        const int rc = sqlite3_step(stmt);
        if (rc != SQLITE_ROW && rc != SQLITE_DONE)
            engine::fail_statement(stmt);
        std::optional<std::int64_t> number;
        if (rc == SQLITE_ROW && sqlite3_column_type(stmt, 0) != SQLITE_NULL)
            number = sqlite3_column_int64(stmt, 0);
        sqlite3_finalize(stmt);
        return number;
    }

    void begin() override { engine::exec(db_, "BEGIN IMMEDIATE"); }

    void commit() override {
        check_writable();
        engine::exec(db_, "COMMIT");
    }

    void rollback_quietly() noexcept override {
        if (in_transaction())
            sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    }

    bool in_transaction() const override { return sqlite3_get_autocommit(db_) == 0; }

    void check_writable() const override {
        if (!same_file())
            refuse(QStringLiteral("the database file %1 was deleted or replaced while the program "
                                  "was running, so nothing more is written to it. Close the "
                                  "program and start it again")
                       .arg(QDir::toNativeSeparators(path_)));
    }

    void copy_to(const QString& target) override {
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

    QString path() const override { return path_; }

private:
    bool same_file() const {
        const auto identity = file_identity(path_);
        return identity && identity->first == device_ && identity->second == inode_;
    }

    sqlite3* db_ = nullptr;
    QString path_;
    QString password_;
    std::uint64_t device_ = 0;
    std::uint64_t inode_ = 0;
};

} // namespace

std::unique_ptr<Backend> open_file(const QString& connection_string, int busy_timeout_ms) {
    const ConnectionSettings settings = parse_connection_string(connection_string);
    return std::make_unique<FileBackend>(QFileInfo(settings.data_source).absoluteFilePath(),
                                         settings.password, busy_timeout_ms);
}

} // namespace store::backend
