// Packstart end to end: bootstrap files built from the Packstart image, run as a
// program with its temporary and system folders pointed at test folders. The
// setup program is a shell script that records how it was started.
#include "extractor.h"
#include "packer.h"
#include "test_support.h"

#include <gtest/gtest.h>
#include <regex>

using namespace packstart_test;
using namespace std::string_literals;

namespace {

// Records its own path and its arguments, a line each, in $SETUP_MARKER, renamed
// into place so that the test never reads half of it.
constexpr std::string_view kSetupScript = R"(#!/bin/sh
printf '%s\n' "$0" "$@" > "$SETUP_MARKER.part"
mv "$SETUP_MARKER.part" "$SETUP_MARKER"
)";

const std::vector<std::string> kSystemNames{
    "ASYCFILT.DLL", "COMCAT.DLL",  "KTB_UNISTALLER2006.EXE", "KTB_UNZDLL.DLL", "MSVBVM60.DLL",
    "OLEAUT32.DLL", "OLEPRO32.DLL"};

packer::PayloadFile payloadFile(const std::string& name, unsigned seed) {
    return {name, name == "Setup.exe" ? bytesOf(kSetupScript) : sampleBytes(1000 * seed, seed)};
}

class Packstart : public ::testing::Test {
protected:
    Outcome start(const fs::path& program) {
        return run(program, {},
                   {{"TMPDIR", temp_.string()},
                    {"PACKSTART_SYSTEM_DIR", system_.string()},
                    {"SETUP_MARKER", marker_.string()}});
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
    // Names that are not safe file names come last: they are never used as paths, so none
    // overwrites the victim, nor adds to the folders' entries checked below.
    for (const std::string& name : {"readme.txt"s, "../victim"s, "../../victim"s, "..\\victim"s,
                                    ".."s, "."s, ""s, "SETUP.EXE\0x"s}) {
        files.push_back(payloadFile(name, 1));
    }
    writeFile(scratch_.path() / "victim", bytesOf("keep"));
    // A system file that is there already stays, and so does a link, even one to nowhere.
    writeFile(system_ / "MSVBVM60.DLL", bytesOf("installed before"));
    fs::create_symlink(scratch_.path() / "nowhere", system_ / "COMCAT.DLL");
    // A path with blanks reaches the setup program as one argument.
    const fs::path program = scratch_.folder("my files") / "set up";
    writeFile(program, bootstrapBytes(readFile(PACKSTART_PATH), packer::archiveBytes(files)), true);
    const Outcome outcome = start(program);
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.standardError, "");

    // The one Ktb_N folder of the run, N from 0 to 4999.
    const auto ktbs = entriesOf(temp_);
    ASSERT_EQ(ktbs.size(), 1u);
    const int number = std::stoi(ktbs[0].substr(4));
    EXPECT_TRUE(ktbs[0] == "Ktb_" + std::to_string(number) && number < 5000) << ktbs[0];
    const fs::path ktb = temp_ / ktbs[0];
    const auto marker = waitForFile(marker_);
    ASSERT_TRUE(marker);
    const std::string path = fs::canonical(program).string();
    EXPECT_EQ(textOf(*marker), (ktb / "SETUP.EXE").string() + "\n" + path + "\n");
    EXPECT_EQ(textOf(readFile(ktb / "Setup.ini")), path + "\r\n");
    EXPECT_EQ(entriesOf(ktb), (std::vector<std::string>{"KTB_UNZ.DLL", "SETUP.EXE", "Setup.ini"}));
    EXPECT_EQ(readFile(ktb / "KTB_UNZ.DLL"), files[2].bytes);
    EXPECT_EQ(entriesOf(system_), kSystemNames);
    for (const std::size_t i : {1, 3, 4, 5, 7}) { // the system files not there before
        const std::string name = extractor::upperCaseAscii(files[i].name);
        EXPECT_EQ(readFile(system_ / name), files[i].bytes) << name;
    }
    EXPECT_EQ(textOf(readFile(system_ / "MSVBVM60.DLL")), "installed before");
    EXPECT_TRUE(fs::is_symlink(system_ / "COMCAT.DLL"));
    EXPECT_EQ(textOf(readFile(scratch_.path() / "victim")), "keep");
    EXPECT_FALSE(fs::exists(scratch_.path() / "nowhere"));
    const auto executable = [](const fs::path& file) {
        return (fs::status(file).permissions() & fs::perms::owner_exec) != fs::perms::none;
    };
    EXPECT_TRUE(executable(ktb / "SETUP.EXE"));
    EXPECT_TRUE(executable(system_ / "KTB_UNISTALLER2006.EXE"));
    EXPECT_FALSE(executable(ktb / "KTB_UNZ.DLL"));
}

TEST_F(Packstart, FailuresStopTheRunWithTheirKindAndText) {
    const Bytes setup =
        packer::archiveBytes({payloadFile("KTB_Unz.dll", 1), payloadFile("Setup.exe", 0)});
    const Bytes image = readFile(PACKSTART_PATH);
    Bytes damaged = setup;
    // A stored length that the Setup.exe entry's body cannot produce.
    std::fill(damaged.end() - 4, damaged.end(), 0x7F);
    damaged = bootstrapBytes(image, damaged);
    Bytes cut = bootstrapBytes(image, setup);
    cut.resize(cut.size() - 40);
    const Bytes systemFirst = bootstrapBytes(
        image, packer::archiveBytes({payloadFile("comcat.dll", 1), payloadFile("Setup.exe", 0)}));
    const std::string noSystem = "EFCreateError: Cannot create file \"" +
                                 (system_ / "COMCAT.DLL").string() +
                                 "\". No such file or directory";
    // Without a temporary folder nothing is written, and the folder is named.
    const std::string noTemp = "EInOutError: Cannot create folder \"" + (temp_ / "Ktb_N").string() +
                               "\". No such file or directory";
    const struct {
        Bytes file; // the whole bootstrap file
        int status;
        std::string error;                // the Ktb_ folder's number as N
        std::vector<std::string> written; // in the Ktb_ folder
        fs::path missing;                 // a folder removed for the run
    } cases[] = {
        {image, 0, "", {"Setup.ini"}, {}}, // no archive
        {damaged, 0, "KTB error: Error extracting files\n", {"KTB_UNZ.DLL"}, {}},
        {cut, 1, "Application Error: EReadError: Stream read error\n", {"KTB_UNZ.DLL"}, {}},
        {systemFirst, 1, "Application Error: " + noSystem + "\n", {}, system_},
        {systemFirst, 1, "Application Error: " + noTemp + "\n", {}, temp_},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        writeFile(scratch_.path() / "bootstrap", c.file, true);
        fs::remove_all(c.missing);
        const Outcome outcome = start(scratch_.path() / "bootstrap");
        EXPECT_EQ(outcome.status, c.status);
        EXPECT_EQ(std::regex_replace(outcome.standardError, std::regex("Ktb_[0-9]+"), "Ktb_N"),
                  c.error);
        fs::create_directories(temp_);
        fs::create_directories(system_);
        std::vector<std::string> written;
        for (const std::string& ktb : entriesOf(temp_)) {
            written = entriesOf(temp_ / ktb);
            fs::remove_all(temp_ / ktb);
        }
        EXPECT_EQ(written, c.written);
    }
    EXPECT_TRUE(entriesOf(system_).empty());
    EXPECT_FALSE(waitForFile(marker_, std::chrono::milliseconds(300)));
}

} // namespace
