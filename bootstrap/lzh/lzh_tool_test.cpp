// The `lzh` command: round trips through files (OUT a link, or a pipe), the output
// decoded in parts through reused buffers, and on every failure exit status 1, a
// reason, OUT left as it was and nothing left beside it.
#include "lzh_decoder.h"
#include "lzh_tool.h"
#include "test_support.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

using namespace packstart_test;

namespace {

class LzhTool : public ::testing::Test {
protected:
    int tool(const std::vector<std::string>& args) {
        err_.str("");
        return lzh::runTool(pointersTo(args), err_);
    }
    std::string at(const std::string& name) const { return (scratch_.path() / name).string(); }

    ScratchFolder scratch_;
    std::ostringstream err_;
};

// Joins the parts; a part that changed before the next call is a fault.
struct JoiningSink final : lzh::PartSink {
    void put(const std::uint8_t* bytes, std::size_t count) override {
        end();
        joined.insert(joined.end(), bytes, bytes + count);
        last = {bytes, count};
    }
    void end() override {
        EXPECT_TRUE(std::equal(last.begin(), last.end(), joined.end() - std::ssize(last)));
    }
    std::span<const std::uint8_t> last;
    Bytes joined;
};

TEST_F(LzhTool, RoundTripsThroughFilesAndDecodesInParts) {
    // Parts enough for the buffers to take turns and the window to be carried over.
    const Bytes input = sampleBytes(3 * lzh::kDecodePart + 777, 1);
    writeFile(at("in"), input);
    // Written through a link: the link stays, and the file behind it keeps its permissions.
    writeFile(at("private"), bytesOf("old"));
    fs::permissions(at("private"), fs::perms::owner_all);
    fs::create_symlink("private", at("packed"));
    ASSERT_EQ(tool({"c", at("in"), at("packed")}), 0) << err_.str();
    EXPECT_EQ(fs::status(at("private")).permissions(), fs::perms::owner_all);
    ASSERT_EQ(run(LZH_TOOL_PATH, {"d", at("private"), at("out")}).status, 0);
    EXPECT_EQ(readFile(at("out")), input);
    EXPECT_EQ(entriesOf(scratch_.path()),
              (std::vector<std::string>{"in", "out", "packed", "private"}));

    const Bytes stream = readFile(at("private"));
    JoiningSink sink;
    lzh::decode(stream, *lzh::statedLength(stream), sink);
    EXPECT_EQ(sink.joined, input);
}

TEST_F(LzhTool, FailuresGiveAReasonAndLeaveTheOutputAlone) {
    writeFile(at("short"), bytesOf("abc"));
    writeFile(at("out"), bytesOf("previous"));
    const struct {
        std::vector<std::string> args;
        std::string reason;
    } failures[] = {
        {{}, "usage"},
        {{"x", at("short"), at("out")}, "usage"},
        {{"c", at("absent"), at("out")}, "no such file"},
        {{"d", scratch_.path().string(), at("out")}, "it is a folder"},
        {{"d", at("short"), at("out")}, "not a compressed stream"},
        {{"c", at("short"), at("missing/out")}, "cannot write"},
    };
    for (const auto& failure : failures) {
        EXPECT_EQ(tool(failure.args), failure.reason == "usage" ? 2 : 1);
        EXPECT_NE(err_.str().find(failure.reason), std::string::npos) << err_.str();
    }
    EXPECT_EQ(textOf(readFile(at("out"))), "previous");
    EXPECT_EQ(entriesOf(scratch_.path()), (std::vector<std::string>{"out", "short"}));
}

// A pipe, and a file named by a descriptor (as /dev/stdout names a redirection), are written
// into as they stand; the pipe, held open both ways, needs no reader.
TEST_F(LzhTool, APipeOrAnOpenFileTakesTheOutputAsItStands) {
    writeFile(at("packed"), Bytes{0xF6, 0xFB, 0xBD, 0xE0, 0x03, 0x00, 0x00, 0x00}); // "abc"
    ASSERT_EQ(::mkfifo(at("pipe").c_str(), 0600), 0);
    const int pipe = ::open(at("pipe").c_str(), O_RDWR | O_NONBLOCK);
    const int file = ::open(at("open").c_str(), O_RDONLY | O_CREAT, 0644);
    for (const auto& [out, fd] :
         {std::pair{at("pipe"), pipe}, {"/proc/self/fd/" + std::to_string(file), file}}) {
        ASSERT_EQ(tool({"d", at("packed"), out}), 0) << err_.str();
        char got[20] = {};
        EXPECT_EQ(::read(fd, got, sizeof got), 3);
        EXPECT_STREQ(got, "abc");
    }
}

TEST_F(LzhTool, RunningOutOfMemoryIsSaidInWords) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizer's own allocator ends the program instead";
#endif
    writeFile(at("big"), Bytes(16 << 20, 'x'));
    const Outcome outcome = run("/bin/sh", {"-c", "ulimit -v 16384; exec \"$0\" c \"$1\" \"$2\"",
                                            LZH_TOOL_PATH, at("big"), at("out")});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.standardError, "lzh: Out of memory\n");
}

} // namespace
