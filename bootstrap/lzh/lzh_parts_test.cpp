// Decoding in parts through reused buffers gives the bytes of decoding in
// place, and leaves each part alone until the sink has let it go; the `lzh`
// command writes every part, in order.
#include "custom_lzh.h"
#include "lzh_decoder.h"
#include "lzh_format.h"
#include "lzh_tool.h"
#include "test_support.h"

#include <gtest/gtest.h>
#include <sstream>

namespace {

using Bytes = std::vector<std::uint8_t>;

// Keeps every part, and checks at each put() that the part before is unchanged.
struct RecordingSink final : lzh::PartSink {
    void put(const std::uint8_t* bytes, std::size_t count) override {
        checkLast();
        last = bytes;
        parts.emplace_back(bytes, bytes + count);
    }
    void end() override { checkLast(); }
    void checkLast() {
        if (last != nullptr) {
            EXPECT_TRUE(std::equal(parts.back().begin(), parts.back().end(), last))
                << "part " << parts.size() - 1 << " changed before it was let go";
        }
    }
    const std::uint8_t* last = nullptr;
    std::vector<Bytes> parts;
};

TEST(DecodeInParts, GivesTheBytesOfDecodingInPlace) {
    // Runs longer than the window cross the part boundaries as matches.
    Bytes repetitive;
    while (repetitive.size() < 3 * lzh::kDecodePart + 1000) {
        const Bytes run =
            packstart_test::sampleBytes(5000, static_cast<unsigned>(repetitive.size()));
        for (int i = 0; i < 4; ++i) {
            repetitive.insert(repetitive.end(), run.begin(), run.end());
        }
    }
    const struct {
        const char* what;
        Bytes input;
    } cases[] = {
        {"mixed", packstart_test::sampleBytes(2 * lzh::kDecodePart + 12345, 7)},
        {"exactly two parts", packstart_test::sampleBytes(2 * lzh::kDecodePart, 8)},
        {"repetitive", repetitive},
        {"shorter than the window", packstart_test::sampleBytes(3000, 9)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TMemoryStream packed;
        TCustom_lzh codec;
        codec.Source = c.input.data();
        codec.SourceSize = static_cast<std::int32_t>(c.input.size());
        codec.Target = &packed;
        ASSERT_TRUE(codec.Compress());
        const std::span<const std::uint8_t> stream(packed.Memory(), packed.Size());
        const std::int32_t length = *lzh::statedLength(stream);

        Bytes inPlace(c.input.size() + lzh::kDecodeSlack);
        const auto whole = lzh::decode(stream, length, inPlace.data(), nullptr);
        RecordingSink sink;
        const auto parted = lzh::decode(stream, length, sink);

        Bytes joined;
        for (const Bytes& part : sink.parts) {
            EXPECT_LE(part.size(), lzh::kDecodePart + lzh::kLongestMatch - 1);
            joined.insert(joined.end(), part.begin(), part.end());
        }
        EXPECT_EQ(joined, c.input);
        EXPECT_EQ(parted.produced, whole.produced);
        EXPECT_EQ(parted.fetches, whole.fetches);
    }
}

TEST(DecodeInParts, TheCommandWritesEveryPartInOrder) {
    const packstart_test::ScratchFolder scratch;
    const auto at = [&](const char* name) { return (scratch.path() / name).string(); };
    const Bytes input = packstart_test::sampleBytes(5 * lzh::kDecodePart + 777, 3);
    packstart_test::writeFile(at("in"), input);
    std::ostringstream err;
    const auto tool = [&](std::vector<std::string> args) {
        const std::vector<const char*> argv{args[0].c_str(), args[1].c_str(), args[2].c_str()};
        return lzh::runTool(argv, err);
    };
    ASSERT_EQ(tool({"c", at("in"), at("packed")}), 0) << err.str();
    ASSERT_EQ(tool({"d", at("packed"), at("out")}), 0) << err.str();
    EXPECT_EQ(packstart_test::readFile(at("out")), input);
}

} // namespace
