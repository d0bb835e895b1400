// The claim history read back, and a deleted claim put back.
#include "claim_history.h"

#include "connection.h"
#include "history_triggers.h"
#include "recordset.h"
#include "schema.h"
#include "store_error.h"

namespace history {
namespace {

// The id of the claim's latest change when that change deleted it.
std::optional<qint64> deletion_to_undo(store::Connection& connection, qint64 refno) {
    const auto latest = connection.ReadNumber(
        QStringLiteral("SELECT max(id) FROM claim_history WHERE refno = %1").arg(refno));
    if (!latest)
        return std::nullopt;
    const auto deleted = connection.ReadNumber(
        QStringLiteral("SELECT count(*) FROM claim_history WHERE id = %1 AND kind = '%2'")
            .arg(*latest)
            .arg(store::kDeleted));
    return deleted.value_or(0) == 1 ? latest : std::nullopt;
}

bool number_in_use(store::Connection& connection, qint64 refno) {
    return connection
               .ReadNumber(
                   QStringLiteral("SELECT count(*) FROM detail WHERE refno = %1").arg(refno))
               .value_or(0) > 0;
}

// Folds what one transaction did to the same field twice, and orders the fields as the claim.
std::vector<FieldChange> in_claim_order(const std::vector<FieldChange>& written) {
    std::vector<FieldChange> fields;
    for (const QString& column : store::claim_columns()) {
        std::optional<FieldChange> folded;
        for (const FieldChange& change : written)
            if (change.field == column) {
                if (!folded)
                    folded = change;
                folded->after = change.after;
            }
        if (folded && !(folded->before == folded->after))
            fields.push_back(*folded);
    }
    return fields;
}

} // namespace

std::vector<Change> read_history(store::Connection& connection, qint64 refno) {
    store::Recordset rows;
    rows.Open(QStringLiteral("SELECT h.id, h.at_utc, h.who, h.kind, f.field, f.before_value, "
                             "f.after_value FROM claim_history h LEFT JOIN claim_history_fields "
                             "f ON f.change = h.id WHERE h.refno = %1 ORDER BY h.id DESC, "
                             "f.rowid")
                  .arg(refno),
              connection);
    std::vector<Change> changes;
    std::vector<FieldChange> written;
    std::int64_t current = -1;
    const auto close_change = [&] {
        if (!changes.empty())
            changes.back().fields = in_claim_order(written);
        written.clear();
    };
    for (; !rows.Eof(); rows.MoveNext()) {
        const auto id = static_cast<std::int64_t>(rows.Fields(0).number());
        if (id != current) {
            close_change();
            current = id;
            QDateTime at = QDateTime::fromString(rows.Fields(1).text(), Qt::ISODateWithMs);
            at.setTimeSpec(Qt::UTC);
            changes.push_back({at, rows.Fields(2).text(), rows.Fields(3).text(), {}});
        }
        if (!rows.Fields(4).is_null())
            written.push_back({rows.Fields(4).text(), rows.Fields(5), rows.Fields(6)});
    }
    close_change();
    return changes;
}

bool can_restore(store::Connection& connection, qint64 refno) {
    return deletion_to_undo(connection, refno) && !number_in_use(connection, refno);
}

void restore_claim(store::Connection& connection, qint64 refno) {
    store::Transaction transaction(connection);
    const auto deletion = deletion_to_undo(connection, refno);
    if (!deletion)
        throw store::StoreError(
            QStringLiteral("the claim with reference number %1 is not a deleted claim").arg(refno));
    if (number_in_use(connection, refno))
        throw store::StoreError(QStringLiteral("the reference number %1 is in use by another "
                                               "claim, so the deleted claim cannot be put back")
                                    .arg(refno));
    // Copied inside the engine, so every value comes back exactly as it was stored.
    QStringList columns, values;
    for (const QString& column : store::claim_columns()) {
        if (column == "id" || column == "changes")
            continue;
        columns << column;
        values << QStringLiteral("(SELECT before_value FROM claim_history_fields WHERE change = "
                                 "%1 AND field = '%2')")
                      .arg(*deletion)
                      .arg(column);
    }
    store::record_inserts_as_restored(connection);
    connection.Execute("INSERT INTO detail (" + columns.join(',') + ") SELECT " + values.join(','));
    transaction.commit();
}

} // namespace history
