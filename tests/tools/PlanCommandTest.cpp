// sonvara-cli plan's options, and the plan it writes read back as a plan file.

#include <gtest/gtest.h>

#include <cmath>

#include "PlanOptions.h"
#include "support/TempDir.h"
#include "survey/LineGeometry.h"
#include "survey/PlanFiles.h"

namespace {

std::vector<std::string> Args(std::vector<std::string> extra) {
    std::vector<std::string> args{"--from", "54.0,10.0,54.01,10.0", "--spacing", "80", "--count", "4",
                                  "--gpx", "plan.gpx"};
    args.insert(args.end(), extra.begin(), extra.end());
    return args;
}

TEST(PlanCommandTest, MistakesNameTheirOption) {
    const struct {
        std::vector<std::string> args;
        const char* error;
    } cases[] = {
        {{"--from", "54.0,10.0,54.01", "--spacing", "80", "--count", "4", "--gpx", "p.gpx"},
         "--from: wants LAT1,LON1,LAT2,LON2 in degrees, not '54.0,10.0,54.01'"},
        {{"--from", "54.0,10.0,94.0,10.0", "--spacing", "80", "--count", "4", "--gpx", "p.gpx"},
         "--from: wants LAT1,LON1,LAT2,LON2 in degrees, not '54.0,10.0,94.0,10.0'"},
        {{"--from", "54.0,10.0,54.0,10.0", "--spacing", "80", "--count", "4", "--gpx", "p.gpx"},
         "--from: the line's two ends are less than 1 m apart"},
        {{"--from", "54,10,54.01,10", "--spacing", "0", "--count", "4", "--gpx", "p.gpx"},
         "--spacing: wants a distance above 0, not '0'"},
    };
    for (const auto& c : cases) {
        const auto parsed = cli::ParsePlanArguments(c.args);
        EXPECT_FALSE(parsed.options);
        EXPECT_EQ(parsed.error, c.error);
    }
    EXPECT_FALSE(cli::ParsePlanArguments(Args({"--side", "left"})).options);
    EXPECT_FALSE(cli::ParsePlanArguments({"--spacing", "80"}).options);
}

TEST(PlanCommandTest, ThePlanWrittenReadsBackWithItsLines) {
    TempDir dir;
    for (const bool same : {false, true}) {
        std::vector<std::string> args = Args({"--side", "port"});
        if (same) args.push_back("--same-direction");
        auto parsed = cli::ParsePlanArguments(args);
        ASSERT_TRUE(parsed.options) << parsed.error;
        parsed.options->gpx = dir.File("plan.gpx");
        ASSERT_EQ(cli::WritePlan(*parsed.options), "");
        const survey::PlanRead read = survey::ReadPlan(dir.File("plan.gpx"));
        ASSERT_TRUE(read.Ok()) << read.error;
        ASSERT_EQ(read.lines.size(), 4u);
        EXPECT_EQ(read.lines[3].name, "Line 4");
        // Line 4 lies 240 m to port (west) of the first, sailed north unless it alternates.
        const survey::LinePosition at = survey::Locate(read.lines[0], read.lines[3].points[0]);
        EXPECT_NEAR(at.crossTrackM, -240.0, 0.05);
        const double bearing = survey::BearingDeg(read.lines[1].points[0], read.lines[1].points[1]);
        EXPECT_NEAR(std::remainder(bearing - (same ? 0.0 : 180.0), 360.0), 0.0, 0.01);
    }
}

}  // namespace
