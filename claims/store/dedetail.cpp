// The reports' connection, commands and recordsets.
#include "dedetail.h"

namespace DEDetail {

store::Connection Connection1;
store::Recordset rsdetail;
store::Recordset rsPendancy;

namespace {

void run(store::Recordset& recordset, const char* command) {
    recordset.Close();
    recordset.Open(command, Connection1, store::adOpenStatic, store::adLockReadOnly);
}

} // namespace

void detail() {
    run(rsdetail, kDetailCommand);
}

void Pendancy() {
    run(rsPendancy, kPendancyCommand);
}

} // namespace DEDetail
