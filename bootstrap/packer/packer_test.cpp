// packstart-pack: the file it writes, byte for byte, and every refusal leaving
// no output behind.
#include "archive_reader.h"
#include "custom_lzh.h"
#include "packer.h"
#include "test_support.h"

#include <gtest/gtest.h>
#include <sstream>

using namespace packstart_test;

namespace {

class PackerCommand : public ::testing::Test {
protected:
    int pack(std::vector<std::string> args) {
        std::vector<const char*> argv;
        for (const auto& arg : args) {
            argv.push_back(arg.c_str());
        }
        err_.str("");
        return packer::runPacker(argv, err_);
    }

    fs::path file(const std::string& name, const Bytes& bytes) const {
        const fs::path path = scratch_.path() / name;
        writeFile(path, bytes);
        return path;
    }

    ScratchFolder scratch_;
    fs::path out_ = scratch_.path() / "out";
    std::ostringstream err_;
};

Bytes decoded(const TMemoryStream& stream) {
    TMemoryStream target;
    TCustom_lzh codec;
    codec.Source = stream.Memory();
    codec.SourceSize = static_cast<std::int32_t>(stream.Size());
    codec.Target = &target;
    EXPECT_TRUE(codec.Decompress());
    return Bytes(target.Memory(), target.Memory() + target.Size());
}

TEST_F(PackerCommand, WritesImageArchiveLengthAndTrailer) {
    const Bytes image = readFile(PACKSTART_PATH);
    const Bytes setup = sampleBytes(40'000, 1);
    const Bytes library = bytesOf("MZ a small library");
    const Bytes trailer = sampleBytes(300, 2);
    ASSERT_EQ(pack({"-o", out_.string(), "--image", PACKSTART_PATH, "--trailer",
                    file("trailer", trailer).string(), file("Setup.exe", setup).string(),
                    file("KTB_Unz.dll", library).string()}),
              0)
        << err_.str();
    EXPECT_EQ(err_.str(), "");
    EXPECT_NE(fs::status(out_).permissions() & fs::perms::owner_exec, fs::perms::none);

    const Bytes written = readFile(out_);
    ASSERT_GT(written.size(), image.size());
    EXPECT_TRUE(std::equal(image.begin(), image.end(), written.begin()));
    FileStream stream = FileStream::openForReading(out_.string());
    ArchiveReader reader(stream, image.size());
    ASSERT_EQ(reader.Count(), 2);
    TMemoryStream compressed;
    EXPECT_EQ(reader.ReadEntry(compressed), "Setup.exe");
    EXPECT_EQ(decoded(compressed), setup);
    EXPECT_EQ(reader.ReadEntry(compressed), "KTB_Unz.dll");
    EXPECT_EQ(decoded(compressed), library);

    const std::uint64_t archiveEnd = stream.Position();
    const std::uint64_t length = archiveEnd - image.size();
    const Bytes rest(written.begin() + static_cast<std::ptrdiff_t>(archiveEnd), written.end());
    ASSERT_EQ(rest.size(), 4 + trailer.size());
    EXPECT_EQ(rest[0] | rest[1] << 8 | rest[2] << 16 | rest[3] << 24, static_cast<int>(length));
    EXPECT_EQ(Bytes(rest.begin() + 4, rest.end()), trailer);
}

TEST_F(PackerCommand, TakesThePackstartBesideItByDefault) {
    const Outcome outcome =
        run(PACKER_PATH, {"-o", out_.string(), file("Setup.exe", bytesOf("x")).string()}, {});
    EXPECT_EQ(outcome.status, 0) << outcome.standardError;
    const Bytes image = readFile(PACKSTART_PATH);
    const Bytes written = readFile(out_);
    EXPECT_TRUE(std::equal(image.begin(), image.end(), written.begin()));
    EXPECT_EQ(run(PACKER_PATH, {}, {}).status, 1);
}

TEST_F(PackerCommand, RefusesWithAReasonAndWritesNothing) {
    const std::string image = PACKSTART_PATH;
    const std::string good = file("Setup.exe", bytesOf("setup")).string();
    const std::string packed = (scratch_.path() / "packed").string();
    ASSERT_EQ(pack({"-o", packed, "--image", image, good}), 0);
    scratch_.folder("other");

    const struct {
        std::vector<std::string> args;
        std::string reason;
    } refusals[] = {
        {{"-o", out_.string()}, "usage"},
        {{good}, "usage"},
        {{"-o", out_.string(), "--image"}, "needs a value"},
        {{"-o", out_.string(), "--level", "9", good}, "unknown option"},
        {{"-o", out_.string(), "--image", image, file("a\\b.dll", {}).string()},
         "not a plain file name"},
        {{"-o", out_.string(), "--image", image, (scratch_.path() / "absent").string()},
         "No such file"},
        {{"-o", out_.string(), "--image", image, scratch_.folder("dir").string()}, "a folder"},
        {{"-o", out_.string(), "--image", image, "--trailer", "/nonexistent/t", good},
         "No such file"},
        {{"-o", out_.string(), "--image", good, good}, "not a Packstart image"},
        {{"-o", out_.string(), "--image", "/bin/ls", good}, "not a Packstart image"},
        {{"-o", out_.string(), "--image", PACKER_PATH, good}, "not a Packstart image"},
        {{"-o", out_.string(), "--image", image, good, file("Setup.exe.", {}).string()},
         "ends with a dot or a blank"},
        {{"-o", out_.string(), "--image", image, good, file("nul.txt", {}).string()},
         "device name"},
        {{"-o", out_.string(), "--image", image, good, file("other/SETUP.EXE", {}).string()},
         "when letter case is ignored"},
        {{"-o", out_.string(), "--image", image, file("KTB_Unz.dll", {}).string()}, "no Setup.exe"},
        {{"-o", out_.string(), "--image", packed, good}, "bytes after its executable image"},
        {{"-o", (scratch_.path() / "no" / "out").string(), "--image", image, good}, "cannot write"},
    };
    for (const auto& refusal : refusals) {
        EXPECT_EQ(pack(refusal.args), 1);
        EXPECT_NE(err_.str().find(refusal.reason), std::string::npos) << err_.str();
        EXPECT_FALSE(fs::exists(out_));
    }
    for (const std::string& name : entriesOf(scratch_.path())) {
        EXPECT_EQ(name.find(".partial"), std::string::npos) << name;
    }
}

TEST(PackerNames, OnlyNamesThatWindowsTakesAsThemselves) {
    const struct {
        std::string name;
        bool safe;
    } names[] = {
        {"KTB_UNISTALLER2006.EXE", true},
        {std::string(255, 'a'), true},
        {"CONSOLE.DLL", true},
        {"COM0.txt", true},
        {"x.con", true},
        {std::string(256, 'a'), false},
        {"", false},
        {".", false},
        {"..", false},
        {"a/b", false},
        {"a\\b", false},
        {std::string("a\0b", 3), false},
        {"Setup.exe.", false},
        {"SETUP.EXE ", false},
        {"a:b", false},
        {"CON", false},
        {"nul.txt", false},
        {"Com1.dll", false},
        {"LPT9", false},
        {"aux .txt", false},
        {"PRN", false},
    };
    for (const auto& n : names) {
        EXPECT_EQ(packer::nameProblem(n.name).empty(), n.safe) << n.name;
    }
}

} // namespace
