// Starting and rebuilding the adaptive Huffman tree; the per-symbol update is
// inline in the header because it runs once per symbol.
#include "adaptive_huffman.h"

#include <algorithm>

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
    // Leaves move to the front in their order, with counts halved upward.
    unsigned leaves = 0;
    for (unsigned node = 0; node < kTreeSize; ++node) {
        if (son_[node] >= kTreeSize) {
            freq_[leaves] = static_cast<std::uint16_t>((freq_[node] + 1u) / 2);
            son_[leaves] = son_[node];
            ++leaves;
        }
    }
    // Pair nodes i and i + 1 in order; each new node goes after every node of
    // equal count, which keeps the order.
    for (unsigned i = 0, node = kSymbolCount; node < kTreeSize; i += 2, ++node) {
        const auto f = static_cast<std::uint16_t>(freq_[i] + freq_[i + 1]);
        unsigned at = node;
        while (f < freq_[at - 1]) {
            --at;
        }
        std::copy_backward(freq_.begin() + at, freq_.begin() + node, freq_.begin() + node + 1);
        std::copy_backward(son_.begin() + at, son_.begin() + node, son_.begin() + node + 1);
        freq_[at] = f;
        son_[at] = static_cast<std::uint16_t>(i);
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
