// Finding claims by the beginnings of the words of their names.
//
// A claim is found when every typed word (after normalisation, see search_text.h) begins a word
// of its reference number, employee's name, father's name, patient's name or hospital, and it
// lies in the chosen district and status. The claims found come newest first (the last entered
// first), at most kMaxLines of them, with the number of further claims that match.
//
// The statements read the full-text table that the store keeps with every write of a claim
// (layout 4): its index of word beginnings gives the matching claims newest first and counts
// them without reading the claims; only the lines shown are read from `detail`.
#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

namespace store {
class Connection;
}

namespace search {

inline constexpr int kMaxLines = 200;

// An empty district or status means all of them.
struct Filters {
    QString district;
    QString status;
};

struct FoundClaim {
    QString refno;
    QDate refdate;
    QString empname;
    QString pname;
    QString odist;
    QString amtclaimed;
    QString billstatus;
};

struct Findings {
    std::vector<FoundClaim> lines;
    // Claims that match beyond the lines shown.
    std::int64_t more = 0;
};

// The statement listing the first lines' claims, and the one counting every match; empty when the
// typed text holds no word.
QString lines_statement(const QString& typed, const Filters& filters);
QString count_statement(const QString& typed, const Filters& filters);

// Throws store::StoreError when the engine fails.
Findings find_claims(store::Connection& connection, const QString& typed, const Filters& filters);

} // namespace search
