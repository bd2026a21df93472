// sonvara-cli coverage as a process on recordings of the simulator sailing its first line east
// and an XTF file made byte by byte sailing north: the polygons read back with ogrinfo and
// OGR (count, type, validity, area against the swath worked out here, RFC 7946's order and
// winding), a plan's lines and holidays in the output and the CSV, and bad input refused with
// nothing left behind.

#include <gdal.h>
#include <ogr_api.h>
#include <ogr_srs_api.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <cmath>
#include <filesystem>
#include <map>

#include "../datafiles/XtfTestFile.h"
#include "../support/TempDir.h"
#include "CoverageReadBack.h"
#include "ProcessSupport.h"
#include "SimGps.h"
#include "SimRecording.h"

namespace {

using coveragetest::Feature;
using coveragetest::OfKind;
using coveragetest::OgrinfoCount;
using coveragetest::OgrinfoInvalid;
using coveragetest::ReadFeatures;

constexpr int kRecords = 300;  // half a second apart at 4 knots: 307.6 m east
constexpr double kSailedM = (kRecords - 1) / 2 * 4.0 * 1852 / 3600;
// The simulator's 50 m range (49.975 m to the last sample) at its altitudes of 6.5 to 13.5 m.
const double kGroundLow = std::sqrt(49.975 * 49.975 - 13.5 * 13.5);
const double kGroundHigh = std::sqrt(49.975 * 49.975 - 6.5 * 6.5);
constexpr int kXtfPings = 200;  // 2 m apart, north: 398 m; range 50 m at 5 m altitude
const double kXtfGround = std::sqrt(50.0 * 50 - 5 * 5);

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

// The pings; the magic number of ping `damaged` (when >= 0) is gone.
std::vector<std::uint8_t> NorthboundXtf(int damaged = -1) {
    xtftest::XtfBytes f;
    f.Header(3, {{1, 1, 8, 120, "port"}, {2, 1, 8, 120, "stbd"}});
    for (int k = 0; k < kXtfPings; ++k) {
        xtftest::TestPing p;
        p.ping = static_cast<std::uint32_t>(k + 1);
        p.second = k % 60;
        p.minute = 30 + k / 60;
        p.sensorY = 54.0 + k * 2.0 / 111132.0;
        p.sensorX = 10.0;
        p.altitude = 5.0f;
        for (std::uint16_t side = 0; side < 2; ++side) {
            xtftest::TestChannel c;
            c.number = side;
            c.kHz = 120;
            c.bytesPerSample = 1;
            c.samples.assign(200, 80);
            p.channels.push_back(c);
        }
        const std::size_t at = f.Ping(p);
        if (k == damaged) f.bytes[at] = f.bytes[at + 1] = 0;
    }
    return f.bytes;
}

// A plan of line A 10 m north of the sailed track and line B 90 m north of it, both from the
// track's start 300 m east.
std::string PlanText() {
    double lat[4], lon[4];
    const sim::LocalPlace places[4] = {{0, 10}, {300, 10}, {0, 90}, {300, 90}};
    for (int i = 0; i < 4; ++i) sim::LatLonOf(places[i], lat[i], lon[i]);
    return QString::asprintf(
               "name,lat1,lon1,lat2,lon2\nA,%.8f,%.8f,%.8f,%.8f\nB,%.8f,%.8f,%.8f,%.8f\n", lat[0],
               lon[0], lat[1], lon[1], lat[2], lon[2], lat[3], lon[3])
        .toStdString();
}

class CoverageTools : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir = new TempDir;
        std::string error;
        line = dir->File("line.svx");
        EXPECT_TRUE(sim::WriteSimulatedRecording(line, {.records = kRecords}, error)) << error;
        xtf = dir->File("north.xtf");
        TempDir::WriteBytes(xtf, NorthboundXtf());
        plan = dir->File("plan.csv");
        TempDir::WriteText(plan, PlanText());
    }
    static void TearDownTestSuite() { delete dir; }
    static TempDir* dir;
    static std::string line, xtf, plan;
};
TempDir* CoverageTools::dir = nullptr;
std::string CoverageTools::line, CoverageTools::xtf, CoverageTools::plan;

TEST_F(CoverageTools, EachRecordingIsOneValidPolygonOfItsLengthTimesTheSwath) {
    const std::string out = dir->File("two.geojson");
    const ProgramRun run =
        RunProgram(SONVARA_CLI_PATH, {"coverage", Q(line), Q(xtf), "--geojson", Q(out)});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(OgrinfoCount(out, "coverage"), 2);
    EXPECT_EQ(OgrinfoInvalid(out), 0);
    const std::vector<Feature> polygons = OfKind(ReadFeatures(out), "coverage");
    ASSERT_EQ(polygons.size(), 2u);
    double svxArea = 0, xtfArea = 0;
    for (const Feature& p : polygons) {
        EXPECT_EQ(p.type, wkbPolygon);
        EXPECT_TRUE(p.valid);
        EXPECT_NEAR(p.numbers.at("area_m2") / p.areaM2, 1.0, 0.002);
        (p.areaM2 > 35000 ? xtfArea : svxArea) = p.areaM2;
    }
    // The line east, its swath square to a heading 2 degrees off the course.
    EXPECT_GE(svxArea, 0.98 * kSailedM * 2 * kGroundLow * std::cos(2 * M_PI / 180));
    EXPECT_LE(svxArea, 1.02 * (kSailedM + 4) * 2 * kGroundHigh);
    EXPECT_NEAR(xtfArea / ((kXtfPings - 1) * 2.0 * 2 * kXtfGround), 1.0, 0.02);
    // RFC 7946: longitude first, the outer ring counter-clockwise.
    QFile file(Q(out));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QJsonArray features =
        QJsonDocument::fromJson(file.readAll()).object()["features"].toArray();
    ASSERT_EQ(features.size(), 2);
    for (const QJsonValue& f : features) {
        const QJsonArray ring = f["geometry"]["coordinates"].toArray()[0].toArray();
        double twiceArea = 0;
        for (qsizetype i = 0; i + 1 < ring.size(); ++i) {
            const QJsonArray a = ring[i].toArray(), b = ring[i + 1].toArray();
            EXPECT_NEAR(a[0].toDouble(), 10.1, 0.2);   // longitude
            EXPECT_NEAR(a[1].toDouble(), 54.15, 0.2);  // latitude
            twiceArea += a[0].toDouble() * b[1].toDouble() - b[0].toDouble() * a[1].toDouble();
        }
        EXPECT_GT(twiceArea, 0) << "clockwise outer ring";
    }
}

// The simulator's lines, 50 m apart, sailed back and forth: the turns at the ends leave a
// pocket inside the covered area, a hole of the one polygon, and the polygon stays valid.
TEST_F(CoverageTools, ARunThatTurnsBackIsOneValidPolygonWithAHole) {
    std::string error;
    const std::string turns = dir->File("turns.svx");
    ASSERT_TRUE(sim::WriteSimulatedRecording(turns, {.records = 2000}, error)) << error;
    const std::string out = dir->File("turns.geojson");
    const ProgramRun run =
        RunProgram(SONVARA_CLI_PATH, {"coverage", Q(turns), "--geojson", Q(out)});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(OgrinfoInvalid(out), 0);
    GDALAllRegister();
    GDALDatasetH dataset = GDALOpenEx(out.c_str(), GDAL_OF_VECTOR, nullptr, nullptr, nullptr);
    ASSERT_NE(dataset, nullptr);
    OGRLayerH layer = GDALDatasetGetLayer(dataset, 0);
    EXPECT_EQ(OGR_L_GetFeatureCount(layer, TRUE), 1);
    OGRFeatureH feature = OGR_L_GetNextFeature(layer);
    ASSERT_NE(feature, nullptr);
    OGRGeometryH polygon = OGR_F_GetGeometryRef(feature);
    EXPECT_EQ(wkbFlatten(OGR_G_GetGeometryType(polygon)), wkbPolygon);
    EXPECT_TRUE(OGR_G_IsValid(polygon));
    EXPECT_GE(OGR_G_GetGeometryCount(polygon), 2) << "no hole";
    OGR_F_Destroy(feature);
    GDALClose(dataset);
}

// A damaged packet is stepped over and named; the coverage is written, joined over the gap,
// and the exit status says the input was damaged.
TEST_F(CoverageTools, ADamagedPingIsSteppedOverNamedAndTheRestCovered) {
    const std::string damaged = dir->File("damaged.xtf"), out = dir->File("damaged.kml");
    TempDir::WriteBytes(damaged, NorthboundXtf(kXtfPings / 2));
    const ProgramRun run = RunProgram(SONVARA_CLI_PATH, {"coverage", Q(damaged), "--kml", Q(out)});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("damaged")) << run.err.toStdString();
    const std::vector<Feature> polygons = OfKind(ReadFeatures(out), "coverage");
    ASSERT_EQ(polygons.size(), 1u);
    EXPECT_TRUE(polygons[0].valid);
    EXPECT_NEAR(polygons[0].areaM2 / ((kXtfPings - 1) * 2.0 * 2 * kXtfGround), 1.0, 0.02);
}

// Line B of the plan is never sailed: its corridor and the north edge of A's are the holiday.
TEST_F(CoverageTools, APlansLinesAndHolidaysAreInTheOutputAndTheCsv) {
    // Half the nominal swath: between the ground ranges of the highest and lowest altitude.
    const double half = (kGroundLow + kGroundHigh) / 2, spread = (kGroundHigh - kGroundLow) / 2;
    for (const char* format : {"--geojson", "--kml"}) {
        SCOPED_TRACE(format);
        const std::string out =
            dir->File(format == std::string("--kml") ? "plan.kml" : "plan.geojson");
        const std::string csv = dir->File("stats.csv");
        const ProgramRun run = RunProgram(SONVARA_CLI_PATH, {"coverage", Q(line), "--plan", Q(plan),
                                                             format, Q(out), "--csv", Q(csv)});
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_EQ(OgrinfoCount(out, "line"), 2);
        EXPECT_EQ(OgrinfoInvalid(out), 0);
        const std::vector<Feature> all = ReadFeatures(out);
        const std::vector<Feature> lines = OfKind(all, "line"), holidays = OfKind(all, "holiday");
        ASSERT_EQ(lines.size(), 2u);
        ASSERT_GE(holidays.size(), 1u);
        double holidayM2 = 0;
        for (const Feature& h : holidays) {
            EXPECT_TRUE(h.valid);
            holidayM2 += h.areaM2;
        }
        // From A's corridor edge (the swath's reach, north) to B's far edge.
        EXPECT_NEAR(holidayM2 / (300 * 90), 1.0, 0.03 + spread * 2 / 90);
        const Feature& a = lines[0];
        EXPECT_NEAR(a.numbers.at("mean_cross_track_m"), 10, 0.5);
        EXPECT_NEAR(a.numbers.at("sailed_m"), 300, 4);
        EXPECT_NEAR(a.numbers.at("covered_share"), (2 * half - 10) / (2 * half), 0.02);
        const Feature& b = lines[1];
        EXPECT_EQ(b.numbers.at("pings"), 0);
        EXPECT_NEAR(b.numbers.at("covered_share"), (2 * half - 90) / (2 * half), 0.03);
        // The CSV says the same of each line.
        const QStringList rows =
            QString::fromStdString(TempDir::ReadText(csv)).split('\n', Qt::SkipEmptyParts);
        ASSERT_EQ(rows.size(), 3);
        EXPECT_TRUE(rows[1].startsWith("A,"));
        EXPECT_NEAR(rows[1].split(',')[4].toDouble(), a.numbers.at("mean_cross_track_m"), 0.01);
        EXPECT_NEAR(rows[2].split(',')[8].toDouble(), b.numbers.at("covered_share"), 1e-4);
    }
}

TEST_F(CoverageTools, BadInputIsOneLineAndLeavesNoOutput) {
    std::string error;
    const std::string noGps = dir->File("nogps.svx");
    ASSERT_TRUE(sim::WriteSimulatedRecording(noGps, {.records = 20, .gps = false}, error)) << error;
    const std::string garbage = dir->File("garbage.svx");
    TempDir::WriteText(garbage, std::string(4000, 'x'));
    const std::string badPlan = dir->File("bad.csv");
    TempDir::WriteText(badPlan, "name,lat1,lon1,lat2,lon2\nA,54.0,10.0,95.0,10.0\n");
    const std::string out = dir->File("bad.geojson");
    const struct {
        QStringList args;
        std::string message;
    } cases[] = {
        {{Q(line), Q(noGps), "--geojson", Q(out)}, noGps + ": no positions: no coverage"},
        {{Q(garbage), "--geojson", Q(out)}, garbage},
        {{Q(line), "--plan", Q(badPlan), "--geojson", Q(out)}, badPlan + ":2: "},
        {{Q(line), "--geojson", Q(dir->File("no/such/dir/out.geojson"))},
         "cannot write " + dir->File("no/such/dir/out.geojson") + ": "},
        {{Q(line), "--plan", Q(plan), "--geojson", Q(out), "--csv",
          Q(dir->File("no/dir/stats.csv"))},
         "cannot write " + dir->File("no/dir/stats.csv") + ": "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        const ProgramRun run = RunProgram(SONVARA_CLI_PATH, QStringList{"coverage"} + c.args);
        EXPECT_EQ(run.exitCode, 1);
        const QStringList lines = QString::fromUtf8(run.err).split('\n', Qt::SkipEmptyParts);
        ASSERT_FALSE(lines.isEmpty());
        EXPECT_TRUE(lines.last().startsWith(Q("sonvara-cli: " + c.message)))
            << run.err.toStdString();
        EXPECT_FALSE(std::filesystem::exists(out));
        EXPECT_FALSE(std::filesystem::exists(out + ".tmp"));
    }
}

}  // namespace
