// Reading the register back for the checks.
#include "stored_claims.h"

#include "module1.h"
#include "temporary_register.h"

namespace acceptance {

std::vector<StoredRow> stored_rows(const QString& condition) {
    store::Recordset result;
    result.Open("Select * from detail" + (condition.isEmpty() ? QString() : " where " + condition) +
                    " order by refno",
                Module1::db_conn);
    std::vector<StoredRow> rows;
    for (; !result.Eof(); result.MoveNext()) {
        StoredRow row;
        for (int i = 0; i < result.FieldCount(); ++i)
            row[result.FieldName(i)] = result.Fields(i);
        rows.push_back(std::move(row));
    }
    return rows;
}

QStringList integrity_check() {
    store::Recordset result;
    result.Open("PRAGMA integrity_check", Module1::db_conn);
    QStringList lines;
    for (; !result.Eof(); result.MoveNext())
        lines << result.Fields(0).text();
    return lines;
}

QStringList differences(const StoredRow& expected, const StoredRow& row) {
    QStringList found;
    for (const auto& [column, value] : expected) {
        const auto stored = row.find(column);
        if (stored == row.end())
            found << column + ": no such column";
        else if (!(stored->second == value))
            found << QStringLiteral("%1: stored \"%2\", expected \"%3\"")
                         .arg(column, stored->second.text(), value.text());
    }
    return found;
}

OpenRegister::OpenRegister(const QString& folder) {
    store::TemporaryRegister::close_all();
    Module1::app_path = folder;
    Module1::open_database();
}

OpenRegister::~OpenRegister() {
    store::TemporaryRegister::close_all();
    Module1::app_path.clear();
}

} // namespace acceptance
