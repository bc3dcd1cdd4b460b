#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <new>

namespace scorvane {

// The page size that writes bypassing the page cache are aligned to. A file system that asks for a
// larger alignment is served too, through a copy.
inline constexpr std::size_t kPageBytes = 4096;

// A block of bytes that starts at a boundary of `alignment` (a power of two), so that it can be handed
// to a write that bypasses the page cache without a copy. Its content starts undefined.
class AlignedBuffer {
public:
    AlignedBuffer() = default;
    explicit AlignedBuffer(std::size_t size, std::size_t alignment = kPageBytes)
        : bytes_(static_cast<std::uint8_t*>(
              std::aligned_alloc(alignment, (size + alignment - 1) / alignment * alignment))),
          size_(size) {
        if (size > 0 && bytes_ == nullptr) throw std::bad_alloc();
    }

    std::uint8_t* data() { return bytes_.get(); }
    const std::uint8_t* data() const { return bytes_.get(); }
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }

private:
    struct Free {
        void operator()(std::uint8_t* bytes) const { std::free(bytes); }
    };
    std::unique_ptr<std::uint8_t, Free> bytes_;
    std::size_t size_ = 0;
};

}  // namespace scorvane
