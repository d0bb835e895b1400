// A growable block of bytes read and written at a position, the stream type
// that the bootstrap hands compressed and decoded data around in.
//
// Invariants: 0 <= Position() <= Size(); Memory() points at Size() bytes
// (it may change whenever the stream grows).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <vector>

namespace lzh {

// Blocks of kLargeBlock bytes or more come from the system in whole pages and,
// where it can, with huge pages: a stream of tens of megabytes filled from
// fresh memory otherwise spends much of its time taking a fault per 4 KB.
inline constexpr std::size_t kLargeBlock = 2u << 20;
void* allocateLarge(std::size_t bytes);
void releaseLarge(void* block, std::size_t bytes) noexcept;

template <class T> class LargeBlockAllocator {
public:
    using value_type = T;
    LargeBlockAllocator() = default;
    template <class U> LargeBlockAllocator(const LargeBlockAllocator<U>&) noexcept {}

    T* allocate(std::size_t n) {
        if (n * sizeof(T) >= kLargeBlock) {
            return static_cast<T*>(allocateLarge(n * sizeof(T)));
        }
        return std::allocator<T>().allocate(n);
    }
    void deallocate(T* block, std::size_t n) noexcept {
        if (n * sizeof(T) >= kLargeBlock) {
            releaseLarge(block, n * sizeof(T));
        } else {
            std::allocator<T>().deallocate(block, n);
        }
    }
    // Elements come default-initialised (bytes: unwritten); the stream zeroes
    // what it promises as zero itself.
    template <class U> void construct(U* element) noexcept {
        ::new (static_cast<void*>(element)) U;
    }
    template <class U> bool operator==(const LargeBlockAllocator<U>&) const noexcept {
        return true;
    }
};

} // namespace lzh

class TMemoryStream {
public:
    // Empties the stream; position 0.
    void Clear();

    std::size_t Size() const { return bytes_.size(); }
    // Grows (with zero bytes) or shrinks the stream; the position stays
    // within it.
    void SetSize(std::size_t size);
    // The same, for a caller that writes every new byte itself: they are not
    // zeroed first.
    void SetSizeForOverwrite(std::size_t size);
    // Makes room for `capacity` bytes in all without changing the contents.
    void Reserve(std::size_t capacity) { bytes_.reserve(capacity); }

    std::size_t Position() const { return position_; }
    // Positions past the end are taken as the end.
    void SetPosition(std::size_t position);

    // Copies up to `count` bytes from the position on; returns how many.
    std::size_t Read(void* buffer, std::size_t count);
    // Writes `count` bytes at the position, growing the stream as needed.
    void Write(const void* buffer, std::size_t count);

    std::uint8_t* Memory() { return bytes_.data(); }
    const std::uint8_t* Memory() const { return bytes_.data(); }

private:
    std::vector<std::uint8_t, lzh::LargeBlockAllocator<std::uint8_t>> bytes_;
    std::size_t position_ = 0;
};
