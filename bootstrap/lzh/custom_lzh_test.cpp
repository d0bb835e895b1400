// TCustom_lzh and TSECompress as their callers see them: the known streams,
// round trips, the stored-length rules, progress reporting and how far back
// matches reach.
#include "custom_lzh.h"
#include "reference_codec.h"
#include "se_compress.h"
#include "test_support.h"

#include <gtest/gtest.h>
#include <string>

using namespace lzh_test;

namespace {

const Bytes kAbcStream{0xF6, 0xFB, 0xBD, 0xE0, 0x03, 0x00, 0x00, 0x00};
const Bytes kTenAStream{0xF6, 0xC9, 0x00, 0x00, 0x0A, 0x00, 0x00, 0x00};

std::int64_t storedLength(const Bytes& stream) {
    const std::size_t at = stream.size() - 4;
    return static_cast<std::int32_t>(stream[at] | (stream[at + 1] << 8) | (stream[at + 2] << 16) |
                                     (std::uint32_t{stream[at + 3]} << 24));
}

Bytes withLength(Bytes body, std::uint32_t length) {
    for (int i = 0; i < 4; ++i) {
        body.push_back(static_cast<std::uint8_t>(length >> (8 * i)));
    }
    return body;
}

} // namespace

TEST(KnownStreams, AreProducedAndReadByteForByte) {
    EXPECT_EQ(compressed(bytesOf("abc")), kAbcStream);
    EXPECT_EQ(compressed(Bytes(10, 'a')), kTenAStream);
    EXPECT_EQ(decompressed(kAbcStream), bytesOf("abc"));
    EXPECT_EQ(decompressed(kTenAStream), Bytes(10, 'a'));
}

TEST(RoundTrip, GivesBackEveryKindOfInput) {
    struct Case {
        const char* name;
        Bytes input;
    };
    const Case cases[] = {
        {"empty", {}},
        {"one byte", {0x41}},
        {"three bytes", bytesOf("xyz")},
        {"run of one byte", Bytes(200'000, 0x00)},
        {"run of spaces", Bytes(5'000, ' ')},
        {"random bytes", randomBytes(100'000, 1)},
        {"binary", binaryCorpus(500'000, 3)},
        // Enough symbols to rebuild the tree many times over.
        {"text of several MB", textCorpus(3'000'000, 2)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Bytes stream = compressed(c.input);
        ASSERT_GE(stream.size(), 5u);
        EXPECT_EQ(storedLength(stream), static_cast<std::int64_t>(c.input.size()));
        EXPECT_EQ(decompressed(stream), c.input);
    }
}

TEST(RoundTrip, LeadingSpacesMatchTheWindowsInitialSpaces) {
    const Bytes input = bytesOf("        abcdefghij");
    const Bytes stream = compressed(input);
    const reference::Decoded decoded = reference::decode(stream);
    EXPECT_EQ(decoded.matches, 1u);
    EXPECT_EQ(decoded.literals, 10u);
    EXPECT_EQ(decompressed(stream), input);
}

TEST(RoundTrip, TargetEndsPositionedAtItsEnd) {
    const Bytes stream = compressed(textCorpus(10'000, 5));
    TMemoryStream target;
    TCustom_lzh codec;
    codec.Source = stream.data();
    codec.SourceSize = static_cast<std::int32_t>(stream.size());
    codec.Target = &target;
    ASSERT_TRUE(codec.Decompress());
    EXPECT_EQ(target.Size(), 10'000u);
    EXPECT_EQ(target.Position(), target.Size());
}

TEST(StoredLength, ShortSourcesAreRefusedAndTheTargetEmptied) {
    for (std::size_t size = 0; size <= 4; ++size) {
        SCOPED_TRACE(size);
        const Bytes source(size, 0x01);
        TMemoryStream target;
        target.Write("old", 3);
        TCustom_lzh codec;
        codec.Source = source.data();
        codec.SourceSize = static_cast<std::int32_t>(size);
        codec.Target = &target;
        EXPECT_FALSE(codec.Decompress());
        EXPECT_EQ(target.Size(), 0u);
    }
}

TEST(StoredLength, ZeroAndNegativeLengthsDecodeToNothing) {
    const Bytes body(kAbcStream.begin(), kAbcStream.end() - 4);
    for (const std::uint32_t length : {0u, 0xFFFFFFFFu, 0x80000000u}) {
        SCOPED_TRACE(length);
        EXPECT_EQ(decompressed(withLength(body, length)), Bytes{});
    }
}

TEST(StoredLength, LengthsTheBodyCannotProduceAreRefused) {
    // One body byte holds at most 8 symbols of at most 60 bytes each.
    const Bytes body{0x00};
    EXPECT_FALSE(decompressed(withLength(body, 482)));
    EXPECT_FALSE(decompressed(withLength(body, 0x7FFFFFFF)));
    const auto longest = decompressed(withLength(body, 481));
    ASSERT_TRUE(longest);
    EXPECT_GE(longest->size(), 481u);
    EXPECT_EQ(*longest, reference::decode(withLength(body, 481)).bytes);
}

TEST(StoredLength, NoTargetMeansFalse) {
    TCustom_lzh codec;
    codec.Source = kAbcStream.data();
    codec.SourceSize = static_cast<std::int32_t>(kAbcStream.size());
    EXPECT_FALSE(codec.Decompress());
    EXPECT_FALSE(codec.Compress());
}

namespace {

struct ProgressLog {
    std::vector<std::int32_t> remaining;
    static void note(std::int32_t remaining, void* data) {
        static_cast<ProgressLog*>(data)->remaining.push_back(remaining);
    }
};

struct Outcome {
    bool result;
    Bytes target;
    std::int32_t sourcePos;
    std::int32_t remaining;
};

Outcome run(const Bytes& source, bool compress, ProgressLog* log) {
    TMemoryStream target;
    TCustom_lzh codec;
    codec.Source = source.data();
    codec.SourceSize = static_cast<std::int32_t>(source.size());
    codec.Target = &target;
    if (log != nullptr) {
        codec.OnProgress = &ProgressLog::note;
        codec.ProgressData = log;
    }
    const bool result = compress ? codec.Compress() : codec.Decompress();
    return {result, Bytes(target.Memory(), target.Memory() + target.Size()), codec.SourcePos,
            codec.Remaining};
}

} // namespace

TEST(Progress, FollowsAByteAtATimeReader) {
    // The three 9-bit codes of "abc" take 27 bits; a reader that fetches while
    // it holds 8 bits or fewer has fetched 5 bytes by then.
    ProgressLog decoding;
    const Outcome decoded = run(kAbcStream, false, &decoding);
    EXPECT_EQ(decoding.remaining, (std::vector<std::int32_t>{7, 6, 5, 4, 3}));
    EXPECT_EQ(decoded.sourcePos, 5);
    EXPECT_EQ(decoded.remaining, 3);

    // Encoding reads the look-ahead until a fetch fails, then tries one fetch
    // after each of the three literals.
    ProgressLog encoding;
    const Outcome encoded = run(bytesOf("abc"), true, &encoding);
    EXPECT_EQ(encoding.remaining, (std::vector<std::int32_t>{2, 1, 0, 0, 0, 0, 0}));
    EXPECT_EQ(encoded.sourcePos, 3);
    EXPECT_EQ(encoded.remaining, 0);
}

TEST(Progress, ListeningChangesNeitherResultNorFinalPosition) {
    const Bytes input = textCorpus(200'000, 9);
    for (const bool compress : {true, false}) {
        SCOPED_TRACE(compress ? "compress" : "decompress");
        const Bytes source = compress ? input : compressed(input);
        ProgressLog log;
        const Outcome heard = run(source, compress, &log);
        const Outcome quiet = run(source, compress, nullptr);
        EXPECT_TRUE(heard.result);
        EXPECT_EQ(heard.target, quiet.target);
        EXPECT_EQ(heard.sourcePos, quiet.sourcePos);
        EXPECT_EQ(heard.remaining, quiet.remaining);
        ASSERT_GE(log.remaining.size(), static_cast<std::size_t>(heard.sourcePos));
        for (std::size_t i = 0; i < log.remaining.size(); ++i) {
            const auto expected = std::max<std::int64_t>(
                static_cast<std::int64_t>(source.size()) - static_cast<std::int64_t>(i) - 1, 0);
            ASSERT_EQ(log.remaining[i], expected) << "call " << i;
        }
    }
}

TEST(WindowReach, MatchesReachBackAtMost4036Bytes) {
    const Bytes beyond = periodicCorpus(4037, 40'000, 7);
    const Bytes stream = compressed(beyond);
    const reference::Decoded decoded = reference::decode(stream);
    EXPECT_EQ(decoded.matches, 0u);
    EXPECT_GT(stream.size(), beyond.size() * 95 / 100);
    EXPECT_EQ(decoded.bytes, beyond);

    const Bytes within = periodicCorpus(4036, 40'000, 7);
    const Bytes matched = compressed(within);
    EXPECT_GT(reference::decode(matched).matches, 500u);
    EXPECT_LT(matched.size(), within.size() / 4);
    EXPECT_EQ(decompressed(matched), within);
}

TEST(SECompress, DecodesAWholeStreamFromTheStart) {
    TMemoryStream source;
    source.Write(kTenAStream.data(), kTenAStream.size());
    TMemoryStream target;
    target.Write("old contents", 12);
    EXPECT_TRUE(TSECompress::DecompressStream(source, target));
    EXPECT_EQ(source.Position(), 0u);
    EXPECT_EQ(Bytes(target.Memory(), target.Memory() + target.Size()), Bytes(10, 'a'));

    TMemoryStream tooShort;
    tooShort.Write("abc", 3);
    EXPECT_FALSE(TSECompress::DecompressStream(tooShort, target));
    EXPECT_EQ(target.Size(), 0u);
}
