// The archive reader: header checks against the file's size, then whole reads.
#include "archive_reader.h"

#include "archive_format.h"
#include "bootstrap_error.h"

#include <algorithm>
#include <array>

ArchiveReader::ArchiveReader(FileStream& file, std::uint64_t offset)
    : file_(file), fileSize_(file.Size()), position_(offset) {
    if (offset >= fileSize_) {
        return;
    }
    file_.SetPosition(offset);
    count_ = std::max(static_cast<std::int32_t>(readNumber()), 0);
}

std::uint32_t ArchiveReader::readNumber() {
    expectBytes(archive::kNumberSize);
    std::array<std::uint8_t, archive::kNumberSize> bytes{};
    file_.ReadBuffer(bytes.data(), bytes.size());
    position_ += bytes.size();
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        value |= std::uint32_t{bytes[i]} << (8 * i);
    }
    return value;
}

void ArchiveReader::expectBytes(std::uint64_t count) {
    if (position_ > fileSize_ || count > fileSize_ - position_) {
        throw EBootstrapError(kReadErrorKind, kStreamReadError);
    }
}

std::string ArchiveReader::ReadEntry(TMemoryStream& compressed) {
    compressed.Clear();
    const auto dataSize = static_cast<std::int32_t>(readNumber());
    const std::uint32_t nameLength = readNumber();
    if (dataSize < 0 || nameLength > archive::kLongestName) {
        throw EBootstrapError(kReadErrorKind, kDamagedArchive);
    }
    expectBytes(nameLength);
    std::string name(nameLength, '\0');
    file_.ReadBuffer(name.data(), name.size());
    position_ += nameLength;

    expectBytes(static_cast<std::uint64_t>(dataSize));
    compressed.SetSizeForOverwrite(static_cast<std::size_t>(dataSize));
    file_.ReadBuffer(compressed.Memory(), compressed.Size());
    position_ += static_cast<std::uint64_t>(dataSize);
    compressed.SetPosition(0);
    return name;
}
