// The cursor, lock, state and option values that callers pass to Connection and Recordset.
// They keep the numbers callers know (a keyset cursor is 1, pessimistic locking 2, options -1).
// The store runs every query the same way whatever cursor and lock are asked for: results are
// read forwards and backwards from a snapshot, and rows are never changed through a recordset.
#pragma once

namespace store {

enum CursorTypeEnum {
    adOpenForwardOnly = 0,
    adOpenKeyset = 1,
    adOpenDynamic = 2,
    adOpenStatic = 3
};

enum LockTypeEnum {
    adLockReadOnly = 1,
    adLockPessimistic = 2,
    adLockOptimistic = 3,
    adLockBatchOptimistic = 4
};

enum ObjectStateEnum { adStateClosed = 0, adStateOpen = 1 };

// "Unspecified" for the options of Open and Execute.
inline constexpr long adCmdUnspecified = -1;

} // namespace store
