// The "Database Error" box.
#include "database_error.h"

#include "dialogs.h"

void report_database_error(const QString& what_failed, const platform::DatabaseError& error) {
    platform::MsgBox(what_failed + QStringLiteral(": ") + error.reason(),
                     platform::MsgBoxStyle::Information, QStringLiteral("Database Error"));
}
