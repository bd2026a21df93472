// Plan files: GPX routes and track segments, KML LineStrings and CSV lines read as survey
// lines; a plan written as GPX routes and read back, by us and by gpsbabel; files that cannot
// be a plan give one message naming the file and the line, and no lines.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "support/TempDir.h"
#include "survey/PlanFiles.h"

namespace {

using survey::PlanRead;
using survey::SurveyLine;

std::vector<std::string> Names(const PlanRead& read) {
    std::vector<std::string> names;
    for (const SurveyLine& line : read.lines) names.push_back(line.name + ":" + std::to_string(line.points.size()));
    return names;
}

const char* const kGpx = R"(<?xml version="1.0" encoding="UTF-8"?>
<gpx version="1.1" creator="chart" xmlns="http://www.topografix.com/GPX/1/1">
<wpt lat="54.5" lon="10.5"><name>buoy</name></wpt>
<rte><name>L1</name>
<rtept lat="54.0" lon="10.0"/><rtept lat="54.01" lon="10.0"/></rte>
<rte><name>L2 &amp; back</name>
<rtept lat="54.01" lon="10.001"/><rtept lat="54.0" lon="10.001"/><rtept lat="53.99" lon="10.002"/></rte>
<trk><name>old run</name>
<trkseg><trkpt lat="54.1" lon="10.1"/><trkpt lat="54.2" lon="10.1"/></trkseg>
<trkseg><trkpt lat="54.2" lon="10.2"/><trkpt lat="54.1" lon="10.2"/></trkseg>
</trk>
</gpx>
)";

const char* const kKml = R"(<?xml version="1.0" encoding="UTF-8"?>
<kml xmlns="http://www.opengis.net/kml/2.2"><Document><name>plan</name>
<Placemark><name>North</name><LineString><coordinates>
  10.0,54.0,0 10.0,54.01,0
</coordinates></LineString></Placemark>
<Placemark><name>Pin</name><Point><coordinates>10.5,54.5</coordinates></Point></Placemark>
<Placemark><LineString><coordinates>10.001,54.01 10.001,54.0</coordinates></LineString></Placemark>
</Document></kml>
)";

TEST(PlanFilesTest, RoutesTrackSegmentsLineStringsAndCsvLinesAreLines) {
    const PlanRead gpx = survey::ReadGpxPlan(kGpx, "plan.gpx");
    ASSERT_TRUE(gpx.Ok()) << gpx.error;
    EXPECT_EQ(Names(gpx), (std::vector<std::string>{"L1:2", "L2 & back:3", "old run:2", "old run (2):2"}));
    EXPECT_EQ(gpx.lines[1].points[2].latitude, 53.99);
    EXPECT_EQ(gpx.lines[1].points[2].longitude, 10.002);

    const PlanRead kml = survey::ReadKmlPlan(kKml, "plan.kml");
    ASSERT_TRUE(kml.Ok()) << kml.error;
    EXPECT_EQ(Names(kml), (std::vector<std::string>{"North:2", "Line 2:2"}));
    EXPECT_EQ(kml.lines[0].points[1].latitude, 54.01);
    EXPECT_EQ(kml.lines[0].points[1].longitude, 10.0);

    const PlanRead csv = survey::ReadCsvPlan(
        "name,lat1,lon1,lat2,lon2\r\nA,54.0,10.0,54.01,10.0\r\n\r\n\"B, west\", 54.01 ,9.99,54.0,9.99,53.99,9.99\n",
        "plan.csv");
    ASSERT_TRUE(csv.Ok()) << csv.error;
    EXPECT_EQ(Names(csv), (std::vector<std::string>{"A:2", "B, west:3"}));
    EXPECT_EQ(csv.lines[1].points[0].latitude, 54.01);
}

TEST(PlanFilesTest, FilesThatCannotBeAPlanSayWhereAndLoadNothing) {
    const struct {
        const char* name;
        std::string text;
        std::string error;
    } cases[] = {
        {"empty.gpx", "<gpx><wpt lat=\"1\" lon=\"2\"/></gpx>", "empty.gpx: holds no route or track"},
        {"one.gpx", "<gpx>\n<rte><name>A</name><rtept lat=\"1\" lon=\"2\"/><rtept lat=\"1\" lon=\"3\"/></rte>\n"
                    "<rte><name>B</name>\n<rtept lat=\"1\" lon=\"2\"/></rte></gpx>",
         "one.gpx:3: line 'B' has 1 point (a line wants two)"},
        {"range.gpx", "<gpx>\n<rte>\n<rtept lat=\"91\" lon=\"2\"/></rte></gpx>",
         "range.gpx:3: latitude 91.000000 is out of range"},
        {"broken.gpx", "<gpx>\n<rte>\n</gpx>", "broken.gpx:3: mismatched tag"},
        {"pins.kml", "<kml><Placemark><Point><coordinates>1,2</coordinates></Point></Placemark></kml>",
         "pins.kml: holds no LineString"},
        {"range.kml", "<kml>\n<LineString><coordinates>181,2 3,4</coordinates></LineString></kml>",
         "range.kml:2: longitude 181.000000 is out of range"},
        {"comma.csv", "A;54,5;10,1;54,6;10,1\n",
         "comma.csv:1: fields separated by ';' (numbers with a decimal comma?): write name,lat,lon,... "
         "with decimal points"},
        {"short.csv", "A,54.0,10.0,54.1,10.0\nB,54.0,10.0\n",
         "short.csv:2: a line wants a name and at least two points (lat,lon)"},
        {"odd.csv", "A,54.0,10.0,54.1,10.0,54.2\n", "odd.csv:1: a point lacks its longitude"},
        {"word.csv", "A,54.0,10.0,54.1,ten\n", "word.csv:1: '54.1,ten' is not a latitude and longitude"},
        {"nothing.csv", "name,lat1,lon1,lat2,lon2\n", "nothing.csv: holds no survey line"},
        {"plan.txt", "A,54.0,10.0,54.1,10.0\n", "plan.txt: a plan is a .gpx, .kml or .csv file"},
    };
    TempDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.File(c.name);
        TempDir::WriteText(path, c.text);
        const PlanRead read = survey::ReadPlan(path);
        EXPECT_EQ(read.error, dir.File("") + c.error);
        EXPECT_TRUE(read.lines.empty());
    }
}

TEST(PlanFilesTest, AHundredMegabyteFileIsRefusedUnread) {
    TempDir dir;
    const std::string path = dir.File("huge.gpx");
    { std::ofstream(path).put('<'); }
    std::filesystem::resize_file(path, 100u << 20);
    const PlanRead read = survey::ReadPlan(path);
    EXPECT_EQ(read.error, path + ": 100.0 MB is too large for a plan (at most 16 MB)");
    EXPECT_TRUE(read.lines.empty());
}

TEST(PlanFilesTest, APlanWrittenAsGpxRoutesReadsBackHereAndInGpsbabel) {
    const PlanRead plan = survey::ReadGpxPlan(kGpx, "plan.gpx");
    ASSERT_TRUE(plan.Ok());
    TempDir dir;
    const std::string path = dir.File("out.gpx");
    TempDir::WriteText(path, survey::PlanGpx(plan.lines));
    const PlanRead back = survey::ReadPlan(path);
    ASSERT_TRUE(back.Ok()) << back.error;
    ASSERT_EQ(Names(back), Names(plan));
    for (std::size_t i = 0; i < plan.lines.size(); ++i) {
        for (std::size_t k = 0; k < plan.lines[i].points.size(); ++k) {
            EXPECT_NEAR(back.lines[i].points[k].latitude, plan.lines[i].points[k].latitude, 1e-8);
            EXPECT_NEAR(back.lines[i].points[k].longitude, plan.lines[i].points[k].longitude, 1e-8);
        }
    }
    // gpsbabel reads the routes and writes them again as it understood them.
    const std::string again = dir.File("again.gpx");
    const std::string command = "gpsbabel -r -i gpx -f '" + path + "' -o gpx -F '" + again + "' 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    const std::string text = TempDir::ReadText(again);
    const auto count = [&](const std::string& what) {
        int n = 0;
        for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
        return n;
    };
    EXPECT_EQ(count("<rte>"), 4) << text;
    EXPECT_EQ(count("<rtept "), 2 + 3 + 2 + 2) << text;
    EXPECT_EQ(count("<name>L2 &amp; back</name>"), 1) << text;
    EXPECT_EQ(count("lat=\"53.990000000\" lon=\"10.002000000\""), 1) << text;
}

}  // namespace
