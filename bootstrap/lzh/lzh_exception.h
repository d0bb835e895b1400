// The codec's own error, and the one way the codec gets the memory for its
// tables: running out of memory there is reported as ElzhException, which
// TCustom_lzh turns into a false result. Every other failure (a target that
// cannot grow, a progress routine that throws) reaches the caller unchanged.
#pragma once

#include <memory>
#include <new>
#include <stdexcept>

class ElzhException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

inline constexpr const char* kLzhNoTableMemory = "LZH : Cannot get memory for dictionary tables";
// Releasing the tables cannot fail here (they are freed by their owner), but
// callers that match the codec's messages know this text too.
inline constexpr const char* kLzhTableFreeError =
    "LZH : Error freeing memory for dictionary tables";

namespace lzh {

// Runs `make`, a failure to get memory reported as the codec's own error.
template <class Make> auto tableMemory(Make make) -> decltype(make()) {
    try {
        return make();
    } catch (const std::bad_alloc&) {
        throw ElzhException(kLzhNoTableMemory);
    }
}

// Allocates one operation's tables, zero-initialised.
template <class Tables> std::unique_ptr<Tables> allocateTables() {
    return tableMemory([] { return std::make_unique<Tables>(); });
}

} // namespace lzh
