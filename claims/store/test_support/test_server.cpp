// Databases on the tests' cluster.
#include "test_server.h"

#include "connection.h"
#include "server_register.h"
#include "store_error.h"

#include <QCoreApplication>
#include <atomic>

namespace store {

QString TestDatabase::cluster() {
    const QString conninfo = qEnvironmentVariable("VETRA_TEST_SERVER");
    if (conninfo.isEmpty())
        throw StoreError(QStringLiteral("VETRA_TEST_SERVER names no test cluster: run the server "
                                        "tests through ctest, whose fixture starts one"));
    return conninfo;
}

void TestDatabase::administer(const QString& statement) {
    Connection maintenance;
    maintenance.Open(cluster());
    maintenance.Execute(statement);
}

TestDatabase::TestDatabase() {
    static std::atomic<int> made{0};
    name_ = QStringLiteral("vetra_%1_%2").arg(QCoreApplication::applicationPid()).arg(++made);
    administer("DROP DATABASE IF EXISTS " + name_ + " WITH (FORCE)");
    administer("CREATE DATABASE " + name_);
    conninfo_ = cluster() + " dbname=" + name_;
}

TestDatabase::~TestDatabase() {
    try {
        administer("DROP DATABASE IF EXISTS " + name_ + " WITH (FORCE)");
    } catch (const StoreError&) {
        // A cluster gone meanwhile takes its databases with it.
    }
}

void TestDatabase::make_register() const {
    Connection maker;
    maker.Open(conninfo_);
    create_server_register(maker);
}

RegisterPlace::RegisterPlace(Backend backend) : where(folder.path()) {
    if (backend == Backend::Server) {
        server.emplace();
        server->make_register();
        where = server->conninfo();
    }
}

} // namespace store
