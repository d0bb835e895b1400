// Damaged and made-up streams: whatever the bytes, decoding stays in bounds,
// refuses only what the length rules refuse, and decodes exactly as the plain
// reference does (bits past the end read as 0, matches copied whole).
#include "reference_codec.h"
#include "test_support.h"

#include <gtest/gtest.h>
#include <random>

using namespace lzh_test;

namespace {

constexpr std::int64_t kMostPerBodyByte = 480;

void setLength(Bytes& stream, std::int32_t length) {
    const auto value = static_cast<std::uint32_t>(length);
    for (int i = 0; i < 4; ++i) {
        stream[stream.size() - 4 + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

std::int32_t lengthOf(const Bytes& stream) {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) {
        value |= std::uint32_t{stream[stream.size() - 4 + i]} << (8 * i);
    }
    return static_cast<std::int32_t>(value);
}

void expectDecodedLikeTheReference(const Bytes& stream) {
    const auto decoded = decompressed(stream);
    if (stream.size() <= 4) {
        EXPECT_FALSE(decoded);
        return;
    }
    const std::int64_t length = lengthOf(stream);
    const std::int64_t body = static_cast<std::int64_t>(stream.size()) - 4;
    if (length > body * kMostPerBodyByte + 1) {
        EXPECT_FALSE(decoded);
        return;
    }
    ASSERT_TRUE(decoded);
    if (length > 0) {
        EXPECT_GE(static_cast<std::int64_t>(decoded->size()), length);
        EXPECT_LT(static_cast<std::int64_t>(decoded->size()), length + 60);
    } else {
        EXPECT_TRUE(decoded->empty());
    }
    ASSERT_EQ(*decoded, reference::decode(stream).bytes);
}

// A stated length from the interesting places: negative, 0, small, and both
// sides of the most the body can produce.
std::int32_t pickLength(std::mt19937& draw, std::size_t streamSize) {
    const std::int64_t most = (static_cast<std::int64_t>(streamSize) - 4) * kMostPerBodyByte + 1;
    switch (draw() % 6) {
    case 0:
        return -static_cast<std::int32_t>(draw() % 1000) - 1;
    case 1:
        return 0;
    case 2:
        return static_cast<std::int32_t>(std::min<std::int64_t>(most, 20'000));
    case 3:
        return static_cast<std::int32_t>(most + 1 + draw() % 1000);
    default:
        return static_cast<std::int32_t>(draw() % 3000);
    }
}

} // namespace

TEST(DamagedInput, RandomStreams) {
    std::mt19937 draw(101);
    for (int round = 0; round < 400; ++round) {
        Bytes stream = randomBytes(draw() % 120, static_cast<unsigned>(draw()));
        if (stream.size() >= 4) {
            setLength(stream, pickLength(draw, stream.size()));
        }
        SCOPED_TRACE(round);
        expectDecodedLikeTheReference(stream);
    }
}

TEST(DamagedInput, MutatedStreams) {
    const Bytes input = textCorpus(12'000, 102);
    const Bytes good = compressed(input);
    std::mt19937 draw(103);
    for (int round = 0; round < 200; ++round) {
        Bytes stream = good;
        switch (round % 4) {
        case 0: // flipped bits
            for (int n = 1 + static_cast<int>(draw() % 4); n > 0; --n) {
                stream[draw() % (stream.size() - 4)] ^=
                    static_cast<std::uint8_t>(1u << (draw() % 8));
            }
            break;
        case 1: // overwritten bytes
            for (int n = 1 + static_cast<int>(draw() % 8); n > 0; --n) {
                stream[draw() % stream.size()] = static_cast<std::uint8_t>(draw());
            }
            break;
        case 2: // the body cut short, the length kept
            stream.erase(stream.begin() + static_cast<std::ptrdiff_t>(draw() % (good.size() - 4)),
                         stream.end() - 4);
            break;
        default: // another stated length
            setLength(stream, pickLength(draw, stream.size()));
        }
        SCOPED_TRACE(round);
        expectDecodedLikeTheReference(stream);
    }
}

TEST(DamagedInput, ATruncatedBodyDecodesItsStartThenZeroBits) {
    const Bytes input = textCorpus(50'000, 104);
    Bytes stream = compressed(input);
    const std::size_t body = stream.size() - 4;
    stream.erase(stream.begin() + static_cast<std::ptrdiff_t>(body / 2), stream.end() - 4);
    const auto decoded = decompressed(stream);
    ASSERT_TRUE(decoded);
    ASSERT_GE(decoded->size(), input.size());
    // The first third of the input lies well inside the half of the body kept.
    EXPECT_TRUE(std::equal(input.begin(), input.begin() + 16'000, decoded->begin()));
    EXPECT_NE(Bytes(decoded->begin(), decoded->begin() + 50'000), input);
    EXPECT_EQ(*decoded, reference::decode(stream).bytes);
}
