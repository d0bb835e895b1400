// Claims entered and read back for the acceptance tests.
#include "acceptance.h"

#include "entry_controls.h"
#include "schema.h"
#include "temporary_register.h"

#include <QDateEdit>

namespace acceptance {
namespace {

QDate date(const QString& typed) {
    return QDate::fromString(typed, Qt::ISODate);
}

} // namespace

Claim numbered_claim(const QString& tag, int n) {
    const QString id = QStringLiteral("%1-%2").arg(tag).arg(n);
    // clang-format off
    Claim claim{{"txt_RefDate", "2024-01-15"}, {"txt_from", "2023-12-20"}, {"txt_to", "2024-01-02"},
        {"txt_Pay", QStringLiteral("%1,%2").arg(20 + n % 50).arg(n % 1000, 3, 10, QChar('0'))},
        {"txt_age", QString::number(20 + n % 60)}, {"txt_AmtClaimed", "1,25,000"},
        {"cmb_district", store::district_names()[n % store::district_names().size()]},
        {"cmb_Type", "Self"}, {"cmb_Documents", "Yes"}, {"cmb_HApproval", "No"},
        {"cmb_doctor", "Yes"}, {"cmb_BillTime", "No"},
        {"txt_OTehsil", ""}, {"txt_PVillage", ""}}; // stored as "-"
    // clang-format on
    for (const EntryControl& field : kEntryControls)
        if (field.kind == Kind::text)
            claim.insert({field.name, QStringLiteral("%1 %2").arg(field.column, id)});
    return claim;
}

Row saved_row(const Claim& claim, std::int64_t refno) {
    Row row{{"refno", store::FieldValue(refno)}, {"billstatus", store::FieldValue("Pending")}};
    for (const char* decision : {"amtapproved", "appdate", "remarks"})
        row[decision] = {};
    for (const EntryControl& field : kEntryControls) {
        const QString typed = claim.count(field.name) ? claim.at(field.name).trimmed() : "";
        if (field.kind == Kind::reference)
            continue;
        if (field.kind == Kind::date)
            row[field.column] = store::FieldValue(date(typed));
        else if (field.kind == Kind::number) // a whole number, nothing typed as 0
            row[field.column] =
                store::FieldValue(std::int64_t{QString(typed).remove(',').toLongLong()});
        else
            row[field.column] = store::FieldValue(typed.isEmpty() ? QStringLiteral("-") : typed);
    }
    return row;
}

Row numbered_row(const Row& row) {
    const QString id = row.at("empname").text().section(' ', 1); // "empname A-17"
    return saved_row(numbered_claim(id.section('-', 0, 0), id.section('-', 1).toInt()), refno(row));
}

void enter_claim(vetra_testing::Clerk& clerk, const Claim& claim, bool key_by_key) {
    for (const EntryControl& field : kEntryControls) {
        if (!claim.count(field.name))
            continue;
        const QString& value = claim.at(field.name);
        if (field.kind == Kind::list)
            clerk.choose(field.name, value);
        else if (field.kind == Kind::date)
            key_by_key ? clerk.type_date(field.name, date(value))
                       : clerk.find<QDateEdit>(field.name)->setDate(date(value));
        else
            key_by_key ? clerk.type(field.name, value)
                       : clerk.find<QLineEdit>(field.name)->setText(value);
    }
}

void sign_in(frmLogin& window) {
    vetra_testing::Clerk clerk(window);
    clerk.type("txt_uid", " krove ");
    clerk.type("txt_pass", "739");
    QTest::keyClick(clerk.find<QLineEdit>("txt_pass"), Qt::Key_Return);
}

void open_register(const QString& folder) {
    store::TemporaryRegister::close_all();
    Module1::server = store::names_server(folder) ? folder : QString();
    Module1::app_path = folder;
    Module1::open_database();
}

std::vector<Row> rows(const QString& statement) {
    store::Recordset result;
    result.Open(statement, Module1::db_conn);
    std::vector<Row> found;
    for (; !result.Eof(); result.MoveNext()) {
        Row& row = found.emplace_back();
        // The row id and the change counter are the store's bookkeeping, not what was entered.
        for (int i = 0; i < result.FieldCount(); ++i)
            if (result.FieldName(i) != "id" && result.FieldName(i) != "changes")
                row[result.FieldName(i)] = result.Fields(i);
    }
    return found;
}

std::int64_t refno(const Row& row) {
    return std::int64_t(row.at("refno").number());
}

QString integrity() {
    QStringList found;
    for (const Row& row : rows("PRAGMA integrity_check"))
        found << row.begin()->second.text();
    return found.join('\n');
}

} // namespace acceptance
