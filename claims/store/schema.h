// The claims database: its tables, the district list it is delivered with, and the creation of
// a new file.
//
// `detail` holds one row per claim. Its column order is part of the format, because a whole row
// is read by position: 0 is an automatic row id, 1 to 34 the claim as entered, then the decision
// (billstatus, amtapproved, appdate, remarks), and last the number of changes made to the claim
// (kept by the store on every update; layout 2). `detail_search` holds the normalised words each
// claim is searched by, kept by triggers on every write of `detail` (layout 4). `preport` is the
// scratch table of the pendency report, which each connection shadows with a temporary one of its
// own, and `districts` the district names the reports count by. PRAGMA user_version records the
// version of this layout. Layout 3 adds the claims' history
// (history_triggers.h).
//
// A new file is built completely under a temporary name in the same folder and only then given
// its name, so a half-made file never stands as the database, and an existing file is never
// replaced.
#pragma once

#include <QString>
#include <QStringList>

namespace store {

class Connection;

inline constexpr int kSchemaVersion = 4;

// The columns of `detail`, in order.
const QStringList& claim_columns();

// The columns of the stored table `name` in the current layout, in order; none for another name.
QStringList stored_columns(const QString& name);
// The columns of `table` as the open database holds them, in their order.
QStringList column_names(Connection& connection, const QString& table);

// The twenty district names, in the order the forms offer them.
const QStringList& district_names();

// Creates the database at `path`, keyed with `password`, unless a file stands there already.
// Returns whether it created one. Throws StoreError when it cannot.
bool create_database_if_missing(const QString& path, const QString& password);

// Throws StoreError, naming the first difference, unless the open connection holds the register's
// tables with exactly the columns (names and order) of a layout this program knows.
void check_claims_schema(Connection& connection);

// Brings a file of an older layout to the current one in one transaction, after copying it whole
// to `copy_path`. Does nothing to a file of the current layout.
void upgrade_claims_schema(Connection& connection, const QString& copy_path);

// Gives the connection its own empty scratch tables for the reports.
void create_scratch_tables(Connection& connection);

// Reads every page of the file's tables and indexes once and throws StoreError when one does not
// read back sound: a file damaged anywhere is refused when it is opened, before a clerk works on
// it and before anything is written to it.
void check_file_sound(Connection& connection);

} // namespace store
