// Corpus generators and codec shortcuts for the tests.
#include "test_support.h"

#include "custom_lzh.h"

#include <array>
#include <random>
#include <unordered_set>

namespace lzh_test {

Bytes bytesOf(std::string_view text) {
    return Bytes(text.begin(), text.end());
}

Bytes textCorpus(std::size_t size, unsigned seed) {
    static constexpr std::array<std::string_view, 24> words{
        "claim",  "the",     "office", "district", "amount", "of",     "and",      "medical",
        "bill",   "pending", "a",      "to",       "in",     "status", "approved", "employee",
        "report", "for",     "date",   "hospital", "case",   "number", "remarks",  "with"};
    std::mt19937 draw(seed);
    Bytes out;
    out.reserve(size + 16);
    while (out.size() < size) {
        const std::string_view word = words[draw() % words.size()];
        out.insert(out.end(), word.begin(), word.end());
        const unsigned pick = draw() % 20;
        out.push_back(pick == 0 ? '\n' : pick == 1 ? ',' : pick == 2 ? '.' : ' ');
        if (pick == 3) {
            const std::string digits = std::to_string(draw() % 100000);
            out.insert(out.end(), digits.begin(), digits.end());
            out.push_back(' ');
        }
    }
    out.resize(size);
    return out;
}

Bytes binaryCorpus(std::size_t size, unsigned seed) {
    std::mt19937 draw(seed);
    Bytes out;
    out.reserve(size + 64);
    std::uint32_t counter = 0x00401000;
    while (out.size() < size) {
        switch (draw() % 4) {
        case 0: // a table of growing 32-bit numbers
            for (int i = 0; i < 16; ++i) {
                counter += draw() % 64;
                for (int b = 0; b < 4; ++b) {
                    out.push_back(static_cast<std::uint8_t>(counter >> (8 * b)));
                }
            }
            break;
        case 1: // padding
            out.insert(out.end(), draw() % 200, 0);
            break;
        case 2: // instruction-like bytes from a small, skewed set
            for (int i = 0; i < 64; ++i) {
                static constexpr std::array<std::uint8_t, 8> common{0x48, 0x89, 0x8B, 0xE8,
                                                                    0x0F, 0xC3, 0x83, 0x45};
                out.push_back(draw() % 3 == 0 ? static_cast<std::uint8_t>(draw())
                                              : common[draw() % common.size()]);
            }
            break;
        default:
            for (int i = 0; i < 32; ++i) {
                out.push_back(static_cast<std::uint8_t>(draw()));
            }
        }
    }
    out.resize(size);
    return out;
}

Bytes randomBytes(std::size_t size, unsigned seed) {
    std::mt19937 draw(seed);
    Bytes out(size);
    for (auto& b : out) {
        b = static_cast<std::uint8_t>(draw());
    }
    return out;
}

Bytes periodicCorpus(std::size_t period, std::size_t size, unsigned seed) {
    std::mt19937 draw(seed);
    auto key = [](std::uint8_t a, std::uint8_t b, std::uint8_t c) {
        return (std::uint32_t{a} << 16) | (std::uint32_t{b} << 8) | c;
    };
    Bytes block;
    // Three spaces would match the window's initial contents.
    std::unordered_set<std::uint32_t> seen{key(' ', ' ', ' ')};
    while (block.size() < period) {
        const auto next = static_cast<std::uint8_t>(draw());
        const std::size_t n = block.size();
        const std::uint32_t added = n >= 2 ? key(block[n - 2], block[n - 1], next) : 0;
        if (n >= 2 && seen.count(added) != 0) {
            continue;
        }
        if (n + 1 == period) { // the strings across the block's end must be new too
            const std::uint32_t a = key(block[n - 1], next, block[0]);
            const std::uint32_t b = key(next, block[0], block[1]);
            if (a == b || a == added || b == added || seen.count(a) != 0 || seen.count(b) != 0) {
                continue;
            }
        }
        if (n >= 2) {
            seen.insert(added);
        }
        block.push_back(next);
    }
    Bytes out;
    out.reserve(size);
    while (out.size() < size) {
        out.push_back(block[out.size() % period]);
    }
    return out;
}

namespace {

// Runs Compress or Decompress over `source`; the target's bytes, or nothing
// when the operation returns false.
std::optional<Bytes> run(const Bytes& source, bool compress) {
    TMemoryStream target;
    TCustom_lzh codec;
    codec.Source = source.data();
    codec.SourceSize = static_cast<std::int32_t>(source.size());
    codec.Target = &target;
    if (!(compress ? codec.Compress() : codec.Decompress())) {
        return std::nullopt;
    }
    return Bytes(target.Memory(), target.Memory() + target.Size());
}

} // namespace

Bytes compressed(const Bytes& input) {
    return run(input, true).value_or(Bytes{});
}

std::optional<Bytes> decompressed(const Bytes& stream) {
    return run(stream, false);
}

} // namespace lzh_test
