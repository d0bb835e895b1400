// A connection to the register, and the guard that makes a group of statements one transaction.
//
// The register is either one password-protected database file (file_backend.cpp) or a database
// on a server (server_backend.cpp), chosen by the connection string: a libpq URI
// ("postgresql://host/dbname") or "key=value" string names a server, anything else the file's
// "data source". Either way a database that cannot be used is refused at Open with a StoreError
// and left as it was, and a second program waits up to the busy timeout for the other's write.
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
#include <memory>
#include <optional>

namespace store {

// The engine code of the StoreError of an Open that the server refused for want of a password
// that none of libpq's sources gave: the caller may ask the clerk for one and open again.
inline constexpr int kServerWantsPassword = 0x5057;

namespace backend {
class Backend;
class Query;
} // namespace backend

class Connection {
public:
    // Sees every statement text the connection is given (Execute and Recordset::Open) before it
    // runs; throwing from it makes that statement fail. Tests use it to record statements and to
    // break a save at a chosen statement.
    using StatementHook = std::function<void(const QString& statement)>;

    static constexpr int kDefaultBusyTimeoutMs = 5000;

    Connection();
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Opens the file named by the connection string's data source with its database password, or
    // the server a libpq string names. The user name and password of the call are used only for
    // a server: they stand in for the string's own when given.
    void Open(const QString& connection_string, const QString& user_id = {},
              const QString& password = {}, long options = adCmdUnspecified);
    // Closes the connection; an open transaction is rolled back. Closing a closed one does nothing.
    void Close();
    ObjectStateEnum State() const { return backend_ ? adStateOpen : adStateClosed; }
    // The string the connection was opened with (empty while it never was).
    const QString& ConnectionString() const { return connection_string_; }
    // The database file of the open connection; empty for a server.
    QString DatabasePath() const;
    // True while open on a database server.
    bool OnServer() const;

    // Runs one statement that returns no rows; returns the number of rows it changed.
    std::int64_t Execute(const QString& statement, long options = adCmdUnspecified);

    // The first column of the first row of `query` as a whole number, nothing when there is no
    // row or it is null. For the store's own bookkeeping: the statement hook does not see it.
    std::optional<std::int64_t> ReadNumber(const QString& query);

    // Copies the whole database, as this connection sees it, to a new file `target` keyed like
    // this one: written under another name first, then renamed over `target`. A file only.
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
    // Runs `statement` now and again whenever the connection to a server has to be made afresh,
    // so that what the connection sets up for itself (its scratch tables) is always there.
    void ExecuteForSession(const QString& statement);

private:
    friend class Recordset;
    friend class Transaction;

    // Runs the hook and makes the statement a query of the backend.
    std::unique_ptr<backend::Query> prepare(const QString& statement);
    void require_open() const;
    void rollback_quietly() noexcept;
    // Counts the Opens, so a recordset knows whether the connection it was made on is still open.
    std::uint64_t session() const { return session_; }

    std::unique_ptr<backend::Backend> backend_;
    std::uint64_t session_ = 0;
    QString connection_string_;
    StatementHook hook_;
    std::function<void(Connection&)> open_check_;
    int busy_timeout_ms_ = kDefaultBusyTimeoutMs;
};

// True when the connection string names a database server rather than a register file.
bool names_server(const QString& connection_string);

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
