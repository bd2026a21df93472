// The line generator (spacing for an overlap, parallel lines on the side asked, alternating
// directions) and the plan's active line (next, previous, advancing past a line's end).

#include <gtest/gtest.h>

#include <cmath>

#include "SurveyTestGeometry.h"
#include "survey/LineGenerator.h"
#include "survey/LineGeometry.h"
#include "survey/LinePlan.h"
#include "survey/LineRecording.h"
#include "support/TempDir.h"

namespace {

using survey::GeoPoint;
using survey::SurveyLine;
using surveytest::EastDegrees;
using surveytest::NorthDegrees;

constexpr double kLat = 54.0, kLon = 10.0;

// 1000 m northward along the meridian.
SurveyLine NorthLine() {
    return {"", {{kLat, kLon}, {kLat + NorthDegrees(kLat, 1000), kLon}}};
}

TEST(LineGeneratorTest, SpacingForTwentyPercentOverlap) {
    const struct {
        double range;
        std::optional<double> altitude;
        double spacing;
    } cases[] = {
        {50, 10, 0.8 * 2 * 48.98979},  // ground range sqrt(50^2 - 10^2)
        {50, std::nullopt, 80.0},       // no altitude: the full range
        {50, 60, 80.0},                 // an altitude beyond the range is not believed
        {100, 0, 160.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.range);
        EXPECT_NEAR(survey::SpacingForOverlap(survey::SwathWidthM(c.range, c.altitude)), c.spacing, 1e-3);
    }
}

TEST(LineGeneratorTest, ParallelLinesLieOnTheSideAskedAndAlternate) {
    for (const survey::Side side : {survey::Side::Starboard, survey::Side::Port}) {
        const std::vector<SurveyLine> lines =
            survey::ParallelLines({NorthLine(), 80.0, 3, side, true});
        ASSERT_EQ(lines.size(), 3u);
        const double sign = side == survey::Side::Starboard ? 1.0 : -1.0;  // east of a northward line
        for (int k = 0; k < 3; ++k) {
            SCOPED_TRACE(k);
            const SurveyLine& line = lines[static_cast<std::size_t>(k)];
            EXPECT_EQ(line.name, "Line " + std::to_string(k + 1));
            ASSERT_EQ(line.points.size(), 2u);
            // Sailed northward, southward, northward; within 1e-7 degrees (1 cm: a geodesic
            // square to the line falls off the parallel by millimetres over 160 m).
            const GeoPoint& south = k % 2 ? line.points[1] : line.points[0];
            const GeoPoint& north = k % 2 ? line.points[0] : line.points[1];
            EXPECT_NEAR(south.latitude, kLat, 1e-7);
            EXPECT_NEAR(south.longitude, kLon + sign * EastDegrees(kLat, 80.0 * k), 1e-7);
            EXPECT_NEAR(north.latitude, kLat + NorthDegrees(kLat, 1000), 1e-7);
            const double bearing = survey::BearingDeg(line.points[0], line.points[1]);
            EXPECT_NEAR(std::remainder(bearing - (k % 2 ? 180.0 : 0.0), 360.0), 0.0, 0.01);
        }
    }
    EXPECT_TRUE(survey::ParallelLines({NorthLine(), 0.0, 3}).empty());
    EXPECT_TRUE(survey::ParallelLines({NorthLine(), 80.0, 0}).empty());
    EXPECT_TRUE(survey::ParallelLines({{"one", {{kLat, kLon}}}, 80.0, 3}).empty());
}

TEST(LinePlanTest, NextAndPreviousStopAtTheEnds) {
    survey::LinePlan plan;
    EXPECT_FALSE(plan.NextLine());
    EXPECT_EQ(plan.Active(), nullptr);
    plan.Replace(survey::ParallelLines({NorthLine(), 80.0, 3}), "plan.gpx");
    EXPECT_EQ(plan.active, 0);
    EXPECT_FALSE(plan.PreviousLine());
    EXPECT_TRUE(plan.NextLine());
    EXPECT_TRUE(plan.NextLine());
    EXPECT_FALSE(plan.NextLine());
    EXPECT_EQ(plan.Active()->name, "Line 3");
    EXPECT_TRUE(plan.PreviousLine());
    EXPECT_EQ(plan.active, 1);
    plan.Clear();
    EXPECT_EQ(plan.active, -1);
    EXPECT_TRUE(plan.file.empty());
}

// Lines 1 and 2 80 m apart, line 3 far to the west of line 1's end.
TEST(LinePlanTest, TheNextLineBecomesActivePastTheEndWhenItsStartIsTheNearest) {
    std::vector<SurveyLine> lines = survey::ParallelLines({NorthLine(), 80.0, 2});
    const double endLat = kLat + NorthDegrees(kLat, 1000);
    lines.push_back({"West", {{endLat + NorthDegrees(endLat, 30), kLon - EastDegrees(endLat, 60)},
                              {kLat, kLon - EastDegrees(kLat, 60)}}});
    const struct {
        double northM, eastM;
        bool sailedBeforeEnd;
        bool advances;
    } cases[] = {
        {990, 0, true, false},     // before the end
        {1020, 20, true, true},    // past it, line 2's start (80 m east) the nearest
        {1020, -50, true, false},  // past it, but the western line's start is nearer
        {1020, 20, false, false},  // made active beyond its end: not passed while steered
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.eastM);
        survey::LinePlan plan;
        plan.Replace(lines, "");
        if (c.sailedBeforeEnd) {
            const double before = kLat + NorthDegrees(kLat, 500);
            EXPECT_FALSE(plan.AdvancePastEnd({before, kLon}));
        }
        const double lat = kLat + NorthDegrees(kLat, c.northM);
        EXPECT_EQ(plan.AdvancePastEnd({lat, kLon + EastDegrees(lat, c.eastM)}), c.advances);
        EXPECT_EQ(plan.active, c.advances ? 1 : 0);
    }
}

}  // namespace

namespace {

TEST(LineRecordingTest, FilesAreNamedAfterTheLineSafelyAndNeverOverwritten) {
    TempDir dir;
    TempDir::WriteText(dir.File("North 1.svx"), "taken");
    const struct {
        const char* line;
        const char* file;
    } cases[] = {
        {"North 1", "North 1 (2).svx"},   // a file of that name exists
        {"Line/2", "Line_2.svx"},         // no directories out of a name
        {"../up", "Line.._up.svx"},       // nor a hidden or parent name
        {"", "Line.svx"},
        {"Linie Süd", "Linie Süd.svx"},  // UTF-8 kept
    };
    for (const auto& c : cases) {
        EXPECT_EQ(survey::LineRecordingPath(dir.path, c.line), dir.File(c.file)) << c.line;
    }
}

}  // namespace
