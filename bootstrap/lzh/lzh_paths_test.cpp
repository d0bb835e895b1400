// Ways through the codec that ordinary data may not take: the symbol that sets
// off the tree's rebuild landing on node 0, and each split of the encoder's
// match finder over threads.
#include "adaptive_huffman.h"
#include "custom_lzh.h"
#include "lzh_encoder.h"
#include "reference_codec.h"
#include "test_support.h"

#include <gtest/gtest.h>
#include <random>

namespace {

using Bytes = std::vector<std::uint8_t>;

struct StreamWriter {
    Bytes bytes;
    unsigned used = 8;
    void put(unsigned bit) {
        if (used == 8) {
            bytes.push_back(0);
            used = 0;
        }
        bytes.back() = static_cast<std::uint8_t>(bytes.back() | bit << (7 - used++));
    }
    // The symbol's code in `tree`, the bit nearest the root first; then the
    // update, as the encoder makes it.
    void symbol(lzh::AdaptiveHuffman& tree, unsigned s) {
        std::vector<std::uint16_t> path;
        for (unsigned n = tree.nodeOfSymbol(s); n != lzh::kRoot; n = tree.parent(n)) {
            path.push_back(static_cast<std::uint16_t>(n));
        }
        for (auto node = path.rbegin(); node != path.rend(); ++node) {
            put(*node & 1u);
        }
        tree.update(s, path.data(), static_cast<unsigned>(path.size()));
    }
};

TEST(Codec, TheRebuildingSymbolCountsOnNodeZero) {
    lzh::AdaptiveHuffman tree;
    StreamWriter out;
    std::mt19937 draw(11);
    // The root counts 314 at first and is rebuilt when the next update finds it at 2^15.
    for (unsigned i = 0; i < lzh::kMaxFreq - lzh::kSymbolCount; ++i) {
        out.symbol(tree, draw() % lzh::kLiteralCount);
    }
    // A rebuild keeps the leaves in order, so the first leaf in the array
    // goes to node 0; the next symbol, set off the rebuild with it.
    unsigned first = 0;
    while (tree.son(first) < lzh::kTreeSize) {
        ++first;
    }
    // A count missed there changes the tree when the symbol comes again.
    const unsigned rare = tree.son(first) - lzh::kTreeSize;
    for (int i = 0; i < 20; ++i) {
        out.symbol(tree, rare);
    }
    for (int i = 0; i < 3000; ++i) {
        out.symbol(tree, draw() % lzh::kLiteralCount);
    }
    const std::uint32_t length = lzh::kMaxFreq - lzh::kSymbolCount + 20 + 3000;
    for (unsigned i = 0; i < 4; ++i) {
        out.bytes.push_back(static_cast<std::uint8_t>(length >> (8 * i)));
    }
    TMemoryStream target;
    TCustom_lzh codec;
    codec.Source = out.bytes.data();
    codec.SourceSize = static_cast<std::int32_t>(out.bytes.size());
    codec.Target = &target;
    ASSERT_TRUE(codec.Decompress());
    EXPECT_EQ(Bytes(target.Memory(), target.Memory() + target.Size()),
              reference::decode(out.bytes).bytes);
}

struct Collect final : lzh::ByteSink {
    Bytes bytes;
    void put(const std::uint8_t* data, std::size_t count) override {
        bytes.insert(bytes.end(), data, data + count);
    }
};

TEST(Codec, EverySplitOfTheFinderMakesTheReferenceStream) {
    // Text, runs of spaces and of zeros, random bytes: trees of every kind in both lanes.
    Bytes mixed = packstart_test::sampleBytes(30'000, 7);
    mixed.insert(mixed.end(), 2000, ' ');
    mixed.insert(mixed.end(), 3000, 0);
    const Bytes noise = packstart_test::randomBytes(8000, 8);
    mixed.insert(mixed.end(), noise.begin(), noise.end());
    // Matches only from as far back as the window reaches.
    const Bytes block = packstart_test::randomBytes(lzh::kFirstWritePos, 9);
    Bytes farBack;
    for (int i = 0; i < 3; ++i) {
        farBack.insert(farBack.end(), block.begin(), block.end());
    }
    std::vector<Bytes> inputs{mixed, farBack};
    // Sources that end within the first look-ahead or just past it.
    for (const std::ptrdiff_t n : {1, 59, 60, 61, 62, 100, 119, 120, 121}) {
        inputs.emplace_back(mixed.begin(), mixed.begin() + n);
    }
    for (const Bytes& input : inputs) {
        const Bytes expected = reference::encode(input);
        for (const unsigned threads : {1u, 2u}) {
            SCOPED_TRACE(testing::Message() << input.size() << " bytes, " << threads);
            Collect out;
            const lzh::EncodeResult result = lzh::encode(input, out, nullptr, threads);
            for (unsigned i = 0; i < 4; ++i) {
                out.bytes.push_back(static_cast<std::uint8_t>(result.consumed >> (8 * i)));
            }
            ASSERT_EQ(out.bytes, expected);
        }
    }
}

} // namespace
