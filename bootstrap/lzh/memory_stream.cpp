// The memory stream's operations.
#include "memory_stream.h"

#include <algorithm>
#include <cstring>

void TMemoryStream::Clear() {
    bytes_.clear();
    position_ = 0;
}

void TMemoryStream::SetSize(std::size_t size) {
    bytes_.resize(size);
    position_ = std::min(position_, size);
}

void TMemoryStream::SetPosition(std::size_t position) {
    position_ = std::min(position, bytes_.size());
}

std::size_t TMemoryStream::Read(void* buffer, std::size_t count) {
    const std::size_t n = std::min(count, bytes_.size() - position_);
    if (n > 0) {
        std::memcpy(buffer, bytes_.data() + position_, n);
    }
    position_ += n;
    return n;
}

void TMemoryStream::Write(const void* buffer, std::size_t count) {
    if (count == 0) {
        return;
    }
    const auto* bytes = static_cast<const std::uint8_t*>(buffer);
    const std::size_t overlap = std::min(count, bytes_.size() - position_);
    if (overlap > 0) {
        std::memcpy(bytes_.data() + position_, bytes, overlap);
    }
    bytes_.insert(bytes_.end(), bytes + overlap, bytes + count);
    position_ += count;
}
