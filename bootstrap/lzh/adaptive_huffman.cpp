// Starting and rebuilding the adaptive Huffman tree; the per-symbol update is
// inline in the header because it runs once per symbol.
#include "adaptive_huffman.h"

namespace lzh {

namespace {
constexpr std::uint16_t kSentinel = 0xFFFF;
}

AdaptiveHuffman::AdaptiveHuffman() {
    for (unsigned s = 0; s < kSymbolCount; ++s) {
        freq_[s] = 1;
        son_[s] = static_cast<std::uint16_t>(s + kTreeSize);
        prnt_[s + kTreeSize] = static_cast<std::uint16_t>(s);
    }
    for (unsigned i = 0, node = kSymbolCount; node <= kRoot; i += 2, ++node) {
        freq_[node] = static_cast<std::uint16_t>(freq_[i] + freq_[i + 1]);
        son_[node] = static_cast<std::uint16_t>(i);
        prnt_[i] = prnt_[i + 1] = static_cast<std::uint16_t>(node);
    }
    freq_[kTreeSize] = kSentinel;
    prnt_[kRoot] = 0;
    for (unsigned node = 0; node < kTreeSize; ++node) {
        noteSon(node);
    }
}

void AdaptiveHuffman::rebuild() {
    // The leaves in their order, with counts halved (rounded up, so the order holds).
    std::array<std::uint16_t, kSymbolCount> leafFreq;
    std::array<std::uint16_t, kSymbolCount> leafSon;
    unsigned leaves = 0;
    for (unsigned node = 0; node < kTreeSize; ++node) {
        if (son_[node] >= kTreeSize) {
            leafFreq[leaves] = static_cast<std::uint16_t>((freq_[node] + 1u) / 2);
            leafSon[leaves] = son_[node];
            ++leaves;
        }
    }
    // Node j of the new internal ones joins nodes 2j and 2j + 1 and goes after
    // every node of equal count made before it, leaves first. Their counts
    // come in order, so the nodes are two runs merged: no moving of nodes.
    unsigned leaf = 0;
    unsigned inner = 0;
    for (unsigned at = 0; at < kTreeSize; ++at) {
        // Internal node `inner` exists once both its children have places.
        const bool innerMade = 2 * inner + 1 < at;
        const unsigned innerFreq = innerMade ? freq_[2 * inner] + freq_[2 * inner + 1] : 0;
        if (leaf < kSymbolCount && (!innerMade || leafFreq[leaf] <= innerFreq)) {
            freq_[at] = leafFreq[leaf];
            son_[at] = leafSon[leaf];
            ++leaf;
        } else {
            freq_[at] = static_cast<std::uint16_t>(innerFreq);
            son_[at] = static_cast<std::uint16_t>(2 * inner);
            ++inner;
        }
    }
    for (unsigned node = 0; node < kTreeSize; ++node) {
        const unsigned child = son_[node];
        prnt_[child] = static_cast<std::uint16_t>(node);
        if (child < kTreeSize) {
            prnt_[child + 1] = static_cast<std::uint16_t>(node);
        }
    }
    for (unsigned node = 0; node < kTreeSize; ++node) {
        noteSon(node);
    }
}

} // namespace lzh
