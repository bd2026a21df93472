// The track of a file of positions: one fix per position and fix time, each with the bearing
// to the next position as its course, the ping that first carried it, and its time.

#include <gtest/gtest.h>

#include "recordings/RecordingTrack.h"

namespace {

struct Step {
    double latitude, longitude;
    std::optional<int> fixSecond;  // of the day
    bool newFix = true;
};

std::vector<TrackFix> TrackOf(const std::vector<Step>& steps) {
    rec::NavigationTrack track;
    std::uint32_t ping = 0;
    for (const Step& s : steps) {
        svx::PingNavigation nav;
        nav.ping = ++ping;
        nav.clock = {2026, 12, 9, 10, 0, static_cast<int>(ping), 250};
        nav.hasFix = true;
        nav.newFix = s.newFix;
        nav.latitude = s.latitude;
        nav.longitude = s.longitude;
        nav.fixSecondOfDay = s.fixSecond;
        nav.fixHundredths = 7;
        nav.speedKnots = 4.5;
        nav.headingDeg = 33.0;
        track.Add(nav);
    }
    return track.Fixes();
}

TEST(NavigationTrackTest, ARepeatedFixIsOneFixAtItsFirstPing) {
    const auto fixes = TrackOf({{54.0, 10.0, 36000}, {54.0, 10.0, 36000}, {54.0, 10.001, 36001}});
    ASSERT_EQ(fixes.size(), 2u);
    EXPECT_EQ(fixes[0].ping, 1);
    EXPECT_EQ(fixes[1].ping, 3);
    EXPECT_EQ(fixes[0].time, "10:00:00.070");
    EXPECT_EQ(fixes[1].time, "10:00:01.070");
    EXPECT_EQ(fixes[0].date, "2026-12-09");
    EXPECT_EQ(fixes[0].speedKnots, 4.5);
    EXPECT_EQ(fixes[0].headingDeg, 33.0);
}

TEST(NavigationTrackTest, WithoutAFixTimeTheFixHasThePingsTime) {
    const auto fixes = TrackOf({{54.0, 10.0, std::nullopt}, {54.0, 10.0, 36001, false}});
    ASSERT_EQ(fixes.size(), 1u);
    EXPECT_EQ(fixes[0].time, "10:00:01.250");
}

TEST(NavigationTrackTest, TheCourseIsTheBearingToTheNextPosition) {
    struct Case {
        const char* name;
        std::vector<Step> steps;
        std::vector<std::optional<double>> courses;
    };
    const Case cases[] = {
        {"east, the last keeps the one before",
         {{54.0, 10.0, 1}, {54.0, 10.001, 2}, {54.0, 10.002, 3}},
         {90.0, 90.0, 90.0}},
        {"north then west",
         {{54.0, 10.0, 1}, {54.001, 10.0, 2}, {54.001, 9.999, 3}},
         {0.0, 270.0, 270.0}},
        {"south-east on a parallel's scale",
         {{60.0, 10.0, 1}, {59.999, 10.002, 2}},
         {135.0, 135.0}},
        // A fix at the same place (a new fix time) looks past itself to the next place.
        {"standing still between", {{54.0, 10.0, 1}, {54.0, 10.0, 2}, {53.999, 10.0, 3}},
         {180.0, 180.0, 180.0}},
        {"one position has no course", {{54.0, 10.0, 1}}, {std::nullopt}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto fixes = TrackOf(c.steps);
        ASSERT_EQ(fixes.size(), c.courses.size());
        for (std::size_t i = 0; i < fixes.size(); ++i) {
            ASSERT_EQ(fixes[i].courseDeg.has_value(), c.courses[i].has_value()) << i;
            if (c.courses[i]) {
                EXPECT_NEAR(*fixes[i].courseDeg, *c.courses[i], 0.05) << i;
            }
        }
    }
}

}  // namespace
