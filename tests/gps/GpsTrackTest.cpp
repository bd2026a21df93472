// The UTM projection's zones and known points, the track's origin, restarts and jumps, and the
// plotter's zoom steps.

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "gps/GpsTrack.h"
#include "gps/Utm.h"

namespace {

TEST(UtmTest, KnownPoints) {
    const UtmPosition cape = LatLonToUtm(-33.9, 18.4);
    EXPECT_EQ(cape.zone, 34);
    EXPECT_TRUE(cape.south);
    EXPECT_NEAR(cape.easting, 259583.2, 0.05);
    EXPECT_NEAR(cape.northing, 6245888.0, 0.05);
    const UtmPosition munich = LatLonToUtm(48.1173, 11.51667);
    EXPECT_EQ(munich.zone, 32);
    EXPECT_FALSE(munich.south);
    // A position on its zone's central meridian lies on the false easting.
    EXPECT_DOUBLE_EQ(LatLonToUtm(10.0, 9.0).easting, 500000.0);
    EXPECT_DOUBLE_EQ(LatLonToUtm(0.0, 3.0).northing, 0.0);
}

TEST(UtmTest, Zones) {
    struct Case {
        double lat, lon;
        int zone;
    };
    const Case cases[] = {
        {60, 5, 32},     {60, 2.99, 31},  {55.99, 5, 31},   {64, 5, 31},    {63.99, 11.99, 32},
        {75, 8.99, 31},  {75, 9, 33},     {75, 20.99, 33},  {75, 21, 35},   {75, 33, 37},
        {75, 41.99, 37}, {75, 42, 38},    {84, 5, 31},      {71.99, 9, 32}, {0, -180, 1},
        {0, 180, 1},     {0, 179.99, 60}, {0, -174.01, 1},  {0, -174, 2},   {0, 540, 1},
        {0, -190, 59},   {0, 0, 31},      {-45, -0.01, 30},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(UtmZone(c.lat, c.lon), c.zone) << c.lat << " " << c.lon;
    }
}

// Moves by metres from a start position (small steps, flat enough for the tests).
struct Walker {
    double lat, lon;
    void North(double metres) { lat += metres / 111132.0; }
    void East(double metres) {
        lon += metres / (111320.0 * std::cos(lat * 3.14159265358979 / 180));
    }
};

TEST(GpsTrackTest, FirstPositionBecomesTheOrigin) {
    GpsTrack track;
    std::int32_t restart = 0;
    track.AddTrackPoint(0.0, 3.0, restart);  // northing exactly 0: no origin yet
    EXPECT_EQ(track.firstPointPending, 1);
    track.AddTrackPoint(48.0, 11.0, restart);
    EXPECT_EQ(track.firstPointPending, 0);
    EXPECT_EQ(track.originEasting, track.utmEasting);
    EXPECT_EQ(track.originNorthing, track.utmNorthing);
    EXPECT_TRUE(track.trackPath.empty());
}

TEST(GpsTrackTest, EastDrawsRightAndNorthDrawsUp) {
    GpsTrack track;
    std::int32_t restart = 0;
    Walker ship{50.0, 1.0};
    track.AddTrackPoint(ship.lat, ship.lon, restart);
    ship.East(20);
    track.AddTrackPoint(ship.lat, ship.lon, restart);
    // Within a metre: the grid is turned against true north away from the central meridian.
    EXPECT_NEAR(track.trackX, 20.0, 1.0);
    EXPECT_NEAR(track.trackY, 0.0, 1.0);
    ship.North(30);
    track.AddTrackPoint(ship.lat, ship.lon, restart);
    EXPECT_NEAR(track.trackY, -30.0, 1.0);
    ASSERT_EQ(track.trackPath.size(), 2u);
    EXPECT_EQ(track.trackPath[1].x0, track.trackPath[0].x1);
    EXPECT_EQ(track.lastDrawnX, track.trackX);
}

TEST(GpsTrackTest, JumpsOfFiftyMetresOrMoreAreNotDrawn) {
    GpsTrack track;
    std::int32_t restart = 0;
    Walker ship{50.0, 1.0};
    track.AddTrackPoint(ship.lat, ship.lon, restart);
    ship.East(10);
    track.AddTrackPoint(ship.lat, ship.lon, restart);
    ASSERT_EQ(track.trackPath.size(), 1u);
    ship.East(60);
    track.AddTrackPoint(ship.lat, ship.lon, restart);
    EXPECT_EQ(restart, 1);
    EXPECT_EQ(track.trackPath.size(), 1u);  // no connecting line, no zero-length segment
    EXPECT_NEAR(track.trackX, 10.0, 0.5);
    ship.East(10);
    track.AddTrackPoint(ship.lat, ship.lon, restart);  // resumes at the absolute position
    EXPECT_EQ(restart, 0);
    EXPECT_NEAR(track.trackX, 80.0, 1.0);
    EXPECT_EQ(track.lastDrawnX, track.trackX);
    EXPECT_EQ(track.trackPath.size(), 1u);
    ship.East(10);
    track.AddTrackPoint(ship.lat, ship.lon, restart);
    ASSERT_EQ(track.trackPath.size(), 2u);
    EXPECT_NEAR(track.trackPath[1].x0, 80.0, 1.0);
    EXPECT_NEAR(track.trackPath[1].x1, 90.0, 1.0);
}

TEST(GpsTrackTest, RestartWaitsForTheEastingToChange) {
    GpsTrack track;
    std::int32_t restart = 0;
    track.AddTrackPoint(50.0, 1.0, restart);
    restart = 1;
    track.AddTrackPoint(50.0, 1.0, restart);
    EXPECT_EQ(restart, 1);
    track.AddTrackPoint(50.0, 1.0001, restart);
    EXPECT_EQ(restart, 0);
    EXPECT_TRUE(track.trackPath.empty());
}

TEST(GpsTrackTest, StandingStillAddsNoSegments) {
    GpsTrack track;
    std::int32_t restart = 0;
    for (int i = 0; i < 100; ++i) track.AddTrackPoint(50.0, 1.0, restart);
    EXPECT_TRUE(track.trackPath.empty());
}

TEST(GpsTrackTest, CrossingAZoneBoundaryOrTheEquatorStaysContinuous) {
    struct Case {
        Walker start;
        bool east;
    };
    const Case cases[] = {
        {{50.0, 5.9997}, true},    // zone 31 into zone 32
        {{-20.0, 11.9997}, true},  // southern hemisphere, zone 32 into 33
        {{-0.0002, 10.0}, false},  // across the equator northward
    };
    for (const Case& c : cases) {
        GpsTrack track;
        std::int32_t restart = 0;
        Walker ship = c.start;
        for (int i = 0; i < 10; ++i) {
            track.AddTrackPoint(ship.lat, ship.lon, restart);
            c.east ? ship.East(10) : ship.North(10);
        }
        EXPECT_EQ(restart, 0) << c.start.lat << " " << c.start.lon;
        EXPECT_EQ(track.trackPath.size(), 9u) << c.start.lat << " " << c.start.lon;
        EXPECT_NEAR(c.east ? track.trackX : -track.trackY, 90.0, 1.0);
    }
}

TEST(GpsTrackTest, ClearKeepsTheOrigin) {
    GpsTrack track;
    std::int32_t restart = 0;
    track.AddTrackPoint(50.0, 1.0, restart);
    track.AddTrackPoint(50.0001, 1.0, restart);
    track.Clear();
    EXPECT_TRUE(track.trackPath.empty());
    EXPECT_EQ(track.trackX, 0.0);
    EXPECT_EQ(track.utmEasting, 0.0);
    EXPECT_EQ(track.firstPointPending, 0);
    EXPECT_NE(track.originEasting, 0.0);
}

TEST(TrackZoomTest, Steps) {
    std::vector<double> in = {0.05};
    while (in.size() < 7) in.push_back(ZoomIn(in.back()));
    EXPECT_EQ(in, (std::vector<double>{0.05, 0.1, 0.25, 0.5, 1.0, 2.5, 2.5}));
    std::vector<double> out = {2.5};
    while (out.size() < 7) out.push_back(ZoomOut(out.back()));
    EXPECT_EQ(out, (std::vector<double>{2.5, 1.0, 0.5, 0.25, 0.1, 0.05, 0.05}));
    EXPECT_EQ(ZoomOut(5.0), 2.5);
    EXPECT_EQ(ZoomIn(7.0), 2.5);
}

TEST(TrackZoomTest, SettingsValueBroughtToTheNearestStep) {
    struct Case {
        double stored, step;
    };
    const Case cases[] = {{0.0, 0.05}, {-3.0, 0.05}, {0.07, 0.05}, {0.08, 0.1}, {0.3, 0.25},
                          {0.8, 1.0},  {1.0, 1.0},   {1.7, 1.0},   {1.8, 2.5},  {1000.0, 2.5}};
    for (const Case& c : cases) EXPECT_EQ(NearestZoomStep(c.stored), c.step) << c.stored;
}

}  // namespace
