// A connection to one password-protected database file, and the guard that makes a group of
// statements one transaction.
//
// Open reads the file once before it changes anything: a wrong password, a damaged or empty
// file, a locked file or a folder where the journal cannot be written is reported as a
// StoreError and leaves the file and its folder exactly as they were. Only then is the file
// switched to write-ahead logging. A second program on the same file waits up to the busy
// timeout for a lock instead of failing at once.
//
// Before each statement the file at the database's path must still be the file that was opened
// (same device and inode): one deleted or replaced meanwhile, say by a restore, is refused, so
// nothing is written into a file that is gone or mixed into its replacement.
//
// Statements are text in the register's dialect (see dialect.h), one statement per call. Outside
// a transaction each statement commits on its own; a Transaction guard
// (BeginTrans, then CommitTrans or a rollback when it goes out of scope) makes several
// statements all or nothing.
#pragma once

#include "ado.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

struct sqlite3;
struct sqlite3_stmt;

namespace store {

class Connection {
public:
    // Sees every statement text the connection is given (Execute and Recordset::Open) before it
    // runs; throwing from it makes that statement fail. Tests use it to record statements and to
    // break a save at a chosen statement.
    using StatementHook = std::function<void(const QString& statement)>;

    static constexpr int kDefaultBusyTimeoutMs = 5000;

    Connection() = default;
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Opens the file named by the connection string's data source with its database password.
    // The user name and password of the call are accepted for the callers' sake and not used.
    void Open(const QString& connection_string, const QString& user_id = {},
              const QString& password = {}, long options = adCmdUnspecified);
    // Closes the connection; an open transaction is rolled back. Closing a closed one does nothing.
    void Close();
    ObjectStateEnum State() const { return db_ != nullptr ? adStateOpen : adStateClosed; }
    // The string the connection was opened with (empty while it never was).
    const QString& ConnectionString() const { return connection_string_; }
    // The database file of the open connection.
    const QString& DatabasePath() const { return path_; }

    // Runs one statement that returns no rows; returns the number of rows it changed.
    std::int64_t Execute(const QString& statement, long options = adCmdUnspecified);

    // The first column of the first row of `query` as a whole number, nothing when there is no
    // row or it is null. For the store's own bookkeeping: the statement hook does not see it.
    std::optional<std::int64_t> ReadNumber(const QString& query);

    // Copies the whole database, as this connection sees it, to a new file `target` keyed like
    // this one: written under another name first, then renamed over `target`.
    void CopyTo(const QString& target);

    void BeginTrans();
    void CommitTrans();
    bool InTransaction() const;

    void set_statement_hook(StatementHook hook) { hook_ = std::move(hook); }
    // Runs at each Open once the file reads, before anything is written to it: throwing from it
    // refuses the file and leaves it exactly as it was.
    void set_open_check(std::function<void(Connection&)> check) { open_check_ = std::move(check); }
    // Takes effect at the next Open.
    void set_busy_timeout(int milliseconds) { busy_timeout_ms_ = milliseconds; }

private:
    friend class Recordset;
    friend class Transaction;

    sqlite3* handle() const { return db_; }
    // Runs the hook, translates the dialect and prepares exactly one statement.
    sqlite3_stmt* prepare(const QString& statement);
    sqlite3_stmt* prepare_translated(const std::string& sql);
    void require_open() const;
    // Throws StoreError when the file at path_ is no longer the one opened.
    void require_same_file() const;
    void rollback_quietly() noexcept;

    sqlite3* db_ = nullptr;
    QString connection_string_;
    QString path_;
    QString password_;
    std::uint64_t device_ = 0;
    std::uint64_t inode_ = 0;
    StatementHook hook_;
    std::function<void(Connection&)> open_check_;
    int busy_timeout_ms_ = kDefaultBusyTimeoutMs;
};

// Makes the statements run while it lives one transaction: commit() keeps them, leaving the scope
// without commit() (an exception, an early return) rolls them all back.
class Transaction {
public:
    explicit Transaction(Connection& connection);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void commit();

private:
    Connection& connection_;
    bool finished_ = false;
};

} // namespace store
