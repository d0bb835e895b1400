// Insertion into and deletion from the encoder's search tree. Insertion is
// the encoder's hot path: it compares strings eight bytes at a time.
#include "match_finder.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace lzh {

namespace {

// Index of the first difference between a[1..59] and b[1..59], or 60 when
// there is none. Reads a[1..64] and b[1..64].
inline unsigned commonLength(const std::uint8_t* a, const std::uint8_t* b) {
    for (unsigned i = 1; i < kLongestMatch; i += 8) {
        std::uint64_t x;
        std::uint64_t y;
        std::memcpy(&x, a + i, sizeof x);
        std::memcpy(&y, b + i, sizeof y);
        if (const std::uint64_t differ = x ^ y; differ != 0) {
            const unsigned byte = std::endian::native == std::endian::little
                                      ? std::countr_zero(differ) / 8
                                      : std::countl_zero(differ) / 8;
            return std::min(i + byte, kLongestMatch);
        }
    }
    return kLongestMatch;
}

} // namespace

MatchFinder::MatchFinder() {
    children_.fill(kNil);
    parent_.fill(kNil);
    std::fill(window_.begin(), window_.begin() + kFirstWritePos, kWindowFill);
}

void MatchFinder::insert(unsigned r) {
    const std::uint8_t* key = &window_[r];
    child(r, kLeft) = kNil;
    child(r, kRight) = kNil;
    unsigned p = kRootSlots + key[0];
    unsigned side = kRight;
    unsigned bestLength = 0;
    unsigned bestPosition = 0;
    for (;;) {
        const unsigned next = child(p, side);
        if (next == kNil) {
            child(p, side) = static_cast<std::uint16_t>(r);
            parent_[r] = static_cast<std::uint16_t>(p);
            matchLength_ = bestLength;
            matchPosition_ = bestPosition;
            return;
        }
        p = next;
        const unsigned same = commonLength(key, &window_[p]);
        if (same > kThreshold) {
            const unsigned position = ((r - p) & kWindowMask) - 1;
            if (same > bestLength) {
                bestLength = same;
                bestPosition = position;
                if (same == kLongestMatch) {
                    break;
                }
            } else if (same == bestLength && position < bestPosition) {
                bestPosition = position;
            }
        }
        side = key[same] > window_[p + same] ? kRight : kLeft;
    }
    replace(p, r);
    matchLength_ = bestLength;
    matchPosition_ = bestPosition;
}

// r takes p's place in the tree; p leaves it.
void MatchFinder::replace(unsigned p, unsigned r) {
    const unsigned up = parent_[p];
    parent_[r] = static_cast<std::uint16_t>(up);
    child(r, kLeft) = child(p, kLeft);
    child(r, kRight) = child(p, kRight);
    parent_[child(p, kLeft)] = static_cast<std::uint16_t>(r);
    parent_[child(p, kRight)] = static_cast<std::uint16_t>(r);
    if (child(up, kRight) == p) {
        child(up, kRight) = static_cast<std::uint16_t>(r);
    } else {
        child(up, kLeft) = static_cast<std::uint16_t>(r);
    }
    parent_[p] = kNil;
}

void MatchFinder::remove(unsigned p) {
    if (parent_[p] == kNil) {
        return;
    }
    const unsigned left = child(p, kLeft);
    const unsigned right = child(p, kRight);
    unsigned q;
    if (right == kNil) {
        q = left;
    } else if (left == kNil) {
        q = right;
    } else {
        // The rightmost node of the left subtree takes p's place.
        q = left;
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
    }
    const unsigned up = parent_[p];
    parent_[q] = static_cast<std::uint16_t>(up);
    if (child(up, kRight) == p) {
        child(up, kRight) = static_cast<std::uint16_t>(q);
    } else {
        child(up, kLeft) = static_cast<std::uint16_t>(q);
    }
    parent_[p] = kNil;
}

} // namespace lzh
