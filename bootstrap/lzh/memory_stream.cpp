// The memory stream's operations.
#include "memory_stream.h"

#include <algorithm>
#include <cstring>
#include <new>
#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace lzh {

#if defined(__linux__)
void* allocateLarge(std::size_t bytes) {
    void* block =
        ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (block == MAP_FAILED) {
        throw std::bad_alloc();
    }
    ::madvise(block, bytes, MADV_HUGEPAGE); // a wish: refused, the pages stay small
    return block;
}

void releaseLarge(void* block, std::size_t bytes) noexcept {
    ::munmap(block, bytes);
}
#else
void* allocateLarge(std::size_t bytes) {
    return ::operator new(bytes);
}

void releaseLarge(void* block, std::size_t) noexcept {
    ::operator delete(block);
}
#endif

} // namespace lzh

void TMemoryStream::Clear() {
    bytes_.clear();
    position_ = 0;
}

void TMemoryStream::SetSize(std::size_t size) {
    const std::size_t old = bytes_.size();
    bytes_.resize(size);
    if (size > old) {
        std::fill(bytes_.begin() + static_cast<std::ptrdiff_t>(old), bytes_.end(), 0);
    }
    position_ = std::min(position_, size);
}

void TMemoryStream::SetSizeForOverwrite(std::size_t size) {
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
