// Keying and error conversion for SQLCipher handles.
//
// Every file is keyed with the password and a 4 KiB cipher page, set before the first read; a
// file keyed any other way reads as "not a database". Nothing here reads the file, so a wrong
// password shows only at the first statement.
//
// Every handle also gets the normalisation that the triggers keeping the search words call
// (layout 4), so no write of a claim through any handle of the program skips them.
#include "engine.h"

#include "search_text.h"
#include "store_error.h"

#include <QDir>
#include <QFileInfo>

namespace store::engine {
namespace {

// search_text(text, ...): the texts' normalised words in one line, in order; nulls add nothing.
void search_text(sqlite3_context* context, int argc, sqlite3_value** argv) {
    QString texts;
    for (int i = 0; i < argc; ++i) {
        if (const auto* text = sqlite3_value_text(argv[i]))
            texts += QString::fromUtf8(reinterpret_cast<const char*>(text),
                                       sqlite3_value_bytes(argv[i])) +
                     u' ';
    }
    const QByteArray words = search::normalised(texts).toUtf8();
    sqlite3_result_text(context, words.constData(), static_cast<int>(words.size()),
                        SQLITE_TRANSIENT);
}

void register_functions(sqlite3* db) {
    const int rc =
        sqlite3_create_function_v2(db, "search_text", -1, SQLITE_UTF8 | SQLITE_DETERMINISTIC,
                                   nullptr, search_text, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        fail(db, rc);
}

} // namespace

void fail(sqlite3* db, int rc) {
    const char* reason = db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    throw StoreError(QString::fromUtf8(reason), db != nullptr ? sqlite3_extended_errcode(db) : rc);
}

void fail_statement(sqlite3_stmt* stmt) {
    sqlite3* db = sqlite3_db_handle(stmt);
    StoreError error(QString::fromUtf8(sqlite3_errmsg(db)), sqlite3_extended_errcode(db));
    sqlite3_finalize(stmt);
    throw error;
}

void exec(sqlite3* db, const char* sql) {
    const int rc = sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        fail(db, rc);
}

sqlite3* open_keyed(const QString& path, const QString& password, int flags) {
    sqlite3* db = nullptr;
    const QByteArray file = path.toUtf8();
    // The engine cannot open a file whose full name, with room for its journal's suffix (8 bytes),
    // is longer than its limit; it would only say "unable to open database file".
    const sqlite3_vfs* vfs = sqlite3_vfs_find(nullptr);
    const qsizetype longest = vfs != nullptr ? vfs->mxPathname - 8 : file.size();
    if (file.size() > longest)
        throw StoreError(QStringLiteral("the name of the folder %1 is too long for the database "
                                        "(%2 bytes with the file name, at most %3). Keep the "
                                        "register in a folder with a shorter name")
                             .arg(QDir::toNativeSeparators(QFileInfo(path).absolutePath()))
                             .arg(file.size())
                             .arg(longest));
    int rc = sqlite3_open_v2(file.constData(), &db, flags, nullptr);
    try {
        if (rc != SQLITE_OK)
            fail(db, rc);
        sqlite3_extended_result_codes(db, 1);
        register_functions(db);
        // Without a password the file is read as a plain one, which a keyed file is not.
        if (!password.isEmpty()) {
            const QByteArray key = password.toUtf8();
            rc = sqlite3_key(db, key.constData(), static_cast<int>(key.size()));
            if (rc != SQLITE_OK)
                fail(db, rc);
            exec(db, "PRAGMA cipher_page_size = 4096");
        }
    } catch (...) {
        close(db);
        throw;
    }
    return db;
}

void close(sqlite3* db) {
    if (db != nullptr)
        sqlite3_close_v2(db);
}

} // namespace store::engine
