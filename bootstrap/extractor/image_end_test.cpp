// Where an image ends: the built Packstart itself, and hand-made ELF and PE
// headers with the furthest part in each place it can be.
#include "image_end.h"
#include "test_support.h"

#include <cstring>
#include <gtest/gtest.h>
#include <stdexcept>

using namespace packstart_test;

namespace {

void put(Bytes& bytes, std::size_t at, std::uint64_t value, std::size_t size) {
    if (bytes.size() < at + size) {
        bytes.resize(at + size);
    }
    for (std::size_t i = 0; i < size; ++i) {
        bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

// Reads from `bytes` only; asking past their end throws, like a short file.
std::optional<std::uint64_t> endOf(const Bytes& bytes) {
    return image::imageEnd([&](std::uint64_t offset, std::span<std::uint8_t> into) {
        if (offset > bytes.size() || into.size() > bytes.size() - offset) {
            throw std::out_of_range("past the end");
        }
        std::memcpy(into.data(), bytes.data() + offset, into.size());
    });
}

struct Section {
    std::uint32_t type;
    std::uint64_t offset, size;
};

// An ELF64 file's headers: one segment, the section header table at `shoff`.
Bytes elf64(std::uint64_t segmentEnd, std::uint64_t shoff, const std::vector<Section>& sections) {
    Bytes bytes{0x7F, 'E', 'L', 'F', 2, 1, 1};
    put(bytes, 32, 64, 8); // e_phoff
    put(bytes, 40, shoff, 8);
    put(bytes, 52, 64, 2); // e_ehsize
    put(bytes, 54, 56, 2); // e_phentsize
    put(bytes, 56, 1, 2);  // e_phnum
    put(bytes, 58, 64, 2); // e_shentsize
    put(bytes, 60, sections.size(), 2);
    put(bytes, 64 + 8, 0, 8); // p_offset
    put(bytes, 64 + 32, segmentEnd, 8);
    bytes.resize(std::max<std::size_t>(64 + 56, shoff + 64 * sections.size()));
    for (std::size_t i = 0; i < sections.size(); ++i) {
        const std::size_t at = shoff + 64 * i;
        put(bytes, at + 4, sections[i].type, 4);
        put(bytes, at + 24, sections[i].offset, 8);
        put(bytes, at + 32, sections[i].size, 8);
    }
    return bytes;
}

constexpr std::uint32_t kProgbits = 1;
constexpr std::uint32_t kNobits = 8;

TEST(ImageEnd, TheBuiltPackstartEndsWhereItsFileEnds) {
    const Bytes image = readFile(PACKSTART_PATH);
    EXPECT_EQ(endOf(image), image.size());
    Bytes carrying = image;
    carrying.insert(carrying.end(), 5000, 0xAB);
    EXPECT_EQ(endOf(carrying), image.size());
}

TEST(ImageEnd, ElfEndsAtTheFurthestSectionSegmentOrHeaderTable) {
    // The section header table last, as linkers lay it out.
    EXPECT_EQ(endOf(elf64(0x180, 0x300, {{0, 0, 0}, {kProgbits, 0x200, 0x100}})), 0x300 + 2 * 64);
    // A section's bytes last; a section without bytes in the file counts for nothing.
    EXPECT_EQ(endOf(elf64(0x180, 0x200,
                          {{0, 0, 0}, {kProgbits, 0x300, 0x250}, {kNobits, 0x300, 0x90000}})),
              0x550);
    // A segment last.
    EXPECT_EQ(endOf(elf64(0x4000, 0x200, {{0, 0, 0}})), 0x4000);
}

TEST(ImageEnd, Elf32UsesItsOwnFieldLayout) {
    Bytes bytes{0x7F, 'E', 'L', 'F', 1, 1, 1};
    put(bytes, 28, 52, 4);    // e_phoff
    put(bytes, 32, 0x100, 4); // e_shoff
    put(bytes, 42, 32, 2);    // e_phentsize
    put(bytes, 44, 1, 2);     // e_phnum
    put(bytes, 46, 40, 2);    // e_shentsize
    put(bytes, 48, 2, 2);     // e_shnum
    put(bytes, 52 + 4, 0, 4); // p_offset
    put(bytes, 52 + 16, 0xC0, 4);
    put(bytes, 0x100 + 40 + 4, kProgbits, 4);
    put(bytes, 0x100 + 40 + 16, 0x800, 4);
    put(bytes, 0x100 + 40 + 20, 0x24, 4);
    bytes.resize(0x100 + 2 * 40);
    EXPECT_EQ(endOf(bytes), 0x824);
}

// A PE file's headers with sections of the given (raw offset, raw size).
Bytes pe(const std::vector<std::pair<std::uint32_t, std::uint32_t>>& sections) {
    constexpr std::size_t peOffset = 0x80;
    constexpr std::size_t optionalSize = 0xF0;
    Bytes bytes{'M', 'Z'};
    put(bytes, 0x3C, peOffset, 4);
    put(bytes, peOffset, 0x00004550, 4); // "PE\0\0"
    put(bytes, peOffset + 4, 0x8664, 2); // x86-64
    put(bytes, peOffset + 6, sections.size(), 2);
    put(bytes, peOffset + 20, optionalSize, 2);
    put(bytes, peOffset + 24, 0x20B, 2);      // PE32+
    put(bytes, peOffset + 24 + 60, 0x400, 4); // SizeOfHeaders
    std::size_t at = peOffset + 24 + optionalSize;
    for (const auto& [offset, size] : sections) {
        put(bytes, at + 16, size, 4);
        put(bytes, at + 20, offset, 4);
        at += 40;
    }
    bytes.resize(at);
    return bytes;
}

TEST(ImageEnd, PeEndsWithTheLastSectionsRawData) {
    EXPECT_EQ(endOf(pe({{0x400, 0x1000}, {0x1400, 0x200}, {0, 0}})), 0x1600);
    // Section order in the table does not matter, nor do sections without raw data.
    EXPECT_EQ(endOf(pe({{0x2000, 0x600}, {0x400, 0x1C00}, {0x9000, 0}})), 0x2600);
    EXPECT_EQ(endOf(pe({})), 0x400);
}

TEST(ImageEnd, OtherFilesAndImpossibleHeaders) {
    EXPECT_EQ(endOf(bytesOf("#!/bin/sh\necho not an image\n")), std::nullopt);
    Bytes notPe = pe({{0x400, 0x10}});
    notPe[0x81] = 'X';
    EXPECT_EQ(endOf(notPe), std::nullopt);
    Bytes bigEndian = elf64(0x100, 0x200, {});
    bigEndian[5] = 2;
    EXPECT_EQ(endOf(bigEndian), std::nullopt);
    // Tables that pass the end of any address.
    Bytes farTable = elf64(0x100, 0x200, {{0, 0, 0}});
    put(farTable, 40, 0xFFFFFFFFFFFFFFF0u, 8);
    EXPECT_EQ(endOf(farTable), std::nullopt);
    EXPECT_EQ(endOf(elf64(0x100, 0x200, {{kProgbits, 0xFFFFFFFFFFFFFFF0u, 0x100}})), std::nullopt);
    // Headers the file does not hold: the reader's own error comes through.
    EXPECT_THROW(endOf(Bytes{0x7F, 'E', 'L', 'F', 2, 1, 1, 0, 0}), std::out_of_range);
    Bytes manySections = elf64(0x100, 0x200, {{0, 0, 0}});
    put(manySections, 60, 60000, 2);
    EXPECT_THROW(endOf(manySections), std::out_of_range);
}

} // namespace
