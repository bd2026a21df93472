#include "imaging/MeasureTools.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "imaging/RowInfo.h"
#include "imaging/SideGeometry.h"

namespace {

MeasureGeometry BothSides(int width = 1000, int range = 50) {
    MeasureGeometry g;
    g.imageWidth = width;
    g.imageRows = 2000;
    g.range = range;
    g.sideMode = 3;
    return g;
}

// One full click: button down at (x, y), then up.
bool Click(MeasureState& state, const MeasureGeometry& g, int x, int y) {
    const bool taken = MeasureButtonDown(state, g, x, y);
    MeasureButtonUp(state);
    return taken;
}

// The target-height clicks: target, bottom return, shadow start, shadow end.
void MeasureHeight(MeasureState& state, const MeasureGeometry& g, int row, int bottom,
                   int shadowStart, int shadowEnd) {
    ToggleTool(state, MeasureTool::Height);
    for (const int x : {bottom - 40, bottom, shadowStart, shadowEnd}) Click(state, g, x, row);
}

}  // namespace

TEST(MeasureToolsTest, TargetHeightFromBottomReturnAndShadow) {
    struct Case {
        int units;
        const char* label;
    };
    for (const Case c : {Case{0, "2.50 m"}, Case{1, "8.20 ft"}}) {
        MeasureState state;
        MeasureHeight(state, BothSides(), 300, 600, 800, 900);
        EXPECT_DOUBLE_EQ(state.bottomReturnRange, 10.0);
        EXPECT_DOUBLE_EQ(state.shadowStartRange, 30.0);
        EXPECT_DOUBLE_EQ(state.shadowLength, 10.0);
        EXPECT_DOUBLE_EQ(state.targetHeight, 2.5);
        ASSERT_EQ(state.markCount, 4);
        EXPECT_EQ(state.marks[3].kind, kMarkShadow);
        EXPECT_EQ(MeasureLabelText(state.marks[3].value, c.units), c.label);
        EXPECT_EQ(HeightPromptText(3, state.targetHeight, c.units),
                  std::string("Click on Shadow End: H=") + c.label);
        EXPECT_EQ(state.heightMode, 0) << "the fourth click ends the tool";
        EXPECT_EQ(state.heightStep, 0);
    }
}

TEST(MeasureToolsTest, TargetHeightStepsPromptAndHoldTheTargetRow) {
    MeasureState state;
    const MeasureGeometry g = BothSides();
    ToggleTool(state, MeasureTool::Height);
    const char* prompts[] = {"Click on the Target", "Click on First (Bottom) Return",
                             "Click on Shadow Start"};
    const int kinds[] = {kMarkTarget, kMarkBottomReturn, kMarkShadowStart};
    for (int step = 0; step < 3; ++step) {
        const OverlayPlan plan = PlanMeasureOverlay(state, g, 0, true, {700, 420 + step});
        ASSERT_FALSE(plan.labels.empty());
        EXPECT_EQ(plan.labels.back().text, prompts[step]);
        // Pressed but not released: the step stays until the button comes up.
        ASSERT_TRUE(MeasureButtonDown(state, g, 600 + step * 100, 300 + step * 7));
        EXPECT_EQ(state.heightStep, step);
        MeasureButtonUp(state);
        EXPECT_EQ(state.heightStep, step + 1);
        EXPECT_EQ(state.marks[step].kind, kinds[step]);
        EXPECT_EQ(state.marks[step].y2, 300) << "every click lands on the target's row";
    }
    // Bottom return 20 m, shadow from 30 m, 10 m long at the pointer: 10 x 20 / 40.
    const OverlayPlan plan = PlanMeasureOverlay(state, g, 0, true, {900, 333});
    EXPECT_EQ(plan.labels.back().text, "Click on Shadow End: H=5.00 m");
    EXPECT_EQ(plan.labels.back().anchor.y, 300);
}

TEST(MeasureToolsTest, DistancesAndRanges) {
    struct Case {
        int sideMode, units;
        int x1, y1, x2, y2;
        const char* label;
    };
    const Case cases[] = {
        {3, 0, 400, 10, 500, 10, "10.00 m"},   // 100 px across half of 1000 px for 50 m
        {3, 1, 400, 10, 500, 10, "32.81 ft"},  // the same in feet
        {3, 0, 100, 100, 130, 140, "5.00 m"},  // 3-4-5: 50 px
        {1, 0, 0, 0, 100, 0, "5.00 m"},        // one side over the whole width
        {2, 0, 900, 0, 1000, 0, "5.00 m"},
    };
    for (const Case& c : cases) {
        MeasureGeometry g = BothSides();
        g.sideMode = c.sideMode;
        EXPECT_EQ(MeasureLabelText(DistanceMetres(g, c.x1, c.y1, c.x2, c.y2), c.units), c.label)
            << c.sideMode << " " << c.x1 << "," << c.y1 << " " << c.x2 << "," << c.y2;
    }
    EXPECT_DOUBLE_EQ(RangeMetres(BothSides(), 700), 20.0);
    EXPECT_DOUBLE_EQ(DistanceMetres(BothSides(0), 0, 0, 10, 10), 0.0) << "no image, no distance";
}

TEST(MeasureToolsTest, WithoutSpeedCorrectionRowsCountTheirAdvanceClampedToTheImage) {
    RowInfoRing stamps;
    stamps.Follow(100);
    for (int r = 0; r < 100; ++r) stamps.Row(r).advance = 3;
    MeasureGeometry g = BothSides();
    g.imageRows = 100;
    g.speedCorrection = false;
    g.rowStamps = &stamps;
    // Rows 10..19 both included: 10 rows of 3.
    EXPECT_DOUBLE_EQ(DistanceMetres(g, 500, 10, 500, 19), 30 * 0.1);
    EXPECT_DOUBLE_EQ(DistanceMetres(g, 500, 19, 500, 10), 30 * 0.1) << "upward as downward";
    // A point below the image counts only up to its last row.
    EXPECT_DOUBLE_EQ(DistanceMetres(g, 500, 90, 500, 5000), 30 * 0.1);
    EXPECT_DOUBLE_EQ(DistanceMetres(g, 500, -50, 500, 0), 3 * 0.1);
}

TEST(MeasureToolsTest, DistanceToolIsOneShotAndFollowsThePointer) {
    MeasureState state;
    const MeasureGeometry g = BothSides();
    ToggleTool(state, MeasureTool::Distance);
    ASSERT_TRUE(Click(state, g, 400, 50));
    EXPECT_EQ(state.distanceFirstPointSet, 1);
    EXPECT_EQ(state.markCount, 0) << "the pending mark is not counted";
    const OverlayPlan plan = PlanMeasureOverlay(state, g, 0, true, {500, 50});
    ASSERT_EQ(plan.lines.size(), 1u);
    EXPECT_EQ(plan.crosses.size(), 2u);
    EXPECT_EQ(plan.labels.at(0).text, "10.00 m");
    EXPECT_DOUBLE_EQ(state.marks[0].value, 10.0) << "the pending mark carries the distance";
    ASSERT_TRUE(Click(state, g, 430, 90));
    EXPECT_EQ(state.markCount, 1);
    EXPECT_EQ(state.distanceMode, 0);
    EXPECT_EQ(state.marks[0].kind, kMarkDistance);
    EXPECT_DOUBLE_EQ(state.marks[0].value, 5.0);
    EXPECT_FALSE(Click(state, g, 10, 10)) << "no tool armed any more";
}

TEST(MeasureToolsTest, ArmingOneToolDisarmsTheOthersAndDropsHalfMadeWork) {
    MeasureState state;
    const MeasureGeometry g = BothSides();
    ToggleTool(state, MeasureTool::Distance);
    ToggleTool(state, MeasureTool::Distance);
    EXPECT_FALSE(state.ToolActive()) << "chosen twice before any click: unarmed";

    ToggleTool(state, MeasureTool::Distance);
    Click(state, g, 100, 100);
    ToggleTool(state, MeasureTool::Range);
    EXPECT_TRUE(ToolArmed(state, MeasureTool::Range));
    EXPECT_FALSE(ToolArmed(state, MeasureTool::Distance));
    EXPECT_EQ(state.distanceFirstPointSet, 0);
    ToggleTool(state, MeasureTool::Distance);  // a new distance starts from its first point
    Click(state, g, 300, 300);
    EXPECT_EQ(state.marks[0].x1, 300);

    // A target height two clicks in, toggled off: its marks go, the earlier ones stay.
    ToggleTool(state, MeasureTool::Plus);
    Click(state, g, 5, 5);
    ToggleTool(state, MeasureTool::Height);
    Click(state, g, 600, 10);
    Click(state, g, 650, 10);
    EXPECT_EQ(state.markCount, 3);
    ToggleTool(state, MeasureTool::Height);
    EXPECT_EQ(state.markCount, 1);
    EXPECT_EQ(state.heightStep, 0);
    EXPECT_EQ(state.marks[0].kind, kMarkPlus);
}

TEST(MeasureToolsTest, EraseClearsMarksAndAHalfMadeMeasurement) {
    MeasureState state;
    const MeasureGeometry g = BothSides();
    ToggleTool(state, MeasureTool::Height);
    Click(state, g, 600, 10);
    Click(state, g, 650, 10);
    state.ClearMarks();
    EXPECT_EQ(state.markCount, 0);
    EXPECT_EQ(state.heightStep, 0);
    EXPECT_EQ(state.heightMode, 1) << "the tool stays armed and starts again";
    EXPECT_EQ(PlanMeasureOverlay(state, g, 0, true, {1, 1}).labels.back().text,
              "Click on the Target");
}

TEST(MeasureToolsTest, FullMarksRefuseTheFirstClick) {
    struct Case {
        MeasureTool tool;
        int count;
        bool taken;
    };
    const Case cases[] = {
        {MeasureTool::Distance, 99, true}, {MeasureTool::Distance, 100, false},
        {MeasureTool::Range, 99, true},    {MeasureTool::Range, 100, false},
        {MeasureTool::Plus, 100, false},   {MeasureTool::Height, 96, true},
        {MeasureTool::Height, 97, false},  // needs four free entries
    };
    for (const Case& c : cases) {
        MeasureState state;
        state.markCount = c.count;
        ToggleTool(state, c.tool);
        EXPECT_EQ(MeasureButtonDown(state, BothSides(), 10, 10), c.taken)
            << static_cast<int>(c.tool) << " at " << c.count;
        MeasureButtonUp(state);
        EXPECT_LE(state.markCount, kMaxMarks);
        if (!c.taken) {
            EXPECT_FALSE(state.HalfMade());
        }
    }
    // A target height begun with four free entries completes.
    MeasureState state;
    state.markCount = 96;
    MeasureHeight(state, BothSides(), 10, 600, 800, 900);
    EXPECT_EQ(state.markCount, 100);
}

TEST(MeasureToolsTest, StoredMarksPlanTheirShapes) {
    MeasureState state;
    state.markCount = 3;
    state.marks[0] = Mark{500, 20, 700, 20, kMarkRange, 20.0};
    state.marks[1] = Mark{30, 40, 30, 40, kMarkPlus, 0.0};
    state.marks[2] = Mark{500, 60, 600, 60, kMarkBottomReturn, 10.0};
    const OverlayPlan plan = PlanMeasureOverlay(state, BothSides(), 0, false, {0, 0});
    EXPECT_EQ(plan.lines.size(), 2u) << "a '+' is a cross only";
    EXPECT_EQ(plan.crosses.size(), 3u);
    ASSERT_EQ(plan.labels.size(), 1u) << "a bottom-return line carries no label";
    EXPECT_EQ(plan.labels[0].text, "20.00 m");
    EXPECT_EQ(plan.labels[0].anchor.x, 700);
}

TEST(MeasureToolsTest, RangeToolStoresALineFromTheNadir) {
    MeasureState state;
    ToggleTool(state, MeasureTool::Range);
    const OverlayPlan band = PlanMeasureOverlay(state, BothSides(), 0, true, {700, 77});
    ASSERT_EQ(band.lines.size(), 1u);
    EXPECT_EQ(band.lines[0].from.x, 500);
    EXPECT_EQ(band.lines[0].from.y, 77) << "the rubber band is horizontal";
    Click(state, BothSides(), 200, 40);
    ASSERT_EQ(state.markCount, 1);
    EXPECT_EQ(state.marks[0].x1, 500);
    EXPECT_EQ(state.marks[0].y1, 40);
    EXPECT_DOUBLE_EQ(state.marks[0].value, 30.0);
    EXPECT_EQ(state.rangeMode, 1) << "the range tool stays armed";
}

TEST(MeasureToolsTest, LabelsSitAboveTheirPointAndStayInTheWindow) {
    struct Case {
        int x, y, imageRight, clientWidth, clientHeight;
        int left, top;
    };
    const Case cases[] = {
        {300, 200, 1000, 1000, 800, 300, 167},  // 33 px above
        {300, 10, 1000, 1000, 800, 300, 27},    // near the top: 17 px below
        {960, 200, 1000, 1000, 800, 910, 167},  // near the image's right edge: 50 px left
        {990, 200, 4000, 1000, 800, 920, 167},  // 200 %: the window edge keeps the text in
        {-30, 200, 4000, 1000, 800, 0, 167},    // left of the window
        {300, 900, 1000, 1000, 800, 300, 780},  // below the window
    };
    for (const Case& c : cases) {
        const LabelBox box =
            PlaceLabel(c.x, c.y, c.imageRight, c.clientWidth, c.clientHeight, 80, 20);
        EXPECT_EQ(box.left, c.left) << c.x << "," << c.y;
        EXPECT_EQ(box.top, c.top) << c.x << "," << c.y;
    }
}

TEST(AcrossFractionTest, ClickColumnToFractionAndBack) {
    struct Case {
        int sideMode, x;
        const char* fraction;  // as the event file writes it
        int redrawn;
    };
    const Case cases[] = {
        {3, 750, "0.750000", 750}, {1, 500, "0.250000", 500}, {2, 500, "0.750000", 500},
        {3, 0, "0.000000", 0},     {2, 0, "0.500000", 0},     {1, 998, "0.499000", 998},
        {3, 573, "0.573000", 573},
    };
    for (const Case& c : cases) {
        const double fraction = AcrossFraction(c.x, 1000, c.sideMode);
        char text[32];
        std::snprintf(text, sizeof text, "%f", fraction);
        EXPECT_STREQ(text, c.fraction) << c.sideMode << " " << c.x;
        // Read back from its text, as from the event file.
        EXPECT_EQ(AcrossColumn(std::strtod(text, nullptr), 1000, c.sideMode), c.redrawn)
            << c.sideMode << " " << c.x;
    }
    EXPECT_DOUBLE_EQ(AcrossFraction(10, 0, 3), 0.0) << "no width";
}
