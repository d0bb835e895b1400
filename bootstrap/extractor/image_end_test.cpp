// Where an image ends: hand-made ELF and PE headers with the furthest part in each
// place it can be (the built images are read end to end by the Packstart tests).
#include "image_end.h"
#include "test_support.h"

#include <cstring>
#include <gtest/gtest.h>
#include <stdexcept>

using namespace packstart_test;

namespace {

Bytes& put(Bytes& bytes, std::size_t at, std::uint64_t value, std::size_t size) {
    bytes.resize(std::max(bytes.size(), at + size));
    for (std::size_t i = 0; i < size; ++i) {
        bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
    return bytes;
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
    std::uint32_t type; // 1: bytes in the file, 8: none
    std::uint64_t offset, size;
};

// An ELF64 file's headers: one segment, the section header table at `shoff`.
Bytes elf64(std::uint64_t segmentEnd, std::uint64_t shoff, const std::vector<Section>& sections) {
    Bytes bytes{0x7F, 'E', 'L', 'F', 2, 1, 1};
    put(bytes, 32, 64, 8); // e_phoff
    put(bytes, 40, shoff, 8);
    put(bytes, 52, 0x0001'0038'0040, 6); // e_ehsize 64, e_phentsize 56, e_phnum 1
    put(bytes, 58, 64, 2);               // e_shentsize
    put(bytes, 60, sections.size(), 2);
    put(bytes, 64 + 32, segmentEnd, 8); // p_filesz, at p_offset 0
    bytes.resize(std::max<std::size_t>(64 + 56, shoff + 64 * sections.size()));
    for (std::size_t i = 0; i < sections.size(); ++i) {
        put(bytes, shoff + 64 * i + 4, sections[i].type, 4);
        put(bytes, shoff + 64 * i + 24, sections[i].offset, 8);
        put(bytes, shoff + 64 * i + 32, sections[i].size, 8);
    }
    return bytes;
}

// A PE32+ file's headers with sections of the given (raw offset, raw size).
Bytes pe(const std::vector<std::pair<std::uint32_t, std::uint32_t>>& sections) {
    Bytes bytes{'M', 'Z'};
    put(bytes, 0x3C, 0x80, 4);
    put(bytes, 0x80, 0x0000'8664'0000'4550, 8); // "PE\0\0", x86-64
    put(bytes, 0x86, sections.size(), 2);
    put(bytes, 0x80 + 20, 0xF0, 2);       // optional header size
    put(bytes, 0x80 + 24, 0x20B, 2);      // PE32+
    put(bytes, 0x80 + 24 + 60, 0x400, 4); // SizeOfHeaders
    std::size_t at = 0x80 + 24 + 0xF0;
    for (const auto& [offset, size] : sections) {
        put(bytes, at + 16, size, 4);
        put(bytes, at + 20, offset, 4);
        at += 40;
    }
    bytes.resize(at);
    return bytes;
}

// The headers' furthest part ends the image; a file that is no image of ours, or headers that
// cannot be right, has no end.
TEST(ImageEnd, TheFurthestPartOfTheHeadersEnds) {
    Bytes elf32{0x7F, 'E', 'L', 'F', 1, 1, 1};
    put(elf32, 28, 0x0000'0100'0000'0034, 8); // e_phoff 52, e_shoff 0x100
    put(elf32, 42, 0x0002'0028'0001'0020,
        8);                       // e_phentsize 32, e_phnum 1, e_shentsize 40, e_shnum 2
    put(elf32, 52 + 16, 0xC0, 4); // p_filesz
    put(elf32, 0x100 + 40 + 4, 1, 4);
    put(elf32, 0x100 + 40 + 16, 0x0000'0024'0000'0800, 8); // sh_offset, sh_size
    elf32.resize(0x100 + 2 * 40);
    Bytes notPe = pe({{0x400, 0x10}});
    Bytes bigEndian = elf64(0x100, 0x200, {});
    Bytes farTable = elf64(0x100, 0x200, {{0, 0, 0}});
    const struct {
        const char* what;
        Bytes headers;
        std::optional<std::uint64_t> end;
    } cases[] = {
        {"ELF section table", elf64(0x180, 0x300, {{0, 0, 0}, {1, 0x200, 0x100}}), 0x300 + 2 * 64},
        {"ELF section", elf64(0x180, 0x200, {{0, 0, 0}, {1, 0x300, 0x250}, {8, 0x300, 0x90000}}),
         0x550},
        {"ELF segment", elf64(0x4000, 0x200, {{0, 0, 0}}), 0x4000},
        {"ELF32", elf32, 0x824},
        {"PE last section", pe({{0x400, 0x1000}, {0x1400, 0x200}, {0, 0}}), 0x1600},
        {"PE furthest section", pe({{0x2000, 0x600}, {0x400, 0x1C00}, {0x9000, 0}}), 0x2600},
        {"PE headers", pe({}), 0x400},
        {"a script", bytesOf("#!/bin/sh\necho not an image\n"), std::nullopt},
        {"not PE", put(notPe, 0x81, 'X', 1), std::nullopt},
        {"big-endian", put(bigEndian, 5, 2, 1), std::nullopt},
        {"table offset wrapping round", put(farTable, 40, 0xFFFFFFFFFFFFFFF0u, 8), std::nullopt},
        {"section wrapping round", elf64(0x100, 0x200, {{1, 0xFFFFFFFFFFFFFFF0u, 0x100}}),
         std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(endOf(c.headers), c.end) << c.what;
    }
    // Headers the file does not hold: the reader's own error comes through.
    EXPECT_THROW(endOf(Bytes{0x7F, 'E', 'L', 'F', 2, 1, 1, 0, 0}), std::out_of_range);
    Bytes manySections = elf64(0x100, 0x200, {{0, 0, 0}});
    EXPECT_THROW(endOf(put(manySections, 60, 60000, 2)), std::out_of_range);
}

} // namespace
