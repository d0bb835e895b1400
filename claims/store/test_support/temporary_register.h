// Test support: a claims register of its own for one test. It points Module1 at a fresh temporary
// folder and opens the database there, and when it ends it closes every shared connection and
// recordset and removes the folder, so tests never see each other's claims. On the server
// backend the register is made in a database of its own on the tests' cluster (test_server.h);
// VETRA_TEST_BACKEND=server makes that the default, so a suite of form tests runs on either: the
// form suites run once more so, as Server.* (vetra_add_gtest_on_server).
#pragma once

#include "test_server.h"

#include <QString>

namespace store {

// What VETRA_TEST_BACKEND asks for: the file unless it says "server".
Backend backend_under_test();

class TemporaryRegister {
public:
    explicit TemporaryRegister(Backend backend = backend_under_test());
    ~TemporaryRegister();
    TemporaryRegister(const TemporaryRegister&) = delete;
    TemporaryRegister& operator=(const TemporaryRegister&) = delete;

    QString folder() const { return place_.folder.path(); }
    QString database_path() const;
    // The server's database; null for a file.
    const TestDatabase* server() const { return place_.server ? &*place_.server : nullptr; }

    // Closes everything shared, as the end of the program does.
    static void close_all();
    // Closes everything and opens the database again, as a restart of the program does.
    void restart();

    // Makes the nth statement given to db_conn from now on (1 for the next) fail with a
    // StoreError before it runs, as a full disk would; the statements before and after run.
    static void fail_nth_statement(int nth);

private:
    RegisterPlace place_;
};

} // namespace store
