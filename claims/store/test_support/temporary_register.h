// Test support: a claims register of its own for one test. It points Module1 at a fresh temporary
// folder and opens the database there, and when it ends it closes every shared connection and
// recordset and removes the folder, so tests never see each other's claims.
#pragma once

#include <QString>
#include <QTemporaryDir>

namespace store {

class TemporaryRegister {
public:
    TemporaryRegister();
    ~TemporaryRegister();
    TemporaryRegister(const TemporaryRegister&) = delete;
    TemporaryRegister& operator=(const TemporaryRegister&) = delete;

    QString folder() const { return dir_.path(); }
    QString database_path() const;

    // Closes everything shared, as the end of the program does.
    static void close_all();
    // Closes everything and opens the database again, as a restart of the program does.
    void restart();

    // Makes the nth statement given to db_conn from now on (1 for the next) fail with a
    // StoreError before it runs, as a full disk would; the statements before and after run.
    static void fail_nth_statement(int nth);

private:
    QTemporaryDir dir_;
};

} // namespace store
