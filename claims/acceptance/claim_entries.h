// What a clerk enters for one claim on the bill entry form, and the `detail` row that entry must
// become. Amounts are given as typed (with thousands commas) and stored as plain numbers; empty
// optional address boxes are stored as "-"; a new claim is stored "Pending" with no decision.
#pragma once

#include "field_value.h"

#include <QDate>
#include <QString>
#include <map>

namespace vetra_testing {
class Clerk;
}

namespace acceptance {

using vetra_testing::Clerk;

struct ClaimEntries {
    QDate refdate;
    QString empname, fname, design, pay;
    QString oaddress, ovill, oteh, oblkname, district;
    QString raddress, rvill, rteh, rdist, rstate;
    QString pname, age, relation, disease;
    QDate dfrom, dto;
    QString hospital, claimed, type, dependent_income;
    QString documents, approval, health_amount, doctor, in_time;
    QString officer, offdesign, branch;
};

// Column name to stored value, for every column a save writes (refno to branch, billstatus).
using StoredRow = std::map<QString, store::FieldValue>;

// The row a new claim saved from `entries` under `refno` must be.
StoredRow saved_row(const ClaimEntries& entries, std::int64_t refno);

// A claim made from `tag` and `n`, each text naming both ("W1-17"), so a stored row tells who
// saved it; a "Self" claim without the health department's approval (no conditional boxes).
ClaimEntries numbered_claim(const QString& tag, int n);

// Enters a whole claim into the bill entry form, every text typed key by key.
void type_claim(Clerk& clerk, const ClaimEntries& claim);
// Enters a claim quickly: texts set at once, lists still chosen from, dates set. For the writers
// that save hundreds of claims; the keystroke rules are proven elsewhere.
void fill_claim(Clerk& clerk, const ClaimEntries& claim);

} // namespace acceptance
