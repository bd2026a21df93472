#include <gtest/gtest.h>

#include <vector>

#include "export/TiledRaster.h"

namespace {

TEST(TiledRasterTest, KeepsTheLargestValueAndMarksZeroSamplesAsData) {
    svx::TiledRaster r;
    const struct {
        std::int64_t col, row;
        std::uint8_t value, expected;
    } writes[] = {
        {5, 5, 40, 40},     {5, 5, 20, 40}, {5, 5, 90, 90},  // maximum wins
        {-1, -1, 7, 7},                                      // negative coordinates
        {-300, 1000, 0, 1},                                  // a zero sample is still data
        {255, 256, 3, 3},                                    // either side of a tile edge
        {256, 255, 4, 4},
    };
    for (const auto& w : writes) {
        r.Put(w.col, w.row, w.value);
        EXPECT_EQ(r.At(w.col, w.row), w.expected) << w.col << "," << w.row;
    }
    EXPECT_EQ(r.At(6, 5), 0);
    EXPECT_EQ(r.MinCol(), -300);
    EXPECT_EQ(r.MaxCol(), 256);
    EXPECT_EQ(r.MinRow(), -1);
    EXPECT_EQ(r.MaxRow(), 1000);
    EXPECT_EQ(r.TileCount(), 5u);
}

TEST(TiledRasterTest, CopyRegionSpansTiles) {
    svx::TiledRaster r;
    r.Put(254, 254, 10);
    r.Put(257, 257, 20);
    r.Put(-2, 254, 30);
    std::vector<std::uint8_t> out(8 * 6, 0xEE);
    ASSERT_TRUE(r.CopyRegion(252, 253, 8, 6, out.data()));
    EXPECT_EQ(out[1 * 8 + 2], 10);
    EXPECT_EQ(out[4 * 8 + 5], 20);
    int data = 0;
    for (std::uint8_t v : out) data += v != 0;
    EXPECT_EQ(data, 2);
    EXPECT_FALSE(r.CopyRegion(1000, 1000, 4, 4, out.data()));
    EXPECT_EQ(out[0], 0);
    ASSERT_TRUE(r.CopyRegion(-4, 250, 4, 8, out.data()));
    EXPECT_EQ(out[4 * 4 + 2], 30);
}

}  // namespace
