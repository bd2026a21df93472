// The simulated GPS receiver: its sentences decode to the vessel's position, speed, course and
// heading, the vessel runs continuous survey lines, and the GPS options.

#include <gtest/gtest.h>

#include "SimGps.h"
#include "gps/GpsState.h"
#include "support/CommaLocale.h"

namespace {

void Decode(GpsState& gps, const std::string& text) {
    const std::string bytes = text + "$";
    gps.DecodeRead(bytes.data(), bytes.size(), {2, true});
}

TEST(SimGpsTest, SentencesDecodeToTheVessel) {
    for (const char* talker : {"GP", "GN"}) {
        GpsState gps;
        const sim::VesselFix fix = sim::VesselAt(10.0, 4.0);
        Decode(gps, sim::NmeaBatch(fix, 12 * 3600 + 34 * 60 + 56.5, 9, 12, 2026, talker));
        SCOPED_TRACE(talker);
        EXPECT_EQ(gps.timeText, "12:34:56");
        EXPECT_EQ(gps.dateText, "09-DEC-2026");
        EXPECT_EQ(gps.speedText, "4.0 Knots");
        EXPECT_EQ(gps.courseText, "90.0 Deg.");
        EXPECT_EQ(gps.headingText, "92.0 Deg.");
        EXPECT_EQ(gps.qualityText, "From RMC:  A");
        EXPECT_EQ(gps.latitudeText, "54.19.2000 N");
        EXPECT_NEAR(gps.gpsLatitude, fix.latitude, 1e-6);
        EXPECT_NEAR(gps.gpsLongitude, fix.longitude, 1e-6);
        EXPECT_EQ(gps.ringCount, 5);
    }
}

TEST(SimGpsTest, SentencesAreTheSameUnderACommaLocale) {
    const sim::VesselFix fix = sim::VesselAt(10.0, 4.0);
    const std::string plain = sim::NmeaBatch(fix, 45296.5, 9, 12, 2026, "GP");
    ASSERT_NE(plain.find("5419.2000,N"), std::string::npos) << plain;
    const CommaLocale german;
    ASSERT_TRUE(german.Active()) << CommaLocale::kMissing;
    EXPECT_EQ(sim::NmeaBatch(fix, 45296.5, 9, 12, 2026, "GP"), plain);
}

TEST(SimGpsTest, SurveyLinesMakeOneContinuousTrack) {
    GpsState gps;
    for (int second = 0; second < 1200; ++second) {
        Decode(gps, sim::NmeaBatch(sim::VesselAt(second, 4.0), second, 1, 1, 2026, "GP"));
    }
    EXPECT_EQ(gps.trackRestart, 0);
    EXPECT_GT(gps.track.trackPath.size(), 1000u);
    // 1200 s at 4 knots is 2469 m: five legs and a half.
    EXPECT_NEAR(gps.track.trackY, -250.0, 5.0);  // grid north differs from true north
    const sim::VesselFix turning = sim::VesselAt(420.0 / (4.0 * 1852 / 3600), 4.0);
    EXPECT_EQ(turning.courseDeg, 0.0);
    EXPECT_EQ(sim::VesselAt(500.0 / (4.0 * 1852 / 3600), 4.0).courseDeg, 270.0);
}

TEST(SimGpsTest, Options) {
    struct Case {
        std::vector<std::string> args;
        bool ok, given;
        std::vector<std::string> rest;
    };
    const Case cases[] = {
        {{"--fast", "--gps", "pty", "--speed", "6.5", "--rate", "5"}, true, true, {"--fast"}},
        {{"--fast"}, true, false, {"--fast"}},
        {{"--gps"}, false, false, {}},
        {{"--gps", "pty", "--speed", "0"}, false, false, {}},
        {{"--gps", "pty", "--speed", "nan"}, false, false, {}},
        {{"--gps", "pty", "--rate", "100"}, false, false, {}},
        {{"--gps", "pty", "--talker", "HE"}, false, false, {}},
        {{"--speed", "3"}, false, false, {}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = c.args;
        std::optional<sim::GpsSimConfig> config;
        std::string error;
        EXPECT_EQ(sim::TakeGpsArguments(args, config, error), c.ok) << c.args.size() << error;
        EXPECT_EQ(config.has_value(), c.given);
        if (c.ok) {
            EXPECT_EQ(args, c.rest);
        }
    }
    std::vector<std::string> args = {"--gps", "/dev/ttyUSB0", "--speed", "6.5", "--talker", "GN"};
    std::optional<sim::GpsSimConfig> config;
    std::string error;
    ASSERT_TRUE(sim::TakeGpsArguments(args, config, error));
    EXPECT_EQ(config->device, "/dev/ttyUSB0");
    EXPECT_EQ(config->speedKnots, 6.5);
    EXPECT_EQ(config->talker, "GN");
}

}  // namespace
