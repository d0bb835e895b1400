// Schema of the claims database and atomic creation of a new file.
#include "schema.h"

#include "connection.h"
#include "engine.h"
#include "recordset.h"
#include "store_error.h"

#include <QDir>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

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

QString system_reason(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

// Writes the complete schema into the empty file at `path`.
void build(const QString& path, const QString& password) {
    sqlite3* db = engine::open_keyed(path, password, SQLITE_OPEN_READWRITE);
    try {
        engine::exec(db, "BEGIN");
        engine::exec(db, kSchema);
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
    Recordset result;
    result.Open("PRAGMA user_version", connection);
    const auto version = static_cast<int>(result.Fields(0).number());
    if (version > kSchemaVersion)
        throw StoreError(QStringLiteral("the file was made by a newer version of the program "
                                        "(layout %1, this program knows %2)")
                             .arg(version)
                             .arg(kSchemaVersion));
    result.Close();
    result.Open("SELECT count(*) FROM sqlite_master WHERE type = 'table' AND "
                "name IN ('detail', 'preport', 'districts')",
                connection);
    if (result.Fields(0).number() != 3)
        throw StoreError(QStringLiteral("the file does not hold the claims tables"));
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
