// The LZH codec as its callers see it: streams equal byte for byte to the plain
// reference codec's, whichever way the match finder runs, and decoded back;
// the stored-length rules, damaged input decoded exactly as the reference decodes
// it, progress, TSECompress; and the symbol that sets off the tree's rebuild
// landing on node 0, which ordinary data may not reach.
#include "adaptive_huffman.h"
#include "custom_lzh.h"
#include "lzh_encoder.h"
#include "lzh_format.h"
#include "reference_codec.h"
#include "se_compress.h"
#include "test_support.h"

#include <gtest/gtest.h>
#include <random>

using namespace packstart_test;

namespace {

const Bytes kAbcStream{0xF6, 0xFB, 0xBD, 0xE0, 0x03, 0x00, 0x00, 0x00};
const Bytes kTenAStream{0xF6, 0xC9, 0x00, 0x00, 0x0A, 0x00, 0x00, 0x00};

struct Result {
    bool ok = false;
    Bytes target;
    std::int32_t sourcePos = 0;
    std::vector<std::int32_t> progress;
};

Result run(const Bytes& source, bool compress, bool listen = false) {
    Result result;
    TMemoryStream target;
    target.Write("old", 3);
    TCustom_lzh codec;
    codec.Source = source.data();
    codec.SourceSize = static_cast<std::int32_t>(source.size());
    codec.Target = &target;
    if (listen) {
        codec.OnProgress = [](std::int32_t remaining, void* log) {
            static_cast<std::vector<std::int32_t>*>(log)->push_back(remaining);
        };
        codec.ProgressData = &result.progress;
    }
    result.ok = compress ? codec.Compress() : codec.Decompress();
    result.target.assign(target.Memory(), target.Memory() + target.Size());
    result.sourcePos = codec.SourcePos;
    EXPECT_EQ(target.Position(), target.Size());
    return result;
}

Bytes compressed(const Bytes& input) {
    const Result result = run(input, true);
    EXPECT_TRUE(result.ok);
    return result.target;
}

// The decoded bytes, or nothing (and an emptied target) when decoding refuses.
std::optional<Bytes> decompressed(const Bytes& stream) {
    Result result = run(stream, false);
    if (!result.ok) {
        EXPECT_TRUE(result.target.empty());
        return std::nullopt;
    }
    return std::move(result.target);
}

// `size` bytes repeating a block of `period` bytes in which no 3-byte string
// occurs twice, also across the block's end: the numbers 0, 1, 2, ... as a byte
// of 0x80 and up followed by one below 0x80, and 0xFF to make an odd period.
Bytes periodic(std::size_t period, std::size_t size) {
    Bytes out(size);
    for (std::size_t i = 0; i < size; ++i) {
        const std::size_t k = i % period;
        out[i] = static_cast<std::uint8_t>(k + 1 == period && k % 2 == 0 ? 0xFF
                                           : k % 2 == 0                  ? 0x80 + k / 256
                                                                         : k / 2 % 128);
    }
    return out;
}

struct Collect final : lzh::ByteSink {
    Bytes bytes;
    void put(const std::uint8_t* data, std::size_t count) override {
        bytes.insert(bytes.end(), data, data + count);
    }
};

TEST(Bitstream, EqualsTheReferenceCodecsAndDecodesBack) {
    // Two streams worked out by hand; the rest held against the reference.
    EXPECT_EQ(compressed(bytesOf("abc")), kAbcStream);
    EXPECT_EQ(compressed(Bytes(10, 'a')), kTenAStream);
    // Text, runs of spaces and of zeros, random bytes: trees of every kind in both lanes.
    Bytes mixed = sampleBytes(120'000, 1);
    mixed.insert(mixed.end(), 2000, ' ');
    mixed.insert(mixed.end(), 3000, 0);
    std::mt19937 draw(2);
    for (int i = 0; i < 60'000; ++i) {
        mixed.push_back(static_cast<std::uint8_t>(draw()));
    }
    std::vector<Bytes> inputs{mixed, Bytes(70'000, 0xFF), periodic(4036, 30'000)};
    // Sources that end within the first look-ahead or past it, after text or the window's spaces.
    const Bytes text = sampleBytes(200, 3);
    const Bytes spaces = bytesOf(std::string(70, ' ') + "after the window's spaces");
    for (const Bytes* source : {&text, &spaces}) {
        for (std::size_t n = 0; n <= source->size(); ++n) {
            inputs.emplace_back(source->begin(), source->begin() + static_cast<std::ptrdiff_t>(n));
        }
    }
    struct Ignore final : lzh::FetchListener {
        void fetched(std::uint64_t) override {}
    } listener;
    for (const Bytes& input : inputs) {
        SCOPED_TRACE(input.size());
        const Bytes stream = compressed(input);
        ASSERT_EQ(stream, reference::encode(input));
        ASSERT_EQ(decompressed(stream), input);
        // The finder in line with a listener, or alongside on one or two threads round the
        // smallest rings: one stream, from the same fetches.
        const Bytes body(stream.begin(), stream.end() - 4);
        Collect inLine;
        const std::uint64_t fetches = lzh::encode(input, inLine, &listener).fetches;
        ASSERT_EQ(inLine.bytes, body);
        for (const unsigned threads : {1u, 2u}) {
            Collect alongside;
            EXPECT_EQ(lzh::encode(input, alongside, nullptr, threads, 1).fetches, fetches)
                << threads;
            ASSERT_EQ(alongside.bytes, body) << threads;
        }
    }
}

TEST(Codec, MatchesReachBackAtMost4036Bytes) {
    // Without matches the bytes hardly shrink; with them, to a fraction.
    const Bytes beyond = periodic(4037, 40'000);
    EXPECT_GT(compressed(beyond).size(), beyond.size() / 2);
    const Bytes within = periodic(4036, 40'000);
    EXPECT_LT(compressed(within).size(), within.size() / 4);
}

TEST(Codec, RunsOnlyWithATarget) {
    TCustom_lzh noTarget;
    noTarget.Source = kAbcStream.data();
    noTarget.SourceSize = static_cast<std::int32_t>(kAbcStream.size());
    EXPECT_FALSE(noTarget.Decompress());
    EXPECT_FALSE(noTarget.Compress());
}

TEST(Codec, ProgressFollowsAByteAtATimeReader) {
    // The three 9-bit codes of "abc" take 27 bits; a reader that fetches while
    // it holds 8 bits or fewer has fetched 5 bytes by then.
    const Result decoding = run(kAbcStream, false, true);
    EXPECT_EQ(decoding.progress, (std::vector<std::int32_t>{7, 6, 5, 4, 3}));
    EXPECT_EQ(decoding.sourcePos, 5);
    // Encoding reads the look-ahead until a fetch fails, then tries one fetch
    // after each of the three literals.
    const Result encoding = run(bytesOf("abc"), true, true);
    EXPECT_EQ(encoding.progress, (std::vector<std::int32_t>{2, 1, 0, 0, 0, 0, 0}));
    EXPECT_EQ(encoding.sourcePos, 3);

    const Bytes input = sampleBytes(50'000, 4);
    for (const bool compress : {true, false}) {
        const Bytes source = compress ? input : compressed(input);
        const Result heard = run(source, compress, true);
        const Result quiet = run(source, compress);
        EXPECT_EQ(heard.target, quiet.target);
        EXPECT_EQ(heard.sourcePos, quiet.sourcePos);
        ASSERT_GE(heard.progress.size(), static_cast<std::size_t>(heard.sourcePos));
        for (std::size_t i = 0; i < heard.progress.size(); ++i) {
            const auto left = static_cast<std::int64_t>(source.size()) - 1 - std::int64_t(i);
            ASSERT_EQ(heard.progress[i], std::max<std::int64_t>(left, 0)) << i;
        }
    }
}

TEST(Codec, SECompressDecodesAWholeStreamFromTheStart) {
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
    target.SetSize(3); // with zero bytes, not with those it held before
    EXPECT_EQ(Bytes(target.Memory(), target.Memory() + target.Size()), Bytes(3, 0));
}

// Whatever the bytes: refused exactly when the stated length is more than the
// body can produce (one body byte holds at most 8 symbols of at most 60 bytes
// each, and one more symbol may start at its last bit), else decoded as the
// reference decodes them (bits past the end read as 0, matches copied whole).
TEST(DamagedInput, DecodesExactlyAsTheReference) {
    // The rules' edges first: too short, lengths of 0 and below, the most a body byte holds.
    const Bytes abcBody(kAbcStream.begin(), kAbcStream.end() - 4);
    std::vector<Bytes> streams{{},
                               {1, 2, 3, 4},
                               joined({abcBody, number(0)}),
                               joined({abcBody, number(0xFFFFFFFFu)}),
                               joined({abcBody, number(0x80000000u)}),
                               joined({{0}, number(481)}),
                               joined({{0}, number(482)}),
                               joined({{0}, number(0x7FFFFFFF)})};
    const Bytes good = compressed(sampleBytes(12'000, 5));
    std::mt19937 draw(6);
    for (int round = 0; round < 300; ++round) {
        Bytes stream = good;
        switch (round % 4) {
        case 0: // made up
            stream.resize(draw() % 120);
            for (std::uint8_t& byte : stream) {
                byte = static_cast<std::uint8_t>(draw());
            }
            break;
        case 1: // flipped bits
            for (int n = 1 + static_cast<int>(draw() % 4); n > 0; --n) {
                stream[draw() % (stream.size() - 4)] ^= static_cast<std::uint8_t>(1u << draw() % 8);
            }
            break;
        case 2: // the body cut short, the length kept
            stream.erase(stream.begin() + static_cast<std::ptrdiff_t>(draw() % (good.size() - 4)),
                         stream.end() - 4);
            break;
        default: // a length from around the most the body can produce
            stream.resize(4 + draw() % 50);
            stream = joined({stream, number(static_cast<std::uint32_t>(stream.size() * 480 - 40 +
                                                                       draw() % 80))});
        }
        streams.push_back(stream);
    }
    for (const Bytes& stream : streams) {
        SCOPED_TRACE(&stream - streams.data());
        const auto decoded = decompressed(stream);
        if (stream.size() <= 4) {
            EXPECT_FALSE(decoded);
            continue;
        }
        const std::int64_t length = reference::statedLength(stream);
        const auto body = static_cast<std::int64_t>(stream.size() - 4);
        ASSERT_EQ(decoded.has_value(), length <= body * lzh::kMostBytesPerBodyByte + 1);
        if (decoded) {
            ASSERT_EQ(*decoded, reference::decode(stream));
        }
    }
}

// Symbols coded with `tree` as the encoder codes them, the bit nearest the root first,
// and counted as the encoder counts them: given the path it has just walked.
struct SymbolWriter {
    lzh::AdaptiveHuffman tree;
    Bytes bytes;
    unsigned used = 8;
    void put(unsigned s) {
        std::vector<std::uint16_t> path; // leaf first
        for (unsigned n = tree.nodeOfSymbol(s); n != lzh::kRoot; n = tree.parent(n)) {
            path.push_back(static_cast<std::uint16_t>(n));
        }
        for (auto node = path.rbegin(); node != path.rend(); ++node) {
            if (used == 8) {
                bytes.push_back(0);
                used = 0;
            }
            bytes.back() = static_cast<std::uint8_t>(bytes.back() | (*node & 1u) << (7 - used++));
        }
        tree.update(s, path.data(), static_cast<unsigned>(path.size()));
    }
};

TEST(Codec, TheRebuildingSymbolCountsOnNodeZero) {
    SymbolWriter out;
    std::mt19937 draw(11);
    // The root counts 314 at first and is rebuilt when the next update finds it at 2^15.
    for (unsigned i = 0; i < lzh::kMaxFreq - lzh::kSymbolCount; ++i) {
        out.put(draw() % lzh::kLiteralCount);
    }
    // A rebuild keeps the leaves in order, so the first leaf in the array
    // goes to node 0; the next symbol, set off the rebuild with it.
    unsigned first = 0;
    while (out.tree.son(first) < lzh::kTreeSize) {
        ++first;
    }
    // A count missed there changes the tree when the symbol comes again.
    const unsigned rare = out.tree.son(first) - lzh::kTreeSize;
    for (int i = 0; i < 20; ++i) {
        out.put(rare);
    }
    for (int i = 0; i < 3000; ++i) {
        out.put(draw() % lzh::kLiteralCount);
    }
    const Bytes stream = joined({out.bytes, number(lzh::kMaxFreq - lzh::kSymbolCount + 20 + 3000)});
    EXPECT_EQ(decompressed(stream), reference::decode(stream));
}

} // namespace
