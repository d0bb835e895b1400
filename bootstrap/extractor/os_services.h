// The operating system as the bootstrap sees it: exactly the services it needs,
// with one implementation per system (os_posix.cpp, os_win32.cpp). Nothing of a
// system's own API appears here, so the rest of the bootstrap builds unchanged
// on either.
//
// Paths and texts are byte strings in the system's own encoding (UTF-8 on POSIX,
// the single-byte code page on Windows), passed through unchanged. No service
// throws: failures come back as results, and the callers decide what to report.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace os {

// The separator the system writes between a folder and a name.
extern const char kPathSeparator;

// Full path of the running executable, as the system reports it.
std::string ownModulePath();
// The folder for temporary files, ending with kPathSeparator.
std::string temporaryFolder();
// The folder for shared system libraries, without a trailing separator.
std::string systemFolder();

enum class FolderResult {
    created,       // made now
    existingOurs,  // already there: a real folder (not a link) of the current user
    existingOther, // already there but a link, a file or somebody else's
    failed,        // could not be made for another reason
};
// Makes the folder, private to the current user where the system has owners;
// on `failed`, `reason` holds the system's explanation.
FolderResult createFolder(const std::string& path, std::string& reason);

// Whether a file or a link (even one that leads nowhere) has this name.
bool fileExists(const std::string& path);
// False when the file could not be deleted (or was not there).
bool deleteFile(const std::string& path);

// An open file. Moves, never copies; closes itself.
class File {
public:
    enum class Mode {
        readShared, // reading; others may read and write meanwhile
        // A new file for writing. Fails when anything has the name already: a
        // link there is never followed, even one that leads nowhere.
        create,
        createExecutable, // the same, marked as a program where the system has such a mark
    };
    struct Failure {
        std::string reason;     // the system's explanation
        bool nameTaken = false; // creating: something has the name already
    };
    enum class Origin { begin, current, end };

    // An open file, or a closed one with `failure` set.
    static File open(const std::string& path, Mode mode, Failure& failure);

    File(File&& other) noexcept : handle_(other.handle_) { other.handle_ = kClosed; }
    File& operator=(File&& other) noexcept {
        if (this != &other) {
            close();
            handle_ = other.handle_;
            other.handle_ = kClosed;
        }
        return *this;
    }
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    ~File() { close(); }

    bool isOpen() const { return handle_ != kClosed; }
    // Reads up to `count` bytes; fewer only at the end of the file. Nothing on failure.
    std::optional<std::size_t> read(void* buffer, std::size_t count);
    // Writes all `count` bytes, or returns false.
    bool write(const void* buffer, std::size_t count);
    // Moves the position; the new position from the start, or nothing on failure.
    std::optional<std::uint64_t> seek(std::int64_t offset, Origin origin);

private:
    // A descriptor on POSIX, a HANDLE on Windows; -1 is invalid on both.
    static constexpr std::intptr_t kClosed = -1;

    explicit File(std::intptr_t handle) : handle_(handle) {}
    // Closes an open file; leaves it closed.
    void close();

    std::intptr_t handle_;
};

// A number that differs from run to run, to seed pseudo-random numbers.
std::uint32_t clockSeed();

// The exclamation sound that goes before an error message.
void beep();

enum class MessageStyle {
    plain, // an OK button, no icon
    stop,  // an OK button and the stop icon, for errors that end the program
};
// Shows a message with no owner window and returns when it has been dismissed.
void messageBox(const std::string& text, const std::string& caption, MessageStyle style);

// Starts `program` with `parameters` as its command line, unchanged, without
// waiting for it and without reporting whether it started.
void startProgram(const std::string& program, const std::string& parameters);

} // namespace os
