#include "common/LargeBuffer.h"

#include <sys/mman.h>

#include <cstdint>
#include <cstdlib>

namespace {

constexpr std::size_t kLargePage = std::size_t{2} << 20;
// From here on a buffer is laid out in whole large pages (an image of 1000 x 2000 pixels is
// one); smaller ones come from the heap.
constexpr std::size_t kLargeBytes = std::size_t{1} << 20;

std::size_t Rounded(std::size_t bytes) {
    return (bytes + kLargePage - 1) / kLargePage * kLargePage;
}

}  // namespace

void* AllocateLargeBuffer(std::size_t bytes) {
    if (bytes < kLargeBytes) return std::calloc(bytes == 0 ? 1 : bytes, 1);
    // Map a large page more than needed and keep the part that starts on a large page.
    const std::size_t size = Rounded(bytes);
    void* mapped = ::mmap(nullptr, size + kLargePage, PROT_READ | PROT_WRITE,
                          MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED) return nullptr;
    const auto start = reinterpret_cast<std::uintptr_t>(mapped);
    const std::uintptr_t aligned = (start + kLargePage - 1) / kLargePage * kLargePage;
    const std::size_t head = aligned - start;
    if (head > 0) ::munmap(mapped, head);
    ::munmap(reinterpret_cast<void*>(aligned + size), kLargePage - head);
    void* data = reinterpret_cast<void*>(aligned);
    // Advice only: without large pages the buffer is the same, in small ones.
    ::madvise(data, size, MADV_HUGEPAGE);
    return data;
}

void FreeLargeBuffer(void* data, std::size_t bytes) {
    if (!data) return;
    if (bytes < kLargeBytes) {
        std::free(data);
    } else {
        ::munmap(data, Rounded(bytes));
    }
}
