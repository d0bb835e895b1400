// The archive reader and the file stream under it: entries read in order from
// the offset on, and every header that cannot be right refused with its text
// before anything of its stated size is allocated.
#include "archive_reader.h"
#include "bootstrap_error.h"
#include "packer.h"
#include "test_support.h"

#include <gtest/gtest.h>

using namespace packstart_test;

namespace {

class ArchiveReading : public ::testing::Test {
protected:
    // A file of `prefix` (standing for the image) followed by `archive`.
    FileStream fileWith(const Bytes& archive) {
        Bytes bytes = prefix_;
        bytes.insert(bytes.end(), archive.begin(), archive.end());
        writeFile(path_, bytes);
        return FileStream::openForReading(path_.string());
    }

    // The message of the error that reading every entry ends with.
    std::string errorReading(const Bytes& archive) {
        FileStream file = fileWith(archive);
        TMemoryStream compressed;
        try {
            ArchiveReader reader(file, prefix_.size());
            for (std::int32_t i = 0; i < reader.Count(); ++i) {
                reader.ReadEntry(compressed);
            }
        } catch (const EBootstrapError& error) {
            return error.what();
        }
        return "no error";
    }

    ScratchFolder scratch_;
    fs::path path_ = scratch_.path() / "archive";
    Bytes prefix_ = sampleBytes(777, 1);
};

Bytes numberBytes(std::uint32_t value) {
    return {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
            static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
}

Bytes concatenate(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

TEST_F(ArchiveReading, ReadsEachEntrysNameAndDataInOrder) {
    const Bytes first = sampleBytes(5000, 2);
    const Bytes archive =
        concatenate({numberBytes(3), packer::entryBytes("One.dll", first),
                     packer::entryBytes("", {}), packer::entryBytes("KTB_Unz.dll", bytesOf("xyz")),
                     bytesOf("trailing bytes the reader never looks at")});
    FileStream file = fileWith(archive);
    ArchiveReader reader(file, prefix_.size());
    ASSERT_EQ(reader.Count(), 3);
    TMemoryStream compressed;
    compressed.Write("left over", 9);
    EXPECT_EQ(reader.ReadEntry(compressed), "One.dll");
    EXPECT_EQ(Bytes(compressed.Memory(), compressed.Memory() + compressed.Size()), first);
    EXPECT_EQ(compressed.Position(), 0u);
    EXPECT_EQ(reader.ReadEntry(compressed), "");
    EXPECT_EQ(compressed.Size(), 0u);
    EXPECT_EQ(reader.ReadEntry(compressed), "KTB_Unz.dll");
    EXPECT_EQ(textOf(Bytes(compressed.Memory(), compressed.Memory() + compressed.Size())), "xyz");
}

TEST_F(ArchiveReading, NoEntriesWhenTheFileEndsAtTheOffsetOrTheCountIsNotPositive) {
    for (const Bytes& archive : {Bytes{}, numberBytes(0), numberBytes(0x80000000u),
                                 concatenate({numberBytes(0xFFFFFFFFu), bytesOf("junk")})}) {
        FileStream file = fileWith(archive);
        EXPECT_EQ(ArchiveReader(file, prefix_.size()).Count(), 0);
    }
    FileStream file = fileWith({});
    EXPECT_EQ(ArchiveReader(file, prefix_.size() + 100).Count(), 0);
}

TEST_F(ArchiveReading, ImpossibleHeadersAreRefused) {
    const Bytes one = numberBytes(1);
    EXPECT_EQ(errorReading({1, 0}), "Stream read error");
    EXPECT_EQ(errorReading(concatenate({one, numberBytes(5)})), "Stream read error");
    EXPECT_EQ(
        errorReading(concatenate({one, numberBytes(0xFFFFFFFFu), numberBytes(1), bytesOf("a")})),
        "Damaged archive");
    EXPECT_EQ(errorReading(concatenate({one, numberBytes(1), numberBytes(256), Bytes(257, 'a')})),
              "Damaged archive");
    EXPECT_EQ(errorReading(concatenate({one, numberBytes(1), numberBytes(255), Bytes(256, 'a')})),
              "no error");
    EXPECT_EQ(
        errorReading(concatenate({one, numberBytes(0x7FFFFFFF), numberBytes(1), bytesOf("a1234")})),
        "Stream read error");
    EXPECT_EQ(
        errorReading(concatenate({one, numberBytes(0), numberBytes(0xFFFFFFFFu), bytesOf("a")})),
        "Damaged archive");
    EXPECT_EQ(errorReading(concatenate({one, numberBytes(0), numberBytes(200), bytesOf("a")})),
              "Stream read error");
    // More entries announced than the file holds.
    EXPECT_EQ(errorReading(concatenate({numberBytes(2), packer::entryBytes("a", bytesOf("1"))})),
              "Stream read error");
}

TEST(FileStreamErrors, NameTheFileAndTheSystemsReason) {
    const ScratchFolder scratch;
    const std::string missing = (scratch.path() / "missing").string();
    try {
        FileStream::openForReading(missing);
        FAIL() << "opened a missing file";
    } catch (const EBootstrapError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Cannot open file \"" + missing + "\". No such file or directory");
    }
    const std::string inMissingFolder = (scratch.path() / "no" / "file").string();
    try {
        FileStream::create(inMissingFolder, false);
        FAIL() << "created a file in a missing folder";
    } catch (const EBootstrapError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Cannot create file \"" + inMissingFolder + "\". No such file or directory");
    }
    EXPECT_THROW(FileStream::openForReading(scratch.path().string()), EBootstrapError);
}

TEST(FileStreamErrors, AShortReadIsAStreamReadError) {
    const ScratchFolder scratch;
    writeFile(scratch.path() / "f", bytesOf("abc"));
    FileStream file = FileStream::openForReading((scratch.path() / "f").string());
    EXPECT_EQ(file.Size(), 3u);
    char buffer[4];
    EXPECT_EQ(file.Read(buffer, 4), 3u);
    file.SetPosition(1);
    EXPECT_THROW(file.ReadBuffer(buffer, 3), EBootstrapError);
}

} // namespace
