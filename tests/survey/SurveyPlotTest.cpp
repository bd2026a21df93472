// What the plotter draws of the survey, checked on plain pixels: the coverage blends each
// side's colour where the swath lies and leaves the rest untouched, a fitted plan lies inside
// the view's margin, and a plan shows before the first fix.

#include <gtest/gtest.h>

#include <vector>

#include "SurveyTestGeometry.h"
#include "gps/GpsTrack.h"
#include "models/SurveyPlot.h"

namespace {

using surveytest::EastDegrees;
using surveytest::NorthDegrees;

constexpr double kLat = 54.0, kLon = 9.0;  // middle of UTM zone 32: grid north is north

survey::GeoPoint At(double north, double east) {
    const double lat = kLat + NorthDegrees(kLat, north);
    return {lat, kLon + EastDegrees(lat, east)};
}

TEST(SurveyPlotTest, CoverageIsBlendedPerSideWhereTheSwathLies) {
    // 100 m sailed north, 30 m to port and 20 m to starboard.
    survey::Coverage coverage;
    for (int m = 0; m <= 100; ++m) coverage.Add({At(m, 0), 0.0, 30.0, 20.0});
    GpsTrack track;
    std::int32_t restart = 0;
    track.AddTrackPoint(At(0, 0).latitude, At(0, 0).longitude, restart);
    PlotFrame frame = FrameOf(track, {});
    ASSERT_TRUE(frame.Valid());
    // 1 pixel a metre, the start at pixel (100, 150): the swath spans x 70..120, y 50..150.
    frame.zoom = 1.0;
    frame.offsetX = 100;
    frame.offsetY = 150;
    const int w = 200, h = 200;
    const std::uint32_t black = 0xFF000000u;
    std::vector<std::uint32_t> pixels(w * h, black);
    PaintCoverage(coverage, frame, pixels.data(), w, h, w);
    int changed = 0;
    for (std::uint32_t p : pixels) changed += p != black;
    EXPECT_NEAR(changed, 100 * 50, 100 * 50 * 0.04);
    const auto pixel = [&](int x, int y) { return pixels[static_cast<std::size_t>(y * w + x)]; };
    const std::uint32_t port = pixel(85, 100), starboard = pixel(110, 100);
    EXPECT_NE(port, black);
    EXPECT_NE(starboard, black);
    EXPECT_NE(port, starboard);
    // Port is bluish, starboard orange; both opaque over black.
    EXPECT_GT(port & 0xFF, (port >> 16) & 0xFF);
    EXPECT_GT((starboard >> 16) & 0xFF, starboard & 0xFF);
    EXPECT_EQ(port >> 24, 0xFFu);
    for (const auto& [x, y] : {std::pair{60, 100}, {130, 100}, {100, 40}, {100, 160}}) {
        EXPECT_EQ(pixel(x, y), black) << x << "," << y;
    }
}

TEST(SurveyPlotTest, AFittedPlanLiesInsideTheMargin) {
    survey::LinePlan plan;
    plan.Replace({{"1", {At(0, 0), At(900, 0)}}, {"2", {At(900, 400), At(0, 400)}}}, {});
    // No fix yet: the frame is the plan's.
    PlotFrame frame = FrameOf(GpsTrack{}, plan);
    ASSERT_TRUE(frame.Valid());
    const auto box = PlanBox(plan, frame);
    ASSERT_TRUE(box);
    EXPECT_NEAR(box->right - box->left, 400, 1.0);
    EXPECT_NEAR(box->bottom - box->top, 900, 1.0);
    const int w = 480, h = 360, margin = 40;
    FitBox(frame, *box, w, h, margin);
    // 900 m in 280 pixels of height.
    EXPECT_NEAR(frame.zoom, (h - 2 * margin) / 900.0, 1e-3);
    for (const survey::SurveyLine& line : plan.lines) {
        for (const survey::GeoPoint& p : line.points) {
            double x = 0, y = 0;
            frame.Pixel(p, x, y);
            EXPECT_GE(x, margin - 0.5);
            EXPECT_LE(x, w - margin + 0.5);
            EXPECT_GE(y, margin - 0.5);
            EXPECT_LE(y, h - margin + 0.5);
        }
    }
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    frame.Pixel(At(0, 0), x0, y0);
    frame.Pixel(At(900, 0), x1, y1);
    EXPECT_LT(y1, y0) << "north is up";
}

TEST(SurveyPlotTest, TheFitHoldsTheCoverageBeyondThePlan) {
    survey::LinePlan plan;
    plan.Replace({{"1", {At(0, 0), At(300, 0)}}}, {});
    PlotFrame frame = FrameOf(GpsTrack{}, plan);
    // Sailed north past the line's end to 400 m, 30 m to port and 20 m to starboard.
    survey::Coverage coverage;
    coverage.UseZone(frame.zone, frame.south);
    for (int m = -50; m <= 400; ++m) coverage.Add({At(m, 0), 0.0, 30.0, 20.0});
    const auto covered = CoverageBox(coverage, frame);
    ASSERT_TRUE(covered);
    // x east, y south of the line's start: 30 m west to 20 m east, 400 m north to 50 m south,
    // to within the cells the edges fall into (1 m).
    EXPECT_NEAR(covered->left, -30, 1.5);
    EXPECT_NEAR(covered->right, 20, 1.5);
    EXPECT_NEAR(covered->top, -400, 1.5);
    EXPECT_NEAR(covered->bottom, 50, 1.5);
    const auto both = Union(PlanBox(plan, frame), covered);
    EXPECT_NEAR(both->bottom - both->top, 450, 3.0);
    EXPECT_FALSE(Union(std::nullopt, std::nullopt));
    survey::Coverage elsewhere;
    elsewhere.UseZone(frame.zone + 1, frame.south);
    elsewhere.Add({At(0, 0), 0.0, 30.0, 20.0});
    elsewhere.Add({At(1, 0), 0.0, 30.0, 20.0});
    EXPECT_FALSE(CoverageBox(elsewhere, frame)) << "another zone's cells are not the frame's";
}

}  // namespace
