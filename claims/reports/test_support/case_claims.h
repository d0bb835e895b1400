// Test helper: claims saved into the open register with the statements the entry form and the
// status form use, for the case list's tests.
#pragma once

#include <QDate>
#include <QString>

namespace reports::testing {

struct CaseClaim {
    long long refno = 101;
    QDate refdate{2024, 3, 5};
    QString odist = "Ludhiana";
    QString billstatus = "Pending"; // "Sanctioned" and "Rejected" are recorded as decisions
    QString empname = "Ram Lal";
    QString fname = "Sohan Lal";
    QString amtclaimed = "12500";
    QString amtapproved = "10000"; // recorded for a sanctioned claim only
};

// Saves the claim on Module1::db_conn: the insert and the updates of a new claim, then the
// decision when the status is not "Pending".
void save_claim(const CaseClaim& claim);

} // namespace reports::testing
