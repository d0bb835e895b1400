// Reading a claim's history and putting back a deleted claim.
//
// The history itself is written by the store on every change of `detail` (history_triggers.h);
// this side only reads it and, to put a claim back, inserts the contents its deletion recorded,
// which leaves a history row of its own.
#pragma once

#include "field_value.h"

#include <QDateTime>
#include <QString>
#include <vector>

namespace store {
class Connection;
}

namespace history {

struct FieldChange {
    QString field;
    store::FieldValue before, after;
};

struct Change {
    QDateTime at; // UTC
    QString who;
    QString kind;                    // saved new, updated, status recorded, deleted or restored
    std::vector<FieldChange> fields; // in the order of the claim's columns
};

// The changes of the claim numbered `refno`, newest first. Throws StoreError.
std::vector<Change> read_history(store::Connection& connection, qint64 refno);

// Whether the claim's latest change is its deletion and no claim holds its number now.
bool can_restore(store::Connection& connection, qint64 refno);

// Puts the deleted claim numbered `refno` back under that number with the contents it had when
// it was deleted, in one transaction. Throws StoreError, changing nothing, when the number is in
// use or the claim's latest change is not a deletion.
void restore_claim(store::Connection& connection, qint64 refno);

} // namespace history
