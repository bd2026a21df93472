// Coverage of sailed lines, with the expected areas and gaps worked out in the test: a
// straight line covers its length times twice the ground range; two lines spaced wider than
// the swath leave a holiday of the spacing less the swath; memory follows the area.

#include <gtest/gtest.h>

#include <cmath>

#include "SurveyTestGeometry.h"
#include "survey/Coverage.h"

namespace {

using survey::Coverage;
using survey::GeoPoint;
using surveytest::EastDegrees;
using surveytest::NorthDegrees;

constexpr double kLat = 54.0, kLon = 9.0;  // the middle of UTM zone 32: no convergence

// Pings every `stepM` along a line northward (or southward) from `eastM` east of the origin.
void SailNorth(Coverage& coverage, double eastM, double lengthM, double stepM, double ground,
               bool southward = false) {
    for (double along = 0; along <= lengthM + 1e-9; along += stepM) {
        const double north = southward ? lengthM - along : along;
        const double lat = kLat + NorthDegrees(kLat, north);
        coverage.Add({{lat, kLon + EastDegrees(lat, eastM)}, southward ? 180.0 : 0.0, ground, ground});
    }
    coverage.Break();
}

TEST(CoverageTest, AStraightLineCoversItsLengthTimesTheSwath) {
    const double ground = std::sqrt(50.0 * 50.0 - 10.0 * 10.0);  // 50 m range, 10 m altitude
    for (const double step : {0.2, 1.0, 3.0}) {
        SCOPED_TRACE(step);
        Coverage coverage;
        SailNorth(coverage, 0, 1000, step, ground);
        EXPECT_NEAR(coverage.AreaM2() / (1000 * 2 * ground), 1.0, 0.02);
    }
}

TEST(CoverageTest, TwoLinesWiderApartThanTheSwathLeaveAHoliday) {
    const double ground = 40.0;  // 80 m of swath
    Coverage coverage;
    SailNorth(coverage, 0, 500, 1.0, ground);
    SailNorth(coverage, 130, 500, 1.0, ground, true);
    // Across the middle of the lines: covered, 50 m of holiday, covered.
    const double lat = kLat + NorthDegrees(kLat, 250);
    const auto start = coverage.CellOf({lat, kLon + EastDegrees(lat, -60)});
    ASSERT_TRUE(start);
    int gap = 0, longest = 0;
    int covered = 0;
    for (int k = 0; k < 260; ++k) {
        const std::uint8_t sides = coverage.At(start->first + k, start->second);
        if (sides) {
            ++covered;
            gap = 0;
        } else if (covered > 0) {
            longest = std::max(longest, ++gap);
        }
    }
    EXPECT_NEAR(longest, 130 - 2 * ground, 1.5);
    EXPECT_NEAR(covered, 2 * 2 * ground, 3);
}

TEST(CoverageTest, EachSideIsKeptAndAJumpIsNotFilled) {
    Coverage coverage;
    const double lat = kLat + NorthDegrees(kLat, 10);
    coverage.Add({{kLat, kLon}, 0.0, 30.0, 20.0});
    coverage.Add({{lat, kLon}, 0.0, 30.0, 20.0});
    const auto nadir = coverage.CellOf({kLat + NorthDegrees(kLat, 5), kLon});
    ASSERT_TRUE(nadir);
    EXPECT_EQ(coverage.At(nadir->first - 25, nadir->second), Coverage::kPort);
    EXPECT_EQ(coverage.At(nadir->first + 15, nadir->second), Coverage::kStarboard);
    EXPECT_EQ(coverage.At(nadir->first + 25, nadir->second), 0);
    // A ping 1 km further on is not joined to the last: the kilometre between stays empty.
    const double far = kLat + NorthDegrees(kLat, 1010);
    coverage.Add({{far, kLon}, 0.0, 30.0, 20.0});
    const auto between = coverage.CellOf({kLat + NorthDegrees(kLat, 500), kLon});
    EXPECT_EQ(coverage.At(between->first, between->second), 0);
    EXPECT_NEAR(coverage.AreaM2(), 10 * 50 + 2 * 50, 60);
}

TEST(CoverageTest, MemoryFollowsTheAreaNotThePings) {
    Coverage once, thrice;
    SailNorth(once, 0, 500, 1.0, 40.0);
    for (int k = 0; k < 3; ++k) SailNorth(thrice, 0, 500, 1.0, 40.0);
    EXPECT_EQ(thrice.Tiles(), once.Tiles());
    EXPECT_EQ(thrice.AreaM2(), once.AreaM2());
    // 500 m x 80 m in tiles of 64 m: 9 rows of 2 or 3 tiles.
    EXPECT_LE(once.Tiles(), 9u * 3u);
    once.Clear();
    EXPECT_TRUE(once.Empty());
}

}  // namespace
