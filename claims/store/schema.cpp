// Schema of the claims database and atomic creation of a new file.
#include "schema.h"

#include "connection.h"
#include "engine.h"
#include "history_triggers.h"
#include "recordset.h"
#include "store_error.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <string>
#include <unistd.h>
#include <vector>

namespace store {
namespace {

// Text columns are TEXT, numbers NUMERIC (whole numbers stay integers), dates DATE holding ISO
// text. The indexes serve the look-up by reference number, the case list's selection by period,
// district and status, and the per-district and state-wide counts of the pendency report, which
// all read only the index.
constexpr const char* kSchema = R"sql(
CREATE TABLE detail (
    id INTEGER PRIMARY KEY,
    refno INTEGER NOT NULL,
    refdate DATE,
    empname TEXT,
    fname TEXT,
    design TEXT,
    basicpay NUMERIC,
    oaddress TEXT,
    ovill TEXT,
    oteh TEXT,
    oblkname TEXT,
    odist TEXT,
    raddress TEXT,
    rvill TEXT,
    rteh TEXT,
    rdist TEXT,
    rstate TEXT,
    pname TEXT,
    page NUMERIC,
    relation TEXT,
    disease TEXT,
    dfrom DATE,
    dto DATE,
    hospital TEXT,
    amtclaimed NUMERIC,
    claimtype TEXT,
    dependpay NUMERIC,
    documents TEXT,
    apphealth TEXT,
    amthealth NUMERIC,
    medicalcrt TEXT,
    intime TEXT,
    officer TEXT,
    offdesign TEXT,
    branch TEXT,
    billstatus TEXT,
    amtapproved NUMERIC,
    appdate DATE,
    remarks TEXT
);
CREATE UNIQUE INDEX detail_refno ON detail (refno);
CREATE INDEX detail_period ON detail (refdate, odist, billstatus);
CREATE INDEX detail_district ON detail (odist, refdate, billstatus);
CREATE TABLE preport (
    sno INTEGER,
    distname TEXT,
    tc INTEGER,
    sc INTEGER,
    rc INTEGER,
    pc INTEGER
);
CREATE TABLE districts (distname TEXT NOT NULL);
)sql";

// Each step brings a file from the layout before it to `version`: its statements run in order, in
// the transaction of the upgrade, and a new file runs every step after the layout-1 tables above.
// `triggers` names what the step leaves behind that a column check cannot see, so a file that
// claims the layout but lacks them is refused.
struct LayoutStep {
    int version;
    QStringList statements;
    QStringList triggers;
};

// The search entry of the claim `row` (NEW in a trigger): its row id, the normalised words of its
// number, names and hospital, and its district (blanks taken out) and status as the words the
// filters ask for. search_text is registered on every handle the program opens.
QString search_entry(const QString& row) {
    return QStringLiteral("%1.id, search_text(%1.refno, %1.empname, %1.fname, %1.pname, "
                          "%1.hospital), replace(search_text(%1.odist), ' ', '') || ' ' || "
                          "search_text(%1.billstatus)")
        .arg(row);
}

const std::vector<LayoutStep>& layout_steps() {
    static const QString insert_entry =
        "INSERT INTO detail_search (docid, words, facets) VALUES (" + search_entry("NEW") + ");";
    static const QString fill = "INSERT INTO detail_search (docid, words, facets) SELECT " +
                                search_entry("detail") + " FROM detail";
    static const QString on_insert =
        "CREATE TRIGGER detail_search_insert AFTER INSERT ON detail FOR EACH ROW BEGIN " +
        insert_entry + " END";
    static const QString on_update =
        "CREATE TRIGGER detail_search_update AFTER UPDATE OF id, refno, empname, fname, pname, "
        "hospital, odist, billstatus ON detail FOR EACH ROW BEGIN DELETE FROM detail_search WHERE "
        "docid = OLD.id; " +
        insert_entry + " END";
    static const std::vector<LayoutStep> steps{
        // Every update of a claim's row, whatever statement makes it, counts one change; a
        // statement that sets the counter itself is overruled. Triggers here never fire
        // triggers, so this one runs once.
        {2,
         {"ALTER TABLE detail ADD COLUMN changes INTEGER NOT NULL DEFAULT 0",
          "CREATE TRIGGER detail_changes AFTER UPDATE ON detail FOR EACH ROW BEGIN "
          "UPDATE detail SET changes = OLD.changes + 1 WHERE id = NEW.id; END"},
         {"detail_changes"}},
        // Every change of a claim leaves its history (history_triggers.h).
        {3, claim_history_statements(), claim_history_triggers()},
        // The search words: a full-text table kept by triggers in the transaction of every
        // write of a claim. Its index of every word's first one to three characters, kept newest
        // first, serves a search by the beginnings of words without reading the claims.
        {4,
         {"CREATE VIRTUAL TABLE detail_search USING fts4(words, facets, prefix=\"1,2,3\", "
          "order=DESC)",
          fill, on_insert, on_update,
          "CREATE TRIGGER detail_search_delete AFTER DELETE ON detail FOR EACH ROW BEGIN "
          "DELETE FROM detail_search WHERE docid = OLD.id; END"},
         {"detail_search_insert", "detail_search_update", "detail_search_delete"}},
    };
    return steps;
}

void run_steps_after(int version, const std::function<void(const QString&)>& execute) {
    for (const LayoutStep& step : layout_steps())
        if (step.version > version)
            for (const QString& statement : step.statements)
                execute(statement);
}

// The columns of every stored table the program uses, in order: the forms read `detail` by
// position, so a column more or less anywhere would shift every field after it.
// `since` is the layout that brought the table; a column `changes` of detail came with layout 2.
struct StoredTable {
    QString name;
    QStringList columns;
    int since = 1;
};

const std::vector<StoredTable>& stored_tables() {
    static const std::vector<StoredTable> tables{
        {"detail", {"id",          "refno",     "refdate",   "empname",   "fname",     "design",
                    "basicpay",    "oaddress",  "ovill",     "oteh",      "oblkname",  "odist",
                    "raddress",    "rvill",     "rteh",      "rdist",     "rstate",    "pname",
                    "page",        "relation",  "disease",   "dfrom",     "dto",       "hospital",
                    "amtclaimed",  "claimtype", "dependpay", "documents", "apphealth", "amthealth",
                    "medicalcrt",  "intime",    "officer",   "offdesign", "branch",    "billstatus",
                    "amtapproved", "appdate",   "remarks",   "changes"}},
        {"preport", {"sno", "distname", "tc", "sc", "rc", "pc"}},
        {"districts", {"distname"}},
        {"claim_history", {"id", "txn", "refno", "at_utc", "who", "kind"}, 3},
        {"claim_history_fields", {"change", "field", "before_value", "after_value"}, 3},

        {"detail_search", {"words", "facets"}, 4}};
    return tables;
}

// Names the first difference between the stored columns and the expected ones.
QString first_difference(const QStringList& stored, const QStringList& expected) {
    for (qsizetype i = 0; i < std::max(stored.size(), expected.size()); ++i) {
        const QString want = i < expected.size() ? expected[i] : QString();
        const QString has = i < stored.size() ? stored[i] : QString();
        if (has.compare(want, Qt::CaseInsensitive) == 0)
            continue;
        if (has.isEmpty() || (!want.isEmpty() && !stored.contains(want, Qt::CaseInsensitive)))
            return QStringLiteral("the column %1 is missing").arg(want);
        if (!expected.contains(has, Qt::CaseInsensitive))
            return QStringLiteral("it has a column %1 that does not belong there").arg(has);
        return QStringLiteral("the column %1 stands where %2 belongs").arg(has, want);
    }
    return {};
}

std::int64_t count(Connection& connection, const QString& query) {
    return connection.ReadNumber(query).value_or(0);
}

int stored_version(Connection& connection) {
    return static_cast<int>(count(connection, "PRAGMA user_version"));
}

QString system_reason(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

// Writes the complete schema into the empty file at `path`.
void build(const QString& path, const QString& password) {
    sqlite3* db = engine::open_keyed(path, password, SQLITE_OPEN_READWRITE);
    try {
        engine::exec(db, "BEGIN");
        engine::exec(db, kSchema);
        run_steps_after(1, [db](const QString& statement) {
            engine::exec(db, statement.toUtf8().constData());
        });
        sqlite3_stmt* insert = nullptr;
        int rc = sqlite3_prepare_v2(db, "INSERT INTO districts (distname) VALUES (?)", -1, &insert,
                                    nullptr);
        if (rc != SQLITE_OK)
            engine::fail(db, rc);
        for (const QString& name : district_names()) {
            const QByteArray text = name.toUtf8();
            sqlite3_bind_text(insert, 1, text.constData(), static_cast<int>(text.size()),
                              SQLITE_TRANSIENT);
            if (sqlite3_step(insert) != SQLITE_DONE)
                engine::fail_statement(insert);
            sqlite3_reset(insert);
        }
        sqlite3_finalize(insert);
        engine::exec(db, ("PRAGMA user_version = " + std::to_string(kSchemaVersion)).c_str());
        engine::exec(db, "COMMIT");
    } catch (...) {
        engine::close(db);
        throw;
    }
    engine::close(db);
}

void sync_folder(const QString& folder) {
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

QStringList column_names(Connection& connection, const QString& table) {
    Recordset empty;
    empty.Open("Select * from " + table + " where 1=0", connection);
    QStringList names;
    for (int i = 0; i < empty.FieldCount(); ++i)
        names << empty.FieldName(i);
    return names;
}

const QStringList& claim_columns() {
    return stored_tables().front().columns;
}

QStringList stored_columns(const QString& name) {
    for (const StoredTable& table : stored_tables())
        if (table.name == name)
            return table.columns;
    return {};
}

const QStringList& district_names() {
    static const QStringList names{"Amritsar",  "Barnala",    "Bathinda",  "Fatehgarh Sahib",
                                   "Ferozepur", "Faridkot",   "Gurdaspur", "Hoshiarpur",
                                   "Jalandhar", "Kapurthala", "Ludhiana",  "Mansa",
                                   "Moga",      "Muktsar",    "Mohali",    "Nawanshahr",
                                   "Patiala",   "Ropar",      "Sangrur",   "Tarn Taran"};
    return names;
}

bool create_database_if_missing(const QString& path, const QString& password) {
    const QFileInfo target(path);
    if (target.exists() || target.isSymLink())
        return false;
    const QString folder = target.absolutePath();
    QByteArray temporary = QFile::encodeName(
        QDir(folder).filePath(QStringLiteral(".%1.XXXXXX").arg(target.fileName())));
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0)
        throw StoreError(QStringLiteral("cannot create a file in the folder %1: %2")
                             .arg(QDir::toNativeSeparators(folder), system_reason(errno)));
    ::close(fd);
    const QString temporary_path = QFile::decodeName(temporary);
    const auto discard = [&] {
        ::unlink(temporary.constData());
        ::unlink((temporary + "-journal").constData());
    };
    try {
        build(temporary_path, password);
    } catch (...) {
        discard();
        throw;
    }
    // link() never replaces: if another program created the database meanwhile, keep theirs.
    const QByteArray final_name = QFile::encodeName(target.absoluteFilePath());
    const bool linked = ::link(temporary.constData(), final_name.constData()) == 0;
    const int link_error = errno;
    discard();
    if (!linked && link_error != EEXIST)
        throw StoreError(QStringLiteral("cannot name the new database %1: %2")
                             .arg(QDir::toNativeSeparators(target.absoluteFilePath()),
                                  system_reason(link_error)));
    sync_folder(folder);
    return linked;
}

void check_claims_schema(Connection& connection) {
    const int version = stored_version(connection);
    if (version > kSchemaVersion)
        throw StoreError(QStringLiteral("the file was made by a newer version of the program "
                                        "(layout %1, this program knows %2)")
                             .arg(version)
                             .arg(kSchemaVersion));
    if (count(connection, "SELECT count(*) FROM sqlite_master WHERE type = 'table' AND "
                          "name IN ('detail', 'preport', 'districts')") != 3)
        throw StoreError(QStringLiteral("the file does not hold the claims tables"));
    for (const auto& [table, columns, since] : stored_tables()) {
        const bool held = count(connection, QStringLiteral("SELECT count(*) FROM sqlite_master "
                                                           "WHERE type = 'table' AND name = '%1'")
                                                .arg(table)) == 1;
        // The upgrade brings a later layout's table, and would stop on one already there.
        if (since > version && held)
            throw StoreError(QStringLiteral("the file holds the table %1 of layout %2 but states "
                                            "layout %3")
                                 .arg(table)
                                 .arg(since)
                                 .arg(version));
        if (since > version)
            continue;
        if (!held)
            throw StoreError(
                QStringLiteral("the file lacks the table %1 of its layout").arg(table));
        QStringList expected = columns;
        if (version < 2 && table == "detail")
            expected.removeLast(); // the change counter comes with the upgrade
        const QString difference = first_difference(column_names(connection, table), expected);
        if (!difference.isEmpty())
            throw StoreError(QStringLiteral("the table %1 is not laid out as this program "
                                            "expects: %2")
                                 .arg(table, difference));
    }
    for (const LayoutStep& step : layout_steps())
        for (const QString& trigger : step.triggers)
            if (step.version <= version &&
                count(connection, QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = "
                                                 "'trigger' AND name = '%1'")
                                      .arg(trigger)) != 1)
                throw StoreError(
                    QStringLiteral("the file lacks the trigger %1 of its layout").arg(trigger));
}

void upgrade_claims_schema(Connection& connection, const QString& copy_path) {
    if (stored_version(connection) >= kSchemaVersion)
        return;
    // The engine copies only outside a write; what another program writes between the copy and
    // the upgrade is kept in the upgraded file.
    connection.CopyTo(copy_path);
    Transaction upgrade(connection);
    // Another program may have upgraded the file while this one waited for the lock.
    const int version = stored_version(connection);
    if (version >= kSchemaVersion)
        return;
    run_steps_after(version, [&](const QString& statement) { connection.Execute(statement); });
    connection.Execute(QStringLiteral("PRAGMA user_version = %1").arg(kSchemaVersion));
    upgrade.commit();
}

void create_scratch_tables(Connection& connection) {
    // A temporary table is the connection's own and is found before the stored one of the same
    // name, so two programs printing at once never see each other's counts.
    connection.ExecuteForSession(
        "CREATE TEMP TABLE preport (sno INTEGER, distname TEXT, tc INTEGER, "
        "sc INTEGER, rc INTEGER, pc INTEGER)");
}

void check_file_sound(Connection& connection) {
    Recordset check;
    QString finding;
    try {
        check.Open("PRAGMA quick_check(1)", connection);
        // The engine heads its findings with the database's name; one line says enough.
        finding = check.Eof() ? QStringLiteral("no result") : check.Fields(0).text();
        QStringList lines = finding.split('\n', Qt::SkipEmptyParts);
        lines.removeIf([](const QString& line) { return line.startsWith(QStringLiteral("***")); });
        if (finding != "ok")
            finding = lines.join(QStringLiteral("; "));
    } catch (const StoreError& e) {
        finding = e.reason(); // a page that cannot even be decrypted
    }
    if (finding != "ok")
        throw StoreError(QStringLiteral("the file is damaged (%1)").arg(finding));
}

} // namespace store
