// Test support: a database of its own on the tests' PostgreSQL cluster, for one test.
//
// The cluster is the one the CTest fixture starts (scripts/test-cluster); VETRA_TEST_SERVER holds
// the libpq string of its maintenance database. A test that needs the server and finds the
// variable unset or the cluster unreachable fails with the reason: it never passes unseen.
#pragma once

#include <QString>
#include <QTemporaryDir>
#include <optional>

namespace store {

class TestDatabase {
public:
    // Creates an empty database; throws StoreError when the cluster cannot be reached.
    TestDatabase();
    // Drops it, whoever is still connected.
    ~TestDatabase();
    TestDatabase(const TestDatabase&) = delete;
    TestDatabase& operator=(const TestDatabase&) = delete;

    // Makes the register in it, as `vetra --create-register` does.
    void make_register() const;

    // The libpq string of the database.
    const QString& conninfo() const { return conninfo_; }
    const QString& name() const { return name_; }

    // The libpq string of the cluster's maintenance database; throws StoreError when unset.
    static QString cluster();
    // Runs one statement on the maintenance database.
    static void administer(const QString& statement);

private:
    QString name_;
    QString conninfo_;
};

enum class Backend { File, Server };

// Where a test's register is: a temporary folder for a file (made when it is opened), or a
// database with a new register on the tests' cluster. `where` is what the program is given: the
// folder, or the server's connection string.
struct RegisterPlace {
    explicit RegisterPlace(Backend backend);
    QTemporaryDir folder;
    std::optional<TestDatabase> server;
    QString where;
};

} // namespace store
