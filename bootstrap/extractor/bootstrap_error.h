// The bootstrap's own errors: everything except the codec's ElzhException.
// Each carries the kind of error and the text that the top level shows under
// "Application Error".
#pragma once

#include <stdexcept>
#include <string>

class EBootstrapError : public std::runtime_error {
public:
    EBootstrapError(const char* kind, const std::string& text)
        : std::runtime_error(text), kind_(kind) {}
    const char* kind() const noexcept { return kind_; }

private:
    const char* kind_;
};

// The kinds of error, named as the box shows them.
inline constexpr const char* kOpenErrorKind = "EFOpenError";
inline constexpr const char* kCreateErrorKind = "EFCreateError";
inline constexpr const char* kReadErrorKind = "EReadError";
inline constexpr const char* kWriteErrorKind = "EWriteError";
inline constexpr const char* kFolderErrorKind = "EInOutError";
inline constexpr const char* kOutOfMemoryKind = "EOutOfMemory";

inline constexpr const char* kStreamReadError = "Stream read error";
inline constexpr const char* kStreamWriteError = "Stream write error";
