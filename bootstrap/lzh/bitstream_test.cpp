// Pins the bit stream: the codec's streams must equal, byte for byte, those
// of the plain reference implementation, and each side must read the other's.
#include "reference_codec.h"
#include "test_support.h"

#include <gtest/gtest.h>
#include <string>

using namespace lzh_test;

namespace {

void expectSameStreams(const Bytes& input) {
    const Bytes stream = compressed(input);
    ASSERT_EQ(stream, reference::encode(input));
    const reference::Decoded decoded = reference::decode(stream);
    ASSERT_EQ(decoded.bytes, input);
    ASSERT_EQ(decompressed(stream), input);
}

} // namespace

TEST(Bitstream, ShortInputsOfEveryLength) {
    const Bytes text = textCorpus(200, 21);
    const Bytes spaces = bytesOf(std::string(40, ' ') + "tail after spaces");
    for (std::size_t n = 0; n <= text.size(); ++n) {
        SCOPED_TRACE(n);
        expectSameStreams(Bytes(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(n)));
    }
    for (std::size_t n = 0; n <= spaces.size(); ++n) {
        SCOPED_TRACE(n);
        expectSameStreams(Bytes(spaces.begin(), spaces.begin() + static_cast<std::ptrdiff_t>(n)));
    }
}

TEST(Bitstream, VariedCorpora) {
    struct Case {
        const char* name;
        Bytes input;
    };
    Bytes mixed = textCorpus(150'000, 31);
    const Bytes binary = binaryCorpus(150'000, 32);
    mixed.insert(mixed.end(), binary.begin(), binary.end());
    const Case cases[] = {
        {"text", textCorpus(400'000, 33)},   {"binary", binaryCorpus(400'000, 34)},
        {"random", randomBytes(60'000, 35)}, {"runs", Bytes(70'000, 0xFF)},
        {"text then binary", mixed},         {"period 4036", periodicCorpus(4036, 30'000, 36)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        expectSameStreams(c.input);
    }
}
