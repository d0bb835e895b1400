// Reading and checking a claim's change counter.
#include "claim_changes.h"

#include "connection.h"
#include "recordset.h"
#include "store_error.h"

namespace store {
namespace {

constexpr char kCounter[] = "changes";

std::optional<ChangeCount> counter_of(Connection& connection, const QString& refno) {
    return connection.ReadNumber(
        QStringLiteral("Select %1 from detail where refno=%2").arg(kCounter, refno));
}

} // namespace

ChangeCount change_count(Recordset& row) {
    return static_cast<ChangeCount>(row.Fields(QString::fromLatin1(kCounter)).number());
}

ChangeCount change_count(Connection& connection, const QString& refno) {
    return counter_of(connection, refno).value_or(0);
}

void require_unchanged(Connection& connection, const QString& refno, ChangeCount shown) {
    const std::optional<ChangeCount> stored = counter_of(connection, refno);
    if (stored && *stored != shown)
        throw StoreError(QStringLiteral("the bill with reference number %1 was changed by another "
                                        "user after it was shown here, so nothing was written. "
                                        "Open the bill again to see the change")
                             .arg(refno));
}

} // namespace store
