// Header walks for ELF and PE images. Each table entry is read on its own, so a
// header that states absurd counts costs reads that fail, never a large buffer.
#include "image_end.h"

#include <algorithm>
#include <array>

namespace image {

namespace {

std::uint64_t littleEndian(std::span<const std::uint8_t> bytes, std::size_t at, std::size_t size) {
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < size; ++i) {
        value |= std::uint64_t{bytes[at + i]} << (8 * i);
    }
    return value;
}

// The fields of ELF headers that matter here, at their offsets for one class.
struct ElfLayout {
    std::size_t word; // size of an offset or size field
    std::size_t headerSize, phoff, shoff, phentsize, phnum, shentsize, shnum;
    std::size_t segmentSize, segmentOffset, segmentFileSize;
    std::size_t sectionSize, sectionType, sectionOffset, sectionBytes;
};

constexpr ElfLayout kElf32{4, 52, 28, 32, 42, 44, 46, 48, 32, 4, 16, 40, 4, 16, 20};
constexpr ElfLayout kElf64{8, 64, 32, 40, 54, 56, 58, 60, 56, 8, 32, 64, 4, 24, 32};

constexpr std::uint32_t kSectionWithoutBytes = 8; // SHT_NOBITS: .bss and the like
constexpr std::uint16_t kTooManyEntries = 0xFFFF; // counts kept elsewhere; never in a bootstrap

// The end of `offset` + `size`, or nothing when it passes 2^64.
std::optional<std::uint64_t> endOf(std::uint64_t offset, std::uint64_t size) {
    if (offset > UINT64_MAX - size) {
        return std::nullopt;
    }
    return offset + size;
}

std::optional<std::uint64_t> elfImageEnd(const ReadAt& readAt,
                                         std::span<const std::uint8_t> ident) {
    const bool is32 = ident[4] == 1;
    const bool is64 = ident[4] == 2;
    if ((!is32 && !is64) || ident[5] != 1) { // big-endian images are not built here
        return std::nullopt;
    }
    const ElfLayout& layout = is32 ? kElf32 : kElf64;
    std::array<std::uint8_t, 64> header{};
    readAt(0, std::span(header).first(layout.headerSize));
    const auto field = [&](std::size_t at, std::size_t size) {
        return littleEndian(header, at, size);
    };
    const std::uint64_t phoff = field(layout.phoff, layout.word);
    const std::uint64_t shoff = field(layout.shoff, layout.word);
    const std::uint64_t phentsize = field(layout.phentsize, 2);
    const std::uint64_t phnum = field(layout.phnum, 2);
    const std::uint64_t shentsize = field(layout.shentsize, 2);
    const std::uint64_t shnum = field(layout.shnum, 2);
    if ((phnum > 0 && phentsize < layout.segmentSize) ||
        (shnum > 0 && shentsize < layout.sectionSize) || phnum == kTooManyEntries ||
        (shnum == 0 && shoff != 0)) {
        return std::nullopt;
    }

    std::uint64_t end = layout.headerSize;
    const auto reach = [&end](std::optional<std::uint64_t> to) {
        if (to) {
            end = std::max(end, *to);
        }
        return to.has_value();
    };
    if (!reach(endOf(phoff, phnum * phentsize)) || !reach(endOf(shoff, shnum * shentsize))) {
        return std::nullopt;
    }
    std::array<std::uint8_t, 64> entry{};
    for (std::uint64_t i = 0; i < phnum; ++i) {
        readAt(phoff + i * phentsize, std::span(entry).first(layout.segmentSize));
        if (!reach(endOf(littleEndian(entry, layout.segmentOffset, layout.word),
                         littleEndian(entry, layout.segmentFileSize, layout.word)))) {
            return std::nullopt;
        }
    }
    for (std::uint64_t i = 0; i < shnum; ++i) {
        readAt(shoff + i * shentsize, std::span(entry).first(layout.sectionSize));
        const auto type = littleEndian(entry, layout.sectionType, 4);
        if (type != 0 && type != kSectionWithoutBytes &&
            !reach(endOf(littleEndian(entry, layout.sectionOffset, layout.word),
                         littleEndian(entry, layout.sectionBytes, layout.word)))) {
            return std::nullopt;
        }
    }
    return end;
}

// PE offsets: the DOS header points at the signature "PE\0\0", a 20-byte file
// header follows, then the optional header, then 40-byte section headers.
constexpr std::size_t kPeHeaderOffsetField = 0x3C;
constexpr std::size_t kFileHeaderSize = 24; // signature and file header
constexpr std::size_t kSectionHeaderSize = 40;
constexpr std::size_t kSizeOfHeadersField = 60; // in the optional header, PE32 and PE32+

std::optional<std::uint64_t> peImageEnd(const ReadAt& readAt,
                                        std::span<const std::uint8_t> dosHeader) {
    const std::uint64_t peOffset = littleEndian(dosHeader, kPeHeaderOffsetField, 4);
    std::array<std::uint8_t, kFileHeaderSize + kSizeOfHeadersField + 4> headers{};
    readAt(peOffset, headers);
    if (headers[0] != 'P' || headers[1] != 'E' || headers[2] != 0 || headers[3] != 0) {
        return std::nullopt;
    }
    const std::uint64_t sectionCount = littleEndian(headers, 6, 2);
    const std::uint64_t optionalHeaderSize = littleEndian(headers, 20, 2);
    if (optionalHeaderSize < kSizeOfHeadersField + 4) {
        return std::nullopt;
    }
    std::uint64_t end = littleEndian(headers, kFileHeaderSize + kSizeOfHeadersField, 4);
    const std::uint64_t sectionTable = peOffset + kFileHeaderSize + optionalHeaderSize;
    std::array<std::uint8_t, kSectionHeaderSize> section{};
    for (std::uint64_t i = 0; i < sectionCount; ++i) {
        readAt(sectionTable + i * kSectionHeaderSize, section);
        const std::uint64_t rawSize = littleEndian(section, 16, 4);
        const std::uint64_t rawOffset = littleEndian(section, 20, 4);
        if (rawSize > 0) {
            end = std::max(end, rawOffset + rawSize);
        }
    }
    return end;
}

} // namespace

std::optional<std::uint64_t> imageEnd(const ReadAt& readAt) {
    std::array<std::uint8_t, 64> start{};
    readAt(0, std::span(start).first(16));
    if (start[0] == 0x7F && start[1] == 'E' && start[2] == 'L' && start[3] == 'F') {
        return elfImageEnd(readAt, start);
    }
    if (start[0] == 'M' && start[1] == 'Z') {
        readAt(0, start);
        return peImageEnd(readAt, start);
    }
    return std::nullopt;
}

} // namespace image
