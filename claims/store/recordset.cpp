// Deferred, whole-result reading of a prepared query.
#include "recordset.h"

#include "connection.h"
#include "engine.h"
#include "store_error.h"

#include <cctype>

namespace store {
namespace {

[[noreturn]] void refuse(const QString& reason) {
    throw StoreError(reason);
}

FieldValue read_column(sqlite3_stmt* stmt, int column, bool date_column) {
    switch (sqlite3_column_type(stmt, column)) {
    case SQLITE_NULL:
        return {};
    case SQLITE_INTEGER:
        return FieldValue(static_cast<std::int64_t>(sqlite3_column_int64(stmt, column)));
    case SQLITE_FLOAT:
        return FieldValue(sqlite3_column_double(stmt, column));
    default: {
        const auto* bytes = static_cast<const char*>(sqlite3_column_blob(stmt, column));
        QString text = QString::fromUtf8(bytes, sqlite3_column_bytes(stmt, column));
        if (date_column) {
            const QDate date = QDate::fromString(text, Qt::ISODate);
            if (date.isValid())
                return FieldValue(date);
        }
        return FieldValue(std::move(text));
    }
    }
}

// The statement text as the engine holds it, without a closing ';', fit to be wrapped.
std::string bare_text(sqlite3_stmt* stmt) {
    std::string sql = sqlite3_sql(stmt);
    while (!sql.empty() &&
           (sql.back() == ';' || std::isspace(static_cast<unsigned char>(sql.back()))))
        sql.pop_back();
    return sql;
}

} // namespace

Recordset::~Recordset() {
    Close();
}

void Recordset::Open(const QString& source, Connection& active_connection, CursorTypeEnum,
                     LockTypeEnum, long) {
    if (stmt_ != nullptr)
        refuse(QStringLiteral("the recordset is already open"));
    sqlite3_stmt* stmt = active_connection.prepare(source);
    const int columns = sqlite3_column_count(stmt);
    names_.clear();
    is_date_column_.assign(static_cast<std::size_t>(columns), false);
    for (int i = 0; i < columns; ++i) {
        names_ << QString::fromUtf8(sqlite3_column_name(stmt, i));
        const char* declared = sqlite3_column_decltype(stmt, i);
        is_date_column_[static_cast<std::size_t>(i)] =
            declared != nullptr &&
            QString::fromUtf8(declared).compare(u"DATE", Qt::CaseInsensitive) == 0;
    }
    connection_ = &active_connection;
    stmt_ = stmt;
    fetched_ = false;
    rows_.clear();
    position_ = 0;
    counted_.reset();
}

void Recordset::Close() {
    if (stmt_ == nullptr)
        return;
    sqlite3_finalize(stmt_);
    stmt_ = nullptr;
    connection_ = nullptr;
    rows_.clear();
    names_.clear();
    fetched_ = false;
    counted_.reset();
}

std::int64_t Recordset::RecordCount() {
    require_open();
    if (fetched_)
        return static_cast<std::int64_t>(rows_.size());
    if (counted_)
        return *counted_;
    require_live_connection();
    const std::string count_sql = "SELECT count(*) FROM (" + bare_text(stmt_) + ")";
    sqlite3_stmt* count = nullptr;
    if (sqlite3_prepare_v2(connection_->handle(), count_sql.c_str(), -1, &count, nullptr) !=
        SQLITE_OK) {
        // Not a plain query (a PRAGMA, say): count by reading it.
        sqlite3_finalize(count);
        fetch();
        return static_cast<std::int64_t>(rows_.size());
    }
    const int rc = sqlite3_step(count);
    if (rc != SQLITE_ROW)
        engine::fail_statement(count);
    counted_ = sqlite3_column_int64(count, 0);
    sqlite3_finalize(count);
    return *counted_;
}

bool Recordset::Eof() {
    fetch();
    return position_ >= rows_.size();
}

void Recordset::MoveFirst() {
    fetch();
    position_ = 0;
}

void Recordset::MoveNext() {
    if (Eof())
        refuse(QStringLiteral("there is no current row: the end of the result was reached"));
    ++position_;
}

const FieldValue& Recordset::Fields(int index) {
    return current_field(index);
}

const FieldValue& Recordset::Fields(const QString& name) {
    require_open();
    for (int index = 0; index < FieldCount(); ++index)
        if (names_[index].compare(name, Qt::CaseInsensitive) == 0)
            return current_field(index);
    refuse(QStringLiteral("the result has no field named %1").arg(name));
}

QString Recordset::FieldName(int index) const {
    require_open();
    if (index < 0 || index >= FieldCount())
        refuse(QStringLiteral("the result has no field %1").arg(index));
    return names_[index];
}

void Recordset::Requery() {
    require_open();
    fetched_ = false;
    rows_.clear();
    position_ = 0;
    counted_.reset();
}

void Recordset::require_open() const {
    if (stmt_ == nullptr)
        refuse(QStringLiteral("the recordset is closed"));
}

void Recordset::require_live_connection() const {
    if (connection_->handle() != sqlite3_db_handle(stmt_))
        refuse(QStringLiteral("the connection of the recordset was closed"));
}

void Recordset::fetch() {
    require_open();
    if (fetched_)
        return;
    require_live_connection();
    std::vector<std::vector<FieldValue>> rows;
    const int columns = FieldCount();
    int rc = sqlite3_step(stmt_);
    for (; rc == SQLITE_ROW; rc = sqlite3_step(stmt_)) {
        auto& row = rows.emplace_back();
        row.reserve(static_cast<std::size_t>(columns));
        for (int i = 0; i < columns; ++i)
            row.push_back(read_column(stmt_, i, is_date_column_[static_cast<std::size_t>(i)]));
    }
    if (rc != SQLITE_DONE) {
        StoreError error(QString::fromUtf8(sqlite3_errmsg(connection_->handle())),
                         sqlite3_extended_errcode(connection_->handle()));
        sqlite3_reset(stmt_);
        throw error;
    }
    sqlite3_reset(stmt_);
    rows_ = std::move(rows);
    position_ = 0;
    fetched_ = true;
}

const FieldValue& Recordset::current_field(int index) {
    if (Eof())
        refuse(QStringLiteral("there is no current row"));
    if (index < 0 || index >= FieldCount())
        refuse(QStringLiteral("the result has no field %1").arg(index));
    return rows_[position_][static_cast<std::size_t>(index)];
}

} // namespace store
