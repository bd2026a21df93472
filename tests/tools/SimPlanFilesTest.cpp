// The simulator's --plan: plan files it refuses with one message, the option itself, and the
// seabed targets that stand beside the plan's lines, seen by the heads of a scene that follows
// the vessel along the plan.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>

#include "PlanPath.h"
#include "SimRecording.h"
#include "recordings/Recording.h"
#include "support/TempDir.h"
#include "survey/LineGeometry.h"
#include "survey/PlanFiles.h"

namespace {

constexpr double kKnot = 1852.0 / 3600.0;

void WriteText(const std::string& file, const std::string& text) {
    std::ofstream(file, std::ios::binary) << text;
}

TEST(SimPlanFilesTest, ABadPlanGivesOneMessageNamingTheFile) {
    TempDir dir;
    const struct {
        const char* name;
        const char* text;  // nullptr: no such file
        std::string message;
    } cases[] = {
        {"fields.csv", "name,lat1,lon1,lat2,lon2\nA,54.32,10.15,54.32\n", "fields.csv:2: "},
        {"latitude.csv", "A,94.32,10.15,54.32,10.16\n", "latitude.csv:1: "},
        {"empty.gpx", "<?xml version=\"1.0\"?><gpx></gpx>\n", "empty.gpx: holds no "},
        {"point.csv", "A,54.32,10.15,54.33,10.15\nB,54.32,10.15,54.32,10.15\n",
         "point.csv: line 'B' is shorter than 1 m"},
        {"far.csv", "A,54.32,10.15,54.33,10.15\nB,55.32,10.15,55.33,10.15\n",
         "far.csv: line 'B' reaches beyond 100 km of the first line's start"},
        {"missing.kml", nullptr, "missing.kml: "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string file = dir.File(c.name);
        if (c.text) WriteText(file, c.text);
        std::string error;
        EXPECT_FALSE(sim::LoadPlanPath(file, error));
        EXPECT_EQ(error.rfind(dir.File(c.message), 0), 0u) << error;
        EXPECT_EQ(error.find('\n'), std::string::npos) << error;
    }
}

TEST(SimPlanFilesTest, PlanOption) {
    const struct {
        std::vector<std::string> args;
        bool ok;
        std::string file;
        std::vector<std::string> rest;
    } cases[] = {
        {{"--gps", "pty", "--plan", "p.gpx", "--fast"}, true, "p.gpx", {"--gps", "pty", "--fast"}},
        {{"--fast"}, true, "", {"--fast"}},
        {{"--plan", "a.csv", "--plan", "b.kml"}, true, "b.kml", {}},
        {{"--fast", "--plan"}, false, "", {}},
        {{"--plan", ""}, false, "", {}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = c.args;
        std::string file, error;
        EXPECT_EQ(sim::TakePlanArgument(args, file, error), c.ok) << c.args.size();
        if (!c.ok) {
            EXPECT_NE(error.find("--plan"), std::string::npos) << error;
            continue;
        }
        EXPECT_EQ(file, c.file);
        EXPECT_EQ(args, c.rest);
    }
}

TEST(SimPlanFilesTest, TargetsStandBesideThePlansLinesAndTheHeadsSeeThem) {
    TempDir dir;
    const survey::GeoPoint a{-12.5, 130.8}, b = survey::Travel(a, 300.0, 400.0);
    const survey::GeoPoint c = survey::Travel(b, 30.0, 70.0), d = survey::Travel(a, 30.0, 70.0);
    const std::vector<survey::SurveyLine> lines = {{"One", {a, b}}, {"Two", {c, d}}};
    WriteText(dir.File("plan.gpx"), survey::PlanGpx(lines));
    std::string error;
    const auto path = sim::LoadPlanPath(dir.File("plan.gpx"), error);
    ASSERT_TRUE(path) << error;
    ASSERT_GE(path->Targets().size(), lines.size());
    for (const sim::WorldTarget& t : path->Targets()) {
        double lat = 0, lon = 0;
        path->LatLon({t.eastM, t.northM}, lat, lon);
        double nearest = 1e9;
        for (const survey::SurveyLine& line : lines) {
            const survey::LinePosition p = survey::Locate(line, {lat, lon});
            if (p.alongTrackM >= 0 && p.toEndM >= 0)
                nearest = std::min(nearest, std::fabs(p.crossTrackM));
        }
        // Within the swath of the default 50 m range, clear of the vessel's steering.
        EXPECT_GT(nearest, sim::kSteeringErrorM + std::max(t.lengthEastM, t.lengthNorthM));
        EXPECT_LT(nearest, 40.0);
    }
    const std::string described = sim::DescribeTargets(*path);
    EXPECT_EQ(std::count(described.begin(), described.end(), '\n'),
              static_cast<long>(path->Targets().size()));

    // Sailing the first line, the heads of a scene following the plan see what a pose over the
    // plan's targets shows, and abeam of the targets that differs from the bare seabed (the
    // same ping far from any target: only the targets depend on the pose).
    const double knots = 4.0;
    int seen = 0;
    for (double along = 0; along <= 400.0; along += 2.0) {
        const double seconds = along / (knots * kKnot);
        sim::Scene following;
        following.FollowPath(path, knots, [seconds] { return seconds; });
        sim::Scene planned, bareScene;
        planned.UsePath(path);
        const sim::Pose pose = sim::PoseOn(*path, seconds, knots);
        for (int side = 0; side < 2; ++side) {
            std::uint8_t live[sim::kSamples], posed[sim::kSamples], bare[sim::kSamples];
            sim::SceneRequest request;
            following.SideScan(0, side, 9, request, live);
            planned.SideScanAt(0, side, 9, pose, request, posed);
            bareScene.SideScanAt(0, side, 9, {pose.eastM + 1e5, pose.northM, pose.headingDeg},
                                 request, bare);
            ASSERT_TRUE(std::equal(live, live + sim::kSamples, posed)) << along;
            seen += !std::equal(live, live + sim::kSamples, bare);
        }
    }
    // Two targets of 2 m and 3 m along the line, at 2 m steps of the vessel: a few pings each.
    EXPECT_GE(seen, 2);
}

TEST(SimPlanFilesTest, ARecordingWrittenAlongThePlanHasItsPositionsOnTheFirstLine) {
    TempDir dir;
    const survey::GeoPoint a{41.38, 2.2};
    const std::vector<survey::SurveyLine> lines = {
        {"One", {a, survey::Travel(a, 135.0, 400.0)}},
        {"Two", {survey::Travel(a, 45.0, 60.0), survey::Travel(a, 45.0, 400.0)}}};
    std::string error;
    sim::RecordingPlan plan;
    plan.records = 200;  // 100 s at 4 knots: 206 m of the first line
    plan.path = sim::PlanPath::Make(lines, "plan", error);
    ASSERT_TRUE(plan.path) << error;
    ASSERT_TRUE(sim::WriteSimulatedRecording(dir.File("plan.svx"), plan, error)) << error;
    const auto reader = rec::OpenRecording(dir.File("plan.svx"), error);
    ASSERT_TRUE(reader) << error;
    int fixes = 0;
    double lastAlong = -1.0;
    svx::ExportReport report;
    ASSERT_TRUE(reader->Walk(
        [&](const rec::PingValues& ping) {
            if (!ping.nav.hasFix) return true;
            const survey::LinePosition at =
                survey::Locate(lines[0], {ping.nav.latitude, ping.nav.longitude});
            EXPECT_LE(std::fabs(at.crossTrackM), sim::kSteeringErrorM + 0.3) << ping.nav.ping;
            EXPECT_GE(at.alongTrackM, lastAlong - 0.3) << ping.nav.ping;
            lastAlong = at.alongTrackM;
            ++fixes;
            return true;
        },
        {}, report))
        << report.error;
    EXPECT_EQ(fixes, plan.records);
    // The last batch of sentences is that of the last whole second, 99 s in.
    EXPECT_NEAR(lastAlong, 99.0 * plan.speedKnots * kKnot, 0.5);
}

}  // namespace
