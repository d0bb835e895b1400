// libFuzzer entry for the statement dialect. Any bytes as a statement: the translation either
// refuses it or leaves no '#' outside quotes, copies a statement without one unchanged, and has
// nothing left to translate the second time. The same bytes as text a clerk pasted into a box:
// written as the forms write a text beside a date, the statement stays one well-formed statement
// that the engine reads back as exactly that text, trimmed, and the date as its ISO text.
#include "dialect.h"
#include "engine.h"
#include "store_error.h"
#include "values.h"

#include <QDate>
#include <QString>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

bool hash_outside_quotes(std::string_view sql) {
    char quote = 0;
    for (const char c : sql) {
        if (quote != 0) {
            if (c == quote)
                quote = 0;
        } else if (c == '\'' || c == '"') {
            quote = c;
        } else if (c == '#') {
            return true;
        }
    }
    return false;
}

void translate_any_statement(std::string_view statement) {
    std::string sql;
    try {
        sql = store::translate_dialect(statement);
    } catch (const store::StoreError&) {
        return;
    }
    if (hash_outside_quotes(sql) || store::translate_dialect(sql) != sql)
        std::abort();
    if (!hash_outside_quotes(statement) && sql != statement)
        std::abort();
}

// An engine of its own in memory: no file, no key.
sqlite3* engine() {
    static sqlite3* const db = [] {
        sqlite3* opened = nullptr;
        if (sqlite3_open(":memory:", &opened) != SQLITE_OK)
            std::abort();
        return opened;
    }();
    return db;
}

void store_pasted_text(const QString& text) {
    if (!store::text_storable(text))
        return; // the forms refuse it before any statement is built
    const QString statement = "Select " + store::text_literal(text) + ", " +
                              store::date_literal(QDate(2007, 3, 5)) + " where 1=1 -- ;";
    const std::string sql = store::translate_dialect(statement.toStdString());
    sqlite3_stmt* stmt = nullptr;
    const char* tail = nullptr;
    if (sqlite3_prepare_v2(engine(), sql.c_str(), static_cast<int>(sql.size() + 1), &stmt, &tail) !=
            SQLITE_OK ||
        stmt == nullptr || *tail != '\0')
        std::abort(); // a malformed statement, or a second one behind it
    if (sqlite3_step(stmt) != SQLITE_ROW)
        std::abort();
    const QByteArray expected = text.trimmed().toUtf8();
    const auto* stored = static_cast<const char*>(sqlite3_column_blob(stmt, 0));
    const int stored_size = sqlite3_column_bytes(stmt, 0);
    const std::string_view date(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 1)));
    if (QByteArray(stored, stored_size) != expected || date != "2007-03-05")
        std::abort();
    sqlite3_finalize(stmt);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 4096)
        return 0;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    translate_any_statement(bytes);
    store_pasted_text(QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size())));
    return 0;
}
