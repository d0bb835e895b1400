// packstart-pack: the file it writes, byte for byte, and every refusal leaving
// no output (what a failed write leaves beside it is the lzh command's test); and
// the one rule for names shared with Packstart.
#include "packer.h"
#include "test_support.h"

#include <gtest/gtest.h>
#include <sstream>

using namespace packstart_test;

namespace {

class PackerCommand : public ::testing::Test {
protected:
    int pack(const std::vector<std::string>& args) {
        err_.str("");
        return packer::runPacker(pointersTo(args), err_);
    }
    std::string file(const std::string& name, const Bytes& bytes) const {
        writeFile(scratch_.path() / name, bytes);
        return (scratch_.path() / name).string();
    }

    ScratchFolder scratch_;
    std::string out_ = (scratch_.path() / "out").string();
    std::ostringstream err_;
};

TEST_F(PackerCommand, WritesImageArchiveLengthAndTrailer) {
    const Bytes image = readFile(PACKSTART_PATH);
    const Bytes setup = sampleBytes(40'000, 1);
    const Bytes trailer = sampleBytes(300, 2);
    ASSERT_EQ(pack({"-o", out_, "--image", PACKSTART_PATH, "--trailer", file("trailer", trailer),
                    file("Setup.exe", setup), file("KTB_Unz.dll", bytesOf("MZ a library"))}),
              0)
        << err_.str();
    EXPECT_EQ(err_.str(), "");
    EXPECT_NE(fs::status(out_).permissions() & fs::perms::owner_exec, fs::perms::none);

    // The image, the archive (read back by the Packstart tests), its length, then the trailer.
    const Bytes archive =
        packer::archiveBytes({{"Setup.exe", setup}, {"KTB_Unz.dll", bytesOf("MZ a library")}});
    EXPECT_EQ(readFile(out_), bootstrapBytes(image, archive, trailer));
    // The Packstart beside the packer is the image it takes by default.
    ASSERT_EQ(run(PACKER_PATH, {"-o", out_, file("Setup.exe", {})}).status, 0);
    EXPECT_EQ(readFile(out_), bootstrapBytes(image, packer::archiveBytes({{"Setup.exe", {}}})));
}

TEST_F(PackerCommand, RefusesWithAReasonAndWritesNothing) {
    const std::string image = PACKSTART_PATH;
    const std::string good = file("Setup.exe", bytesOf("setup"));
    const std::string packed = (scratch_.path() / "packed").string();
    ASSERT_EQ(pack({"-o", packed, "--image", image, good}), 0);
    scratch_.folder("other");
    const struct {
        std::vector<std::string> args;
        std::string reason;
    } refusals[] = {
        {{"-o", out_}, "usage"},
        {{good}, "usage"},
        {{"-o", out_, "--image"}, "needs a value"},
        {{"-o", out_, "--level", "9", good}, "unknown option"},
        {{"-o", out_, "--image", image, file("a\\b.dll", {})}, "not a plain file name"},
        {{"-o", out_, "--image", image, good, file("Setup.exe.", {})}, "ends with a dot"},
        {{"-o", out_, "--image", image, good, file("nul.txt", {})}, "device name"},
        {{"-o", out_, "--image", image, good, file("other/SETUP.EXE", {})}, "letter case"},
        {{"-o", out_, "--image", image, file("KTB_Unz.dll", {})}, "no Setup.exe"},
        {{"-o", out_, "--image", image, (scratch_.path() / "absent").string()}, "No such file"},
        {{"-o", out_, "--image", image, scratch_.folder("dir").string()}, "a folder"},
        {{"-o", out_, "--image", image, "--trailer", "/nonexistent/t", good}, "No such file"},
        {{"-o", out_, "--image", PACKER_PATH, good}, "not a Packstart image"},
        {{"-o", out_, "--image", packed, good}, "bytes after its executable image"},
        {{"-o", (scratch_.path() / "no" / "out").string(), "--image", image, good}, "cannot write"},
    };
    for (const auto& refusal : refusals) {
        const bool wrongCall = refusal.reason == "usage" || refusal.reason == "needs a value" ||
                               refusal.reason == "unknown option";
        EXPECT_EQ(pack(refusal.args), wrongCall ? 2 : 1);
        EXPECT_NE(err_.str().find(refusal.reason), std::string::npos) << err_.str();
        EXPECT_FALSE(fs::exists(out_));
    }
}

TEST(PackerNames, OnlyNamesThatWindowsTakesAsThemselves) {
    for (const std::string& name : std::vector<std::string>{
             "KTB_UNISTALLER2006.EXE", std::string(255, 'a'), "CONSOLE.DLL", "COM0.txt", "x.con"}) {
        EXPECT_EQ(packer::nameProblem(name), "") << name;
    }
    for (const std::string& name :
         std::vector<std::string>{std::string(256, 'a'), "", ".", "..", "a/b", "a\\b",
                                  std::string("a\0b", 3), "Setup.exe.", "SETUP.EXE ", "a:b", "CON",
                                  "nul.txt", "Com1.dll", "LPT9", "aux .txt", "PRN"}) {
        EXPECT_NE(packer::nameProblem(name), "") << name;
    }
}

} // namespace
