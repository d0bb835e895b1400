// Deferred, whole-result reading of a prepared query.
#include "recordset.h"

#include "backend.h"
#include "connection.h"
#include "store_error.h"

namespace store {
namespace {

[[noreturn]] void refuse(const QString& reason) {
    throw StoreError(reason);
}

} // namespace

Recordset::Recordset() = default;

Recordset::~Recordset() {
    Close();
}

void Recordset::Open(const QString& source, Connection& active_connection, CursorTypeEnum,
                     LockTypeEnum, long) {
    if (query_)
        refuse(QStringLiteral("the recordset is already open"));
    query_ = active_connection.prepare(source);
    names_ = query_->names();
    connection_ = &active_connection;
    session_ = active_connection.session();
    fetched_ = false;
    rows_.clear();
    position_ = 0;
    counted_.reset();
}

void Recordset::Close() {
    if (!query_)
        return;
    query_.reset();
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
    counted_ = query_->count();
    if (!counted_) {
        fetch();
        return static_cast<std::int64_t>(rows_.size());
    }
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
    if (!query_)
        refuse(QStringLiteral("the recordset is closed"));
}

void Recordset::require_live_connection() const {
    if (connection_->State() != adStateOpen || connection_->session() != session_)
        refuse(QStringLiteral("the connection of the recordset was closed"));
}

void Recordset::fetch() {
    require_open();
    if (fetched_)
        return;
    require_live_connection();
    std::vector<std::vector<FieldValue>> rows = query_->read();
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
