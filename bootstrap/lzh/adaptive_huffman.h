// The adaptive Huffman tree that codes the 314 symbols of a compressed stream.
//
// Nodes 0-626 sit in an array ordered by frequency (non-decreasing; node 626
// is the root). A leaf's `son` entry is kTreeSize + its symbol, an internal
// node's is the index of its first child (the second is that + 1, and first
// children sit at even indexes). `prnt` gives each node's parent and, at
// kTreeSize + s, the node holding symbol s. Updating after each symbol keeps
// the order by swapping a node with the last one of equal frequency; when the
// root's frequency reaches kMaxFreq the tree is rebuilt with halved counts.
// Encoder and decoder run the same updates, so their trees stay identical.
//
// The tree keeps the sibling property, so it is a Huffman tree for its counts:
// with every count at least 1 and the root at most kMaxFreq (2^15), a leaf
// lies at most 21 levels deep (the root of a depth-d tree weighs at least the
// Fibonacci number F(d + 2), and F(24) > 2^15). kLongestCode rounds that up;
// the coders rely on it for the width of their bit buffers.
#pragma once

#include "lzh_format.h"

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

namespace lzh {

inline constexpr unsigned kLongestCode = 24;

class AdaptiveHuffman {
public:
    AdaptiveHuffman();

    // A walk from the root goes to son(node + bit) starting at son(kRoot),
    // until it reaches a value of kTreeSize or more: kTreeSize + the symbol.
    unsigned son(unsigned node) const { return son_[node]; }
    // For an internal node: the son entries of its first and second child, so
    // that a walk can take two steps per load.
    unsigned grandson(unsigned node, unsigned bit) const {
        return (grandsons_[node] >> (16 * bit)) & 0xFFFF;
    }
    unsigned parent(unsigned node) const { return prnt_[node]; }
    unsigned nodeOfSymbol(unsigned symbol) const { return prnt_[kTreeSize + symbol]; }

    // Counts one more occurrence of `symbol`: every node from its leaf up to
    // the root counts one more, and a node that grows past the next one in the
    // order swaps places with the last of its equals first.
    void update(unsigned symbol) {
        if (freq_[kRoot] == kMaxFreq) {
            rebuild();
        }
        countUpFrom(prnt_[kTreeSize + symbol]);
    }

    // The same, given the nodes from the symbol's leaf up to the root's
    // child, as a coder has just walked them. Until a swap changes the path
    // the counts go up without following parent links one by one.
    void update(unsigned symbol, const std::uint16_t* path, unsigned depth) {
        if (freq_[kRoot] == kMaxFreq) {
            update(symbol);
            return;
        }
        for (unsigned i = 0; i < depth; ++i) {
            const unsigned c = path[i];
            const unsigned k = ++freq_[c];
            if (k > freq_[c + 1]) {
                countUpFrom(prnt_[swapWithLastOfEqual(c, k)]);
                return;
            }
        }
        ++freq_[kRoot];
    }

private:
    // Counts one more for c and every node above it. Node 0 is no parent, so
    // a parent link of 0 (the root's) ends the walk; c itself may be node 0,
    // a leaf that counts like any other.
    void countUpFrom(unsigned c) {
        do {
            const unsigned k = ++freq_[c];
            if (k > freq_[c + 1]) {
                c = swapWithLastOfEqual(c, k);
            }
            c = prnt_[c];
        } while (c != 0);
    }

    // freq_[c] has just grown to k, past freq_[c + 1] (which, by the order,
    // holds k - 1). Swaps node c with the last node l whose frequency is
    // k - 1 and returns l.
    unsigned swapWithLastOfEqual(unsigned c, unsigned k) {
        const unsigned l = lastOfEqual(c + 1, static_cast<std::uint16_t>(k - 1));
        freq_[c] = freq_[l];
        freq_[l] = static_cast<std::uint16_t>(k);
        const unsigned i = son_[c];
        prnt_[i] = static_cast<std::uint16_t>(l);
        if (i < kTreeSize) {
            prnt_[i + 1] = static_cast<std::uint16_t>(l);
        }
        const unsigned j = son_[l];
        son_[l] = static_cast<std::uint16_t>(i);
        prnt_[j] = static_cast<std::uint16_t>(c);
        if (j < kTreeSize) {
            prnt_[j + 1] = static_cast<std::uint16_t>(c);
        }
        son_[c] = static_cast<std::uint16_t>(j);
        noteSon(c);
        noteSon(l);
        noteSon(prnt_[c]);
        noteSon(prnt_[l]);
        return l;
    }

    // The last index of the run of `value` that starts at `first`. Scans four
    // counts per step; the sentinel (0xFFFF) ends every run.
    unsigned lastOfEqual(unsigned first, std::uint16_t value) const {
        const std::uint64_t pattern = 0x0001'0001'0001'0001ull * value;
        for (unsigned at = first + 1;; at += 4) {
            std::uint64_t lanes;
            std::memcpy(&lanes, &freq_[at], sizeof lanes);
            const std::uint64_t differ = lanes ^ pattern;
            if (differ != 0) {
                const auto zeros = std::endian::native == std::endian::little
                                       ? std::countr_zero(differ)
                                       : std::countl_zero(differ);
                const unsigned lane = static_cast<unsigned>(zeros) / 16;
                return at + lane - 1;
            }
        }
    }

    void rebuild();

    // Brings grandsons_ up to date after son_[node] changed.
    void noteSon(unsigned node) {
        const unsigned first = son_[node];
        if (first < kTreeSize) {
            grandsons_[node] = son_[first] | (std::uint32_t{son_[first + 1]} << 16);
        }
    }

    // Room for the sentinel at kTreeSize and for the four-wide scan past it.
    std::array<std::uint16_t, kTreeSize + 4> freq_{};
    std::array<std::uint16_t, kTreeSize> son_{};
    std::array<std::uint16_t, kTreeSize + kSymbolCount> prnt_{};
    std::array<std::uint32_t, kTreeSize> grandsons_{};
};

} // namespace lzh
