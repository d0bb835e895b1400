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

// The "name=value" lines of a marker or a probe's output; ini= runs to the end.
std::map<std::string, std::string> fieldsOf(const std::string& text) {
    std::map<std::string, std::string> fields;
    const std::size_t ini = text.find("\nini=");
    std::istringstream lines(text.substr(0, ini));
    for (std::string line; std::getline(lines, line);) {
        if (line.ends_with('\r')) { // standard error in text mode
            line.pop_back();
        }
        fields[line.substr(0, line.find('='))] = line.substr(line.find('=') + 1);
    }
    if (ini != std::string::npos) {
        fields["ini"] = text.substr(ini + 5);
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

    // A bootstrap of Packstart.exe carrying `archive`.
    fs::path bootstrap(const Bytes& archive, const std::string& name) {
        const fs::path out = scratch_.path() / name;
        fs::create_directories(out.parent_path());
        writeFile(out, bootstrapBytes(readFile(kWindowsBin / "Packstart.exe"), archive), true);
        return out;
    }

    // What the setup program recorded, its own folder removed afterwards.
    std::map<std::string, std::string> setupRecord() {
        const auto marker = waitForFile(marker_, std::chrono::seconds(60));
        if (!marker) {
            ADD_FAILURE() << "the setup program did not start";
            return {};
        }
        auto fields = fieldsOf(textOf(*marker));
        setup_ = onDriveC(fields["module"]);
        return fields;
    }

    ScratchFolder scratch_;
    fs::path marker_ = scratch_.path() / "marker";
    fs::path setup_;
    Bytes setupProgram_ = readFile(kWindowsBin / "setup_probe.exe");
};

TEST_F(PackstartUnderWine, TheOsLayerGivesWindowsFoldersFilesAndReasons) {
    const Outcome outcome = start(kWindowsBin / "os_layer_probe.exe");
    ASSERT_EQ(outcome.status, 0) << outcome.standardError;
    auto lines = fieldsOf(outcome.standardError);
    fs::remove_all(onDriveC(lines["folder"]));
    EXPECT_TRUE(lines["temp"].starts_with("C:\\users\\") && lines["temp"].ends_with("\\Temp\\"));
    EXPECT_EQ(lines["system"], "C:\\windows\\system32");
    EXPECT_EQ(lines["self"], windowsPath(kWindowsBin / "os_layer_probe.exe"));
    const std::map<std::string, std::string> expected{
        {"create", "created"},   {"again", "ours"},      {"on_a_file", "other"},
        {"written", "yes"},      {"exists", "yes"},      {"folder_exists", "no"},
        {"size", "10"},          {"read", "456789"},     {"deleted", "yes"},
        {"deleted_again", "no"}, {"missing_open", "no"}, {"create_again", "taken"}};
    for (const auto& [name, value] : expected) {
        EXPECT_EQ(lines[name], value) << name;
    }
    // The system's own words, without the closing full stop.
    EXPECT_FALSE(lines["reason"].empty() || lines["reason"].ends_with("."));
}

TEST_F(PackstartUnderWine, WritesIntoWinesFoldersAndStartsTheSetupProgramWithItsPath) {
    // Wine's own oleaut32.dll is there already (the prefix is made by the first run).
    const std::vector<packer::PayloadFile> files{{"KTB_UNISTALLER2006.EXE", sampleBytes(9000, 2)},
                                                 {"KTB_Unz.dll", sampleBytes(7000, 3)},
                                                 {"KTB_UnzDll.dll", sampleBytes(5000, 4)},
                                                 {"Setup.exe", setupProgram_},
                                                 {"oleaut32.dll", sampleBytes(6000, 7)}};
    const fs::path program = bootstrap(packer::archiveBytes(files), "caf\xC3\xA9 files/set up.exe");
    EXPECT_EQ(start(program).status, 0);
    auto fields = setupRecord();
    const std::string path = singleByte(windowsPath(program));
    // The path as the parameters, unquoted, after the program.
    EXPECT_TRUE(fields["cmdline"].ends_with("SETUP.EXE\" " + path)) << fields["cmdline"];
    EXPECT_EQ(fields["ini"], path + "\r\n");
    const fs::path ktb = setup_.parent_path();
    EXPECT_EQ(setup_.filename(), "SETUP.EXE");
    EXPECT_TRUE(ktb.filename().string().starts_with("Ktb_"));
    EXPECT_EQ(ktb.parent_path().filename(), "Temp");
    EXPECT_EQ(entriesOf(ktb), (std::vector<std::string>{"KTB_UNZ.DLL", "SETUP.EXE", "Setup.ini"}));
    EXPECT_EQ(readFile(ktb / "KTB_UNZ.DLL"), files[1].bytes);
    EXPECT_EQ(readFile(kSystemFolder / "KTB_UNZDLL.DLL"), files[2].bytes);
    EXPECT_EQ(readFile(kSystemFolder / "KTB_UNISTALLER2006.EXE"), files[0].bytes);
    // Wine's own library of that name is left alone, and no second one is written.
    EXPECT_NE(readFile(kSystemFolder / "oleaut32.dll"), files[4].bytes);
    EXPECT_FALSE(fs::exists(kSystemFolder / "OLEAUT32.DLL"));
    fs::remove_all(ktb);
}

TEST_F(PackstartUnderWine, NeitherALinkNorANameThatWindowsAliasesIsWrittenThrough) {
    const fs::path outside = scratch_.path() / "outside.dll";
    fs::create_symlink(outside, kSystemFolder / "COMCAT.DLL");
    Bytes archive = packer::archiveBytes({{"Setup.exe", setupProgram_}, {"comcat.dll", {1, 2}}});
    const Bytes stream = packer::archiveBytes({{"x", sampleBytes(100, 3)}});
    const std::vector<std::string> aliases{"Setup.exe.", "SETUP.EXE ", "Setup.exe:x", "NUL.dll"};
    for (const std::string& name : aliases) {
        const Bytes entry = packer::entryBytes(name, std::span(stream).subspan(13));
        archive.insert(archive.end(), entry.begin(), entry.end());
    }
    archive[0] = static_cast<std::uint8_t>(2 + aliases.size());
    EXPECT_EQ(start(bootstrap(archive, "aliases.exe")).status, 0);
    setupRecord();
    EXPECT_EQ(readFile(setup_), setupProgram_);
    EXPECT_FALSE(fs::exists(outside));
    EXPECT_TRUE(fs::is_symlink(kSystemFolder / "COMCAT.DLL"));
    fs::remove_all(setup_.parent_path());
}

} // namespace
