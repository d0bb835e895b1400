// The change counter of a claim, which keeps one program from overwriting what another changed.
//
// The last column of `detail` counts the updates of the claim's row. The store keeps it on every
// update, whatever statement makes it, so no way of writing a claim can leave it behind. A form
// reads the count when it shows a claim, and inside the transaction of its save asks
// require_unchanged whether the claim still has that count: if another program changed the claim
// meanwhile, the save is refused and nothing is written.
#pragma once

#include <QString>
#include <cstdint>

namespace store {

class Connection;
class Recordset;

using ChangeCount = std::int64_t;

// The count of the claim in the current row of a "Select * from detail" result.
ChangeCount change_count(Recordset& row);

// The count of the claim numbered `refno` (decimal text), 0 when no such claim is stored.
ChangeCount change_count(Connection& connection, const QString& refno);

// Throws StoreError, saying that the claim was changed meanwhile and must be opened again, when
// the claim numbered `refno` is stored with another count than `shown`. A claim that is no longer
// stored passes: the save then finds no row and says so.
void require_unchanged(Connection& connection, const QString& refno, ChangeCount shown);

} // namespace store
