// The `lzh` command: round trips through files, exit status 1 with a message
// on every failure, and OUT never left half-written or replaced on failure.
#include "lzh_tool.h"
#include "test_support.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <sstream>
#include <string>
#include <sys/wait.h>

using namespace lzh_test;
namespace fs = std::filesystem;

namespace {

class LzhTool : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ =
            fs::temp_directory_path() / ("lzh_tool_test_" + std::to_string(std::random_device{}()));
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    fs::path file(const std::string& name) const { return dir_ / name; }

    static void write(const fs::path& path, const Bytes& bytes) {
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    }
    static Bytes read(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    int run(std::vector<std::string> args) {
        std::vector<const char*> argv;
        for (const auto& a : args) {
            argv.push_back(a.c_str());
        }
        err_.str("");
        return lzh::runTool(argv, err_);
    }

    std::size_t filesInDir() const {
        return static_cast<std::size_t>(
            std::distance(fs::directory_iterator(dir_), fs::directory_iterator()));
    }

    fs::path dir_;
    std::ostringstream err_;
};

} // namespace

TEST_F(LzhTool, CompressesAndDecompressesFiles) {
    const Bytes input = textCorpus(70'000, 201);
    write(file("in"), input);
    ASSERT_EQ(run({"c", file("in").string(), file("packed").string()}), 0) << err_.str();
    EXPECT_EQ(read(file("packed")), compressed(input));
    ASSERT_EQ(run({"d", file("packed").string(), file("out").string()}), 0) << err_.str();
    EXPECT_EQ(read(file("out")), input);
    EXPECT_EQ(filesInDir(), 3u);
}

TEST_F(LzhTool, BadUsageIsExplained) {
    EXPECT_EQ(run({}), 1);
    EXPECT_NE(err_.str().find("usage"), std::string::npos);
    EXPECT_EQ(run({"x", "a", "b"}), 1);
    EXPECT_NE(err_.str().find("usage"), std::string::npos);
    EXPECT_EQ(run({"c", "a"}), 1);
}

TEST_F(LzhTool, MissingOrUnreadableInputFails) {
    EXPECT_EQ(run({"c", file("absent").string(), file("out").string()}), 1);
    EXPECT_NE(err_.str().find("no such file"), std::string::npos);
    EXPECT_EQ(run({"d", dir_.string(), file("out").string()}), 1);
    EXPECT_NE(err_.str().find("folder"), std::string::npos);
    EXPECT_FALSE(fs::exists(file("out")));
}

TEST_F(LzhTool, UndecodableInputLeavesAnExistingOutputAlone) {
    write(file("short"), bytesOf("abc"));
    write(file("out"), bytesOf("previous"));
    EXPECT_EQ(run({"d", file("short").string(), file("out").string()}), 1);
    EXPECT_NE(err_.str().find("not a compressed stream"), std::string::npos);
    EXPECT_EQ(read(file("out")), bytesOf("previous"));
    EXPECT_EQ(filesInDir(), 2u);
}

TEST_F(LzhTool, UnwritableOutputFailsWithoutLeavingFiles) {
    write(file("in"), bytesOf("some text"));
    EXPECT_EQ(run({"c", file("in").string(), (dir_ / "missing" / "out").string()}), 1);
    EXPECT_NE(err_.str().find("cannot write"), std::string::npos);
    EXPECT_EQ(filesInDir(), 1u);
}

TEST_F(LzhTool, TheProgramExitsWithTheStatus) {
    write(file("in"), bytesOf("program round trip"));
    const std::string tool = LZH_TOOL_PATH;
    const auto status = [](const std::string& command) {
        const int raw = std::system((command + " 2>/dev/null").c_str());
        return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    };
    EXPECT_EQ(status(tool + " c " + file("in").string() + " " + file("p").string()), 0);
    EXPECT_EQ(status(tool + " d " + file("p").string() + " " + file("out").string()), 0);
    EXPECT_EQ(read(file("out")), bytesOf("program round trip"));
    EXPECT_EQ(status(tool + " d " + file("in").string()), 1);
}

TEST_F(LzhTool, RunningOutOfMemoryIsSaidInWords) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizer's own allocator ends the program instead";
#endif
    write(file("big"), Bytes(48 << 20, 'x'));
    const std::string command = "ulimit -v 65536; exec " + std::string(LZH_TOOL_PATH) + " c " +
                                file("big").string() + " " + file("out").string() + " 2>" +
                                file("err").string();
    const int raw = std::system(("sh -c '" + command + "'").c_str());
    EXPECT_EQ(WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, 1);
    const Bytes err = read(file("err"));
    EXPECT_EQ(std::string(err.begin(), err.end()), "lzh: Out of memory\n");
}
