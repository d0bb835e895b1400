// The reports' data environment: its own connection to the database file, and the two commands
// whose results the reports print. The report forms may also open `rsdetail` and `rsPendancy`
// with statements of their own, on this connection or on Module1's.
#pragma once

#include "connection.h"
#include "recordset.h"

namespace DEDetail {

inline constexpr char kDetailCommand[] =
    "SELECT refno, refdate, empname, fname, design, basicpay, odist, pname, page, relation, "
    "disease, dfrom, dto, amtclaimed, billstatus, amtapproved, appdate FROM detail";
inline constexpr char kPendancyCommand[] = "SELECT sno, distname, tc, sc, rc, pc FROM preport";

extern store::Connection Connection1;
extern store::Recordset rsdetail;
extern store::Recordset rsPendancy;

// Run the commands on Connection1: each (re)opens its recordset on the command's statement.
void detail();
void Pendancy();

} // namespace DEDetail
