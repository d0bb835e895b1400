// A file opened whole for the bootstrap's own reading or writing, reporting every
// failure as EBootstrapError with the texts the top level shows:
// "Cannot open file "%s". %s", "Cannot create file "%s". %s", "Stream read error"
// (fewer bytes than asked for) and "Stream write error".
#pragma once

#include "os_services.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

class FileStream {
public:
    // Opens an existing file for reading, sharing it with other readers and writers.
    static FileStream openForReading(const std::string& path);
    // Creates a new file under a name that nothing has yet; `executable` marks
    // it as a program where the system has such a mark.
    static FileStream create(const std::string& path, bool executable);
    // The same, but nothing when a file, folder or link has the name already.
    static std::optional<FileStream> createUnlessTaken(const std::string& path, bool executable);

    // Reads exactly `count` bytes or throws "Stream read error".
    void ReadBuffer(void* buffer, std::size_t count);
    // Reads up to `count` bytes; fewer only at the end of the file.
    std::size_t Read(void* buffer, std::size_t count);
    void WriteBuffer(const void* buffer, std::size_t count);

    std::uint64_t Position();
    void SetPosition(std::uint64_t position);
    std::uint64_t Size();

private:
    explicit FileStream(os::File file) : file_(std::move(file)) {}
    std::uint64_t seek(std::int64_t offset, os::File::Origin origin);

    os::File file_;
};
