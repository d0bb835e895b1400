// The one error type of the store: every failure of the database engine, of opening the file or
// of a malformed statement arrives as a StoreError carrying a reason a clerk can read. It is the
// platform's DatabaseError, so the forms report it with report_database_error.
#pragma once

#include "database_error.h"

namespace store {

using StoreError = platform::DatabaseError;

} // namespace store
