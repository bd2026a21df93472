#include <gtest/gtest.h>

#include "imaging/ColourTables.h"

namespace {

ColourTableSet Tables() {
    ColourTableSet tables{};
    BuildColourTables(tables);
    return tables;
}

TEST(ColourTablesTest, KnownEntries) {
    const ColourTableSet tables = Tables();
    struct Case {
        int table, index;
        Rgb expected;
    };
    const Case cases[] = {
        {4, 0, {255, 255, 255}},   {4, 255, {255, 255, 0}},  {4, 254, {1, 1, 1}},
        {3, 254, {254, 254, 254}}, {3, 255, {255, 255, 0}},  {3, 0, {0, 0, 0}},
        {0, 200, {255, 255, 90}},  {1, 200, {205, 205, 60}}, {5, 128, {217, 89, 0}},
        {8, 128, {0, 89, 217}},    {6, 128, {0, 217, 89}},   {7, 128, {89, 217, 0}},
        {2, 100, {0, 100, 0}},     {2, 255, {255, 255, 0}},  {9, 0, {0, 0, 0}},
        {9, 255, {255, 255, 0}},   {1, 255, {255, 255, 0}},  {0, 255, {255, 255, 0}},
        {1, 0, {0, 0, 0}},         {0, 0, {0, 0, 0}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(tables[c.table][c.index], c.expected)
            << "table " << c.table << " entry " << c.index;
    }
}

// Table 5 carries s in red and c in green.
TEST(ColourTablesTest, SineAndCosineRamps) {
    const ColourTableSet tables = Tables();
    struct Case {
        int i, s, c;
    };
    const Case cases[] = {{0, 0, 0}, {1, 1, 0}, {64, 117, 23}, {128, 217, 89}, {192, 255, 189}};
    for (const Case& c : cases) {
        EXPECT_EQ(tables[5][c.i][0], c.s) << "s at " << c.i;
        EXPECT_EQ(tables[5][c.i][1], c.c) << "c at " << c.i;
    }
    EXPECT_EQ(tables[5][228][1], 254);
    for (int i = 229; i < 255; ++i) EXPECT_EQ(tables[5][i][1], 255) << i;
}

TEST(ColourTablesTest, HighTableIsOneAndAHalfTimesTheBaseClamped) {
    const ColourTableSet tables = Tables();
    for (int i = 0; i < 255; ++i) {
        for (int ch = 0; ch < 3; ++ch) {
            const int expected = std::min(255, 3 * tables[1][i][ch] / 2);
            ASSERT_EQ(tables[0][i][ch], expected) << "entry " << i << " channel " << ch;
        }
    }
}

// Between control points the value is exact and rounded half up, also on falling stretches.
TEST(ColourTablesTest, FixedTablesBetweenControlPoints) {
    const ColourTableSet tables = Tables();
    struct Case {
        int table, index, channel, expected;
        const char* why;
    };
    const Case cases[] = {
        {1, 139, 0, 153, "150 + 2.5 rises to 153"},
        {1, 165, 0, 213, "212.5 on a falling stretch rounds up to 213"},
        {1, 137, 1, 118, "117.5 on a falling stretch rounds up to 118"},
        {1, 216, 0, 245, "control point"},
        {1, 217, 0, 180, "control point after a jump"},
        {1, 236, 1, 0, "control point"},
        {1, 60, 2, 42, "80 - 2 x 19"},
        {9, 1, 0, 1, "10/7 rounds down"},
        {9, 4, 0, 6, "40/7 rounds up"},
        {9, 19, 1, 0, "19/39 rounds down"},
        {9, 20, 1, 1, "20/39 rounds up"},
        {9, 100, 2, 0, "brown blue is 0"},
        {9, 247, 0, 255, "control point"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(tables[c.table][c.index][c.channel], c.expected) << c.why;
    }
}

TEST(ColourTablesTest, InterpolationRoundsHalfUpAndHoldsAtTheEnds) {
    const ControlPoint points[] = {{0, 0}, {2, 5}, {4, 0}, {10, 3}, {255, 3}};
    struct Case {
        int index, expected;
    };
    const Case cases[] = {{0, 0}, {1, 3}, {2, 5},  {3, 3},   {4, 0},  {5, 1},
                          {6, 1}, {7, 2}, {10, 3}, {255, 3}, {-1, 0}, {300, 3}};
    for (const Case& c : cases) {
        EXPECT_EQ(InterpolateControlPoints(points, 5, c.index), c.expected) << c.index;
    }
}

TEST(ColourTablesTest, PaletteIsBlueGreenRedZero) {
    const ColourTableSet tables = Tables();
    Palette palette;
    palette.fill(0xAA);
    PaletteFromTable(tables[5], palette);
    for (int k : {0, 64, 128, 255}) {
        EXPECT_EQ(palette[4 * k + 0], tables[5][k][2]) << k;
        EXPECT_EQ(palette[4 * k + 1], tables[5][k][1]) << k;
        EXPECT_EQ(palette[4 * k + 2], tables[5][k][0]) << k;
        EXPECT_EQ(palette[4 * k + 3], 0) << k;
    }
}

TEST(ColourTablesTest, MenuTexts) {
    EXPECT_STREQ(kColourTableNames[0], "Normal  &High");
    EXPECT_STREQ(kColourTableNames[5], "&Brown / Yellow");
    EXPECT_STREQ(kColourTableNames[9], "Yellow/Brown");
}

}  // namespace
