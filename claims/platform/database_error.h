// The one error type of the database and how every form reports it.
//
// Every failure of the database engine, of opening the file or of a malformed statement arrives
// as a DatabaseError carrying a reason a clerk can read (the store knows it as store::StoreError).
// A form catches it around each database action and calls report_database_error: an information
// box titled "Database Error" that says what could not be done and the reason. The form is left
// as it was, so nothing the clerk typed is lost.
#pragma once

#include <QString>
#include <stdexcept>

namespace platform {

class DatabaseError : public std::runtime_error {
public:
    explicit DatabaseError(const QString& reason, int engine_code = 0)
        : std::runtime_error(reason.toStdString()), reason_(reason), engine_code_(engine_code) {}

    // The reason as the engine or the store states it, e.g. "no such column: refnum".
    const QString& reason() const { return reason_; }
    // The engine's extended result code, 0 when the store itself refused.
    int engine_code() const { return engine_code_; }

private:
    QString reason_;
    int engine_code_;
};

} // namespace platform

void report_database_error(const QString& what_failed, const platform::DatabaseError& error);
