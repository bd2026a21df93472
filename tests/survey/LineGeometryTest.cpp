// Positions against survey lines: cross-track distance and side, along-track distance and
// what is left to the end, with the expected numbers worked out from the ellipsoid's radii.

#include <gtest/gtest.h>

#include "SurveyTestGeometry.h"
#include "survey/LineGeometry.h"

namespace {

using survey::GeoPoint;
using survey::SurveyLine;
using surveytest::EastDegrees;
using surveytest::NorthDegrees;

constexpr double kLat = 54.0, kLon = 10.0;

// A 500 m line along the parallel at kLat (a geodesic bulges from it by millimetres).
SurveyLine EastWest(bool eastward, double northOffsetM) {
    const double lat = kLat + NorthDegrees(kLat, northOffsetM);
    const GeoPoint west{lat, kLon}, east{lat, kLon + EastDegrees(lat, 500)};
    return {"E-W", eastward ? std::vector<GeoPoint>{west, east} : std::vector<GeoPoint>{east, west}};
}

TEST(LineGeometryTest, ALineTenMetresNorthIsTenMetresToTheSideItsDirectionSays) {
    const GeoPoint vessel{kLat, kLon + EastDegrees(kLat, 250)};
    const struct {
        bool eastward;
        double offsetM;
        const char* text;
    } cases[] = {{true, 10, "10.0 m R"}, {false, 10, "10.0 m L"},
                 {true, -10, "10.0 m L"}, {false, -10, "10.0 m R"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const survey::LinePosition p = survey::Locate(EastWest(c.eastward, c.offsetM), vessel);
        EXPECT_NEAR(std::fabs(p.crossTrackM), 10.0, 0.1);
        EXPECT_EQ(survey::CrossTrackText(p.crossTrackM), c.text);
        EXPECT_NEAR(p.alongTrackM, 250.0, 0.1);
        EXPECT_NEAR(p.toEndM, 250.0, 0.1);
        EXPECT_NEAR(p.bearingDeg, c.eastward ? 90.0 : 270.0, 0.5);
    }
}

TEST(LineGeometryTest, AlongTheLineBeforeItsStartAndPastItsEnd) {
    // Northward along the meridian, 1000 m, with a corner at 600 m.
    const SurveyLine line{"N", {{kLat, kLon},
                                {kLat + NorthDegrees(kLat, 600), kLon},
                                {kLat + NorthDegrees(kLat, 1000), kLon}}};
    EXPECT_NEAR(survey::LineLength(line), 1000.0, 0.05);
    const struct {
        double northM, eastM, along, cross;
    } cases[] = {{-50, 0, -50, 0}, {300, 5, 300, 5}, {800, -20, 800, -20}, {1100, 3, 1100, 3}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.northM);
        const double lat = kLat + NorthDegrees(kLat, c.northM);
        const survey::LinePosition p = survey::Locate(line, {lat, kLon + EastDegrees(lat, c.eastM)});
        EXPECT_NEAR(p.alongTrackM, c.along, 0.1);
        EXPECT_NEAR(p.crossTrackM, c.cross, 0.1);
        EXPECT_NEAR(p.toEndM, 1000.0 - c.along, 0.1);
        EXPECT_NEAR(p.bearingDeg, 0.0, 0.01);
    }
}

TEST(LineGeometryTest, ALineOfOnePointIsNoLine) {
    const survey::LinePosition p = survey::Locate({"one", {{kLat, kLon}}}, {kLat, kLon});
    EXPECT_EQ(p.lengthM, 0.0);
    EXPECT_EQ(p.crossTrackM, 0.0);
}

TEST(LineGeometryTest, CrossTrackTexts) {
    const struct {
        double metres;
        const char* text;
    } cases[] = {{12.44, "12.4 m R"}, {-3.06, "3.1 m L"}, {0.04, "0.0 m"}, {-0.04, "0.0 m"},
                 {-0.06, "0.1 m L"}, {1234.56, "1234.6 m R"}};
    for (const auto& c : cases) EXPECT_EQ(survey::CrossTrackText(c.metres), c.text) << c.metres;
}

}  // namespace
