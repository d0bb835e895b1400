// Packstart end to end: bootstrap files built by the packer from real files, run
// as a program with its temporary and system folders pointed at test folders.
// The setup program is a shell script that records how it was started.
#include "archive_format.h"
#include "extractor.h"
#include "packer.h"
#include "test_support.h"

#include <gtest/gtest.h>

using namespace packstart_test;

namespace {

// Records its own path, its arguments and the Setup.ini beside it in $SETUP_MARKER,
// renamed into place so that the test never reads half of it.
constexpr std::string_view kSetupScript = R"(#!/bin/sh
{
    printf 'program=%s\n' "$0"
    printf 'count=%s\n' "$#"
    for a in "$@"; do printf 'arg=%s\n' "$a"; done
    printf 'ini='
    cat "$(dirname "$0")/Setup.ini"
} > "$SETUP_MARKER.part"
mv "$SETUP_MARKER.part" "$SETUP_MARKER"
)";

// The nine names of a real payload, in their letter case, each with its own bytes.
const std::vector<std::string> kPayloadNames{
    "comcat.dll",     "KTB_UNISTALLER2006.EXE", "KTB_Unz.dll",
    "KTB_UnzDll.dll", "asycfilt.dll",           "olepro32.dll",
    "Setup.exe",      "oleaut32.dll",           "msvbvm60.dll"};

packer::PayloadFile payloadFile(const std::string& name, unsigned seed) {
    if (name == "Setup.exe") {
        return {name, bytesOf(kSetupScript)};
    }
    return {name, sampleBytes(1000 + 3000 * seed, seed)};
}

class Packstart : public ::testing::Test {
protected:
    // A bootstrap file of the built Packstart image carrying `archive`.
    fs::path bootstrap(const Bytes& archive, const Bytes& trailer = {},
                       const std::string& name = "bootstrap") {
        const fs::path path = scratch_.path() / name;
        fs::create_directories(path.parent_path());
        writeFile(path, bootstrapBytes(readFile(PACKSTART_PATH), archive, trailer), true);
        return path;
    }

    Outcome start(const fs::path& program) {
        return run(program, {},
                   {{"TMPDIR", temp_.string()},
                    {"PACKSTART_SYSTEM_DIR", system_.string()},
                    {"SETUP_MARKER", marker_.string()}});
    }

    // The one Ktb_N folder of the run, N from 0 to 4999.
    fs::path ktbFolder() const {
        auto names = entriesOf(temp_);
        std::erase_if(names, [](const std::string& name) { return !name.starts_with("Ktb_"); });
        EXPECT_EQ(names.size(), 1u);
        if (names.size() != 1 || !names[0].starts_with("Ktb_")) {
            ADD_FAILURE() << "no Ktb_ folder";
            return {};
        }
        const int number = std::stoi(names[0].substr(4));
        EXPECT_TRUE(number >= 0 && number < 5000) << names[0];
        EXPECT_EQ(names[0], "Ktb_" + std::to_string(number));
        return temp_ / names[0];
    }

    // What the setup script records when started by `program` from `folder`.
    static std::string handOver(const fs::path& program, const fs::path& folder) {
        const std::string path = fs::canonical(program).string();
        return "program=" + (folder / "SETUP.EXE").string() + "\ncount=1\narg=" + path +
               "\nini=" + path + "\r\n";
    }

    static bool isExecutable(const fs::path& path) {
        return (fs::status(path).permissions() & fs::perms::owner_exec) != fs::perms::none;
    }

    ScratchFolder scratch_;
    fs::path temp_ = scratch_.folder("tmp");
    fs::path system_ = scratch_.folder("system");
    fs::path marker_ = scratch_.path() / "marker";
};

TEST_F(Packstart, WritesTheListedFilesHandsOverItsPathAndStartsTheSetupProgram) {
    const fs::path payload = scratch_.folder("payload");
    std::vector<std::string> arguments{"-o",        (scratch_.path() / "setup").string(),
                                       "--image",   PACKSTART_PATH,
                                       "--trailer", (scratch_.path() / "trailer").string()};
    std::map<std::string, Bytes> sent;
    for (unsigned i = 0; i < kPayloadNames.size(); ++i) {
        const auto file = payloadFile(kPayloadNames[i], i);
        writeFile(payload / file.name, file.bytes);
        arguments.push_back((payload / file.name).string());
        sent[extractor::upperCaseAscii(file.name)] = file.bytes;
    }
    // The setup program's own data after the archive, which Packstart never reads.
    writeFile(scratch_.path() / "trailer", sampleBytes(5000, 99));
    std::vector<const char*> argv;
    for (const auto& argument : arguments) {
        argv.push_back(argument.c_str());
    }
    std::ostringstream packerErrors;
    ASSERT_EQ(packer::runPacker(argv, packerErrors), 0) << packerErrors.str();
    // A system file that is there already stays as it is, whatever its version.
    writeFile(system_ / "MSVBVM60.DLL", bytesOf("installed before"));

    const fs::path program = scratch_.path() / "setup";
    const Outcome outcome = start(program);
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.standardError, "");

    const fs::path ktb = ktbFolder();
    const auto marker = waitForFile(marker_);
    ASSERT_TRUE(marker);
    EXPECT_EQ(textOf(*marker), handOver(program, ktb));
    EXPECT_EQ(entriesOf(ktb), (std::vector<std::string>{"KTB_UNZ.DLL", "SETUP.EXE", "Setup.ini"}));
    EXPECT_EQ(textOf(readFile(ktb / "Setup.ini")), fs::canonical(program).string() + "\r\n");
    EXPECT_EQ(readFile(ktb / "SETUP.EXE"), sent["SETUP.EXE"]);
    EXPECT_EQ(readFile(ktb / "KTB_UNZ.DLL"), sent["KTB_UNZ.DLL"]);
    EXPECT_TRUE(isExecutable(ktb / "SETUP.EXE"));
    EXPECT_FALSE(isExecutable(ktb / "KTB_UNZ.DLL"));

    EXPECT_EQ(entriesOf(system_),
              (std::vector<std::string>{"ASYCFILT.DLL", "COMCAT.DLL", "KTB_UNISTALLER2006.EXE",
                                        "KTB_UNZDLL.DLL", "MSVBVM60.DLL", "OLEAUT32.DLL",
                                        "OLEPRO32.DLL"}));
    for (const std::string name : {"ASYCFILT.DLL", "COMCAT.DLL", "KTB_UNISTALLER2006.EXE",
                                   "KTB_UNZDLL.DLL", "OLEAUT32.DLL", "OLEPRO32.DLL"}) {
        EXPECT_EQ(readFile(system_ / name), sent[name]) << name;
    }
    EXPECT_EQ(textOf(readFile(system_ / "MSVBVM60.DLL")), "installed before");
    EXPECT_TRUE(isExecutable(system_ / "KTB_UNISTALLER2006.EXE"));
}

TEST_F(Packstart, APathWithSpacesReachesTheSetupProgramAsOneArgument) {
    const fs::path program =
        bootstrap(packer::archiveBytes({payloadFile("Setup.exe", 0)}), {}, "my files/set up");
    EXPECT_EQ(start(program).status, 0);
    const auto marker = waitForFile(marker_);
    ASSERT_TRUE(marker);
    EXPECT_EQ(textOf(*marker), handOver(program, ktbFolder()));
}

TEST_F(Packstart, AnEmptyArchiveLeavesOnlySetupIni) {
    const fs::path program = bootstrap(packer::archiveBytes({}));
    const Outcome outcome = start(program);
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.standardError, "");
    EXPECT_EQ(entriesOf(ktbFolder()), std::vector<std::string>{"Setup.ini"});
    EXPECT_TRUE(entriesOf(system_).empty());
}

TEST_F(Packstart, AFileThatEndsWithTheImageHasNoEntries) {
    const fs::path program = scratch_.path() / "bare";
    writeFile(program, readFile(PACKSTART_PATH), true);
    EXPECT_EQ(start(program).status, 0);
    EXPECT_EQ(entriesOf(ktbFolder()), std::vector<std::string>{"Setup.ini"});
}

TEST_F(Packstart, UnlistedNamesAreDecodedAndDropped) {
    const fs::path program = bootstrap(packer::archiveBytes(
        {{"readme.txt", sampleBytes(3000, 1)}, payloadFile("Setup.exe", 0), {"x.dll", {}}}));
    EXPECT_EQ(start(program).status, 0);
    ASSERT_TRUE(waitForFile(marker_));
    EXPECT_EQ(entriesOf(ktbFolder()), (std::vector<std::string>{"SETUP.EXE", "Setup.ini"}));
    EXPECT_TRUE(entriesOf(system_).empty());
}

TEST_F(Packstart, NamesThatAreNotPlainFileNamesAreNeverUsedAsPaths) {
    // Files the pre-delete of an entry's name would remove, were names paths.
    writeFile(scratch_.path() / "victim", bytesOf("keep"));
    writeFile(temp_ / "victim", bytesOf("keep"));
    writeFile(system_ / "OLEAUT32.DLL", bytesOf("keep"));
    Bytes archive = packer::archiveBytes({payloadFile("Setup.exe", 0)});
    const Bytes data = packer::archiveBytes({{"x", sampleBytes(100, 3)}});
    const std::span<const std::uint8_t> compressed(data.begin() + 13, data.end());
    const std::vector<std::string> unsafe{"../victim",  "../../victim",
                                          "..\\victim", "../../system/OLEAUT32.DLL",
                                          "..",         ".",
                                          "",           std::string("SETUP.EXE\0x", 11)};
    for (const std::string& name : unsafe) {
        const Bytes entry = packer::entryBytes(name, compressed);
        archive.insert(archive.end(), entry.begin(), entry.end());
    }
    archive[0] = static_cast<std::uint8_t>(1 + unsafe.size());
    const fs::path program = bootstrap(archive);

    EXPECT_EQ(start(program).status, 0);
    ASSERT_TRUE(waitForFile(marker_));
    EXPECT_EQ(textOf(readFile(scratch_.path() / "victim")), "keep");
    EXPECT_EQ(textOf(readFile(temp_ / "victim")), "keep");
    EXPECT_EQ(textOf(readFile(system_ / "OLEAUT32.DLL")), "keep");
    EXPECT_EQ(entriesOf(ktbFolder()), (std::vector<std::string>{"SETUP.EXE", "Setup.ini"}));
    EXPECT_EQ(entriesOf(temp_).size(), 2u); // Ktb_N and the victim
}

TEST_F(Packstart, ATruncatedFileStopsWithAStreamReadError) {
    const Bytes whole = readFile(bootstrap(
        packer::archiveBytes({payloadFile("KTB_Unz.dll", 1), payloadFile("Setup.exe", 0)})));
    const fs::path program = scratch_.path() / "truncated";
    writeFile(program, std::span(whole).first(whole.size() - 40), true);
    const Outcome outcome = start(program);
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.standardError, "Application Error: EReadError: Stream read error\n");
    const fs::path ktb = ktbFolder();
    EXPECT_EQ(entriesOf(ktb), std::vector<std::string>{"KTB_UNZ.DLL"});
    EXPECT_FALSE(waitForFile(marker_, std::chrono::milliseconds(300)));
}

TEST_F(Packstart, ImpossibleEntryHeadersEndWithAnErrorBeforeAnyAllocation) {
    const auto archiveWith = [](const Bytes& header) {
        Bytes archive{1, 0, 0, 0};
        archive.insert(archive.end(), header.begin(), header.end());
        return archive;
    };
    const struct {
        Bytes header;
        std::string message;
    } cases[] = {
        {{0xFF, 0xFF, 0xFF, 0xFF, 1, 0, 0, 0, 'a'}, "Damaged archive"},         // size -1
        {{10, 0, 0, 0, 0, 1, 0, 0}, "Damaged archive"},                         // name 256 bytes
        {{0xFF, 0xFF, 0xFF, 0x7F, 1, 0, 0, 0, 'a', 1, 2}, "Stream read error"}, // 2 GB of data
        {{10, 0, 0, 0, 0xFF, 0, 0, 0, 'a'}, "Stream read error"},               // name past the end
    };
    for (const auto& c : cases) {
        const Outcome outcome = start(bootstrap(archiveWith(c.header)));
        EXPECT_EQ(outcome.status, 1);
        EXPECT_EQ(outcome.standardError, "Application Error: EReadError: " + c.message + "\n");
    }
}

TEST_F(Packstart, ADamagedEntryIsNotWrittenAndNothingIsStarted) {
    Bytes archive = packer::archiveBytes({payloadFile("KTB_Unz.dll", 1)});
    // A stored length that the entry's body cannot produce.
    Bytes damaged = packer::archiveBytes({payloadFile("KTB_UnzDll.dll", 2)});
    std::fill(damaged.end() - 4, damaged.end(), 0x7F);
    archive.insert(archive.end(), damaged.begin() + 4, damaged.end());
    const Bytes setup = packer::archiveBytes({payloadFile("Setup.exe", 0)});
    archive.insert(archive.end(), setup.begin() + 4, setup.end());
    archive[0] = 3;

    const Outcome outcome = start(bootstrap(archive));
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.standardError, "KTB error: Error extracting files\n");
    EXPECT_EQ(entriesOf(ktbFolder()), std::vector<std::string>{"KTB_UNZ.DLL"});
    EXPECT_TRUE(entriesOf(system_).empty());
    EXPECT_FALSE(waitForFile(marker_, std::chrono::milliseconds(300)));
}

TEST_F(Packstart, AFileThatCannotBeCreatedStopsWithItsPath) {
    fs::remove(system_);
    const Outcome outcome = start(bootstrap(packer::archiveBytes({payloadFile("COMCAT.dll", 1)})));
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.standardError, "Application Error: EFCreateError: Cannot create file \"" +
                                         (system_ / "COMCAT.DLL").string() +
                                         "\". No such file or directory\n");
}

TEST_F(Packstart, ATemporaryFolderThatCannotBeMadeStopsBeforeAnythingIsWritten) {
    const fs::path program = bootstrap(
        packer::archiveBytes({payloadFile("comcat.dll", 1), payloadFile("Setup.exe", 0)}));
    fs::remove(temp_);
    const Outcome outcome = start(program);
    EXPECT_EQ(outcome.status, 1);
    const std::string prefix =
        "Application Error: EInOutError: Cannot create folder \"" + (temp_ / "Ktb_").string();
    EXPECT_TRUE(outcome.standardError.starts_with(prefix)) << outcome.standardError;
    EXPECT_TRUE(outcome.standardError.ends_with("\". No such file or directory\n"))
        << outcome.standardError;
    EXPECT_TRUE(entriesOf(system_).empty());
}

} // namespace
