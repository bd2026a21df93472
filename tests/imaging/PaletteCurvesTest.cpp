#include <gtest/gtest.h>

#include <vector>

#include "imaging/PaletteCurves.h"

namespace {

Curve MakeCurve(const std::vector<CurvePoint>& points) {
    Curve curve;
    for (const CurvePoint& p : points) curve.points[curve.count++] = p;
    return curve;
}

std::vector<CurvePoint> PointsOf(const Curve& curve) {
    return {curve.points.begin(), curve.points.begin() + curve.count};
}

int Channel(const Palette& palette, int channel, int k) {
    return palette[4 * k + PaletteByteOf(channel)];
}

TEST(PaletteCurvesTest, SnapToGrid) {
    struct Case {
        int x, expected;
    };
    const Case cases[] = {{16, 16}, {31, 16},  {32, 48},   {33, 48},   {47, 48},
                          {63, 48}, {64, 80},  {511, 496}, {512, 528}, {528, 528},
                          {0, 16},  {-40, 16}, {600, 528}, {272, 272}, {287, 272}};
    for (const Case& c : cases) EXPECT_EQ(SnapToGrid(c.x), c.expected) << c.x;
}

TEST(PaletteCurvesTest, InsertKeepsOrderOnePointPerColumnAndClampsHeight) {
    Curve curve;
    ResetCurve(curve);
    EXPECT_TRUE(InsertCurvePoint(curve, 270, 100));  // column 272
    EXPECT_TRUE(InsertCurvePoint(curve, 100, 0));    // column 112, y clamped to 16
    EXPECT_TRUE(InsertCurvePoint(curve, 400, 999));  // column 400, y clamped to 272
    EXPECT_FALSE(InsertCurvePoint(curve, 280, 50));  // column 272 again
    EXPECT_FALSE(InsertCurvePoint(curve, 20, 50));   // column 16 again
    const std::vector<CurvePoint> expected = {
        {16, 272}, {112, 16}, {272, 100}, {400, 272}, {528, 16}};
    EXPECT_EQ(PointsOf(curve), expected);
    EXPECT_EQ(curve.points[curve.count], CurvePoint{});
}

TEST(PaletteCurvesTest, RemoveKeepsUnusedPointsZero) {
    Curve curve = MakeCurve({{16, 272}, {112, 16}, {528, 16}});
    RemoveCurvePoint(curve, 1);
    EXPECT_EQ(PointsOf(curve), (std::vector<CurvePoint>{{16, 272}, {528, 16}}));
    EXPECT_EQ(curve.points[2], CurvePoint{});
    RemoveCurvePoint(curve, 5);  // no such point
    EXPECT_EQ(curve.count, 2);
}

TEST(PaletteCurvesTest, ResetCurveRasterisesToTheShiftedRamp) {
    Curve curve;
    ResetCurve(curve);
    for (int channel = 0; channel < kCurveCount; ++channel) {
        Palette palette;
        palette.fill(0x5A);
        RasteriseCurve(palette, channel, curve.points.data(), curve.count);
        EXPECT_EQ(Channel(palette, channel, 0), 0);
        for (int k = 1; k <= 254; ++k) ASSERT_EQ(Channel(palette, channel, k), k - 1) << k;
        EXPECT_EQ(Channel(palette, channel, 255), 255);
        // Only the channel's own byte is written.
        EXPECT_EQ(palette[4 * 10 + PaletteByteOf((channel + 1) % 3)], 0x5A);
        EXPECT_EQ(palette[4 * 10 + 3], 0x5A);
    }
}

TEST(PaletteCurvesTest, SegmentRules) {
    struct Case {
        const char* name;
        CurvePoint a, b;
        int index, expected;
    };
    const Case cases[] = {
        {"flat at the top", {16, 16}, {48, 16}, 8, 255},
        {"bottom clamps to 0", {16, 272}, {48, 272}, 5, 0},
        {"halfway truncates", {16, 272}, {48, 271}, 8, 0},  // y 271.5 -> -0.5 -> 0
        {"falling line at x 56", {48, 16}, {80, 48}, 20, 247},
        {"odd start writes entry below", {33, 100}, {49, 100}, 8, 171},
    };
    for (const Case& c : cases) {
        Palette palette{};
        RasteriseSegment(palette, 0, c.a, c.b);
        EXPECT_EQ(Channel(palette, 0, c.index), c.expected) << c.name;
    }
    // A segment without width draws nothing.
    Palette palette{};
    RasteriseSegment(palette, 0, {48, 16}, {48, 200});
    RasteriseSegment(palette, 0, {80, 16}, {48, 16});
    EXPECT_EQ(palette, Palette{});
}

TEST(PaletteCurvesTest, LaterSegmentWinsTheSharedEntry) {
    const Curve curve = MakeCurve({{16, 272}, {48, 16}, {528, 272}});
    Palette palette{};
    RasteriseCurve(palette, 1, curve.points.data(), curve.count);
    EXPECT_EQ(Channel(palette, 1, 16), 255);  // both segments give 255 at x 48
    Palette jump{};
    const Curve step = MakeCurve({{16, 272}, {48, 16}, {48, 272}, {528, 272}});
    RasteriseCurve(jump, 1, step.points.data(), step.count);
    EXPECT_EQ(Channel(jump, 1, 16), 0);  // the last segment through x 48 is at the bottom
}

TEST(PaletteCurvesTest, HeightBetweenPoints) {
    const Curve curve = MakeCurve({{16, 272}, {272, 16}, {528, 144}});
    struct Case {
        int x;
        double y;
    };
    const Case cases[] = {{16, 272},  {144, 144}, {272, 16},  {400, 80},
                          {528, 144}, {0, 272},   {600, 144}, {17, 271}};
    for (const Case& c : cases) EXPECT_DOUBLE_EQ(CurveHeightAt(curve, c.x), c.y) << c.x;
}

Palette PaletteOf(int (*value)(int)) {
    Palette palette{};
    for (int k = 0; k < kPaletteEntries; ++k) {
        for (int ch = 0; ch < 3; ++ch) palette[4 * k + ch] = static_cast<std::uint8_t>(value(k));
    }
    return palette;
}

TEST(PaletteCurvesTest, CurvesFromPalettes) {
    struct Case {
        const char* name;
        int (*value)(int);
        std::vector<CurvePoint> expected;
    };
    const Case cases[] = {
        {"ramp", [](int k) { return k; }, {{16, 272}, {528, 17}}},
        {"flat", [](int) { return 40; }, {{16, 232}, {528, 232}}},
        {"step at 100",
         [](int k) { return k < 100 ? 0 : 200; },
         {{16, 272}, {208, 272}, {528, 72}}},
        {"shifted ramp",
         [](int k) { return k == 255 ? 255 : std::max(0, k - 1); },
         {{16, 272}, {528, 19}}},
        // Falling by ten a step looks like the starting slope: without care the curve would
        // start at column 48.
        {"steep start",
         [](int k) { return k <= 15 ? 200 - 10 * k : 50; },
         {{16, 72}, {48, 222}, {528, 222}}},
    };
    for (const Case& c : cases) {
        const Palette palette = PaletteOf(c.value);
        for (int channel = 0; channel < kCurveCount; ++channel) {
            const Curve curve = CurveFromPalette(palette, channel);
            EXPECT_EQ(PointsOf(curve), c.expected) << c.name << " channel " << channel;
            EXPECT_TRUE(IsValidCurve(curve.points.data(), curve.count)) << c.name;
        }
    }
}

TEST(PaletteCurvesTest, EveryBuiltInTableGivesValidCurves) {
    ColourTableSet tables{};
    BuildColourTables(tables);
    for (int t = 0; t < kColourTableCount; ++t) {
        Palette palette{};
        PaletteFromTable(tables[t], palette);
        for (int channel = 0; channel < kCurveCount; ++channel) {
            const Curve curve = CurveFromPalette(palette, channel);
            EXPECT_TRUE(IsValidCurve(curve.points.data(), curve.count))
                << "table " << t << " channel " << channel;
        }
    }
}

TEST(PaletteCurvesTest, Validity) {
    struct Case {
        const char* name;
        std::vector<CurvePoint> points;
        bool valid;
    };
    const Case cases[] = {
        {"reset", {{16, 272}, {528, 16}}, true},
        {"three points", {{16, 16}, {240, 272}, {528, 100}}, true},
        {"one point", {{16, 16}}, false},
        {"no points", {}, false},
        {"starts late", {{48, 272}, {528, 16}}, false},
        {"ends early", {{16, 272}, {496, 16}}, false},
        {"off the grid", {{16, 272}, {100, 50}, {528, 16}}, false},
        {"above the box", {{16, 15}, {528, 16}}, false},
        {"below the box", {{16, 273}, {528, 16}}, false},
        {"same column twice", {{16, 272}, {48, 20}, {48, 30}, {528, 16}}, false},
        {"out of order", {{16, 272}, {80, 20}, {48, 30}, {528, 16}}, false},
        {"negative", {{16, -1}, {528, 16}}, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsValidCurve(c.points.data(), static_cast<int>(c.points.size())), c.valid)
            << c.name;
    }
    std::vector<CurvePoint> full;
    for (int n = 0; n < kGridColumns; ++n)
        full.push_back({static_cast<std::int16_t>(GridColumnX(n)), 100});
    EXPECT_TRUE(IsValidCurve(full.data(), kGridColumns));
    full.push_back({560, 100});
    EXPECT_FALSE(IsValidCurve(full.data(), kGridColumns + 1));
}

}  // namespace
