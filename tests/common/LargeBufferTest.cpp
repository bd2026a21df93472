// Large buffers: zero-filled at every size, whole large pages from 1 MB on, and usable by a
// vector that grows, shrinks and is reused the way the images use theirs.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "common/LargeBuffer.h"

namespace {

TEST(LargeBufferTest, ZeroFilledAndWritableAtEverySize) {
    const std::size_t sizes[] = {0,         1,          4095,           (1u << 20) - 1, (1u << 20),
                                 2'000'000, (2u << 20), (2u << 20) + 1, 29'000'000};
    for (const std::size_t bytes : sizes) {
        SCOPED_TRACE(bytes);
        auto* data = static_cast<std::uint8_t*>(AllocateLargeBuffer(bytes));
        ASSERT_NE(data, nullptr);
        for (std::size_t i = 0; i < bytes; i += 4093) ASSERT_EQ(data[i], 0) << i;
        if (bytes > 0) {
            EXPECT_EQ(data[bytes - 1], 0);
            std::memset(data, 0x5A, bytes);  // every byte is ours
        }
        if (bytes >= (1u << 20)) {
            EXPECT_EQ(reinterpret_cast<std::uintptr_t>(data) % (2u << 20), 0u);
        }
        FreeLargeBuffer(data, bytes);
    }
}

TEST(LargeBufferTest, FreshBuffersAreZeroAfterOthersWereWrittenAndFreed) {
    for (int round = 0; round < 3; ++round) {
        auto* data = static_cast<std::uint8_t*>(AllocateLargeBuffer(6'000'000));
        ASSERT_NE(data, nullptr);
        for (std::size_t i = 0; i < 6'000'000; i += 4096) ASSERT_EQ(data[i], 0) << round;
        std::memset(data, 0xFF, 6'000'000);
        FreeLargeBuffer(data, 6'000'000);
    }
}

TEST(LargeBufferTest, VectorGrowsShrinksAndKeepsItsContents) {
    std::vector<std::uint8_t, LargeBufferAllocator<std::uint8_t>> pixels;
    pixels.assign(3'000'000, 7);
    EXPECT_EQ(pixels.front(), 7);
    EXPECT_EQ(pixels.back(), 7);
    pixels.resize(5'000'000, 9);  // moves to a new block: the old contents come along
    EXPECT_EQ(pixels[2'999'999], 7);
    EXPECT_EQ(pixels[3'000'000], 9);
    pixels.assign(100, 1);  // reuses the block
    EXPECT_GE(pixels.capacity(), 5'000'000u);
    pixels.clear();
    pixels.shrink_to_fit();  // back to a small block
    pixels.assign(10, 3);
    EXPECT_EQ(pixels[9], 3);
}

}  // namespace
