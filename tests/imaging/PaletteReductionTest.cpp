#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "imaging/PaletteReduction.h"

namespace {

std::vector<std::uint8_t> Flat(int w, int h, int r, int g, int b) {
    std::vector<std::uint8_t> rgb;
    for (int i = 0; i < w * h; ++i)
        rgb.insert(rgb.end(), {std::uint8_t(r), std::uint8_t(g), std::uint8_t(b)});
    return rgb;
}

TEST(PaletteReductionTest, CubeColoursMapToThemselvesWithoutDiffusion) {
    struct Case {
        int r, g, b;
    };
    // Black, white, pure primaries and levels of the cube (51 = 255 / 5, 85 = 255 / 3 * 1).
    const Case cases[] = {{0, 0, 0},   {255, 255, 255}, {255, 0, 0},    {0, 255, 0},
                          {0, 0, 255}, {51, 85, 204},   {102, 170, 153}};
    for (const Case& c : cases) {
        const auto rgb = Flat(8, 4, c.r, c.g, c.b);
        const PalettedImage image = ReduceToPalette(rgb.data(), 8, 4, 8 * 3);
        const std::set<std::uint8_t> used(image.indices.begin(), image.indices.end());
        ASSERT_EQ(used.size(), 1u) << c.r << "," << c.g << "," << c.b;
        const int i = *used.begin();
        EXPECT_EQ(image.palette[3 * i], c.r);
        EXPECT_EQ(image.palette[3 * i + 1], c.g);
        EXPECT_EQ(image.palette[3 * i + 2], c.b);
        EXPECT_EQ(i, NearestCubeIndex(c.r, c.g, c.b));
    }
}

TEST(PaletteReductionTest, DiffusionKeepsTheMeanOfAColourBetweenLevels) {
    // Grey 128 lies between two red levels (102 and 153): a plain mapping would give 153
    // everywhere; the diffused picture mixes both to about the right mean.
    const int w = 64, h = 64;
    const auto rgb = Flat(w, h, 128, 128, 128);
    const PalettedImage image = ReduceToPalette(rgb.data(), w, h, w * 3);
    EXPECT_EQ(image.colours, 252);
    double sum[3] = {0, 0, 0};
    for (const std::uint8_t i : image.indices) {
        ASSERT_LT(i, image.colours);
        for (int c = 0; c < 3; ++c) sum[c] += image.palette[3 * i + c];
    }
    for (int c = 0; c < 3; ++c) EXPECT_NEAR(sum[c] / (w * h), 128.0, 2.0) << c;
}

TEST(PaletteReductionTest, RowStrideIsHonoured) {
    // Two rows of two pixels with two padding bytes a row: the padding is never read as colour.
    const std::uint8_t rgb[] = {255, 0, 0, 255, 0, 0, 9, 9, 0, 0, 255, 0, 0, 255, 9, 9};
    const PalettedImage image = ReduceToPalette(rgb, 2, 2, 8);
    EXPECT_EQ(image.indices[0], NearestCubeIndex(255, 0, 0));
    EXPECT_EQ(image.indices[3], NearestCubeIndex(0, 0, 255));
}

}  // namespace
