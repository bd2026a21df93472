// The steering read-out of a plan's active line, with the expected figures worked out here.

#include <gtest/gtest.h>

#include "SurveyTestGeometry.h"
#include "survey/Steering.h"

namespace {

using surveytest::EastDegrees;
using surveytest::NorthDegrees;

constexpr double kLat = 54.0, kLon = 10.0;

survey::LinePlan OneLine() {
    survey::LinePlan plan;
    plan.Replace({{"L7", {{kLat, kLon}, {kLat + NorthDegrees(kLat, 2000), kLon}}}}, "");
    return plan;
}

survey::GeoPoint At(double northM, double eastM) {
    const double lat = kLat + NorthDegrees(kLat, northM);
    return {lat, kLon + EastDegrees(lat, eastM)};
}

TEST(SteeringTest, TheReadOutOfTheActiveLine) {
    const survey::LinePlan plan = OneLine();
    const struct {
        double north, east;
        std::optional<double> knots, course;
        const char *cross, *toEnd, *time, *courseText;
        bool offLine;
    } cases[] = {
        // 1588 m to go at 4 knots (2.0578 m/s): 771.7 s; 9200 m at 2 knots: 8941.6 s.
        {412, -12.4, 4.0, 3.5, "12.4 m L", "1.59 km", "12:52", "003.5\u00B0", true},
        {1900, 3.1, 5.0, 359.0, "3.1 m R", "100 m", "0:39", "359.0\u00B0", false},
        {1900, 3.1, 0.1, std::nullopt, "3.1 m R", "100 m", "--", "--", false},
        {2050, 0, 4.0, 0.0, "0.0 m", "past the end", "--", "000.0\u00B0", false},
        {-7200, 10.2, 2.0, 0.0, "10.2 m R", "9.20 km", "2:29:02", "000.0\u00B0", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.north);
        const survey::SteeringReadout r = survey::Steer(plan, {At(c.north, c.east), c.knots, c.course, 10.0});
        ASSERT_TRUE(r.active);
        EXPECT_EQ(r.line, "L7");
        EXPECT_EQ(r.crossTrack, c.cross);
        EXPECT_EQ(r.toEnd, c.toEnd);
        EXPECT_EQ(r.timeToEnd, c.time);
        EXPECT_EQ(r.bearing, "000.0\u00B0");
        EXPECT_EQ(r.course, c.courseText);
        EXPECT_EQ(r.offLine, c.offLine);
    }
}

TEST(SteeringTest, NoPlanNoReadOut) {
    EXPECT_FALSE(survey::Steer(survey::LinePlan{}, {At(0, 0), 4.0, 0.0, 10.0}).active);
}

}  // namespace
