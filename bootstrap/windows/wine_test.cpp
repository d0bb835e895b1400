// Packstart.exe under Wine: bootstraps built by the packer from the Windows image,
// run with a Wine prefix inside the build folder and no display (message boxes
// return at once). The setup program is setup_probe.exe, which records how it
// was started.
#include "image_end.h"
#include "packer.h"
#include "test_support.h"

#include <cstring>
#include <gtest/gtest.h>
#include <set>
#include <sstream>

using namespace packstart_test;

namespace {

const fs::path kWindowsBin = WINDOWS_BIN_DIR;
const fs::path kPrefix = WINE_PREFIX;
const fs::path kSystemFolder = kPrefix / "drive_c" / "windows" / "system32";

// The names a run may write into the system folder (Wine's own files there are
// lower-case, so these are ours).
const std::vector<std::string> kSystemNames{
    "KTB_UNZDLL.DLL", "MSVBVM60.DLL", "ASYCFILT.DLL",          "COMCAT.DLL",
    "OLEAUT32.DLL",   "OLEPRO32.DLL", "KTB_UNISTALLER2006.EXE"};

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

// Wine's temporary folders, one per user of the prefix.
std::vector<fs::path> wineTempFolders() {
    std::vector<fs::path> folders;
    std::error_code ec;
    for (const auto& user : fs::directory_iterator(kPrefix / "drive_c" / "users", ec)) {
        if (fs::is_directory(user.path() / "Temp")) {
            folders.push_back(user.path() / "Temp");
        }
    }
    return folders;
}

std::set<fs::path> ktbFolders() {
    std::set<fs::path> folders;
    for (const fs::path& temp : wineTempFolders()) {
        for (const auto& entry : fs::directory_iterator(temp)) {
            if (entry.path().filename().string().starts_with("Ktb_")) {
                folders.insert(entry.path());
            }
        }
    }
    return folders;
}

// UTF-8 text with every character below U+0100 as one byte, as code page 1252
// has them (enough for the paths of these tests).
std::string singleByte(const std::string& utf8) {
    std::string out;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto byte = static_cast<unsigned char>(utf8[i]);
        if (byte == 0xC3 && i + 1 < utf8.size()) {
            out += static_cast<char>(0xC0 + (static_cast<unsigned char>(utf8[++i]) & 0x3F));
        } else {
            out += utf8[i];
        }
    }
    return out;
}

// The "name=value" lines of a marker or a probe's output; ini= runs to the end.
std::map<std::string, std::string> fieldsOf(const std::string& marker) {
    std::map<std::string, std::string> fields;
    const std::size_t ini = marker.find("\nini=");
    std::istringstream lines(marker.substr(0, ini));
    for (std::string line; std::getline(lines, line);) {
        if (line.ends_with('\r')) { // standard error in text mode
            line.pop_back();
        }
        fields[line.substr(0, line.find('='))] = line.substr(line.find('=') + 1);
    }
    if (ini != std::string::npos) {
        fields["ini"] = marker.substr(ini + 5);
    }
    return fields;
}

class PackstartUnderWine : public ::testing::Test {
protected:
    void SetUp() override {
        for (const std::string& name : kSystemNames) {
            fs::remove(kSystemFolder / name);
        }
    }
    void TearDown() override { SetUp(); }

    // The Ktb_ folders that `start` made since the last call.
    std::vector<fs::path> newKtbFolders() {
        const std::set<fs::path> now = ktbFolders();
        std::vector<fs::path> added;
        std::set_difference(now.begin(), now.end(), before_.begin(), before_.end(),
                            std::back_inserter(added));
        before_ = now;
        return added;
    }

    // A run that stopped before writing anything: its Ktb_ folder is empty and
    // the setup program never starts.
    void expectAnEmptyFolderAndNoSetupStarted() {
        EXPECT_FALSE(waitForFile(marker_, std::chrono::seconds(2)));
        const auto made = newKtbFolders();
        ASSERT_EQ(made.size(), 1u);
        EXPECT_TRUE(entriesOf(made[0]).empty());
    }

    Outcome start(const fs::path& bootstrap) {
        return run(WINE_LOADER, {bootstrap.string()},
                   {{"WINEPREFIX", kPrefix.string()},
                    {"WINEDEBUG", "-all"},
                    {"WINEDLLOVERRIDES", "mscoree,mshtml,winemenubuilder.exe=d"},
                    {"DISPLAY", ""},
                    {"WAYLAND_DISPLAY", ""},
                    {"LC_ALL", "C.UTF-8"}, // Unix file names in UTF-8; code page 1252
                    {"SETUP_MARKER", windowsPath(marker_)}});
    }

    // A bootstrap of Packstart.exe carrying `files`, built by the packer.
    fs::path pack(const std::vector<packer::PayloadFile>& files, const std::string& name) {
        const fs::path payload = scratch_.folder("payload");
        const fs::path out = scratch_.path() / name;
        fs::create_directories(out.parent_path());
        std::vector<std::string> arguments{"-o", out.string(), "--image",
                                           (kWindowsBin / "Packstart.exe").string()};
        for (const auto& file : files) {
            writeFile(payload / file.name, file.bytes);
            arguments.push_back((payload / file.name).string());
        }
        std::vector<const char*> argv;
        for (const auto& argument : arguments) {
            argv.push_back(argument.c_str());
        }
        std::ostringstream errors;
        EXPECT_EQ(packer::runPacker(argv, errors), 0) << errors.str();
        return out;
    }

    ScratchFolder scratch_;
    fs::path marker_ = scratch_.path() / "marker";
    std::set<fs::path> before_ = ktbFolders();
    Bytes setupProgram_ = readFile(kWindowsBin / "setup_probe.exe");
};

TEST(WindowsImage, EndsWhereItsPeHeadersSay) {
    const Bytes image = readFile(kWindowsBin / "Packstart.exe");
    ASSERT_GT(image.size(), 2u);
    EXPECT_EQ(image[0], 'M');
    const auto end = image::imageEnd([&](std::uint64_t offset, std::span<std::uint8_t> into) {
        ASSERT_LE(offset + into.size(), image.size());
        std::memcpy(into.data(), image.data() + offset, into.size());
    });
    EXPECT_EQ(end, image.size());
}

TEST_F(PackstartUnderWine, TheOsLayerGivesWindowsFoldersFilesAndReasons) {
    for (const fs::path& temp : wineTempFolders()) {
        fs::remove_all(temp / "os_layer_probe");
    }
    const Outcome outcome = start(kWindowsBin / "os_layer_probe.exe");
    ASSERT_EQ(outcome.status, 0) << outcome.standardError;
    auto lines = fieldsOf(outcome.standardError);
    EXPECT_TRUE(lines["temp"].starts_with("C:\\users\\")) << lines["temp"];
    EXPECT_TRUE(lines["temp"].ends_with("\\Temp\\")) << lines["temp"];
    EXPECT_EQ(lines["system"], "C:\\windows\\system32");
    EXPECT_EQ(lines["self"], windowsPath(kWindowsBin / "os_layer_probe.exe"));
    // A folder made by this user is taken again; a file of that name is not a folder.
    EXPECT_EQ(lines["create"], "created");
    EXPECT_EQ(lines["again"], "ours");
    EXPECT_EQ(lines["on_a_file"], "other");
    EXPECT_EQ(lines["written"], "yes");
    EXPECT_EQ(lines["create_again"], "taken");
    EXPECT_EQ(lines["exists"], "yes");
    EXPECT_EQ(lines["folder_exists"], "no");
    EXPECT_EQ(lines["size"], "10");
    EXPECT_EQ(lines["read"], "456789");
    EXPECT_EQ(lines["deleted"], "yes");
    EXPECT_EQ(lines["deleted_again"], "no");
    EXPECT_EQ(lines["missing_open"], "no");
    // The system's own words, without the closing full stop.
    EXPECT_FALSE(lines["reason"].empty());
    EXPECT_FALSE(lines["reason"].ends_with("."));
}

TEST_F(PackstartUnderWine, WritesIntoWinesFoldersAndStartsTheSetupProgramWithItsPath) {
    // Wine's own oleaut32.dll is there already (the prefix is made by the first run).
    const std::vector<packer::PayloadFile> files{
        {"comcat.dll", sampleBytes(4000, 1)},   {"KTB_UNISTALLER2006.EXE", sampleBytes(9000, 2)},
        {"KTB_Unz.dll", sampleBytes(7000, 3)},  {"KTB_UnzDll.dll", sampleBytes(5000, 4)},
        {"asycfilt.dll", sampleBytes(3000, 5)}, {"olepro32.dll", sampleBytes(2000, 6)},
        {"Setup.exe", setupProgram_},           {"oleaut32.dll", sampleBytes(6000, 7)},
        {"msvbvm60.dll", sampleBytes(8000, 8)}};
    const fs::path bootstrap = pack(files, "caf\xC3\xA9 files/set up.exe");
    const Outcome outcome = start(bootstrap);
    EXPECT_EQ(outcome.status, 0) << outcome.standardError;

    const auto marker = waitForFile(marker_, std::chrono::seconds(60));
    ASSERT_TRUE(marker);
    auto fields = fieldsOf(textOf(*marker));
    const std::string path = singleByte(windowsPath(bootstrap));
    // The path as the parameters, unquoted, after the program.
    EXPECT_TRUE(fields["cmdline"].ends_with("SETUP.EXE\" " + path)) << fields["cmdline"];
    EXPECT_EQ(fields["ini"], path + "\r\n");

    const fs::path ktb = onDriveC(fields["module"]).parent_path();
    EXPECT_EQ(newKtbFolders(), std::vector<fs::path>{ktb});
    EXPECT_EQ(onDriveC(fields["module"]).filename(), "SETUP.EXE");
    EXPECT_TRUE(ktb.filename().string().starts_with("Ktb_"));
    EXPECT_LT(std::stoi(ktb.filename().string().substr(4)), 5000);
    EXPECT_EQ(ktb.parent_path().filename(), "Temp");
    EXPECT_EQ(entriesOf(ktb), (std::vector<std::string>{"KTB_UNZ.DLL", "SETUP.EXE", "Setup.ini"}));
    EXPECT_EQ(readFile(ktb / "KTB_UNZ.DLL"), files[2].bytes);
    EXPECT_EQ(readFile(ktb / "SETUP.EXE"), setupProgram_);

    EXPECT_EQ(readFile(kSystemFolder / "KTB_UNZDLL.DLL"), files[3].bytes);
    EXPECT_EQ(readFile(kSystemFolder / "KTB_UNISTALLER2006.EXE"), files[1].bytes);
    EXPECT_EQ(readFile(kSystemFolder / "MSVBVM60.DLL"), files[8].bytes);
    // Wine's own library of that name is left alone, and no second one is written.
    EXPECT_TRUE(fs::exists(kSystemFolder / "oleaut32.dll"));
    EXPECT_NE(readFile(kSystemFolder / "oleaut32.dll"), files[7].bytes);
    EXPECT_FALSE(fs::exists(kSystemFolder / "OLEAUT32.DLL"));
    fs::remove_all(ktb);
}

TEST_F(PackstartUnderWine, ADamagedEntryIsReportedAndNothingIsStarted) {
    const fs::path bootstrap = pack({{"Setup.exe", setupProgram_}}, "damaged.exe");
    Bytes bytes = readFile(bootstrap);
    // The stored length of the only entry, just before the archive's own length.
    std::fill(bytes.end() - 8, bytes.end() - 4, 0x7F);
    writeFile(bootstrap, bytes, true);
    const Outcome outcome = start(bootstrap);
    EXPECT_EQ(outcome.status, 0) << outcome.standardError;
    expectAnEmptyFolderAndNoSetupStarted();
}

TEST_F(PackstartUnderWine, ATruncatedBootstrapExitsWithStatus1) {
    const fs::path whole = pack({{"Setup.exe", setupProgram_}}, "whole.exe");
    const Bytes bytes = readFile(whole);
    const fs::path truncated = scratch_.path() / "truncated.exe";
    writeFile(truncated, std::span(bytes).first(bytes.size() - 1000), true);
    const Outcome outcome = start(truncated);
    EXPECT_EQ(outcome.status, 1) << outcome.standardError;
    expectAnEmptyFolderAndNoSetupStarted();
}

TEST_F(PackstartUnderWine, ALinkInTheSystemFolderIsNeverWrittenThrough) {
    const fs::path outside = scratch_.path() / "outside.dll";
    fs::create_symlink(outside, kSystemFolder / "COMCAT.DLL");
    const fs::path bootstrap =
        pack({{"comcat.dll", sampleBytes(4000, 1)}, {"Setup.exe", setupProgram_}}, "link.exe");
    EXPECT_EQ(start(bootstrap).status, 0);
    ASSERT_TRUE(waitForFile(marker_, std::chrono::seconds(60)));
    EXPECT_FALSE(fs::exists(outside));
    EXPECT_TRUE(fs::is_symlink(kSystemFolder / "COMCAT.DLL"));
    for (const fs::path& ktb : newKtbFolders()) {
        fs::remove_all(ktb);
    }
}

TEST_F(PackstartUnderWine, NamesThatWindowsAliasesNeverTouchTheSetupProgram) {
    Bytes archive = packer::archiveBytes({{"Setup.exe", setupProgram_}});
    const Bytes other = packer::archiveBytes({{"x", sampleBytes(100, 3)}});
    const std::vector<std::string> aliases{"Setup.exe.", "SETUP.EXE ", "Setup.exe:stream",
                                           "NUL.dll"};
    for (const std::string& name : aliases) {
        const Bytes entry = packer::entryBytes(name, std::span(other).subspan(13));
        archive.insert(archive.end(), entry.begin(), entry.end());
    }
    archive[0] = static_cast<std::uint8_t>(1 + aliases.size());
    const fs::path bootstrap = scratch_.path() / "aliases.exe";
    writeFile(bootstrap, bootstrapBytes(readFile(kWindowsBin / "Packstart.exe"), archive), true);
    EXPECT_EQ(start(bootstrap).status, 0);
    const auto marker = waitForFile(marker_, std::chrono::seconds(60));
    ASSERT_TRUE(marker);
    const fs::path setup = onDriveC(fieldsOf(textOf(*marker))["module"]);
    EXPECT_EQ(readFile(setup), setupProgram_);
    fs::remove_all(setup.parent_path());
}

} // namespace
