// Reading back what the register holds, through the program's shared connection: the `detail`
// rows column by column, the engine's own integrity check, and a row compared with the row a
// claim must have become.
#pragma once

#include "claim_entries.h"

#include <QStringList>
#include <vector>

namespace acceptance {

// Every column of the `detail` rows that satisfy `condition` (all rows when empty), in
// reference-number order.
std::vector<StoredRow> stored_rows(const QString& condition = {});

// The lines of PRAGMA integrity_check: just "ok" for a sound file.
QStringList integrity_check();

// One line per column of `expected` that `row` does not hold as expected; empty when it does.
QStringList differences(const StoredRow& expected, const StoredRow& row);

// Opens the register in `folder` as the program's start does, and closes everything shared when
// it ends.
class OpenRegister {
public:
    explicit OpenRegister(const QString& folder);
    ~OpenRegister();
    OpenRegister(const OpenRegister&) = delete;
    OpenRegister& operator=(const OpenRegister&) = delete;
};

} // namespace acceptance
