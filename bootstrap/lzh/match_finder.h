// The encoder's window and its binary search tree of window strings.
//
// Every window position r names the 60-byte string window[r..r+59]; the bytes
// of positions 0-58 are mirrored behind position 4095 so that no string wraps.
// The tree orders the strings of the positions entered, one subtree per first
// byte (the root slots). Entering a string walks its search path, which passes
// the lexicographic neighbours, and keeps the longest common prefix met (at
// least 3 bytes to count); of equally long ones the nearest on the path wins.
// A string equal in all 60 bytes replaces the older one in the tree.
//
// Invariants: a position is in the tree exactly when its parent entry is not
// kNil; the children and parent entries of entered positions are consistent.
#pragma once

#include "lzh_format.h"

#include <array>
#include <cstdint>

namespace lzh {

class MatchFinder {
public:
    // Window positions 0-4035 are spaces, the rest 0; the tree is empty.
    MatchFinder();

    std::uint8_t at(unsigned pos) const { return window_[pos]; }
    void store(unsigned pos, std::uint8_t byte) {
        window_[pos] = byte;
        if (pos < kLongestMatch - 1) {
            window_[pos + kWindowSize] = byte;
        }
    }

    // Enters the string at r, first finding the longest match for it.
    void insert(unsigned r);
    // Takes the string at p out of the tree, if it is there.
    void remove(unsigned p);

    // The result of the last insert: length 0 when nothing of 3 bytes or more
    // matched; else the length (3-60) and the position, the distance back - 1.
    unsigned matchLength() const { return matchLength_; }
    unsigned matchPosition() const { return matchPosition_; }

private:
    static constexpr unsigned kNil = kWindowSize;
    static constexpr unsigned kRootSlots = kWindowSize + 1; // slot of first byte b: + b
    static constexpr unsigned kLeft = 0;
    static constexpr unsigned kRight = 1;
    // The comparisons read 8 bytes at a time, up to 64 bytes from a string's
    // start (a word that begins at byte 57).
    static constexpr unsigned kCompareSlack = 5;

    // Indexes are widened first so that the address arithmetic folds into the
    // loads of the search path, one of which waits on the other at each step.
    std::uint16_t& child(unsigned node, unsigned side) {
        return children_[2 * std::size_t{node} + side];
    }
    // Bytes 1-8 of the string at `node` (of no use, but readable, for kNil).
    std::uint64_t head(unsigned node) const;
    void replace(unsigned p, unsigned r);
    void takePlace(unsigned p, unsigned q);

    // Children of positions 0-4095, of kNil (never read), and of the root slots
    // (only the right one is used).
    std::array<std::uint16_t, 2 * (kRootSlots + 256)> children_;
    // Parents of positions 0-4095, and of kNil (written to, never read).
    std::array<std::uint16_t, kWindowSize + 1> parent_;
    std::array<std::uint8_t, kWindowSize + kLongestMatch - 1 + kCompareSlack> window_{};
    unsigned matchLength_ = 0;
    unsigned matchPosition_ = 0;
};

} // namespace lzh
