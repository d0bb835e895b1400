// The claim history as the file keeps it: two tables and the triggers on `detail` that fill them.
//
// Every insert, update and delete of a claim's row, whatever statement makes it, writes its
// history inside that statement, so a change and its history are committed or rolled back
// together and no write path can pass it by. One row of `claim_history` stands for one change of
// one claim (all statements of one transaction on the same claim make one change); each field
// that changed adds one row of `claim_history_fields` with its value before and after, stored
// exactly as the claim held it. A deletion lists every field the claim held, so its last contents
// can be shown and put back.
//
// The triggers ask three SQL functions that the store gives every connection it opens: the
// transaction's number, who is working (operating-system user and machine) and whether the insert
// puts back a deleted claim. A program without them cannot write `detail` at all. Both history
// tables refuse updates and deletes.
#pragma once

#include <QStringList>

struct sqlite3;

namespace store {

// The words a change is recorded with.
inline constexpr char kSavedNew[] = "saved new";
inline constexpr char kUpdated[] = "updated";
inline constexpr char kStatusRecorded[] = "status recorded";
inline constexpr char kDeleted[] = "deleted";
inline constexpr char kRestored[] = "restored";

// The statements that add the history tables and triggers to a file.
const QStringList& claim_history_statements();
// The triggers those statements leave.
const QStringList& claim_history_triggers();

// Gives the connection the functions the triggers call.
void register_history_functions(sqlite3* db);

class Connection;

// Makes the claims that the current transaction inserts from now on count as put back rather
// than saved new. Ends with the transaction.
void record_inserts_as_restored(Connection& connection);

} // namespace store
