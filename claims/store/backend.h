// What a Connection asks of the database it is opened on, so that the connection and the recordset
// stay the same whether the register is a file (file_backend.cpp) or a database server
// (server_backend.cpp). Internal to the store: the forms see only Connection and Recordset.
//
// Statements reach a backend already past the connection's hook and in the register's dialect
// (dialect.h); each backend translates them for its own engine.
#pragma once

#include "field_value.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace store::backend {

using Row = std::vector<FieldValue>;

// One query, checked when it is made (a malformed statement or an unknown column fails then) and
// run only when its rows are asked for.
class Query {
public:
    virtual ~Query() = default;
    virtual const QStringList& names() const = 0;
    // Runs the query and reads its whole result; again at every call.
    virtual std::vector<Row> read() = 0;
    // The number of rows, counted by the engine; nothing when it can only be had by reading.
    virtual std::optional<std::int64_t> count() = 0;
};

class Backend {
public:
    virtual ~Backend() = default;

    virtual std::unique_ptr<Query> prepare(const QString& statement) = 0;
    // Runs one statement that returns no rows; the number of rows it changed.
    virtual std::int64_t execute(const QString& statement) = 0;
    // The first column of the first row as a whole number; nothing for no row or a null.
    virtual std::optional<std::int64_t> read_number(const QString& query) = 0;

    virtual void begin() = 0;
    virtual void commit() = 0;
    virtual void rollback_quietly() noexcept = 0;
    virtual bool in_transaction() const = 0;

    // Runs once the open check passed, before anything is written.
    virtual void finish_open() {}
    // Throws StoreError when nothing more may be written (a file replaced meanwhile).
    virtual void check_writable() const {}
    // Runs `statement` now and again whenever the backend has to connect afresh, so that what a
    // session sets up for itself (scratch tables) is always there.
    virtual void keep_for_session(const QString& statement) { execute(statement); }
    // A copy of the whole database to a new file; only a file can be copied so.
    virtual void copy_to(const QString& target) = 0;
    // The database file's path, empty for a server.
    virtual QString path() const { return {}; }
    virtual bool is_server() const { return false; }
};

// Opens the file that the connection string names. Nothing is written yet.
std::unique_ptr<Backend> open_file(const QString& connection_string, int busy_timeout_ms);

// True for a libpq connection URI or "key=value" string, as opposed to the file's connection
// string with its "data source".
bool names_server(const QString& connection_string);

// Connects to the server that `conninfo` names, as the role it names (or libpq's usual sources
// give), with `password` when one is given.
std::unique_ptr<Backend> open_server(const QString& conninfo, const QString& password,
                                     int lock_timeout_ms);

} // namespace store::backend
