// The result of one query, read row by row with fields by position or by name.
//
// Open prepares the statement, which reports a malformed statement or an unknown column at once,
// but runs it only when a row is first asked for; it then reads the whole result in one go and
// releases the engine, so an open recordset never holds a lock or an old snapshot while the forms
// write. RecordCount before that asks the engine to count the rows, which for a bare table or an
// indexed condition costs far less than reading them (adding a claim counts every claim).
// Requery drops what was read and runs the statement again when next asked.
#pragma once

#include "ado.h"
#include "field_value.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace store {

class Connection;
namespace backend {
class Query;
} // namespace backend

class Recordset {
public:
    Recordset();
    ~Recordset();
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;

    // Throws StoreError when the recordset is already open, the connection is closed or the
    // statement is malformed. Every result is read whole into memory, so the cursor and lock types
    // the forms name change nothing; they are taken so that the calls read as the forms write them.
    void Open(const QString& source, Connection& active_connection,
              CursorTypeEnum cursor_type = adOpenForwardOnly,
              LockTypeEnum lock_type = adLockReadOnly, long options = adCmdUnspecified);
    // Forgets the result; closing a closed recordset does nothing.
    void Close();
    ObjectStateEnum State() const { return query_ ? adStateOpen : adStateClosed; }

    std::int64_t RecordCount();
    // True when there is no current row: an empty result, or moved past the last row.
    bool Eof();
    void MoveFirst();
    // Throws StoreError when already past the last row.
    void MoveNext();

    // A field of the current row; throws StoreError when there is no current row or no such field.
    const FieldValue& Fields(int index);
    // By column name, without regard to case.
    const FieldValue& Fields(const QString& name);
    int FieldCount() const { return static_cast<int>(names_.size()); }
    QString FieldName(int index) const;

    void Requery();

private:
    void require_open() const;
    void require_live_connection() const;
    void fetch();
    const FieldValue& current_field(int index);

    Connection* connection_ = nullptr;
    std::uint64_t session_ = 0;
    std::unique_ptr<backend::Query> query_;
    QStringList names_;
    bool fetched_ = false;
    std::vector<std::vector<FieldValue>> rows_;
    std::size_t position_ = 0;
    std::optional<std::int64_t> counted_;
};

} // namespace store
