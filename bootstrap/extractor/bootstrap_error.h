// The bootstrap's own errors: everything except the codec's ElzhException.
// Each carries the text the top level shows under "Application Error".
#pragma once

#include <stdexcept>

class EBootstrapError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

inline constexpr const char* kStreamReadError = "Stream read error";
inline constexpr const char* kStreamWriteError = "Stream write error";
