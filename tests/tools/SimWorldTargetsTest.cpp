// The simulator's seabed targets at fixed places of the world: where the line across the
// vessel's heading meets them, how a head sees them, and the list --describe prints.

#include <gtest/gtest.h>

#include <cmath>
#include <regex>

#include "SimGps.h"
#include "SimScene.h"

namespace {

TEST(SimWorldTargetsTest, CrossingFollowsPoseAndSide) {
    const sim::WorldTarget box{100.0, 20.0, 4.0, 2.0, 1.2};  // north edge 21, south edge 19
    const struct {
        const char* name;
        sim::Pose pose;
        int side;
        bool meets;
        double nearM, farM;
    } cases[] = {
        {"east, port looks north", {100, 0, 90}, 0, true, 19.0, 21.0},
        {"east, starboard looks south", {100, 0, 90}, 1, false, 0, 0},
        {"west, starboard looks north", {100, 0, 270}, 1, true, 19.0, 21.0},
        {"north, target ahead is on no side", {100, 0, 0}, 0, false, 0, 0},
        {"east, past the target", {103, 0, 90}, 0, false, 0, 0},
        {"east, at its east edge", {101.9, 0, 90}, 0, true, 19.0, 21.0},
        {"from the north, port of a west heading", {100, 40, 270}, 0, true, 19.0, 21.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        sim::Scene::Crossing crossing{};
        ASSERT_EQ(sim::CrossTarget(c.pose, c.side, box, crossing), c.meets);
        if (!c.meets) continue;
        EXPECT_NEAR(crossing.nearM, c.nearM, 1e-9);
        EXPECT_NEAR(crossing.farM, c.farM, 1e-9);
        EXPECT_DOUBLE_EQ(crossing.heightM, 1.2);
    }
}

TEST(SimWorldTargetsTest, AHeadSeesTheTargetWithItsShadowAtTheGroundRange) {
    const sim::Scene scene;
    const sim::WorldTarget t = sim::SurveyTargets()[0];  // 15 m south of the first line
    const std::uint32_t ping = 100;
    const double a = scene.AltitudeM(ping);
    const sim::Pose pose{t.eastM, 0.0, 90.0};
    sim::SceneRequest request;
    request.rangeM = 50;
    std::uint8_t seen[sim::kSamples], away[sim::kSamples];
    scene.SideScanAt(0, 1, ping, pose, request, seen);
    scene.SideScanAt(0, 1, ping, {t.eastM + 50.0, 0.0, 90.0}, request, away);
    const auto sampleAt = [&](double ground) {
        return static_cast<int>(std::sqrt(ground * ground + a * a) / 0.05);
    };
    const double nearM = -t.northM - t.lengthNorthM / 2, farM = nearM + t.lengthNorthM;
    const double shadowEnd = farM + t.heightM * farM / (a - t.heightM);
    int shadowMax = 0;
    for (int i = sampleAt(farM) + 2; i < sampleAt(shadowEnd) - 1; ++i) {
        shadowMax = std::max<int>(shadowMax, seen[i]);
    }
    EXPECT_LE(shadowMax, sim::kNoiseCeiling) << "the shadow holds only noise";
    int brighter = 0, samples = 0;
    for (int i = sampleAt(nearM) + 1; i < sampleAt(farM); ++i, ++samples) {
        brighter += seen[i] > away[i];
    }
    EXPECT_GT(brighter, samples * 3 / 4) << "the target is brighter than the open seabed";
    // The port side, looking away from the target, sees nothing of it.
    std::uint8_t port[sim::kSamples], portAway[sim::kSamples];
    scene.SideScanAt(0, 0, ping, pose, request, port);
    scene.SideScanAt(0, 0, ping, {t.eastM + 50.0, 0.0, 90.0}, request, portAway);
    int portShadow = 0, portSamples = 0;
    for (int i = sampleAt(farM) + 2; i < sampleAt(shadowEnd) - 1; ++i, ++portSamples) {
        portShadow += port[i] <= sim::kNoiseCeiling;
    }
    EXPECT_LT(portShadow, portSamples / 4);
    EXPECT_TRUE(std::equal(port, port + sim::kSamples, portAway)) << "no target on the port side";
}

TEST(SimWorldTargetsTest, FollowingTheVesselShowsTheWorldTargets) {
    sim::Scene following;
    const sim::WorldTarget t = sim::SurveyTargets()[0];
    const double seconds = t.eastM / (4.0 * 1852.0 / 3600.0);  // abeam of the target
    following.FollowVessel(4.0, [seconds] { return seconds; });
    sim::SceneRequest request;
    std::uint8_t live[sim::kSamples], posed[sim::kSamples];
    following.SideScan(0, 1, 7, request, live);
    const sim::VesselFix fix = sim::VesselAt(seconds, 4.0);
    const sim::LocalPlace place = sim::LocalOf(fix.latitude, fix.longitude);
    sim::Scene().SideScanAt(0, 1, 7, {place.eastM, place.northM, fix.headingDeg}, request, posed);
    EXPECT_TRUE(std::equal(live, live + sim::kSamples, posed));
}

TEST(SimWorldTargetsTest, DescribeListsEveryTargetInLatitudeAndLongitude) {
    const std::string text = sim::DescribeTargets();
    const std::vector<sim::WorldTarget> targets = sim::SurveyTargets();
    const std::regex line(
        R"(target (\d+): (\d+\.\d{7}) N (\d+\.\d{7}) E, ([\d.]+) x ([\d.]+) m, ([\d.]+) m high)");
    std::size_t k = 0;
    for (std::sregex_iterator it(text.begin(), text.end(), line), end; it != end; ++it, ++k) {
        ASSERT_LT(k, targets.size());
        double lat = 0, lon = 0;
        sim::LatLonOf({targets[k].eastM, targets[k].northM}, lat, lon);
        EXPECT_EQ(std::stoul((*it)[1]), k + 1);
        EXPECT_NEAR(std::stod((*it)[2]), lat, 1e-7);
        EXPECT_NEAR(std::stod((*it)[3]), lon, 1e-7);
        EXPECT_NEAR(std::stod((*it)[6]), targets[k].heightM, 0.05);
    }
    EXPECT_EQ(k, targets.size());
    // The local frame round-trips.
    const sim::LocalPlace back = sim::LocalOf(54.33, 10.16);
    double lat = 0, lon = 0;
    sim::LatLonOf(back, lat, lon);
    EXPECT_NEAR(lat, 54.33, 1e-12);
    EXPECT_NEAR(lon, 10.16, 1e-12);
}

}  // namespace
