// Reads the payload archive (archive_format.h) from the bootstrap's own file,
// entry by entry. Headers that cannot be right end the run with an error before
// anything of their stated size is allocated: a negative data size or a name
// longer than 255 bytes ("Damaged archive"), and a name or data running past
// the end of the file ("Stream read error", as a short read would).
#pragma once

#include "file_stream.h"
#include "memory_stream.h"

#include <cstdint>
#include <string>

inline constexpr const char* kDamagedArchive = "Damaged archive";

class ArchiveReader {
public:
    // Reads the entry count at `offset`; a file that ends there has no entries.
    ArchiveReader(FileStream& file, std::uint64_t offset);

    // The number of entries to read; 0 when the archive states 0 or less.
    std::int32_t Count() const { return count_; }
    // Reads the next entry's header and its data into `compressed` (cleared
    // first, then positioned at 0); returns the entry's name as stored.
    std::string ReadEntry(TMemoryStream& compressed);

private:
    std::uint32_t readNumber();
    // Throws "Stream read error" unless `count` more bytes lie in the file.
    void expectBytes(std::uint64_t count);

    FileStream& file_;
    std::uint64_t fileSize_;
    std::uint64_t position_;
    std::int32_t count_ = 0;
};
