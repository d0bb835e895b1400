// The history tables, their triggers (written out from the column list) and the functions the
// triggers call.
#include "history_triggers.h"

#include "connection.h"
#include "engine.h"
#include "schema.h"

#include <QSysInfo>
#include <QtGlobal>
#include <pwd.h>
#include <unistd.h>

namespace store {
namespace {

// The columns whose changes are recorded: all but the row id and the change counter, which say
// nothing about the claim.
QStringList recorded_columns() {
    QStringList columns = claim_columns();
    columns.removeAll(QStringLiteral("id"));
    columns.removeAll(QStringLiteral("changes"));
    return columns;
}

// A decision alone (the status form's columns) is recorded as such.
const QStringList kDecision{"billstatus", "amtapproved", "appdate", "remarks"};

// The change of claim `refno` that the current transaction has started, if any.
QString current_change(const QString& refno) {
    return QStringLiteral("(SELECT max(id) FROM claim_history WHERE refno = %1 AND txn = "
                          "history_transaction())")
        .arg(refno);
}

QString start_change(const QString& refno, const QString& kind, const QString& condition = {}) {
    return QStringLiteral("INSERT INTO claim_history (txn, refno, at_utc, who, kind) SELECT "
                          "history_transaction(), %1, strftime('%Y-%m-%d %H:%M:%f', 'now'), "
                          "history_who(), %2%3;")
        .arg(refno, kind, condition.isEmpty() ? QString() : " WHERE " + condition);
}

// One statement per column: a statement per column keeps each one trivial for the engine, and
// a column that did not change costs one comparison.
QString field_rows(const QString& refno, const QString& before, const QString& after,
                   const QString& condition, const QStringList& columns = recorded_columns()) {
    QString rows;
    for (const QString& column : columns) {
        const auto side = [&](const QString& row) {
            return row.isEmpty() ? QStringLiteral("NULL") : row + '.' + column;
        };
        rows += QStringLiteral(" INSERT INTO claim_history_fields (change, field, before_value, "
                               "after_value) SELECT %1, '%2', %3, %4 WHERE %5;")
                    .arg(current_change(refno), column, side(before), side(after),
                         QString(condition).replace('@', column));
    }
    return rows;
}

// An update is recorded by one trigger per column, each compiled only into the statements that
// set its column: a trigger over every column would be compiled into each of the entry form's
// updates and make a save several times slower. Whichever fires first starts the change.
QString column_update_trigger(const QString& column) {
    const QString kind = kDecision.contains(column) ? kStatusRecorded : kUpdated;
    return QStringLiteral("CREATE TRIGGER claim_history_update_%1 AFTER UPDATE OF %1 ON detail FOR "
                          "EACH ROW WHEN OLD.%1 IS NOT NEW.%1 BEGIN ")
               .arg(column) +
           start_change("NEW.refno", "'" + kind + "'",
                        "NOT EXISTS (SELECT 1 FROM claim_history WHERE refno = NEW.refno AND "
                        "txn = history_transaction())") +
           field_rows("NEW.refno", "OLD", "NEW", "1", {column}) + " END";
}

QStringList build_statements() {
    QStringList statements{
        "CREATE TABLE claim_history (id INTEGER PRIMARY KEY, txn INTEGER NOT NULL, refno INTEGER "
        "NOT NULL, at_utc TEXT NOT NULL, who TEXT NOT NULL, kind TEXT NOT NULL)",
        // The values keep the type the claim held them in: the columns have none of their own.
        "CREATE TABLE claim_history_fields (change INTEGER NOT NULL REFERENCES claim_history "
        "(id), field TEXT NOT NULL, before_value, after_value)",
        "CREATE INDEX claim_history_claim ON claim_history (refno, txn)",
        "CREATE INDEX claim_history_fields_change ON claim_history_fields (change)",
        "CREATE TRIGGER claim_history_insert AFTER INSERT ON detail FOR EACH ROW BEGIN " +
            start_change("NEW.refno", QStringLiteral("CASE WHEN history_restoring() THEN '%1' "
                                                     "ELSE '%2' END")
                                          .arg(kRestored, kSavedNew)) +
            field_rows("NEW.refno", {}, "NEW", "NEW.@ IS NOT NULL") + " END",
        "CREATE TRIGGER claim_history_delete AFTER DELETE ON detail FOR EACH ROW BEGIN " +
            start_change("OLD.refno", QStringLiteral("'%1'").arg(kDeleted)) +
            field_rows("OLD.refno", "OLD", {}, "OLD.@ IS NOT NULL") + " END",
        "CREATE TRIGGER claim_history_kept BEFORE UPDATE ON claim_history BEGIN "
        "SELECT RAISE(ABORT, 'the claim history cannot be changed'); END",
        "CREATE TRIGGER claim_history_not_removed BEFORE DELETE ON claim_history BEGIN "
        "SELECT RAISE(ABORT, 'the claim history cannot be removed'); END",
        "CREATE TRIGGER claim_history_fields_kept BEFORE UPDATE ON claim_history_fields BEGIN "
        "SELECT RAISE(ABORT, 'the claim history cannot be changed'); END",
        "CREATE TRIGGER claim_history_fields_not_removed BEFORE DELETE ON claim_history_fields "
        "BEGIN SELECT RAISE(ABORT, 'the claim history cannot be removed'); END",
    };
    for (const QString& column : recorded_columns())
        statements << column_update_trigger(column);
    return statements;
}

// What the functions know of one connection. The transaction's number is drawn at its first
// change and forgotten when it commits or rolls back.
struct Session {
    sqlite3_int64 transaction = 0;
    bool restoring = false;
    QByteArray who;
};

QByteArray operating_system_user() {
    if (const passwd* entry = ::getpwuid(::geteuid()); entry != nullptr && entry->pw_name)
        return entry->pw_name;
    return qgetenv("USER");
}

Session& session_of(sqlite3_context* context) {
    return *static_cast<Session*>(sqlite3_user_data(context));
}

void transaction_number(sqlite3_context* context, int, sqlite3_value**) {
    Session& session = session_of(context);
    while (session.transaction <= 0) {
        sqlite3_randomness(sizeof session.transaction, &session.transaction);
        session.transaction &= 0x7fffffffffffffff;
    }
    sqlite3_result_int64(context, session.transaction);
}

void who(sqlite3_context* context, int, sqlite3_value**) {
    const QByteArray& name = session_of(context).who;
    sqlite3_result_text(context, name.constData(), static_cast<int>(name.size()), SQLITE_STATIC);
}

void restoring(sqlite3_context* context, int, sqlite3_value**) {
    sqlite3_result_int(context, session_of(context).restoring ? 1 : 0);
}

void mark_restoring(sqlite3_context* context, int, sqlite3_value**) {
    session_of(context).restoring = true;
    sqlite3_result_int(context, 1);
}

void forget(void* session) {
    static_cast<Session*>(session)->transaction = 0;
    static_cast<Session*>(session)->restoring = false;
}

int forget_at_commit(void* session) {
    forget(session);
    return 0; // let the commit go on
}

} // namespace

const QStringList& claim_history_statements() {
    static const QStringList statements = build_statements();
    return statements;
}

const QStringList& claim_history_triggers() {
    static const QStringList names = [] {
        QStringList all{"claim_history_insert",      "claim_history_delete",
                        "claim_history_kept",        "claim_history_not_removed",
                        "claim_history_fields_kept", "claim_history_fields_not_removed"};
        for (const QString& column : recorded_columns())
            all << "claim_history_update_" + column;
        return all;
    }();
    return names;
}

void register_history_functions(sqlite3* db) {
    auto* session = new Session;
    session->who = operating_system_user() + '@' + QSysInfo::machineHostName().toUtf8();
    // The first function owns the session and frees it when the connection closes.
    int rc = sqlite3_create_function_v2(db, "history_transaction", 0, SQLITE_UTF8, session,
                                        transaction_number, nullptr, nullptr,
                                        [](void* p) { delete static_cast<Session*>(p); });
    if (rc != SQLITE_OK)
        engine::fail(db, rc);
    using Function = void (*)(sqlite3_context*, int, sqlite3_value**);
    const std::pair<const char*, Function> others[] = {{"history_who", who},
                                                       {"history_restoring", restoring},
                                                       {"history_mark_restoring", mark_restoring}};
    for (const auto& [name, function] : others) {
        rc = sqlite3_create_function_v2(db, name, 0, SQLITE_UTF8, session, function, nullptr,
                                        nullptr, nullptr);
        if (rc != SQLITE_OK)
            engine::fail(db, rc);
    }
    sqlite3_commit_hook(db, forget_at_commit, session);
    sqlite3_rollback_hook(db, forget, session);
}

void record_inserts_as_restored(Connection& connection) {
    connection.ReadNumber(QStringLiteral("SELECT history_mark_restoring()"));
}

} // namespace store
