// Packstart.exe under Wine: bootstraps built from the Windows image, run with a
// Wine prefix inside the build folder and no display (message boxes return at
// once). The setup program is setup_probe.exe, which records how it was started.
#include "packer.h"
#include "test_support.h"

#include <gtest/gtest.h>
#include <sstream>

using namespace packstart_test;

namespace {

const fs::path kWindowsBin = WINDOWS_BIN_DIR;
const fs::path kPrefix = WINE_PREFIX;
const fs::path kSystemFolder = kPrefix / "drive_c" / "windows" / "system32";

// How a Windows program under Wine names a file of this machine.
std::string windowsPath(const fs::path& path) {
    std::string text = "Z:" + path.string();
    std::replace(text.begin(), text.end(), '/', '\\');
    return text;
}

// The file of this machine behind a path on Wine's drive C:.
fs::path onDriveC(std::string windows) {
    EXPECT_TRUE(windows.starts_with("C:\\")) << windows;
    std::replace(windows.begin(), windows.end(), '\\', '/');
    return kPrefix / "drive_c" / windows.substr(3);
}

// UTF-8 text with every character below U+0100 as one byte, as code page 1252 has them.
std::string singleByte(const std::string& utf8) {
    std::string out;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto byte = static_cast<unsigned char>(utf8[i]);
        out += byte == 0xC3 ? static_cast<char>(0xC0 + (utf8[++i] & 0x3F)) : utf8[i];
    }
    return out;
}

// The "name=value" lines of a marker or a probe's output.
std::map<std::string, std::string> fieldsOf(const std::string& text) {
    std::map<std::string, std::string> fields;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (line.ends_with('\r')) { // standard error in text mode
            line.pop_back();
        }
        fields[line.substr(0, line.find('='))] = line.substr(line.find('=') + 1);
    }
    return fields;
}

class PackstartUnderWine : public ::testing::Test {
protected:
    // Wine's own files in the system folder are lower-case, so the upper-case ones are ours.
    void SetUp() override {
        for (const char* name : {"KTB_UNZDLL.DLL", "MSVBVM60.DLL", "ASYCFILT.DLL", "COMCAT.DLL",
                                 "OLEAUT32.DLL", "OLEPRO32.DLL", "KTB_UNISTALLER2006.EXE"}) {
            fs::remove(kSystemFolder / name);
        }
    }
    void TearDown() override { SetUp(); }

    Outcome start(const fs::path& program) {
        return run(WINE_LOADER, {program.string()},
                   {{"WINEPREFIX", kPrefix.string()},
                    {"WINEDEBUG", "-all"},
                    {"WINEDLLOVERRIDES", "mscoree,mshtml,winemenubuilder.exe=d"},
                    {"DISPLAY", ""},
                    {"WAYLAND_DISPLAY", ""},
                    {"LC_ALL", "C.UTF-8"}, // Unix file names in UTF-8; code page 1252
                    {"SETUP_MARKER", windowsPath(marker_)}});
    }

    ScratchFolder scratch_;
    fs::path marker_ = scratch_.path() / "marker";
    Bytes setupProgram_ = readFile(kWindowsBin / "setup_probe.exe");
};

TEST_F(PackstartUnderWine, TheOsLayerGivesWindowsFoldersFilesAndReasons) {
    const Outcome outcome = start(kWindowsBin / "os_layer_probe.exe");
    ASSERT_EQ(outcome.status, 0) << outcome.standardError;
    auto lines = fieldsOf(outcome.standardError);
    fs::remove_all(onDriveC(lines["folder"]));
    const std::map<std::string, std::string> expected{
        {"create", "created"},   {"again", "ours"},        {"on_a_file", "other"},
        {"folder_exists", "no"}, {"deleted", "yes"},       {"deleted_again", "no"},
        {"missing_open", "no"},  {"create_again", "taken"}};
    for (const auto& [name, value] : expected) {
        EXPECT_EQ(lines[name], value) << name;
    }
    // The system's own words, without the closing full stop.
    EXPECT_FALSE(lines["reason"].empty() || lines["reason"].ends_with("."));
}

TEST_F(PackstartUnderWine, WritesIntoWinesFoldersAndStartsTheSetupProgramWithItsPath) {
    // Wine's own oleaut32.dll is there already (the prefix is made by the first run).
    std::vector<packer::PayloadFile> files{
        {"KTB_UNISTALLER2006.EXE", sampleBytes(9000, 2)}, {"KTB_Unz.dll", sampleBytes(7000, 3)},
        {"KTB_UnzDll.dll", sampleBytes(5000, 4)},         {"Setup.exe", setupProgram_},
        {"oleaut32.dll", sampleBytes(6000, 7)},           {"comcat.dll", {1, 2}}};
    // Neither a link nor a name that Windows takes as another file's is written through.
    const fs::path outside = scratch_.path() / "outside.dll";
    fs::create_symlink(outside, kSystemFolder / "COMCAT.DLL");
    for (const char* alias : {"Setup.exe.", "SETUP.EXE ", "Setup.exe:x", "NUL.dll"}) {
        files.push_back({alias, sampleBytes(100, 3)});
    }
    const fs::path program = scratch_.folder("caf\xC3\xA9 files") / "set up.exe";
    writeFile(program,
              bootstrapBytes(readFile(kWindowsBin / "Packstart.exe"), packer::archiveBytes(files)));
    EXPECT_EQ(start(program).status, 0);
    const auto marker = waitForFile(marker_, std::chrono::seconds(60));
    ASSERT_TRUE(marker) << "the setup program did not start";
    auto fields = fieldsOf(textOf(*marker));
    const std::string path = singleByte(windowsPath(program));
    // The path as the parameters, unquoted, after the program.
    EXPECT_TRUE(fields["cmdline"].ends_with("SETUP.EXE\" " + path)) << fields["cmdline"];
    const fs::path setup = onDriveC(fields["module"]);
    const fs::path ktb = setup.parent_path();
    EXPECT_EQ(textOf(readFile(ktb / "Setup.ini")), path + "\r\n");
    EXPECT_EQ(setup.filename(), "SETUP.EXE");
    EXPECT_TRUE(ktb.filename().string().starts_with("Ktb_"));
    EXPECT_EQ(ktb.parent_path().filename(), "Temp");
    EXPECT_EQ(entriesOf(ktb), (std::vector<std::string>{"KTB_UNZ.DLL", "SETUP.EXE", "Setup.ini"}));
    EXPECT_EQ(readFile(setup), setupProgram_);
    EXPECT_EQ(readFile(ktb / "KTB_UNZ.DLL"), files[1].bytes);
    EXPECT_EQ(readFile(kSystemFolder / "KTB_UNZDLL.DLL"), files[2].bytes);
    EXPECT_EQ(readFile(kSystemFolder / "KTB_UNISTALLER2006.EXE"), files[0].bytes);
    // Wine's own library of that name is left alone, and no second one is written.
    EXPECT_NE(readFile(kSystemFolder / "oleaut32.dll"), files[4].bytes);
    EXPECT_FALSE(fs::exists(kSystemFolder / "OLEAUT32.DLL"));
    EXPECT_FALSE(fs::exists(outside));
    EXPECT_TRUE(fs::is_symlink(kSystemFolder / "COMCAT.DLL"));
    fs::remove_all(ktb);
}

} // namespace
