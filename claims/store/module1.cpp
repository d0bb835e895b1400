// The shared database objects and their opening.
#include "module1.h"

#include "connection_string.h"
#include "dedetail.h"
#include "schema.h"
#include "server_register.h"
#include "store_error.h"
#include "val.h"

#include <QDir>

namespace Module1 {

store::Connection db_conn;
store::Recordset rs_main;
store::Recordset rs_aux;
QString sql_text;
QString reply;
QString app_path;
QString server;
QString server_password;

QString database_path() {
    return QDir(app_path).absoluteFilePath(kDatabaseFileName);
}

QString register_name() {
    return server.isEmpty() ? QDir::toNativeSeparators(database_path())
                            : store::server_name(server);
}

namespace {

// Both connections on the server; its register is made by --create-register only.
void open_server_register() {
    using namespace store;
    db_conn.set_open_check(check_server_register);
    db_conn.Open(server, {}, server_password);
    try {
        create_scratch_tables(db_conn);
        if (DEDetail::Connection1.State() == adStateOpen)
            DEDetail::Connection1.Close();
        DEDetail::Connection1.Open(server, {}, server_password);
        create_scratch_tables(DEDetail::Connection1);
    } catch (...) {
        db_conn.Close();
        DEDetail::Connection1.Close();
        throw;
    }
}

} // namespace

void open_database() {
    using namespace store;
    if (db_conn.State() == adStateOpen)
        db_conn.Close();
    if (!server.isEmpty()) {
        open_server_register();
        return;
    }
    const QString file = database_path();
    create_database_if_missing(file, kDatabasePassword);
    const QString connection_string =
        QStringLiteral("Provider=Microsoft.jet.oledb.4.0; data source=") +
        connection_string_value(file) +
        QStringLiteral(";Persist Security Info=False;Jet OLEDB:Database Password=") +
        kDatabasePassword;
    // A file this program cannot use is refused before anything is written to it.
    db_conn.set_open_check([](Connection& opened) {
        check_claims_schema(opened);
        check_file_sound(opened);
    });
    db_conn.Open(connection_string, QString(), QString(), adCmdUnspecified);
    try {
        upgrade_claims_schema(db_conn, file + QStringLiteral(".before-upgrade"));
        create_scratch_tables(db_conn);
        if (DEDetail::Connection1.State() == adStateOpen)
            DEDetail::Connection1.Close();
        DEDetail::Connection1.Open(db_conn.ConnectionString());
        create_scratch_tables(DEDetail::Connection1);
    } catch (...) {
        db_conn.Close();
        DEDetail::Connection1.Close();
        throw;
    }
}

QString allocate_reference_number() {
    using namespace store;
    if (rs_main.State() == adStateOpen)
        rs_main.Close();
    rs_main.Open("Select refno from detail", db_conn, adOpenKeyset, adLockPessimistic,
                 adCmdUnspecified);
    if (rs_main.RecordCount() == 0)
        return QStringLiteral("101");
    if (rs_aux.State() == adStateOpen)
        rs_aux.Close();
    rs_aux.Open("Select max(refno) from detail", db_conn, adOpenKeyset, adLockPessimistic,
                adCmdUnspecified);
    const auto next = platform::RoundHalfEven(platform::Val(rs_aux.Fields(0).text()) + 1);
    if (!next)
        throw StoreError(
            QStringLiteral("no reference number is left after %1").arg(rs_aux.Fields(0).text()));
    return QString::number(*next);
}

} // namespace Module1
