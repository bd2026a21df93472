// sonvara-cli mosaic of several recordings as a process: the same bytes whatever the number
// of threads, per-line rasters merged into the same mosaic, a cloud optimised GeoTIFF,
// recordings without positions left out, and the options' mistakes.

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>

#include <filesystem>

#include "../export/StraightLines.h"
#include "ProcessSupport.h"

namespace {

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

class SurveyMosaicTool : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir = new TempDir;
        // Two lines 60 m apart seeing 50 m to each side, and a third across both.
        const StraightLine a{.latitude = 54.0, .longitude = 9.0, .value = 100, .records = 120};
        StraightLine b = a;
        b.latitude += 60.0 / kMetresPerDegreeLat;
        b.value = 200;
        StraightLine c = a;
        c.latitude += 30.0 / kMetresPerDegreeLat;
        c.longitude += 0.0005;
        c.value = 150;
        StraightLine blind = a;
        blind.gps = false;
        files = {WriteStraightLine(*dir, "a.svx", a), WriteStraightLine(*dir, "b.svx", b),
                 WriteStraightLine(*dir, "c.svx", c)};
        blindFile = WriteStraightLine(*dir, "blind.svx", blind);
        otherBlindFile = WriteStraightLine(*dir, "blind2.svx", blind);
    }
    static void TearDownTestSuite() { delete dir; }

    static QByteArray Mosaic(const QString& name, const QStringList& extra) {
        const std::string tif = dir->File(name.toStdString());
        QStringList args{"mosaic"};
        for (const std::string& f : files) args << Q(f);
        args << "--geotiff" << Q(tif) << extra;
        if (!extra.contains("--resolution")) args << "--resolution" << "0.5";
        const ProgramRun run = RunProgram(SONVARA_CLI_PATH, args);
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        QFile file(Q(tif));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return file.readAll();
    }

    static TempDir* dir;
    static std::vector<std::string> files;
    static std::string blindFile, otherBlindFile;
};
TempDir* SurveyMosaicTool::dir = nullptr;
std::vector<std::string> SurveyMosaicTool::files;
std::string SurveyMosaicTool::blindFile, SurveyMosaicTool::otherBlindFile;

TEST_F(SurveyMosaicTool, OneAndTwoThreadsWriteTheSameBytes) {
    for (const char* rule : {"nearest", "max", "newest"}) {
        SCOPED_TRACE(rule);
        const QByteArray one =
            Mosaic(QString("one-%1.tif").arg(rule), {"--overlap", rule, "--threads", "1"});
        const QByteArray two =
            Mosaic(QString("two-%1.tif").arg(rule), {"--overlap", rule, "--threads", "2"});
        EXPECT_GT(one.size(), 0);
        EXPECT_TRUE(one == two);
    }
    // The rules differ on these files, so the comparison above can tell threads apart.
    EXPECT_NE(Mosaic("nearest.tif", {"--overlap", "nearest"}),
              Mosaic("newest.tif", {"--overlap", "newest"}));
}

TEST_F(SurveyMosaicTool, ARecordingGivenTwiceIsItsOwnMosaic) {
    // Every pixel of the second copy ties with the first: whatever the rule, the mosaic is the
    // one of the recording alone, byte for byte.
    const std::string one = dir->File("alone.tif");
    // Normalised alike: twice the samples give the same means.
    ASSERT_EQ(RunProgram(SONVARA_CLI_PATH, {"mosaic", Q(files[2]), "--geotiff", Q(one), "--normalize"})
                  .exitCode,
              0);
    QFile alone(Q(one));
    ASSERT_TRUE(alone.open(QIODevice::ReadOnly));
    const QByteArray expected = alone.readAll();
    for (const char* rule : {"nearest", "max", "newest"}) {
        SCOPED_TRACE(rule);
        const std::string tif = dir->File(std::string("twice-") + rule + ".tif");
        const ProgramRun run = RunProgram(SONVARA_CLI_PATH, {"mosaic", Q(files[2]), Q(files[2]),
                                                             "--geotiff", Q(tif), "--overlap", rule,
                                                             "--normalize"});
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        QFile twice(Q(tif));
        ASSERT_TRUE(twice.open(QIODevice::ReadOnly));
        EXPECT_TRUE(twice.readAll() == expected);
    }
}

QByteArray Contents(const std::string& path) {
    QFile file(Q(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST_F(SurveyMosaicTool, PerLineRastersMergeIntoTheDirectMosaic) {
    for (const char* rule : {"nearest", "max"}) {
        SCOPED_TRACE(rule);
        const std::string tag = rule;
        const QByteArray direct = Mosaic(Q("direct-" + tag + ".tif"), {"--overlap", rule});
        // All lines in one run, and each line in a process of its own on the grid given.
        const std::string together = dir->File("together-" + tag), apart = dir->File("apart-" + tag);
        QStringList args{"mosaic"};
        for (const std::string& f : files) args << Q(f);
        const ProgramRun laid = RunProgram(
            SONVARA_CLI_PATH, args + QStringList{"--per-line", Q(together), "--resolution", "0.5"});
        ASSERT_EQ(laid.exitCode, 0) << laid.err.toStdString();
        for (const std::string& f : files) {
            const ProgramRun one = RunProgram(
                SONVARA_CLI_PATH, {"mosaic", Q(f), "--per-line", Q(apart), "--resolution", "0.5",
                                   "--zone", "32N", "--head", "L"});
            ASSERT_EQ(one.exitCode, 0) << one.err.toStdString();
        }
        for (const std::string& lines : {together, apart}) {
            QStringList merge{"mosaic", "--merge"};
            for (const char* name : {"a.tif", "b.tif", "c.tif"}) merge << Q(lines + "/" + name);
            const std::string out = lines + ".tif";
            const ProgramRun merged =
                RunProgram(SONVARA_CLI_PATH, merge + QStringList{"--geotiff", Q(out), "--overlap", rule});
            ASSERT_EQ(merged.exitCode, 0) << merged.err.toStdString();
            EXPECT_TRUE(Contents(out) == direct) << lines;
        }
        // A quick look without the rule: GDAL's own mosaic of the per-line rasters opens.
        const std::string vrt = together + ".vrt";
        QStringList build{Q(vrt)};
        for (const char* name : {"a.tif", "b.tif", "c.tif"}) build << Q(together + "/" + name);
        ASSERT_EQ(RunProgram("gdalbuildvrt", build).exitCode, 0);
        const ProgramRun info = RunProgram("gdalinfo", {Q(vrt)});
        EXPECT_TRUE(info.out.contains("Band 2")) << info.out.toStdString();
    }
}

TEST_F(SurveyMosaicTool, TheGeoTiffIsCloudOptimizedWithOverviews) {
    Mosaic("fine.tif", {"--resolution", "0.1"});
    const ProgramRun info = RunProgram("gdalinfo", {"-json", Q(dir->File("fine.tif"))});
    ASSERT_EQ(info.exitCode, 0) << info.err.toStdString();
    const QJsonObject json = QJsonDocument::fromJson(info.out).object();
    EXPECT_EQ(json["metadata"].toObject()["IMAGE_STRUCTURE"].toObject()["LAYOUT"].toString(), "COG");
    EXPECT_EQ(json["metadata"].toObject()["IMAGE_STRUCTURE"].toObject()["COMPRESSION"].toString(),
              "DEFLATE");
    const QJsonObject band = json["bands"].toArray()[0].toObject();
    // About 260 m by 160 m at 0.1 m: overviews halve it until it fits one 512-pixel tile.
    const double longest = std::max(json["size"].toArray()[0].toDouble(), json["size"].toArray()[1].toDouble());
    const int expected = static_cast<int>(std::ceil(std::log2(longest / 512.0)));
    EXPECT_EQ(band["overviews"].toArray().size(), expected) << longest;
    EXPECT_EQ(band["noDataValue"].toDouble(), 0.0);
    EXPECT_EQ(band["block"].toArray()[0].toInt(), 512);
}

struct ToolCase {
    const char* name;
    std::vector<std::string> inputs;  // "blind", "blind2" or an index into files
    QStringList extra;
    int exitCode;
    const char* message;  // on standard error
    bool written;
    int lines = 1;  // of standard error
};

TEST_F(SurveyMosaicTool, RecordingsWithoutPositionsAndMistakes) {
    const ToolCase cases[] = {
        {"one blind among others", {"0", "blind", "1"}, {}, 0,
         "blind.svx holds no position (no decoded NMEA fix): left out of the mosaic\n", true,
         3},  // and "no altitude" for each of the two laid
        {"only blind ones", {"blind", "blind2"}, {}, 1,
         "no recording holds anything to lay; ", false},
        {"unknown rule", {"0", "1"}, {"--overlap", "min"}, 2, "--overlap: wants nearest, max or newest", false},
        {"no threads", {"0", "1"}, {"--threads", "0"}, 2, "--threads: wants 1 .. 256", false},
        {"a missing one", {"0", "nowhere"}, {}, 1, "cannot open", false},
        {"a recording given to --merge", {"0"}, {"--merge"}, 1, "not a per-line raster", false},
        {"--merge with --per-line", {"0"}, {"--merge", "--per-line", "x"}, 2, "cannot go with it", false},
        {"a zone out of range", {"0"}, {"--zone", "61N"}, 2, "--zone: wants a zone 1 .. 60", false},
        {"--per-line into a file", {"0"}, {"--per-line", Q(files[1])}, 1, "cannot write into", false},
    };
    for (const ToolCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string tif = dir->File(std::string(c.name) + ".tif");
        QStringList args{"mosaic"};
        for (const std::string& in : c.inputs) {
            args << Q(in == "blind"    ? blindFile
                      : in == "blind2" ? otherBlindFile
                      : in == "nowhere" ? dir->File("nowhere.svx")
                                        : files[std::stoul(in)]);
        }
        args << "--geotiff" << Q(tif) << c.extra;
        const ProgramRun run = RunProgram(SONVARA_CLI_PATH, args);
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(c.message)) << run.err.toStdString();
        EXPECT_EQ(std::filesystem::exists(tif), c.written);
        EXPECT_EQ(run.err.count('\n'), c.lines) << run.err.toStdString();
        if (c.written) {
            EXPECT_TRUE(run.out.contains("from 2 recordings of 3")) << run.out.toStdString();
        }
    }
}

}  // namespace
