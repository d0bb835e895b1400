// Insertion into and deletion from the encoder's search tree. Insertion is
// the encoder's hot path: it compares strings eight bytes at a time.
#include "match_finder.h"

#include "byte_order.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace lzh {

namespace {

struct Difference {
    unsigned at;      // index of the first differing byte, or kLongestMatch
    unsigned greater; // all ones if the key's byte there is greater, else 0
};

inline std::uint64_t load64(const std::uint8_t* bytes) {
    std::uint64_t word;
    std::memcpy(&word, bytes, sizeof word);
    return word;
}

// The difference between two words that hold string bytes from index `at` on.
inline Difference wordDifference(std::uint64_t key, std::uint64_t node, unsigned at) {
    // Read as big-endian numbers, the words compare like the bytes they hold.
    if constexpr (std::endian::native == std::endian::little) {
        return {
            std::min(at + static_cast<unsigned>(std::countr_zero(key ^ node)) / 8, kLongestMatch),
            0u - static_cast<unsigned>(byteswap(key) > byteswap(node))};
    } else {
        return {
            std::min(at + static_cast<unsigned>(std::countl_zero(key ^ node)) / 8, kLongestMatch),
            0u - static_cast<unsigned>(key > node)};
    }
}

// `mask ? a : b` for a mask of all ones or all zeros, computed without a branch.
inline unsigned select(unsigned mask, unsigned a, unsigned b) {
    return b ^ ((a ^ b) & mask);
}

// Compares key[9..59] with node[9..59] eight bytes at a time, for strings
// that agree in bytes 0-8. Reads up to byte 64.
inline Difference tailDifference(const std::uint8_t* key, const std::uint8_t* node) {
    for (unsigned i = 9; i < kLongestMatch; i += 8) {
        const std::uint64_t x = load64(key + i);
        const std::uint64_t y = load64(node + i);
        if (x != y) {
            return wordDifference(x, y, i);
        }
    }
    return {kLongestMatch, 0};
}

} // namespace

inline std::uint64_t MatchFinder::head(unsigned node) const {
    return load64(window_.data() + 1 + std::size_t{node});
}

MatchFinder::MatchFinder() {
    children_.fill(kNil);
    parent_.fill(kNil);
    std::fill(window_.begin(), window_.begin() + kFirstWritePos, kWindowFill);
}

void MatchFinder::insert(unsigned r) {
    const std::uint8_t* key = &window_[r];
    child(r, kLeft) = kNil;
    child(r, kRight) = kNil;
    matchLength_ = 0;
    const unsigned slot = kRootSlots + key[0];
    unsigned node = child(slot, kRight);
    if (node == kNil) {
        child(slot, kRight) = static_cast<std::uint16_t>(r);
        parent_[r] = static_cast<std::uint16_t>(slot);
        return;
    }
    // The best match so far as one number: its length above the 12 bits of
    // 4095 - its position, so that the longest and then nearest is the largest.
    unsigned best = 0;
    // Most strings differ from the key within bytes 1-8: one word compares
    // those, and the first byte of a root slot's subtree is the same throughout.
    const std::uint64_t keyHead = load64(key + 1);
    // Which way the path goes is a coin toss for the branch predictor, so the
    // step is taken without branches, and the loads for both possible next
    // nodes are issued one step ahead, alongside the comparison.
    std::uint64_t nodeHead = head(node);
    unsigned left = child(node, kLeft);
    unsigned right = child(node, kRight);
    for (;;) {
        const std::uint64_t leftHead = head(left);
        const std::uint64_t rightHead = head(right);
        const Difference difference = keyHead != nodeHead ? wordDifference(keyHead, nodeHead, 1)
                                                          : tailDifference(key, &window_[node]);
        const unsigned same = difference.at;
        if (same == kLongestMatch) {
            replace(node, r);
            matchLength_ = same;
            matchPosition_ = ((r - node) & kWindowMask) - 1;
            return;
        }
        const unsigned candidate = (same << 12) | ((node - r) & kWindowMask);
        best = std::max(best, select(0u - static_cast<unsigned>(same > kThreshold), candidate, 0));
        const unsigned greater = difference.greater;
        const unsigned next = select(greater, right, left);
        if (next == kNil) {
            child(node, greater & kRight) = static_cast<std::uint16_t>(r);
            parent_[r] = static_cast<std::uint16_t>(node);
            matchLength_ = best >> 12;
            matchPosition_ = kWindowMask - (best & kWindowMask);
            return;
        }
        node = next;
        nodeHead = greater != 0 ? rightHead : leftHead;
        left = child(node, kLeft);
        right = child(node, kRight);
    }
}

// q hangs where p hung, and p leaves the tree.
void MatchFinder::takePlace(unsigned p, unsigned q) {
    const unsigned up = parent_[p];
    parent_[q] = static_cast<std::uint16_t>(up);
    // Which side p hangs on is hard to predict: index by it.
    child(up, static_cast<unsigned>(child(up, kRight) == p)) = static_cast<std::uint16_t>(q);
    parent_[p] = kNil;
}

void MatchFinder::replace(unsigned p, unsigned r) {
    child(r, kLeft) = child(p, kLeft);
    child(r, kRight) = child(p, kRight);
    parent_[child(p, kLeft)] = static_cast<std::uint16_t>(r);
    parent_[child(p, kRight)] = static_cast<std::uint16_t>(r);
    takePlace(p, r);
}

void MatchFinder::remove(unsigned p) {
    if (parent_[p] == kNil) {
        return;
    }
    const unsigned left = child(p, kLeft);
    const unsigned right = child(p, kRight);
    if ((left == kNil) | (right == kNil)) {
        // The only child, if any, takes p's place.
        takePlace(p, select(0u - static_cast<unsigned>(left == kNil), right, left));
        return;
    }
    // The rightmost node of the left subtree takes p's place.
    unsigned q = left;
    if (child(q, kRight) != kNil) {
        do {
            q = child(q, kRight);
        } while (child(q, kRight) != kNil);
        const unsigned qParent = parent_[q];
        child(qParent, kRight) = child(q, kLeft);
        parent_[child(q, kLeft)] = static_cast<std::uint16_t>(qParent);
        child(q, kLeft) = static_cast<std::uint16_t>(left);
        parent_[left] = static_cast<std::uint16_t>(q);
    }
    child(q, kRight) = static_cast<std::uint16_t>(right);
    parent_[right] = static_cast<std::uint16_t>(q);
    takePlace(p, q);
}

} // namespace lzh
