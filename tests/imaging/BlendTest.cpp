#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "imaging/Blend.h"

namespace {

int Exact(int older, int newest, int i, int a) {
    const int value = (i * older + (a - i) * newest) / a;
    return value < 254 ? value : 254;
}

TEST(BlendTest, EveryPairOfValuesForChosenAdvances) {
    // A row of all 256 x 256 pairs, for small, odd and the largest advances.
    std::vector<std::uint8_t> older(65536), newest(65536), out(65536);
    for (int k = 0; k < 65536; ++k) {
        older[k] = static_cast<std::uint8_t>(k >> 8);
        newest[k] = static_cast<std::uint8_t>(k & 255);
    }
    for (const int a : {2, 3, 7, 10, 19, 255, 1000, 3999, 4096}) {
        for (const int i : {1, a / 2, a - 1}) {
            if (i < 1) continue;
            BlendRow(out.data(), older.data(), newest.data(), 65536, i, a);
            for (int k = 0; k < 65536; ++k) {
                ASSERT_EQ(out[k], Exact(older[k], newest[k], i, a))
                    << "a " << a << " i " << i << " older " << (k >> 8) << " newest " << (k & 255);
            }
        }
    }
}

TEST(BlendTest, WholeNumbersStayWhole) {
    // (1 * 1 + 2 * 7) / 3 = 5: double weights give 4.999... and truncate to 4.
    const std::uint8_t older[1] = {1}, newest[1] = {7};
    std::uint8_t out[1];
    BlendRow(out, older, newest, 1, 1, 3);
    EXPECT_EQ(out[0], 5);
}

TEST(BlendTest, RandomRowsOfAnyWidthAndAdvance) {
    std::mt19937 rng(7);
    for (int trial = 0; trial < 2000; ++trial) {
        const int width = static_cast<int>(rng() % 70) + 1;  // vector blocks and the tail
        const int a = static_cast<int>(rng() % 4095) + 2;
        const int i = static_cast<int>(rng() % static_cast<unsigned>(a - 1)) + 1;
        std::vector<std::uint8_t> older(width), newest(width), out(width + 1, 0xCD);
        for (int x = 0; x < width; ++x) {
            older[x] = static_cast<std::uint8_t>(rng());
            newest[x] = static_cast<std::uint8_t>(rng());
        }
        BlendRow(out.data(), older.data(), newest.data(), width, i, a);
        for (int x = 0; x < width; ++x) {
            ASSERT_EQ(out[x], Exact(older[x], newest[x], i, a)) << a << " " << i << " " << x;
        }
        ASSERT_EQ(out[width], 0xCD);
    }
}

}  // namespace
