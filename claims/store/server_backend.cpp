// The register in a PostgreSQL database, over libpq.
//
// The connection is made as the clerk's own database role, from what the connection string and
// libpq's usual sources (PGPASSFILE, ~/.pgpass, PGUSER, peer or GSS) give. Every session speaks
// ISO dates and UTF-8 whatever the server's defaults.
//
// A write transaction first takes one lock that every program of the register takes: like the
// file's single writer, a save sees every claim committed before it and none that another
// program is writing, so a number it finds free stays free until it commits. A wait for that lock
// ends after the busy timeout with an error, as on the file.
//
// A connection that was dropped (the server restarted, the network failed) is made again once,
// at the next action: a transaction under way is lost with it and the server rolls it back; a
// read or the start of a transaction that finds the connection gone is tried once more on the new
// one. Statements the session set up for itself (the scratch tables) are run again.
#include "backend.h"
#include "connection.h"
#include "dialect.h"
#include "store_error.h"

#include <QByteArray>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstring>
#include <libpq-fe.h>

namespace store::backend {
namespace {

// The type numbers of the server's built-in types the store reads as other than text.
constexpr Oid kBool = 16, kInt8 = 20, kInt2 = 21, kInt4 = 23, kOid = 26, kFloat4 = 700,
              kFloat8 = 701, kNumeric = 1700, kDate = 1082;

// The lock every writing transaction of the register takes (any number the register owns).
constexpr char kWriterLock[] = "SELECT pg_advisory_xact_lock(7264117)";

QString trimmed_message(const char* message) {
    return QString::fromUtf8(message).trimmed();
}

// "ERROR:  duplicate key ..." -> "duplicate key ...", with its detail when the server gives one.
QString reason_of(const PGresult* result, PGconn* conn) {
    const char* primary =
        result != nullptr ? PQresultErrorField(result, PG_DIAG_MESSAGE_PRIMARY) : nullptr;
    if (primary == nullptr)
        return trimmed_message(PQerrorMessage(conn));
    QString reason = QString::fromUtf8(primary);
    if (const char* detail = PQresultErrorField(result, PG_DIAG_MESSAGE_DETAIL))
        reason += QStringLiteral(" (%1)").arg(QString::fromUtf8(detail));
    return reason;
}

// A numeric value as the file gives it back: whole numbers as integers, others as decimals.
FieldValue number_value(const char* text) {
    const std::string_view digits(text);
    std::int64_t whole = 0;
    const auto end = digits.data() + digits.size();
    if (auto [ptr, ec] = std::from_chars(digits.data(), end, whole);
        ec == std::errc() && ptr == end)
        return FieldValue(whole);
    double value = 0;
    std::from_chars(digits.data(), end, value);
    if (std::isfinite(value) && value == std::trunc(value) && std::fabs(value) < 9.0e18)
        return FieldValue(static_cast<std::int64_t>(value));
    return FieldValue(value);
}

FieldValue read_value(const PGresult* result, int row, int column) {
    if (PQgetisnull(result, row, column) != 0)
        return {};
    const char* text = PQgetvalue(result, row, column);
    switch (PQftype(result, column)) {
    case kBool:
        return FieldValue(std::int64_t{text[0] == 't' ? 1 : 0});
    case kInt2:
    case kInt4:
    case kInt8:
    case kOid:
    case kNumeric:
        return number_value(text);
    case kFloat4:
    case kFloat8: {
        double value = 0;
        std::from_chars(text, text + std::strlen(text), value);
        return FieldValue(value);
    }
    case kDate: {
        const QDate date = QDate::fromString(QString::fromLatin1(text), Qt::ISODate);
        return date.isValid() ? FieldValue(date) : FieldValue(QString::fromUtf8(text));
    }
    default:
        return FieldValue(QString::fromUtf8(text));
    }
}

struct ResultDeleter {
    void operator()(PGresult* result) const { PQclear(result); }
};
using Result = std::unique_ptr<PGresult, ResultDeleter>;

bool succeeded(const PGresult* result) {
    const ExecStatusType status = PQresultStatus(result);
    return status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK;
}

std::string server_sql(const QString& statement) {
    return translate_server_dialect(statement.toStdString());
}

class ServerBackend;

class ServerQuery final : public Query {
public:
    ServerQuery(ServerBackend& server, std::string sql, QStringList names)
        : server_(server), sql_(std::move(sql)), names_(std::move(names)) {}

    const QStringList& names() const override { return names_; }
    std::vector<Row> read() override;
    std::optional<std::int64_t> count() override;

private:
    ServerBackend& server_;
    std::string sql_;
    QStringList names_;
};

class ServerBackend final : public Backend {
public:
    ServerBackend(const QString& conninfo, const QString& password, int lock_timeout_ms)
        : conninfo_(conninfo.toUtf8()), password_(password.toUtf8()),
          lock_timeout_ms_(lock_timeout_ms) {
        connect();
    }
    ~ServerBackend() override { PQfinish(conn_); }
    ServerBackend(const ServerBackend&) = delete;
    ServerBackend& operator=(const ServerBackend&) = delete;

    bool is_server() const override { return true; }

    std::unique_ptr<Query> prepare(const QString& statement) override {
        std::string sql = server_sql(statement);
        if (QString::fromStdString(sql).trimmed().isEmpty())
            throw StoreError(QStringLiteral("the statement is empty"));
        // Preparing checks the statement and names its columns without running it.
        Result prepared = run([&] { return PQprepare(conn_, "", sql.c_str(), 0, nullptr); }, true);
        Result described = run([&] { return PQdescribePrepared(conn_, ""); }, false);
        QStringList names;
        for (int i = 0; i < PQnfields(described.get()); ++i)
            names << QString::fromUtf8(PQfname(described.get(), i));
        return std::make_unique<ServerQuery>(*this, std::move(sql), std::move(names));
    }

    std::int64_t execute(const QString& statement) override {
        const Result result = exec(server_sql(statement), false);
        std::int64_t changed = 0;
        const std::string_view rows(PQcmdTuples(result.get()));
        std::from_chars(rows.data(), rows.data() + rows.size(), changed);
        return changed;
    }

    std::optional<std::int64_t> read_number(const QString& query) override {
        const Result result = exec(server_sql(query), true);
        if (PQntuples(result.get()) == 0 || PQnfields(result.get()) == 0)
            return std::nullopt;
        const FieldValue value = read_value(result.get(), 0, 0);
        if (value.is_null())
            return std::nullopt;
        return static_cast<std::int64_t>(value.number());
    }

    void begin() override {
        exec("BEGIN", true);
        try {
            exec(kWriterLock, false);
        } catch (...) {
            rollback_quietly();
            throw;
        }
    }

    void commit() override { exec("COMMIT", false); }

    void rollback_quietly() noexcept override {
        if (in_transaction())
            PQclear(PQexec(conn_, "ROLLBACK"));
    }

    bool in_transaction() const override {
        const PGTransactionStatusType status = PQtransactionStatus(conn_);
        return status == PQTRANS_INTRANS || status == PQTRANS_INERROR || status == PQTRANS_ACTIVE;
    }

    void keep_for_session(const QString& statement) override {
        exec(server_sql(statement), false);
        session_statements_.push_back(server_sql(statement));
    }

    void copy_to(const QString&) override {
        throw StoreError(QStringLiteral("a register on a database server is not copied to a "
                                        "file; the server's own backups (pg_dump) hold it"));
    }

    // Runs one statement; a read (or a BEGIN) that finds the connection gone, outside a
    // transaction, is run once more on a new one.
    Result exec(const std::string& sql, bool repeatable) {
        return run(
            [&] {
                return PQexecParams(conn_, sql.c_str(), 0, nullptr, nullptr, nullptr, nullptr, 0);
            },
            repeatable);
    }

private:
    template <typename Send> Result run(const Send& send, bool repeatable) {
        if (PQstatus(conn_) != CONNECTION_OK)
            reconnect();
        const bool was_in_transaction = in_transaction();
        Result result(send());
        if (result && succeeded(result.get()))
            return result;
        if (PQstatus(conn_) != CONNECTION_OK && repeatable && !was_in_transaction) {
            reconnect();
            result.reset(send());
            if (result && succeeded(result.get()))
                return result;
        }
        throw StoreError(reason_of(result.get(), conn_));
    }

    void connect() {
        // The call's password is given only when there is one: otherwise the string's own and
        // libpq's sources apply.
        std::vector<const char*> keys{"dbname", "application_name", "client_encoding"};
        std::vector<const char*> values{conninfo_.constData(), "vetra", "UTF8"};
        if (!password_.isEmpty()) {
            keys.push_back("password");
            values.push_back(password_.constData());
        }
        keys.push_back(nullptr);
        values.push_back(nullptr);
        conn_ = PQconnectdbParams(keys.data(), values.data(), 1);
        if (PQstatus(conn_) != CONNECTION_OK) {
            const bool wants_password =
                PQconnectionNeedsPassword(conn_) != 0 && password_.isEmpty();
            const QString reason = trimmed_message(PQerrorMessage(conn_));
            PQfinish(conn_);
            conn_ = nullptr;
            throw StoreError(reason, wants_password ? kServerWantsPassword : 0);
        }
        set_up_session();
    }

    void set_up_session() {
        const std::string settings =
            "SET datestyle = ISO; SET lock_timeout = " + std::to_string(lock_timeout_ms_) +
            "; SET client_min_messages = warning";
        const Result result(PQexec(conn_, settings.c_str()));
        if (!succeeded(result.get()))
            throw StoreError(reason_of(result.get(), conn_));
        for (const std::string& statement : session_statements_) {
            const Result again(PQexec(conn_, statement.c_str()));
            if (!succeeded(again.get()))
                throw StoreError(reason_of(again.get(), conn_));
        }
    }

    void reconnect() {
        PQreset(conn_);
        if (PQstatus(conn_) != CONNECTION_OK)
            throw StoreError(QStringLiteral("the connection to the server was lost and cannot be "
                                            "made again: %1")
                                 .arg(trimmed_message(PQerrorMessage(conn_))));
        set_up_session();
    }

    PGconn* conn_ = nullptr;
    QByteArray conninfo_;
    QByteArray password_;
    int lock_timeout_ms_;
    std::vector<std::string> session_statements_;
};

std::vector<Row> ServerQuery::read() {
    const Result result = server_.exec(sql_, true);
    std::vector<Row> rows;
    const int columns = PQnfields(result.get());
    rows.reserve(static_cast<std::size_t>(PQntuples(result.get())));
    for (int row = 0; row < PQntuples(result.get()); ++row) {
        Row& values = rows.emplace_back();
        values.reserve(static_cast<std::size_t>(columns));
        for (int column = 0; column < columns; ++column)
            values.push_back(read_value(result.get(), row, column));
    }
    return rows;
}

std::optional<std::int64_t> ServerQuery::count() {
    // Only a plain query can be wrapped; a failed count would end the transaction under way.
    if (!QString::fromStdString(sql_).trimmed().startsWith(u"select", Qt::CaseInsensitive))
        return std::nullopt;
    std::string sql = sql_;
    while (!sql.empty() &&
           (sql.back() == ';' || std::isspace(static_cast<unsigned char>(sql.back()))))
        sql.pop_back();
    const Result result = server_.exec("SELECT count(*) FROM (" + sql + ") AS counted", true);
    return static_cast<std::int64_t>(number_value(PQgetvalue(result.get(), 0, 0)).number());
}

} // namespace

bool names_server(const QString& connection_string) {
    const QString text = connection_string.trimmed();
    if (text.startsWith(u"postgresql://") || text.startsWith(u"postgres://"))
        return true;
    if (!text.contains(u'='))
        return false;
    char* error = nullptr;
    PQconninfoOption* options = PQconninfoParse(text.toUtf8().constData(), &error);
    if (error != nullptr)
        PQfreemem(error);
    if (options == nullptr)
        return false;
    PQconninfoFree(options);
    return true;
}

std::unique_ptr<Backend> open_server(const QString& conninfo, const QString& password,
                                     int lock_timeout_ms) {
    return std::make_unique<ServerBackend>(conninfo, password, lock_timeout_ms);
}

} // namespace store::backend
