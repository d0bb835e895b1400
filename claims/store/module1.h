// The program-wide database objects every form shares, and the opening of the database.
//
// There is one connection, `db_conn`, opened once when the main window loads and kept until the
// program ends; two general-purpose recordsets, `rs_main` and `rs_aux`, that each form closes and
// reopens for its next query; the statement text being assembled, `sql_text`; and `reply`, the
// button code of the last Yes/No question as text. `app_path` is the folder that holds the
// database, set by the program's start before anything opens it.
#pragma once

#include "connection.h"
#include "recordset.h"

#include <QString>

namespace Module1 {

inline constexpr char kDatabaseFileName[] = "VETRA.mdb";
inline constexpr char kDatabasePassword[] = "kertpol";

extern store::Connection db_conn;
extern store::Recordset rs_main;
extern store::Recordset rs_aux;
extern QString sql_text;
extern QString reply;
extern QString app_path;
// The libpq connection string of the register's server; empty for the file in `app_path`. The
// password the clerk typed for it, if the server asked for one: kept in memory only.
extern QString server;
extern QString server_password;

// The database file in `app_path`.
QString database_path();

// What the register is, for the clerk: the server (without a password) or the file's path.
QString register_name();

// Opens `db_conn` on the register's server, which must hold a register of this program's layout,
// or on the database in `app_path`, creating the database there first when it is
// missing, and points the reports' `DEDetail::Connection1` at the same file. A file of an older
// layout is upgraded, after a copy of it is kept as "VETRA.mdb.before-upgrade". Throws
// store::StoreError when the file cannot be created or opened, is damaged anywhere (every page
// is read once) or its tables differ from the known layouts; nothing is then left open, and the
// file is left as it was.
void open_database();

// The reference number for a new claim: 101 when no claim is stored, else the largest stored
// number plus one. Uses rs_main and rs_aux, which stay open on their queries.
QString allocate_reference_number();

} // namespace Module1
