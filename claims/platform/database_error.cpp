// The "Database Error" box.
#include "database_error.h"

#include "dialogs.h"
#include "store_error.h"

void report_database_error(const QString& what_failed, const std::exception& error) {
    const auto* store_error = dynamic_cast<const store::StoreError*>(&error);
    const QString reason =
        store_error != nullptr ? store_error->reason() : QString::fromLocal8Bit(error.what());
    platform::MsgBox(what_failed + QStringLiteral(": ") + reason,
                     platform::MsgBoxStyle::Information, QStringLiteral("Database Error"));
}
