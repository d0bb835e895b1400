// Thin helpers over SQLCipher's C API shared by the connection, the recordset and the schema:
// keying a handle the one way every database file of the register is keyed, and turning engine
// failures into StoreError. Internal to the store.
#pragma once

#define SQLITE_HAS_CODEC 1
#include <QString>
#include <sqlcipher/sqlite3.h>
#include <string>

namespace store::engine {

// Throws StoreError with the engine's reason for `rc` on `db`.
[[noreturn]] void fail(sqlite3* db, int rc);

// Finalizes a statement whose step failed and throws StoreError with its reason.
[[noreturn]] void fail_statement(sqlite3_stmt* stmt);

// Runs statements that return no rows the caller needs; throws StoreError on failure.
void exec(sqlite3* db, const char* sql);

// Opens `path` with `flags` and keys it with `password`; the handle is closed again on failure.
sqlite3* open_keyed(const QString& path, const QString& password, int flags);

// Closes a handle; statements still open keep it alive until they are finalized.
void close(sqlite3* db);

} // namespace store::engine
