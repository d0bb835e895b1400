// TExtractor in this process, with the folder numbers it draws chosen by the
// test: which existing Ktb_ names it takes and which it passes over.
#include "bootstrap_error.h"
#include "extractor.h"
#include "packer.h"
#include "test_support.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace packstart_test;

namespace {

class ScriptedExtractor : public TExtractor {
public:
    ScriptedExtractor(std::string ownPath, std::vector<int> numbers)
        : TExtractor(std::move(ownPath)), numbers_(std::move(numbers)) {}
    std::size_t draws = 0;

protected:
    // The numbers in turn; the last one again and again.
    int drawFolderNumber() override { return numbers_[std::min(draws++, numbers_.size() - 1)]; }

private:
    std::vector<int> numbers_;
};

class FolderChoice : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("TMPDIR", temp_.c_str(), 1);
        setenv("PACKSTART_SYSTEM_DIR", scratch_.folder("system").c_str(), 1);
        Bytes archive = packer::archiveBytes(
            {{"Setup.exe", bytesOf("#!/bin/true\n")}, {"KTB_Unz.dll", bytesOf("library")}});
        writeFile(bootstrap_, bootstrapBytes(readFile(PACKSTART_PATH), archive), true);
    }
    void TearDown() override {
        unsetenv("TMPDIR");
        unsetenv("PACKSTART_SYSTEM_DIR");
    }
    fs::path ktb(int number) const { return temp_ / ("Ktb_" + std::to_string(number)); }

    ScratchFolder scratch_;
    fs::path temp_ = scratch_.folder("tmp");
    fs::path bootstrap_ = scratch_.path() / "bootstrap";
};

TEST_F(FolderChoice, OnlyAFolderOfOursIsTakenWithinBoundedTriesAndItsFilesAreWrittenAfresh) {
    const fs::path elsewhere = scratch_.folder("elsewhere");
    fs::create_directory_symlink(elsewhere, ktb(1));
    // Drawing only a link's number stops after a bounded number of tries.
    ScriptedExtractor stuck(bootstrap_.string(), {1});
    try {
        stuck.PrepareFolders();
        FAIL() << "took " << stuck.TempDir;
    } catch (const EBootstrapError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Cannot create a temporary folder in \"" + temp_.string() + "/\"");
    }
    EXPECT_EQ(stuck.draws, static_cast<std::size_t>(extractor::kTempFolderTries));

    // The link, a file and a folder of ours from an earlier run: the last one is taken.
    writeFile(ktb(2), bytesOf("a file"));
    fs::create_directory(ktb(7));
    for (const char* name : {"SETUP.EXE", "KTB_UNZ.DLL", "Setup.ini"}) {
        writeFile(ktb(7) / name, bytesOf("from an earlier run"));
    }
    std::vector<int> numbers{1, 2, 7};
    if (geteuid() == 0) { // only the superuser can give a folder away
        fs::create_directory(ktb(3));
        ASSERT_EQ(chown(ktb(3).c_str(), 65534, 65534), 0);
        numbers.insert(numbers.begin(), 3);
    }
    ScriptedExtractor extractor(bootstrap_.string(), numbers);
    extractor.Run();
    EXPECT_EQ(extractor.TempDir, ktb(7).string());
    EXPECT_EQ(extractor.draws, numbers.size());
    EXPECT_TRUE(entriesOf(elsewhere).empty());
    EXPECT_EQ(textOf(readFile(ktb(2))), "a file");
    EXPECT_EQ(textOf(readFile(ktb(7) / "SETUP.EXE")), "#!/bin/true\n");
    EXPECT_EQ(textOf(readFile(ktb(7) / "Setup.ini")), bootstrap_.string() + "\r\n");
    // The clock's draws (checked by the Packstart tests) make a folder of the user's own.
    TExtractor drawn(bootstrap_.string());
    drawn.PrepareFolders();
    EXPECT_EQ(fs::status(drawn.TempDir).permissions(), fs::perms::owner_all);
}

} // namespace
