#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "imaging/PaletteEditor.h"

namespace {

std::vector<CurvePoint> PointsOf(const Curve& curve) {
    return {curve.points.begin(), curve.points.begin() + curve.count};
}

// An editor whose green curve has points at 16, 144, 400 and 528; red and blue are reset.
PaletteEditor EditorWithGreenPoints() {
    PaletteEditor editor;
    std::int32_t counts[kCurveCount] = {2, 4, 2};
    CurvePoints points[kCurveCount] = {};
    points[0][0] = {16, 272};
    points[0][1] = {528, 16};
    points[1][0] = {16, 200};
    points[1][1] = {144, 200};
    points[1][2] = {400, 40};
    points[1][3] = {528, 40};
    points[2] = points[0];
    editor.SetCurves(counts, points);
    return editor;
}

TEST(PaletteEditorTest, GrabbableSpots) {
    struct Case {
        const char* name;
        int curve, x, y;
        std::optional<CurvePoint> spot;
    };
    const Case cases[] = {
        {"on the reset line", 0, 272, 144, CurvePoint{272, 144}},
        {"5 below", 0, 272, 149, CurvePoint{272, 144}},
        {"6 below", 0, 272, 150, std::nullopt},
        {"5 above", 0, 272, 139, CurvePoint{272, 144}},
        {"16 right of a column", 0, 288, 144, CurvePoint{272, 144}},
        {"halfway, nearer the next height", 0, 288, 128, CurvePoint{304, 128}},
        {"first column from the left", 0, 0, 272, CurvePoint{16, 272}},
        {"17 left of the first column", 0, -1, 272, std::nullopt},
        {"last column from the right", 0, 533, 16, CurvePoint{528, 16}},
        {"last column 16 right", 0, 544, 16, CurvePoint{528, 16}},
        {"last column 17 right", 0, 545, 16, std::nullopt},
        {"off the line", 0, 100, 100, std::nullopt},
        {"green flat part", 1, 80, 203, CurvePoint{80, 200}},
        {"green slope", 1, 272, 120, CurvePoint{272, 120}},
        {"red line is not green", 1, 272, 144, std::nullopt},
    };
    for (const Case& c : cases) {
        PaletteEditor editor = EditorWithGreenPoints();
        editor.SelectCurve(c.curve);
        EXPECT_EQ(editor.GrabbableSpot(c.x, c.y), c.spot) << c.name;
    }
}

TEST(PaletteEditorTest, PressOutsideTheBoxDragsTheWindow) {
    struct Case {
        int x, y;
        EditorPress expected;
    };
    const Case cases[] = {
        {549, 100, EditorPress::DragWindow}, {548, 100, EditorPress::None},
        {100, 353, EditorPress::DragWindow}, {100, 352, EditorPress::None},
        {100, 100, EditorPress::None},       {272, 144, EditorPress::GrabSpot},
    };
    for (const Case& c : cases) {
        PaletteEditor editor;
        EXPECT_EQ(editor.Press(c.x, c.y), c.expected) << c.x << "," << c.y;
        EXPECT_EQ(editor.Dragging(), c.expected == EditorPress::GrabSpot);
    }
}

TEST(PaletteEditorTest, DragANewSpotAndDropItOnItsColumn) {
    PaletteEditor editor;
    ASSERT_EQ(editor.Press(272, 144), EditorPress::GrabSpot);
    EXPECT_EQ(editor.Drag(280, 100), (CurvePoint{280, 100}));
    // The curve runs through the pointer while the button is held, and the palette follows.
    EXPECT_EQ(editor.DrawnCurve(0), (std::vector<CurvePoint>{{16, 272}, {280, 100}, {528, 16}}));
    EXPECT_EQ(editor.GetCurve(0).count, 2);
    EXPECT_EQ(editor.Rasterise()[4 * 132 + 2], 255 - (100 - 16));
    EXPECT_TRUE(editor.Release(280, 100));
    EXPECT_FALSE(editor.Dragging());
    EXPECT_EQ(PointsOf(editor.GetCurve(0)),
              (std::vector<CurvePoint>{{16, 272}, {272, 100}, {528, 16}}));
    EXPECT_EQ(editor.Rasterise()[4 * 128 + 2], 255 - (100 - 16));
    // The other curves are untouched.
    EXPECT_EQ(editor.GetCurve(1).count, 2);
}

TEST(PaletteEditorTest, PointerStaysInTheBoxAndBetweenTheNeighbours) {
    struct Case {
        int x, y;
        CurvePoint expected;
    };
    const Case cases[] = {{50, 100, {144, 100}},  {450, 100, {400, 100}}, {300, -50, {300, 16}},
                          {300, 999, {300, 272}}, {144, 30, {144, 30}},   {399, 272, {399, 272}}};
    for (const Case& c : cases) {
        PaletteEditor editor = EditorWithGreenPoints();
        editor.SelectCurve(1);
        ASSERT_EQ(editor.Press(272, 120), EditorPress::GrabSpot);
        EXPECT_EQ(editor.Drag(c.x, c.y), c.expected) << c.x << "," << c.y;
        // Moving back from a neighbour is free again.
        EXPECT_EQ(editor.Drag(272, 120), (CurvePoint{272, 120}));
    }
}

TEST(PaletteEditorTest, DroppingOnANeighboursColumnMergesIntoIt) {
    PaletteEditor editor = EditorWithGreenPoints();
    editor.SelectCurve(1);
    ASSERT_EQ(editor.Press(144, 200), EditorPress::GrabSpot);  // the point at 144 is lifted
    EXPECT_EQ(editor.GetCurve(1).count, 3);
    EXPECT_FALSE(editor.Release(20, 100));  // kept at 16, where the first point is
    EXPECT_EQ(PointsOf(editor.GetCurve(1)),
              (std::vector<CurvePoint>{{16, 200}, {400, 40}, {528, 40}}));
}

TEST(PaletteEditorTest, ReachingAnEdgeMakesTheSpotTheEndPoint) {
    PaletteEditor editor;
    ASSERT_EQ(editor.Press(208, 176), EditorPress::GrabSpot);
    EXPECT_EQ(editor.Drag(0, 200), (CurvePoint{16, 200}));
    EXPECT_EQ(editor.GetCurve(0).count, 1);  // the old first point is gone
    // Once it is the first point it stays on the left edge.
    EXPECT_EQ(editor.Drag(300, 180), (CurvePoint{16, 180}));
    EXPECT_TRUE(editor.Release(300, 180));
    EXPECT_EQ(PointsOf(editor.GetCurve(0)), (std::vector<CurvePoint>{{16, 180}, {528, 16}}));

    ASSERT_EQ(editor.Press(400, 57), EditorPress::GrabSpot);  // the line is at 57 there
    EXPECT_EQ(editor.Drag(900, 60), (CurvePoint{528, 60}));
    EXPECT_TRUE(editor.Release(900, 60));
    EXPECT_EQ(PointsOf(editor.GetCurve(0)), (std::vector<CurvePoint>{{16, 180}, {528, 60}}));
}

TEST(PaletteEditorTest, EndPointsMoveOnlyUpAndDown) {
    PaletteEditor editor;
    ASSERT_EQ(editor.Press(528, 18), EditorPress::GrabSpot);
    EXPECT_EQ(editor.Drag(400, 50), (CurvePoint{528, 50}));
    EXPECT_TRUE(editor.Release(400, 50));
    ASSERT_EQ(editor.Press(10, 270), EditorPress::GrabSpot);
    EXPECT_TRUE(editor.Release(200, 250));
    EXPECT_EQ(PointsOf(editor.GetCurve(0)), (std::vector<CurvePoint>{{16, 250}, {528, 50}}));
}

TEST(PaletteEditorTest, SelectionResetAndStoredCurves) {
    PaletteEditor editor = EditorWithGreenPoints();
    editor.SelectCurve(2);
    EXPECT_EQ(editor.SelectedCurve(), 2);
    editor.SelectCurve(3);
    EXPECT_EQ(editor.SelectedCurve(), 2);
    ASSERT_EQ(editor.Press(272, 144), EditorPress::GrabSpot);
    editor.SelectCurve(0);  // not while a spot is held
    EXPECT_EQ(editor.SelectedCurve(), 2);
    editor.Reset(2);  // ends the drag
    EXPECT_FALSE(editor.Dragging());
    EXPECT_FALSE(editor.Release(272, 144));
    editor.Reset(1);
    EXPECT_EQ(PointsOf(editor.GetCurve(1)), (std::vector<CurvePoint>{{16, 272}, {528, 16}}));

    // Stored points that break the rules give a reset curve instead.
    std::int32_t counts[kCurveCount] = {3, 200, 2};
    CurvePoints points[kCurveCount] = {};
    points[0][0] = {16, 100};
    points[0][1] = {17, 100};
    points[0][2] = {528, 100};
    editor.SetCurves(counts, points);
    for (int c = 0; c < kCurveCount; ++c) {
        EXPECT_EQ(PointsOf(editor.GetCurve(c)), (std::vector<CurvePoint>{{16, 272}, {528, 16}}));
    }
}

TEST(PaletteEditorTest, CurvesFromAPaletteReadBackOneStepLow) {
    Palette flat{};
    for (int k = 0; k < kPaletteEntries; ++k) {
        flat[4 * k + 0] = 10;   // blue
        flat[4 * k + 1] = 40;   // green
        flat[4 * k + 2] = 250;  // red
    }
    PaletteEditor editor;
    editor.SetCurvesFromPalette(flat);
    EXPECT_EQ(editor.GetPalette(), flat);
    EXPECT_EQ(PointsOf(editor.GetCurve(1)), (std::vector<CurvePoint>{{16, 232}, {528, 232}}));
    const Palette& drawn = editor.Rasterise();
    for (int k = 0; k < kPaletteEntries; ++k) {
        ASSERT_EQ(drawn[4 * k + 0], 9) << k;
        ASSERT_EQ(drawn[4 * k + 1], 39) << k;
        ASSERT_EQ(drawn[4 * k + 2], 249) << k;
    }
}

}  // namespace
