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
    // The names read from `archive` behind a made-up image, or the error that ends the reading.
    std::string read(const Bytes& archive) {
        writeFile(path_, joined({prefix_, archive}));
        FileStream file = FileStream::openForReading(path_.string());
        std::string names;
        try {
            ArchiveReader reader(file, prefix_.size());
            TMemoryStream compressed;
            compressed.Write("left over", 9);
            for (std::int32_t i = 0; i < reader.Count(); ++i) {
                names += reader.ReadEntry(compressed) + ";";
                EXPECT_EQ(compressed.Position(), 0u);
            }
        } catch (const EBootstrapError& error) {
            EXPECT_STREQ(error.kind(), "EReadError");
            return names + error.what();
        }
        return names;
    }

    ScratchFolder scratch_;
    fs::path path_ = scratch_.path() / "archive";
    Bytes prefix_ = sampleBytes(777, 1);
};

TEST_F(ArchiveReading, EntriesAreReadInOrderAndImpossibleHeadersRefused) {
    const Bytes one = number(1);
    const struct {
        Bytes archive;
        std::string result;
    } cases[] = {
        {{}, ""},
        {number(0), ""},
        {joined({number(0x80000000u), bytesOf("junk")}), ""},
        {{1, 0}, "Stream read error"},
        {joined({one, number(5)}), "Stream read error"},
        {joined({one, number(0xFFFFFFFFu), number(1), bytesOf("a")}), "Damaged archive"},
        {joined({one, number(1), number(256), Bytes(257, 'a')}), "Damaged archive"},
        {joined({one, number(1), number(255), Bytes(256, 'a')}), std::string(255, 'a') + ";"},
        {joined({one, number(0x7FFFFFFF), number(1), bytesOf("a1234")}), "Stream read error"},
        {joined({one, number(0), number(200), bytesOf("a")}), "Stream read error"},
        {joined({number(2), packer::entryBytes("a", bytesOf("1"))}), "a;Stream read error"},
        {joined({number(2), packer::entryBytes("", {}), packer::entryBytes("a", bytesOf("1")),
                 bytesOf("trailing bytes the reader never looks at")}),
         ";a;"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(read(c.archive), c.result) << c.archive.size();
    }
}

TEST(FileStreamErrors, NameTheFileAndTheSystemsReason) {
    const ScratchFolder scratch;
    const std::string missing = (scratch.path() / "missing").string();
    try {
        FileStream::openForReading(missing);
        FAIL() << "opened a missing file";
    } catch (const EBootstrapError& error) {
        EXPECT_STREQ(error.kind(), "EFOpenError");
        EXPECT_EQ(std::string(error.what()),
                  "Cannot open file \"" + missing + "\". No such file or directory");
    }
    EXPECT_THROW(FileStream::openForReading(scratch.path().string()), EBootstrapError);
    writeFile(missing, bytesOf("abc"));
    EXPECT_THROW(FileStream::create(missing, false), EBootstrapError);
}

} // namespace
