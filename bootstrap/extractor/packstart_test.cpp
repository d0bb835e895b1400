// Packstart end to end: bootstrap files built from the Packstart image, run as a
// program with its temporary and system folders pointed at test folders. The
// setup program is a shell script that records how it was started.
#include "packer.h"
#include "test_support.h"

#include <gtest/gtest.h>
#include <sstream>

using namespace packstart_test;

namespace {

// Records its own path, its arguments and the Setup.ini beside it in $SETUP_MARKER,
// renamed into place so that the test never reads half of it.
constexpr std::string_view kSetupScript = R"(#!/bin/sh
{
    printf 'program=%s\n' "$0"
    for a in "$@"; do printf 'arg=%s\n' "$a"; done
    printf 'ini='
    cat "$(dirname "$0")/Setup.ini"
} > "$SETUP_MARKER.part"
mv "$SETUP_MARKER.part" "$SETUP_MARKER"
)";

const std::vector<std::string> kSystemNames{
    "ASYCFILT.DLL", "COMCAT.DLL",  "KTB_UNISTALLER2006.EXE", "KTB_UNZDLL.DLL", "MSVBVM60.DLL",
    "OLEAUT32.DLL", "OLEPRO32.DLL"};

packer::PayloadFile payloadFile(const std::string& name, unsigned seed) {
    return {name, name == "Setup.exe" ? bytesOf(kSetupScript) : sampleBytes(1000 * seed, seed)};
}

// An archive of `files` followed by entries of `names` holding some valid stream.
Bytes archiveWith(const std::vector<packer::PayloadFile>& files,
                  const std::vector<std::string>& names = {}) {
    Bytes archive = packer::archiveBytes(files);
    const Bytes stream = packer::archiveBytes({{"x", sampleBytes(100, 3)}});
    for (const std::string& name : names) {
        const Bytes entry = packer::entryBytes(name, std::span(stream).subspan(13));
        archive.insert(archive.end(), entry.begin(), entry.end());
    }
    archive[0] = static_cast<std::uint8_t>(files.size() + names.size());
    return archive;
}

class Packstart : public ::testing::Test {
protected:
    fs::path bootstrap(const Bytes& archive, const std::string& name = "bootstrap") {
        const fs::path path = scratch_.path() / name;
        fs::create_directories(path.parent_path());
        writeFile(path, bootstrapBytes(readFile(PACKSTART_PATH), archive), true);
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
        const auto names = entriesOf(temp_);
        EXPECT_EQ(names.size(), 1u);
        const std::string name = names.empty() ? "" : names[0];
        EXPECT_TRUE(name.starts_with("Ktb_") && std::stoi(name.substr(4)) < 5000 &&
                    name == "Ktb_" + std::to_string(std::stoi(name.substr(4))))
            << name;
        return temp_ / name;
    }

    ScratchFolder scratch_;
    fs::path temp_ = scratch_.folder("tmp");
    fs::path system_ = scratch_.folder("system");
    fs::path marker_ = scratch_.path() / "marker";
};

TEST_F(Packstart, WritesTheListedFilesHandsOverItsPathAndStartsTheSetupProgram) {
    const std::vector<std::string> names{
        "comcat.dll",     "KTB_UNISTALLER2006.EXE", "KTB_Unz.dll",
        "KTB_UnzDll.dll", "asycfilt.dll",           "olepro32.dll",
        "Setup.exe",      "oleaut32.dll",           "msvbvm60.dll"};
    std::vector<packer::PayloadFile> files;
    for (unsigned i = 0; i < names.size(); ++i) {
        files.push_back(payloadFile(names[i], i + 1));
    }
    // A system file that is there already stays, and so does a link, even one to nowhere.
    writeFile(system_ / "MSVBVM60.DLL", bytesOf("installed before"));
    fs::create_symlink(scratch_.path() / "nowhere", system_ / "COMCAT.DLL");
    // A path with blanks reaches the setup program as one argument.
    const fs::path program = bootstrap(archiveWith(files, {"readme.txt"}), "my files/set up");
    const Outcome outcome = start(program);
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.standardError, "");

    const fs::path ktb = ktbFolder();
    const auto marker = waitForFile(marker_);
    ASSERT_TRUE(marker);
    const std::string path = fs::canonical(program).string();
    EXPECT_EQ(textOf(*marker), "program=" + (ktb / "SETUP.EXE").string() + "\narg=" + path +
                                   "\nini=" + path + "\r\n");
    EXPECT_EQ(entriesOf(ktb), (std::vector<std::string>{"KTB_UNZ.DLL", "SETUP.EXE", "Setup.ini"}));
    EXPECT_EQ(readFile(ktb / "KTB_UNZ.DLL"), files[2].bytes);
    EXPECT_EQ(entriesOf(system_), kSystemNames);
    for (const auto& [name, index] : std::map<std::string, int>{{"ASYCFILT.DLL", 4},
                                                                {"KTB_UNISTALLER2006.EXE", 1},
                                                                {"KTB_UNZDLL.DLL", 3},
                                                                {"OLEAUT32.DLL", 7},
                                                                {"OLEPRO32.DLL", 5}}) {
        EXPECT_EQ(readFile(system_ / name), files[static_cast<std::size_t>(index)].bytes) << name;
    }
    EXPECT_EQ(textOf(readFile(system_ / "MSVBVM60.DLL")), "installed before");
    EXPECT_TRUE(fs::is_symlink(system_ / "COMCAT.DLL"));
    EXPECT_FALSE(fs::exists(scratch_.path() / "nowhere"));
    const auto executable = [](const fs::path& file) {
        return (fs::status(file).permissions() & fs::perms::owner_exec) != fs::perms::none;
    };
    EXPECT_TRUE(executable(ktb / "SETUP.EXE"));
    EXPECT_TRUE(executable(system_ / "KTB_UNISTALLER2006.EXE"));
    EXPECT_FALSE(executable(ktb / "KTB_UNZ.DLL"));
}

TEST_F(Packstart, NamesThatAreNotSafeFileNamesAreNeverUsedAsPaths) {
    // Files that the deletion of an entry's name would remove, were names paths.
    writeFile(scratch_.path() / "victim", bytesOf("keep"));
    writeFile(system_ / "OLEAUT32.DLL", bytesOf("keep"));
    const fs::path program =
        bootstrap(archiveWith({payloadFile("Setup.exe", 0)},
                              {"../victim", "../../victim", "..\\victim", "../system/OLEAUT32.DLL",
                               "..", ".", "", std::string("SETUP.EXE\0x", 11)}));
    EXPECT_EQ(start(program).status, 0);
    ASSERT_TRUE(waitForFile(marker_));
    EXPECT_EQ(textOf(readFile(scratch_.path() / "victim")), "keep");
    EXPECT_EQ(textOf(readFile(system_ / "OLEAUT32.DLL")), "keep");
    EXPECT_EQ(entriesOf(ktbFolder()), (std::vector<std::string>{"SETUP.EXE", "Setup.ini"}));
}

TEST_F(Packstart, FailuresStopTheRunWithTheirKindAndText) {
    const Bytes setup = archiveWith({payloadFile("KTB_Unz.dll", 1), payloadFile("Setup.exe", 0)});
    const Bytes image = readFile(PACKSTART_PATH);
    Bytes damaged = setup;
    // A stored length that the Setup.exe entry's body cannot produce.
    std::fill(damaged.end() - 4, damaged.end(), 0x7F);
    Bytes cut = bootstrapBytes(image, setup);
    cut.resize(cut.size() - 40);
    const struct {
        Bytes file; // the whole bootstrap file
        int status;
        std::string error;
        std::vector<std::string> written; // in the Ktb_ folder
    } cases[] = {
        {bootstrapBytes(image, {0, 0, 0, 0}), 0, "", {"Setup.ini"}}, // an empty archive
        {image, 0, "", {"Setup.ini"}},                               // no archive
        {bootstrapBytes(image, damaged), 0, "KTB error: Error extracting files\n", {"KTB_UNZ.DLL"}},
        {cut, 1, "Application Error: EReadError: Stream read error\n", {"KTB_UNZ.DLL"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        writeFile(scratch_.path() / "bootstrap", c.file, true);
        const Outcome outcome = start(scratch_.path() / "bootstrap");
        EXPECT_EQ(outcome.status, c.status);
        EXPECT_EQ(outcome.standardError, c.error);
        const fs::path ktb = ktbFolder();
        EXPECT_EQ(entriesOf(ktb), c.written);
        fs::remove_all(ktb);
    }
    EXPECT_TRUE(entriesOf(system_).empty());
    EXPECT_FALSE(waitForFile(marker_, std::chrono::milliseconds(300)));
}

TEST_F(Packstart, FoldersThatCannotBeWrittenStopTheRunNamingTheCause) {
    const fs::path program =
        bootstrap(archiveWith({payloadFile("comcat.dll", 1), payloadFile("Setup.exe", 0)}));
    fs::remove(system_);
    Outcome outcome = start(program);
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.standardError, "Application Error: EFCreateError: Cannot create file \"" +
                                         (system_ / "COMCAT.DLL").string() +
                                         "\". No such file or directory\n");
    // Without a temporary folder nothing is written, and the folder is named.
    fs::create_directory(system_);
    fs::remove_all(temp_);
    outcome = start(program);
    EXPECT_EQ(outcome.status, 1);
    const std::string prefix =
        "Application Error: EInOutError: Cannot create folder \"" + (temp_ / "Ktb_").string();
    EXPECT_TRUE(outcome.standardError.starts_with(prefix)) << outcome.standardError;
    EXPECT_TRUE(outcome.standardError.ends_with("\". No such file or directory\n"));
    EXPECT_TRUE(entriesOf(system_).empty());
}

} // namespace
