// sonvara-cli coverage's options, the per-line statistics as CSV (with the decimal point in
// every locale), the reasons a recording or plan is refused, and outputs put in place only
// when all of them are complete.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "CoverageRun.h"
#include "support/CommaLocale.h"
#include "support/TempDir.h"

namespace {

TEST(CoverageOptionsTest, MistakesNameWhatIsMissingOrWrong) {
    const struct {
        std::vector<std::string> args;
        const char* error;
    } cases[] = {
        {{"--geojson", "o.geojson"}, "at least one recording (FILE.svx or FILE.xtf) is required"},
        {{"a.svx"}, "one of --geojson OUT.geojson and --kml OUT.kml is required"},
        {{"a.svx", "--geojson", "o.geojson", "--kml", "o.kml"},
         "one of --geojson OUT.geojson and --kml OUT.kml is required"},
        {{"a.svx", "--kml", "o.kml", "--csv", "s.csv"},
         "--csv: the statistics are of a plan's lines, give --plan"},
        {{"a.svx", "--kml", "o.kml", "--cell", "0.1"},
         "--cell: wants 0.25 .. 50 metres, not '0.1'"},
        {{"a.svx", "--kml", "o.kml", "--cell", "x"}, "--cell: wants 0.25 .. 50 metres, not 'x'"},
    };
    for (const auto& c : cases) {
        const auto parsed = cli::ParseCoverageArguments(c.args);
        EXPECT_FALSE(parsed.options);
        EXPECT_EQ(parsed.error, c.error);
    }
}

TEST(CoverageOptionsTest, TheOutputsFormatAndCellAreTaken) {
    const auto parsed = cli::ParseCoverageArguments(
        {"a.svx", "b.xtf", "--plan", "p.gpx", "--kml", "o.kml", "--csv", "s.csv", "--cell", "2"});
    ASSERT_TRUE(parsed.options) << parsed.error;
    EXPECT_EQ(parsed.options->inputs, (std::vector<std::string>{"a.svx", "b.xtf"}));
    EXPECT_EQ(parsed.options->output, "o.kml");
    EXPECT_EQ(parsed.options->format, cli::FeatureFormat::Kml);
    EXPECT_EQ(parsed.options->cellM, 2.0);
    const auto json = cli::ParseCoverageArguments({"a.svx", "--geojson", "o.geojson"});
    ASSERT_TRUE(json.options);
    EXPECT_EQ(json.options->format, cli::FeatureFormat::GeoJson);
    EXPECT_EQ(json.options->cellM, 1.0);
}

TEST(CoverageOptionsTest, TheStatisticsAreOneLineALineWithTheDecimalPoint) {
    CommaLocale comma;
    ASSERT_TRUE(comma.Active()) << CommaLocale::kMissing;
    survey::PlanCoverage plan;
    survey::LineStats s;
    s.name = "Line 1, north";
    s.lengthM = 1000.04;
    s.sailedM = 812.5;
    s.pings = 1625;
    s.meanCrossTrackM = 3.254;
    s.maxCrossTrackM = 12.5;
    s.corridorM2 = 80000;
    s.coveredM2 = 60000;
    plan.lines = {s};
    EXPECT_EQ(cli::LineStatsCsv(plan),
              "line,length_m,sailed_m,pings,mean_cross_track_m,max_cross_track_m,corridor_m2,"
              "covered_m2,covered_share\n"
              "\"Line 1, north\",1000.0,812.5,1625,3.25,12.50,80000,60000,0.7500\n");
}

TEST(CoverageOptionsTest, RefusedInputsSayWhichFileAndWhy) {
    TempDir dir;
    const std::string garbage = dir.File("garbage.bin");
    std::ofstream(garbage) << "this is no recording at all";
    const std::string plan = dir.File("plan.csv");
    std::ofstream(plan) << "name,lat1,lon1,lat2,lon2\nA,54.0,10.0,54.0\n";
    const struct {
        std::vector<std::string> args;
        std::string error;
    } cases[] = {
        {{dir.File("missing.svx"), "--kml", "o.kml"}, "cannot open " + dir.File("missing.svx")},
        {{garbage, "--kml", "o.kml"}, garbage + " is neither a data file (.svx) nor an XTF file"},
        {{garbage, "--kml", "o.kml", "--plan", plan}, plan + ":2: "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.error);
        const auto parsed = cli::ParseCoverageArguments(c.args);
        ASSERT_TRUE(parsed.options) << parsed.error;
        cli::CoverageInput input;
        const std::string error = cli::ReadCoverageInput(*parsed.options, input);
        EXPECT_EQ(error.rfind(c.error, 0), 0u) << error;
    }
}

TEST(CoverageOptionsTest, TemporaryFilesAreRenamedIntoPlaceOrAllRemoved) {
    TempDir dir;
    const std::string a = dir.File("a.geojson"), b = dir.File("b.csv");
    std::ofstream(cli::TempName(a)) << "a";
    std::ofstream(cli::TempName(b)) << "b";
    EXPECT_EQ(cli::CommitOutputs({{cli::TempName(a), a}, {cli::TempName(b), b}}), "");
    EXPECT_TRUE(std::filesystem::exists(a));
    EXPECT_TRUE(std::filesystem::exists(b));
    EXPECT_FALSE(std::filesystem::exists(cli::TempName(a)));
    // Into a directory that is not there: the temporary file is removed and the final name said.
    const std::string nowhere = dir.File("no/such/dir/c.csv");
    std::ofstream(cli::TempName(dir.File("c.csv"))) << "c";
    const std::string error = cli::CommitOutputs({{cli::TempName(dir.File("c.csv")), nowhere}});
    EXPECT_EQ(error.rfind("cannot write " + nowhere, 0), 0u) << error;
    EXPECT_FALSE(std::filesystem::exists(cli::TempName(dir.File("c.csv"))));
}

}  // namespace
