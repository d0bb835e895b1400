// The register on a PostgreSQL server: its tables, triggers and roles, their creation in an empty
// database, the check made at every start, and the copy of a register file onto a server.
//
// The tables hold the same columns in the same order as the file's, dates as `date` columns and
// amounts as `numeric`. The server keeps the claims' history with the same tables and words as
// the file, written by triggers of its own (history_triggers.h tells what they record); the
// functions the history asks for answer with the server's transaction number and the clerk's
// role. `vetra_register` holds the layout's version in its one row.
//
// `--create-register` makes the role `vetra_clerk` (when the cluster lacks it), which may read
// and write the claims and add to their history but neither change the history nor drop or alter
// any table: an office grants it to each clerk's login role.
#pragma once

#include <QString>
#include <functional>

namespace store {

class Connection;

// The role each clerk's login is made a member of.
inline constexpr char kClerkRole[] = "vetra_clerk";

// The server's type of a claim column that is not text ("date", "numeric", "bigint"), or empty:
// what a value kept as text in the history is cast to when it goes back into the claim.
QString server_value_type(const QString& column);

// Creates the register in the database the connection is open on, in one transaction. Throws
// StoreError, changing nothing, when the database already holds any table of the register's
// names.
void create_server_register(Connection& connection);

// Throws StoreError unless the database holds a register of this program's layout: no register,
// a newer one or tables laid out otherwise are each named.
void check_server_register(Connection& connection);

// The server a connection string names, for messages: every part but the password.
QString server_name(const QString& conninfo);

// How far a copy has come: claims copied of all.
using CopyProgress = std::function<void(std::int64_t done, std::int64_t total)>;

// Copies every claim and the district list of the register file open on `file` into the
// server register open on `server`, which must hold no claim, in one transaction; then reads
// both back and compares them column by column. Throws StoreError naming the first difference
// (the copy is then already committed and is reported as unequal) or why nothing was copied.
// Returns the number of claims copied.
std::int64_t copy_register(Connection& file, Connection& server, const CopyProgress& progress);

} // namespace store
