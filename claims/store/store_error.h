// The one error type of the store: every failure of the database engine, of opening the file or
// of a malformed statement arrives as a StoreError carrying a reason a clerk can read.
#pragma once

#include <QString>
#include <stdexcept>

namespace store {

class StoreError : public std::runtime_error {
public:
    explicit StoreError(const QString& reason, int engine_code = 0)
        : std::runtime_error(reason.toStdString()), reason_(reason), engine_code_(engine_code) {}

    // The reason as the engine or the store states it, e.g. "no such column: refnum".
    const QString& reason() const { return reason_; }
    // The engine's extended result code, 0 when the store itself refused.
    int engine_code() const { return engine_code_; }

private:
    QString reason_;
    int engine_code_;
};

} // namespace store
