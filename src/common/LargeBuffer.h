#pragma once
// Memory for the large, long-lived buffers (the ping history, the images): zero-filled pages
// that the system may back with 2 MB pages. A 29 MB history or a 6 MB image then costs a few
// dozen page faults when first written instead of thousands, which was most of the time a
// headless render spent in the kernel. Pages never written are never provided.

#include <cstddef>
#include <limits>
#include <new>

// Zero-filled memory of `bytes` bytes; nullptr when out of memory. Release it with
// FreeLargeBuffer and the same size.
void* AllocateLargeBuffer(std::size_t bytes);
void FreeLargeBuffer(void* data, std::size_t bytes);

// An allocator for std::vector that takes its blocks from AllocateLargeBuffer.
template <typename T>
struct LargeBufferAllocator {
    using value_type = T;
    LargeBufferAllocator() = default;
    template <typename U>
    LargeBufferAllocator(const LargeBufferAllocator<U>&) {}
    T* allocate(std::size_t n) {
        if (n > std::numeric_limits<std::size_t>::max() / sizeof(T)) throw std::bad_alloc();
        void* data = AllocateLargeBuffer(n * sizeof(T));
        if (!data) throw std::bad_alloc();
        return static_cast<T*>(data);
    }
    void deallocate(T* data, std::size_t n) { FreeLargeBuffer(data, n * sizeof(T)); }
    template <typename U>
    bool operator==(const LargeBufferAllocator<U>&) const {
        return true;
    }
};
