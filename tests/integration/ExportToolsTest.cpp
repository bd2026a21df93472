// sonvara-cli xtf, mosaic and render as processes on recordings of the simulator sailing its first
// line east at 4 knots: gdalinfo's view of the GeoTIFF, the raster read back with GDAL, the
// KMZ opened as a zip, and what the tools do with bad input.

#include <gdal.h>
#include <zip.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <optional>

#include "../export/TargetSearch.h"
#include "../support/TempDir.h"
#include "ProcessSupport.h"
#include "SimGps.h"
#include "SimRecording.h"
#include "SimScene.h"
#include "gps/Utm.h"

namespace {

constexpr int kRecords = 300;
constexpr double kPi = 3.14159265358979323846;

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

std::string MakeRecording(const TempDir& dir, const std::string& name, sim::RecordingPlan plan) {
    std::string error;
    EXPECT_TRUE(sim::WriteSimulatedRecording(dir.File(name), plan, error)) << error;
    return dir.File(name);
}

// The ship's fixes of the recording (one a second) as a UTM box and a latitude/longitude box.
struct Track {
    double minE = 1e12, maxE = -1e12, minN = 1e12, maxN = -1e12;
    double minLat = 90, maxLat = -90, minLon = 180, maxLon = -180;
};

Track TrackOf(int records) {
    Track t;
    for (int s = 0; s <= (records - 1) / 2; ++s) {
        const sim::VesselFix fix = sim::VesselAt(s, 4.0);
        const UtmPosition p = LatLonToUtmInZone(fix.latitude, fix.longitude, 32, false);
        t.minE = std::min(t.minE, p.easting);
        t.maxE = std::max(t.maxE, p.easting);
        t.minN = std::min(t.minN, p.northing);
        t.maxN = std::max(t.maxN, p.northing);
        t.minLat = std::min(t.minLat, fix.latitude);
        t.maxLat = std::max(t.maxLat, fix.latitude);
        t.minLon = std::min(t.minLon, fix.longitude);
        t.maxLon = std::max(t.maxLon, fix.longitude);
    }
    return t;
}

class ExportTools : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir = new TempDir;
        line = MakeRecording(*dir, "line.svx", {.records = kRecords});
    }
    static void TearDownTestSuite() { delete dir; }
    static TempDir* dir;
    static std::string line;
};
TempDir* ExportTools::dir = nullptr;
std::string ExportTools::line;

TEST_F(ExportTools, GdalinfoSeesTheZonePixelSizeAndBounds) {
    const std::string tif = dir->File("line.tif");
    const ProgramRun run = RunProgram(
        SONVARA_CLI_PATH, {"mosaic", Q(line), "--geotiff", Q(tif), "--resolution", "0.25"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const ProgramRun info = RunProgram("gdalinfo", {"-json", Q(tif)});
    ASSERT_EQ(info.exitCode, 0) << info.err.toStdString();
    const QJsonObject json = QJsonDocument::fromJson(info.out).object();
    EXPECT_TRUE(
        json["coordinateSystem"].toObject()["wkt"].toString().contains("ID[\"EPSG\",32632]"));
    const QJsonArray gt = json["geoTransform"].toArray();
    EXPECT_DOUBLE_EQ(gt[1].toDouble(), 0.25);
    EXPECT_DOUBLE_EQ(gt[5].toDouble(), -0.25);
    const QJsonObject band = json["bands"].toArray()[0].toObject();
    EXPECT_EQ(band["type"].toString(), "Byte");
    EXPECT_EQ(band["noDataValue"].toDouble(), 0.0);
    const QJsonArray size = json["size"].toArray();
    const double west = gt[0].toDouble(), north = gt[3].toDouble();
    const double east = west + size[0].toDouble() * 0.25;
    const double south = north - size[1].toDouble() * 0.25;
    // The track widened across by the ground range of the 50 m slant range (altitude 6.5 to
    // 13.5 m), the swath tilted 2 degrees by the heading.
    const Track track = TrackOf(kRecords);
    const double ground = std::sqrt(49.975 * 49.975 - 13.5 * 13.5) * std::cos(2 * kPi / 180);
    EXPECT_LE(west, track.minE);
    EXPECT_GE(east, track.maxE);
    EXPECT_GE(north, track.maxN + ground);
    EXPECT_LE(south, track.minN - ground);
    // The swath is as wide as twice the ground range, not more (the line east is not a grid
    // line: its northing changes by the meridian convergence).
    const double widest = std::sqrt(49.975 * 49.975 - 6.5 * 6.5) + 0.5;
    EXPECT_LE(north - south, 2 * widest + (track.maxN - track.minN) + 1.0);
}

void ExpectTargetsInMosaicOf(const std::string& input, const std::string& tif) {
    ASSERT_EQ(RunProgram(SONVARA_CLI_PATH,
                         {"mosaic", Q(input), "--geotiff", Q(tif), "--resolution", "0.25"})
                  .exitCode,
              0);
    GDALAllRegister();
    GDALDatasetH dataset = GDALOpen(tif.c_str(), GA_ReadOnly);
    ASSERT_NE(dataset, nullptr);
    double gt[6];
    ASSERT_EQ(GDALGetGeoTransform(dataset, gt), CE_None);
    const int w = GDALGetRasterXSize(dataset), h = GDALGetRasterYSize(dataset);
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(w) * h);
    ASSERT_EQ(GDALRasterIO(GDALGetRasterBand(dataset, 1), GF_Read, 0, 0, w, h, pixels.data(), w, h,
                           GDT_Byte, 0, 0),
              CE_None);
    GDALClose(dataset);
    const auto pixel = [&](double e, double n) {
        const int x = static_cast<int>(std::floor((e - gt[0]) / gt[1]));
        const int y = static_cast<int>(std::floor((n - gt[3]) / gt[5]));
        if (x < 0 || y < 0 || x >= w || y >= h) return 0.0;
        return double(pixels[static_cast<std::size_t>(y) * w + x]);
    };
    int seen = 0;
    for (const sim::WorldTarget& t : sim::SurveyTargets()) {
        if (t.eastM > 290 || t.northM > 30) continue;
        SCOPED_TRACE(t.eastM);
        double lat = 0, lon = 0;
        sim::LatLonOf({t.eastM, t.northM}, lat, lon);
        const UtmPosition c = LatLonToUtmInZone(lat, lon, 32, false);
        const auto [dx, dy] = BestTargetShift(pixel, 0.25, c.easting, c.northing, t.lengthEastM,
                                              t.lengthNorthM, t.northM < 0 ? -1.0 : 1.0);
        EXPECT_LE(std::abs(dx), 2);
        EXPECT_LE(std::abs(dy), 2);
        ++seen;
    }
    EXPECT_EQ(seen, 3);
}

// The targets of the simulator's seabed in a mosaic of the recording, and in one of its XTF
// export (positions, headings and altitudes then come from the XTF file).
TEST_F(ExportTools, TargetsInTheGeoTiffAreWhereTheSimulatorPutThem) {
    const std::string xtf = dir->File("targets.xtf");
    ASSERT_EQ(RunProgram(SONVARA_CLI_PATH, {"xtf", Q(line), Q(xtf)}).exitCode, 0);
    for (const std::string& input : {line, xtf}) {
        SCOPED_TRACE(input);
        ExpectTargetsInMosaicOf(input, dir->File("targets.tif"));
    }
}


// The entry's bytes, or empty when the archive does not hold it.
std::string ZipEntry(zip_t* archive, const char* name) {
    zip_stat_t stat;
    if (zip_stat(archive, name, 0, &stat) != 0) return {};
    zip_file_t* file = zip_fopen(archive, name, 0);
    if (!file) return {};
    std::string bytes(stat.size, '\0');
    const zip_int64_t read = zip_fread(file, bytes.data(), stat.size);
    zip_fclose(file);
    return read == static_cast<zip_int64_t>(stat.size) ? bytes : std::string();
}

double KmlValue(const std::string& kml, const char* tag) {
    const QRegularExpressionMatch m =
        QRegularExpression(QString("<%1>([-0-9.]+)</%1>").arg(tag)).match(Q(kml));
    EXPECT_TRUE(m.hasMatch()) << tag;
    return m.captured(1).toDouble();
}

TEST_F(ExportTools, KmzHoldsTheOverlayAndABoxAroundTheTrack) {
    const std::string kmz = dir->File("line.kmz");
    const ProgramRun run = RunProgram(SONVARA_CLI_PATH, {"mosaic", Q(line), "--kmz", Q(kmz)});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    int code = 0;
    zip_t* archive = zip_open(kmz.c_str(), ZIP_RDONLY, &code);
    ASSERT_NE(archive, nullptr) << code;
    const std::string kml = ZipEntry(archive, "doc.kml");
    const std::string png = ZipEntry(archive, "overlay.png");
    zip_close(archive);
    ASSERT_FALSE(kml.empty());
    ASSERT_GT(png.size(), 8u);
    EXPECT_EQ(png.substr(1, 3), "PNG");
    EXPECT_NE(png.find("tRNS"), std::string::npos) << "no transparency";
    EXPECT_NE(kml.find("<GroundOverlay>"), std::string::npos);
    EXPECT_NE(kml.find("<href>overlay.png</href>"), std::string::npos);
    const Track track = TrackOf(kRecords);
    EXPECT_GE(KmlValue(kml, "north"), track.maxLat);
    EXPECT_LE(KmlValue(kml, "south"), track.minLat);
    EXPECT_GE(KmlValue(kml, "east"), track.maxLon);
    EXPECT_LE(KmlValue(kml, "west"), track.minLon);
    // About the slant range (less the altitude) either side of the line, no more.
    // (the UTM raster's edges lean by the meridian convergence, about 1 degree here).
    const double northOfTrack = (KmlValue(kml, "north") - track.maxLat) * 111132.0;
    EXPECT_GT(northOfTrack, 45.0);
    EXPECT_LT(northOfTrack, 56.0);
}

TEST_F(ExportTools, XtfIsWrittenWithOnePacketPerRecord) {
    const std::string xtf = dir->File("line.xtf");
    const ProgramRun run = RunProgram(SONVARA_CLI_PATH, {"xtf", Q(line), Q(xtf)});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains("300 records written"));
    EXPECT_EQ(std::filesystem::file_size(xtf), 1024u + 300u * 6656u);
}

struct BadCase {
    const char* name;
    QStringList args;   // {in} and {out} are replaced
    std::string input;  // "nogps", "line", "missing"
    const char* output;
    int exitCode;
    const char* message;
};

class ExportToolsBadInput : public ExportTools, public ::testing::WithParamInterface<BadCase> {};

TEST_P(ExportToolsBadInput, ExitsWithTheReasonAndNoOutput) {
    const BadCase& c = GetParam();
    std::string input = line;
    if (c.input == "nogps") input = MakeRecording(*dir, "nogps.svx", {.records = 20, .gps = false});
    if (c.input == "missing") input = dir->File("missing.svx");
    const std::string output = dir->File(c.output);
    QStringList args;
    for (const QString& a : c.args) {
        args << (a == "{in}" ? Q(input) : a == "{out}" ? Q(output) : a);
    }
    const ProgramRun run = RunProgram(SONVARA_CLI_PATH, args);
    EXPECT_EQ(run.exitCode, c.exitCode) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(c.message)) << run.err.toStdString();
    EXPECT_EQ(run.err.count('\n'), 1) << run.err.toStdString();
    EXPECT_FALSE(std::filesystem::exists(output));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ExportToolsBadInput,
    ::testing::Values(
        BadCase{"MosaicWithoutPosition",
                {"mosaic", "{in}", "--geotiff", "{out}"},
                "nogps",
                "a.tif",
                1,
                "holds no position"},
        BadCase{"KmzWithoutPosition",
                {"mosaic", "{in}", "--kmz", "{out}"},
                "nogps",
                "a.kmz",
                1,
                "holds no position"},
        BadCase{"GeoTiffUnwritable",
                {"mosaic", "{in}", "--geotiff", "{out}"},
                "line",
                "no/dir/a.tif",
                1,
                "cannot write "},
        BadCase{"KmzUnwritable",
                {"mosaic", "{in}", "--kmz", "{out}"},
                "line",
                "no/dir/a.kmz",
                1,
                "cannot write "},
        BadCase{"XtfUnwritable",
                {"xtf", "{in}", "{out}"},
                "line",
                "no/dir/a.xtf",
                1,
                "No such file or directory"},
        BadCase{"XtfMissingInput", {"xtf", "{in}", "{out}"}, "missing", "a.xtf", 1, "cannot open"},
        BadCase{"MosaicWithoutOutput",
                {"mosaic", "{in}"},
                "line",
                "none.tif",
                2,
                "--geotiff OUT.tif or --kmz OUT.kmz is required"},
        BadCase{"BadResolution",
                {"mosaic", "{in}", "--geotiff", "{out}", "--resolution", "0"},
                "line",
                "b.tif",
                2,
                "--resolution: wants 0.01 .. 1000 metres, not '0'"},
        BadCase{"BadHead",
                {"mosaic", "{in}", "--kmz", "{out}", "--head", "ES"},
                "line",
                "b.kmz",
                2,
                "--head: wants L, M or H"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ExportTools, TheDataFileIsNeverTheOutput) {
    const auto before = std::filesystem::file_size(line);
    for (const QStringList& args :
         {QStringList{"mosaic", Q(line), "--geotiff", Q(line)},
          QStringList{"mosaic", Q(line), "--kmz", Q(line)}, QStringList{"xtf", Q(line), Q(line)}}) {
        const ProgramRun run = RunProgram(SONVARA_CLI_PATH, args);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(run.err.contains("it is the data file being exported"))
            << run.err.toStdString();
    }
    EXPECT_EQ(std::filesystem::file_size(line), before);
}

TEST_F(ExportTools, DamagedRecordIsNamedAndTheRestExported) {
    std::vector<std::uint8_t> bytes = TempDir::ReadBytes(line);
    const std::size_t length = bytes.size() / kRecords;
    bytes[10 * length] = 0;  // the eleventh record loses its magic
    const std::string damaged = dir->File("damaged.svx");
    TempDir::WriteBytes(damaged, bytes);
    for (const QStringList& args :
         {QStringList{"xtf", Q(damaged), Q(dir->File("d.xtf"))},
          QStringList{"mosaic", Q(damaged), "--geotiff", Q(dir->File("d.tif"))}}) {
        const ProgramRun run = RunProgram(SONVARA_CLI_PATH, args);
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(
            QString("damaged record at offset %1 skipped").arg(10 * length).toUtf8()))
            << run.err.toStdString();
    }
    EXPECT_EQ(std::filesystem::file_size(dir->File("d.xtf")), 1024u + 299u * 6656u);
}

// `events` of a recording whose event file is missing, cut off, damaged or holds a long line:
// the events that can be read are exported, what could not be read is named by its line, and
// a recording without an event file simply has no events.
TEST_F(ExportTools, EventsOfMissingCutOffAndDamagedEventFiles) {
    const std::string good = "0\n5\n0.500000\n09-DEC-2026\n10:00:02\nn/a\nn/a\nrock\n";
    struct Case {
        const char* name;
        std::optional<std::string> eventFile;  // none: no event file at all
        int exitCode;
        int rows;          // events in the CSV
        const char* said;  // on standard error ("" for nothing)
    };
    const Case cases[] = {
        {"missing", std::nullopt, 0, 0, "missing.an does not exist: the recording has no events"},
        {"cutoff", good + "1\n7\n0.5\nd\n", 1, 1,
         "cutoff.an, line 9: the event that starts here ends before its eighth line; the 1 event "
         "before it is exported"},
        {"longline", "0\n5\n0.5\nd\nt\nn/a\nn/a\n" + std::string(1 << 20, 'x') + "\n" + good, 0, 2,
         ""},
        {"badping", good + "1\n99999999999999999999\n0.5\nd\nt\nla\nlo\nx\n", 1, 1,
         "badping.an, line 10: ping number \"99999999999999999999\" is not a whole number"},
        {"badfraction", good + "1\n7\nnan\nd\nt\nla\nlo\nx\n", 1, 1,
         "badfraction.an, line 11: across-track fraction \"nan\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string data = dir->File(std::string(c.name) + ".svx");
        std::filesystem::create_hard_link(line, data);
        if (c.eventFile) TempDir::WriteText(dir->File(std::string(c.name) + ".an"), *c.eventFile);
        const std::string csv = dir->File(std::string(c.name) + ".csv");
        const ProgramRun run = RunProgram(SONVARA_CLI_PATH, {"events", Q(data), "--csv", Q(csv)});
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err.toStdString();
        EXPECT_TRUE(run.out.contains(QByteArray::number(c.rows) + " events from"))
            << run.out.toStdString();
        const std::string text = TempDir::ReadText(csv);
        EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1 + c.rows) << text.substr(0, 200);
        EXPECT_EQ(text.rfind("number,ping,date,time,latitude,longitude,across,annotation\n", 0),
                  0u);
        EXPECT_TRUE(std::string(c.said).empty() ? run.err.isEmpty() : run.err.contains(c.said))
            << run.err.toStdString();
        EXPECT_FALSE(run.err.contains("more than 100")) << run.err.toStdString();
    }
}

}  // namespace

namespace {

// The rows from the top of the composite picture down to the first black one.
int FilledRows(const QImage& picture) {
    for (int y = 0; y < picture.height(); ++y) {
        bool black = true;
        for (int x = 0; x < picture.width() && black; ++x)
            black = (picture.pixel(x, y) & 0xFFFFFF) == 0;
        if (black) return y;
    }
    return picture.height();
}

// `render` plays a file as the application does, GPS reader included: the speed recorded
// with the pings sets how many rows each ping takes.
TEST(RenderTool, TheRecordedSpeedCorrectsTheImages) {
    TempDir dir;
    int filled[2] = {0, 0};
    const double knots[2] = {4.0, 12.0};
    for (int k = 0; k < 2; ++k) {
        sim::RecordingPlan plan;
        plan.records = 60;
        plan.speedKnots = knots[k];
        const std::string name = "at" + std::to_string(k) + ".svx";
        const std::string file = MakeRecording(dir, name, plan);
        const QString out = Q(dir.File("out" + std::to_string(k)));
        const ProgramRun run =
            RunProgram(SONVARA_CLI_PATH, {"render", Q(file), "--out", out, "--width", "200"});
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        const QImage composite(out + "/composite.png");
        ASSERT_FALSE(composite.isNull());
        filled[k] = FilledRows(composite);
    }
    // 200 pixels for twice 50 m: 2 pixels a metre, 0.5 s a ping.
    EXPECT_NEAR(filled[0], 60 * 2 * 4.0 * 0.514444 * 0.5, 6);
    EXPECT_NEAR(filled[1], 60 * 2 * 12.0 * 0.514444 * 0.5, 12);
}

}  // namespace
