// A growable block of bytes read and written at a position, the stream type
// that the bootstrap hands compressed and decoded data around in.
//
// Invariants: 0 <= Position() <= Size(); Memory() points at Size() bytes
// (it may change whenever the stream grows).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class TMemoryStream {
public:
    // Empties the stream; position 0.
    void Clear();

    std::size_t Size() const { return bytes_.size(); }
    // Grows (with zero bytes) or shrinks the stream; the position stays
    // within it.
    void SetSize(std::size_t size);
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
    std::vector<std::uint8_t> bytes_;
    std::size_t position_ = 0;
};
