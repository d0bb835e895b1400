// Output decoded in parts through reused buffers: whole, in order, and each
// part left alone until the sink has let it go.
#include "lzh_decoder.h"
#include "lzh_tool.h"
#include "test_support.h"

#include <gtest/gtest.h>
#include <sstream>

namespace {

using Bytes = std::vector<std::uint8_t>;

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

TEST(DecodeInParts, TheCommandAndASinkGetTheWholeInput) {
    const packstart_test::ScratchFolder scratch;
    const auto at = [&](const char* name) { return (scratch.path() / name).string(); };
    const Bytes input = packstart_test::sampleBytes(3 * lzh::kDecodePart + 777, 3);
    packstart_test::writeFile(at("in"), input);
    std::ostringstream err;
    const std::string in = at("in"), packed = at("packed"), out = at("out");
    ASSERT_EQ(lzh::runTool(std::vector{"c", in.c_str(), packed.c_str()}, err), 0) << err.str();
    ASSERT_EQ(lzh::runTool(std::vector{"d", packed.c_str(), out.c_str()}, err), 0) << err.str();
    EXPECT_EQ(packstart_test::readFile(out), input);

    const Bytes stream = packstart_test::readFile(packed);
    JoiningSink sink;
    lzh::decode(stream, *lzh::statedLength(stream), sink);
    EXPECT_EQ(sink.joined, input);
}

} // namespace
