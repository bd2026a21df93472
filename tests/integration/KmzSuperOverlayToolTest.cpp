// sonvara-cli mosaic --kmz of a recording of the simulator at a pixel size fine enough for a
// mosaic wider than 4096 pixels: a super-overlay, which gdalinfo (GDAL's reader of KML
// super-overlays, a program of its own) opens as one raster over the track with its levels as
// overviews.

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

#include "../support/TempDir.h"
#include "ProcessSupport.h"
#include "SimGps.h"
#include "SimRecording.h"

namespace {

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

TEST(KmzSuperOverlayTool, GdalinfoReadsAFineMosaicAsOneRasterWithItsLevels) {
    constexpr int kRecords = 300;  // 150 s east at 4 knots, about 310 m
    TempDir dir;
    const std::string line = dir.File("line.svx"), kmz = dir.File("fine.kmz");
    std::string error;
    ASSERT_TRUE(sim::WriteSimulatedRecording(line, {.records = kRecords}, error)) << error;
    const ProgramRun run =
        RunProgram(SONVARA_CLI_PATH, {"mosaic", Q(line), "--kmz", Q(kmz), "--resolution", "0.05"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QRegularExpressionMatch size =
        QRegularExpression(": (\\d+) x (\\d+) pixels").match(QString::fromUtf8(run.out));
    ASSERT_TRUE(size.hasMatch()) << run.out.toStdString();
    const int width = size.captured(1).toInt(), height = size.captured(2).toInt();
    ASSERT_GT(std::max(width, height), 4096);

    const ProgramRun info = RunProgram("gdalinfo", {"-json", Q(kmz)});
    ASSERT_EQ(info.exitCode, 0) << info.err.toStdString();
    const QJsonObject json = QJsonDocument::fromJson(info.out).object();
    EXPECT_EQ(json["driverShortName"].toString(), "KMLSUPEROVERLAY");
    // As many pixels as the mosaic, widened by less than a pixel of the top level (the top
    // tile of 512 pixels covers the whole: 2^(levels - 1) mosaic pixels a pixel).
    const QJsonArray pixels = json["size"].toArray();
    const QJsonArray overviews = json["bands"].toArray()[0].toObject()["overviews"].toArray();
    const int top = 1 << overviews.size();
    EXPECT_GE(512 * top, std::max(width, height));
    EXPECT_LT(256 * top, std::max(width, height)) << "one level too many";
    EXPECT_GE(pixels[0].toInt(), width);
    EXPECT_LT(pixels[0].toInt(), width + top);
    EXPECT_GE(pixels[1].toInt(), height);
    EXPECT_LT(pixels[1].toInt(), height + top);
    // Over the ship's fixes.
    const QJsonArray gt = json["geoTransform"].toArray();
    const double west = gt[0].toDouble(), north = gt[3].toDouble();
    const double east = west + pixels[0].toDouble() * gt[1].toDouble();
    const double south = north + pixels[1].toDouble() * gt[5].toDouble();
    for (int s = 0; s <= (kRecords - 1) / 2; s += 10) {
        const sim::VesselFix fix = sim::VesselAt(s, 4.0);
        EXPECT_TRUE(fix.latitude < north && fix.latitude > south && fix.longitude > west &&
                    fix.longitude < east)
            << s << " s";
    }
}

}  // namespace
