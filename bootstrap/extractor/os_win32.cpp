// The bootstrap's OS services on Windows, through the ANSI entry points, so that
// every path and text is in the system's single-byte code page (Setup.ini holds
// the path exactly as the system reported it). Paths are joined with backslashes.
//
// Folders the system reports are asked for with a buffer of 299 characters
// first, then with one as large as the system says it needs, so a long path is
// never cut. An existing temporary folder counts as ours only when it is a real
// folder (no junction or link) whose owner is the current user or the owner the
// user's new files get.
#include "os_services.h"

#include <aclapi.h> // brings <windows.h>
#include <algorithm>
#include <shellapi.h>
#include <vector>

namespace os {

const char kPathSeparator = '\\';

namespace {

constexpr DWORD kFolderBuffer = 299;

// Calls `ask(buffer, size)`, which returns the length written, or the size
// needed when the buffer is too small, or 0 on failure.
template <class Ask> std::string askForPath(Ask ask) {
    std::vector<char> buffer(kFolderBuffer);
    for (;;) {
        const DWORD length = ask(buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) {
            return {};
        }
        if (length < buffer.size()) {
            return std::string(buffer.data(), length);
        }
        buffer.resize(length + 1);
    }
}

HANDLE handleOf(std::intptr_t handle) {
    return reinterpret_cast<HANDLE>(handle);
}

// The system's text for `error`, without its closing line break and full stop.
std::string systemErrorText(DWORD error) {
    char* text = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string message(text != nullptr ? text : "", length);
    LocalFree(text);
    while (!message.empty() &&
           (static_cast<unsigned char>(message.back()) <= ' ' || message.back() == '.')) {
        message.pop_back();
    }
    return message;
}

// The current user's SID and the default owner of the objects it creates.
bool isCurrentUser(PSID owner) {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) {
        return false;
    }
    bool matches = false;
    for (const TOKEN_INFORMATION_CLASS kind : {TokenUser, TokenOwner}) {
        DWORD size = 0;
        GetTokenInformation(token, kind, nullptr, 0, &size);
        std::vector<BYTE> information(size);
        if (size > 0 && GetTokenInformation(token, kind, information.data(), size, &size)) {
            const PSID sid = kind == TokenUser
                                 ? reinterpret_cast<TOKEN_USER*>(information.data())->User.Sid
                                 : reinterpret_cast<TOKEN_OWNER*>(information.data())->Owner;
            matches = matches || EqualSid(owner, sid);
        }
    }
    CloseHandle(token);
    return matches;
}

bool isOwnedByCurrentUser(const std::string& path) {
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetNamedSecurityInfoA(path.c_str(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner,
                              nullptr, nullptr, nullptr, &descriptor) != ERROR_SUCCESS) {
        return false;
    }
    const bool ours = owner != nullptr && isCurrentUser(owner);
    LocalFree(descriptor);
    return ours;
}

} // namespace

std::string ownModulePath() {
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        const DWORD length =
            GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) {
            return {};
        }
        if (length < buffer.size()) {
            return std::string(buffer.data(), length);
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::string temporaryFolder() {
    std::string folder =
        askForPath([](char* buffer, DWORD size) { return GetTempPathA(size, buffer); });
    if (folder.empty() || folder.back() != kPathSeparator) {
        folder += kPathSeparator;
    }
    return folder;
}

std::string systemFolder() {
    return askForPath([](char* buffer, DWORD size) { return GetSystemDirectoryA(buffer, size); });
}

FolderResult createFolder(const std::string& path, std::string& reason) {
    if (CreateDirectoryA(path.c_str(), nullptr)) {
        return FolderResult::created;
    }
    if (const DWORD error = GetLastError(); error != ERROR_ALREADY_EXISTS) {
        reason = systemErrorText(error);
        return FolderResult::failed;
    }
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
        (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0 && isOwnedByCurrentUser(path)) {
        return FolderResult::existingOurs;
    }
    return FolderResult::existingOther;
}

bool fileExists(const std::string& path) {
    // The attributes of a link itself: a link to a folder counts as a file too.
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 ||
            (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0);
}

bool deleteFile(const std::string& path) {
    return DeleteFileA(path.c_str()) != 0;
}

File File::open(const std::string& path, Mode mode, Failure& failure) {
    const bool reading = mode == Mode::readShared;
    // A new file only, and a link at the name taken as the name's owner, never
    // followed: "create always" would write wherever a planted link leads.
    const HANDLE handle = CreateFileA(
        path.c_str(), reading ? GENERIC_READ : GENERIC_WRITE,
        reading ? FILE_SHARE_READ | FILE_SHARE_WRITE : 0, nullptr,
        reading ? OPEN_EXISTING : CREATE_NEW,
        reading ? FILE_ATTRIBUTE_NORMAL : FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT,
        nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        failure.nameTaken = error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS;
        failure.reason = systemErrorText(error);
        return File(kClosed);
    }
    return File(reinterpret_cast<std::intptr_t>(handle));
}

void File::close() {
    if (handle_ != kClosed) {
        CloseHandle(handleOf(handle_));
        handle_ = kClosed;
    }
}

std::optional<std::size_t> File::read(void* buffer, std::size_t count) {
    auto* bytes = static_cast<char*>(buffer);
    std::size_t done = 0;
    while (done < count) {
        const DWORD ask = static_cast<DWORD>(std::min<std::size_t>(count - done, 1u << 30));
        DWORD got = 0;
        if (!ReadFile(handleOf(handle_), bytes + done, ask, &got, nullptr)) {
            return std::nullopt;
        }
        if (got == 0) {
            break;
        }
        done += got;
    }
    return done;
}

bool File::write(const void* buffer, std::size_t count) {
    const auto* bytes = static_cast<const char*>(buffer);
    std::size_t done = 0;
    while (done < count) {
        const DWORD ask = static_cast<DWORD>(std::min<std::size_t>(count - done, 1u << 30));
        DWORD put = 0;
        if (!WriteFile(handleOf(handle_), bytes + done, ask, &put, nullptr) || put == 0) {
            return false;
        }
        done += put;
    }
    return true;
}

std::optional<std::uint64_t> File::seek(std::int64_t offset, Origin origin) {
    const DWORD method = origin == Origin::begin     ? FILE_BEGIN
                         : origin == Origin::current ? FILE_CURRENT
                                                     : FILE_END;
    LARGE_INTEGER distance{};
    distance.QuadPart = offset;
    LARGE_INTEGER position{};
    if (!SetFilePointerEx(handleOf(handle_), distance, &position, method)) {
        return std::nullopt;
    }
    return static_cast<std::uint64_t>(position.QuadPart);
}

std::uint32_t clockSeed() {
    LARGE_INTEGER counter{};
    QueryPerformanceCounter(&counter);
    return GetTickCount() ^ static_cast<std::uint32_t>(counter.QuadPart);
}

void beep() {
    MessageBeep(MB_ICONEXCLAMATION);
}

void messageBox(const std::string& text, const std::string& caption, MessageStyle style) {
    MessageBoxA(nullptr, text.c_str(), caption.c_str(),
                style == MessageStyle::stop ? MB_OK | MB_ICONSTOP : MB_OK);
}

void startProgram(const std::string& program, const std::string& parameters) {
    ShellExecuteA(nullptr, "Open", program.c_str(), parameters.c_str(), nullptr, SW_HIDE);
}

} // namespace os
