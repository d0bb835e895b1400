// A throw-away register for tests.
#include "temporary_register.h"

#include "dedetail.h"
#include "module1.h"
#include "store_error.h"

#include <memory>

namespace store {

Backend backend_under_test() {
    return qEnvironmentVariable("VETRA_TEST_BACKEND") == "server" ? Backend::Server : Backend::File;
}

TemporaryRegister::TemporaryRegister(Backend backend) : place_(backend) {
    close_all();
    Module1::app_path = place_.folder.path();
    Module1::server = place_.server ? place_.where : QString();
    Module1::open_database();
}

TemporaryRegister::~TemporaryRegister() {
    close_all();
    Module1::server.clear();
    Module1::server_password.clear();
    Module1::app_path.clear();
    Module1::sql_text.clear();
    Module1::reply.clear();
}

QString TemporaryRegister::database_path() const {
    return Module1::database_path();
}

void TemporaryRegister::close_all() {
    Module1::rs_main.Close();
    Module1::rs_aux.Close();
    DEDetail::rsdetail.Close();
    DEDetail::rsPendancy.Close();
    Module1::db_conn.set_statement_hook({});
    Module1::db_conn.Close();
    DEDetail::Connection1.Close();
}

void TemporaryRegister::restart() {
    close_all();
    Module1::open_database();
}

void TemporaryRegister::fail_nth_statement(int nth) {
    auto seen = std::make_shared<int>(0);
    Module1::db_conn.set_statement_hook([seen, nth](const QString& statement) {
        if (++*seen == nth)
            throw StoreError(QStringLiteral("injected failure at: ") + statement);
    });
}

} // namespace store
