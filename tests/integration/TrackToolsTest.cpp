// `sonvara-cli acquire --gps` records the simulated receiver's sentences with the cycles of the
// simulated heads; `sonvara-cli track` of the recording gives the track the document's own
// playback of the file draws, `sonvara-cli events` exports the events of the recording with
// their chips, and gpsbabel reads every GPX and KML they write.

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextStream>

#include <gtest/gtest.h>

#include "ProcessSupport.h"
#include "SimGps.h"
#include "document/CVantrelDoc.h"
#include "gps/Utm.h"
#include "platform/TimerIds.h"
#include "platform/qt/QtGpsReader.h"
#include "platform/qt/QtPlatform.h"

namespace {

QString Address(int block, int head) {
    return QString("127.77.%1.%2").arg(block).arg(head + 2);
}

QStringList CsvRows(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    QStringList rows = QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
    return rows;
}

// The points gpsbabel finds in a file: -t for a track, -w for waypoints.
int GpsbabelPoints(const QString& format, const QString& path, const QString& kind) {
    const QString program = QStandardPaths::findExecutable("gpsbabel");
    if (program.isEmpty()) {
        ADD_FAILURE() << "gpsbabel is not installed (scripts/setup installs it)";
        return -1;
    }
    const ProgramRun run =
        RunProgram(program, {kind, "-i", format, "-f", path, "-o", "unicsv", "-F", "-"});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
    const QStringList lines = QString::fromUtf8(run.out).split('\n', Qt::SkipEmptyParts);
    return lines.isEmpty() ? 0 : static_cast<int>(lines.size()) - 1;  // less the header
}

// Records the simulated heads of a block (at 10 m, answering after the travel time of the
// range: a few dozen cycles a second, a file of a few hundred records) and the simulated GPS
// (20 knots, five batches a second) with `acquire --gps` into path. Heads that answer at once
// would flood the loop with thousands of cycles a second, and on a loaded machine the once-a-
// second GPS reads would come too seldom.
void RecordWithGps(int block, const QString& path, const QString& seconds) {
    Simulator sim(
        {"--addresses",
         QStringList{Address(block, 0), Address(block, 1), Address(block, 2), Address(block, 3)}
             .join(','),
         "--gps", "pty", "--speed", "20", "--rate", "5", "--duration", "60"});
    ASSERT_TRUE(sim.WaitReady()) << sim.error.toStdString();
    const QString gpsDevice = sim.GpsDevice();
    ASSERT_FALSE(gpsDevice.isEmpty()) << sim.error.toStdString();
    const ProgramRun run = RunProgram(
        SONVARA_CLI_PATH, {"acquire", "--connect", Address(block, 0), "--range", "10", "--seconds",
                           seconds, "--json", "--record", path, "--gps", gpsDevice});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QJsonObject totals = QJsonDocument::fromJson(run.out).object();
    EXPECT_GE(totals["gps_reads"].toInt(), 2) << run.out.toStdString();
    EXPECT_TRUE(totals["latitude"].toString().startsWith("54.19.")) << run.out.toStdString();
    ASSERT_GE(totals["recorded"].toInt(), 10) << run.out.toStdString();
}

// What the document's playback of the file draws: the track's segments, and the ping of the
// record after which each segment was added.
struct PlayedTrack {
    std::vector<TrackSegment> segments;
    std::vector<int> pings;
    int originZone = 0;
    bool originSouth = false;
};

PlayedTrack PlayInTheDocument(const QString& path) {
    QtPlatform platform(QtPlatform::Mode::Headless);
    CVantrelDoc doc(platform);
    QtGpsReader reader(doc.gps, [&doc] { doc.GpsReadDone(); });
    doc.SetGpsReader(&reader);
    doc.files.fileSystem.makeWritable = [](const std::string&) { return false; };
    PlayedTrack played;
    EXPECT_TRUE(doc.OpenPlaybackFile(path.toStdString()));
    platform.StopTimer(kTimerPlaybackDelay);
    while (doc.files.playbackPosition < doc.files.playbackFileLength) {
        const std::size_t before = doc.gps.track.trackPath.size();
        if (doc.PlayNextRecord() != RecordRead::Record) continue;
        if (doc.gps.track.trackPath.size() > before)
            played.pings.push_back(doc.recording.pingNumber);
    }
    played.segments = doc.gps.track.trackPath;
    played.originZone = doc.gps.track.originZone;
    played.originSouth = doc.gps.track.originSouth;
    doc.CloseDocument();
    doc.SetGpsReader(nullptr);
    return played;
}

TEST(TrackToolsTest, TrackOfARecordingIsTheTrackItsPlaybackDraws) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString data = dir.filePath("survey.svx");
    RecordWithGps(64, data, "10");
    if (HasFatalFailure()) return;

    const ProgramRun csv =
        RunProgram(SONVARA_CLI_PATH, {"track", data, "--csv", dir.filePath("t.csv")});
    ASSERT_EQ(csv.exitCode, 0) << csv.err.toStdString();
    // The records stored before the receiver's first read carry no sentence: the tool names
    // them, and says nothing else.
    const QRegularExpression leadingGap(
        "^sonvara-cli: \\d+ records? carr(y|ies) no GPS sentence: pings? 1(-\\d+)?\n$");
    EXPECT_TRUE(csv.err.isEmpty() || leadingGap.match(QString::fromUtf8(csv.err)).hasMatch())
        << csv.err.toStdString();
    const QStringList rows = CsvRows(dir.filePath("t.csv"));
    // The reader reads about once a second once the heads are polled; a loaded machine may take
    // a few seconds to get there.
    ASSERT_GE(rows.size(), 3) << "at least two fixes in ten seconds";
    EXPECT_EQ(rows[0],
              "time,date,latitude,longitude,speed_kn,course_deg,heading_deg,utm_zone,"
              "easting,northing,ping");

    const PlayedTrack played = PlayInTheDocument(data);
    // Opening a file starts its track afresh: the origin is the first fix, and the step from
    // it to the second is not drawn, so every later fix ends one segment.
    ASSERT_EQ(played.segments.size(), static_cast<std::size_t>(rows.size() - 3));
    const QRegularExpression time("^\\d\\d:\\d\\d:\\d\\d\\.\\d\\d\\d$");
    const QRegularExpression date("^20\\d\\d-\\d\\d-\\d\\d$");
    std::vector<UtmPosition> points;  // in the origin's zone
    for (int i = 1; i < rows.size(); ++i) {
        const QStringList f = rows[i].split(',');
        ASSERT_EQ(f.size(), 11) << rows[i].toStdString();
        EXPECT_TRUE(time.match(f[0]).hasMatch()) << f[0].toStdString();
        EXPECT_TRUE(date.match(f[1]).hasMatch()) << f[1].toStdString();
        EXPECT_EQ(f[2].section('.', 1).size(), 8);
        EXPECT_EQ(f[4], "20.00");
        const double course = f[5].toDouble();
        EXPECT_TRUE(course == 90.0 || course == 0.0 || course == 270.0) << f[5].toStdString();
        EXPECT_DOUBLE_EQ(f[6].toDouble(), course + 2.0);
        EXPECT_EQ(f[7], "32");
        const double lat = f[2].toDouble(), lon = f[3].toDouble();
        const UtmPosition own = LatLonToUtm(lat, lon);
        EXPECT_NEAR(f[8].toDouble(), own.easting, 1e-3);
        EXPECT_NEAR(f[9].toDouble(), own.northing, 1e-3);
        points.push_back(LatLonToUtmInZone(lat, lon, played.originZone, played.originSouth));
        const std::size_t j = points.size() - 1;
        if (j < 2) continue;
        // Fix j ends segment j - 2 of the played track, added after the record of its ping
        // (8 decimals of a degree are about a millimetre).
        const TrackSegment& segment = played.segments[j - 2];
        const UtmPosition& origin = points[0];
        EXPECT_NEAR(segment.x1, points[j].easting - origin.easting, 0.01) << rows[i].toStdString();
        EXPECT_NEAR(segment.y1, origin.northing - points[j].northing, 0.01)
            << rows[i].toStdString();
        if (j == 2) {
            EXPECT_NEAR(segment.x0, points[1].easting - origin.easting, 0.01);
            EXPECT_NEAR(segment.y0, origin.northing - points[1].northing, 0.01);
        }
        EXPECT_EQ(f[10].toInt(), played.pings[j - 2]);
    }

    for (const char* format : {"gpx", "kml"}) {
        const QString out = dir.filePath(QString("t.") + format);
        const ProgramRun run =
            RunProgram(SONVARA_CLI_PATH, {"track", data, QString("--") + format, out});
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_EQ(GpsbabelPoints(format, out, "-t"), rows.size() - 1) << format;
    }
}

TEST(TrackToolsTest, TrackOfAnNmeaLog) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // Ten seconds of the simulated receiver as a logger writes them: its own line ends (CR LF),
    // then lines ended by LF alone and by CR alone, a logger's own lines, a gyro's heading,
    // and two seconds whose position has no fix.
    QByteArray log = "# logger started\r\n";
    for (int second = 0; second < 10; ++second) {
        const sim::VesselFix fix = sim::VesselAt(second, 8.0);
        std::string batch = sim::NmeaBatch(fix, 36000.0 + second, 9, 12, 2026, "GN");
        if (second == 3 || second == 4) {
            batch = sim::WithChecksum("GNRMC,10000" + std::to_string(second) +
                                      ".00,V,5419.2000,N,01009.0000,E,0.0,0.0,091226,,,N") +
                    sim::WithChecksum("GNGGA,10000" + std::to_string(second) +
                                      ".00,5419.2000,N,01009.0000,E,0,00,,,M,,M,,");
        }
        QByteArray bytes = QByteArray::fromStdString(batch);
        if (second >= 6) bytes.replace("\r\n", second % 2 ? "\r" : "\n");
        log += bytes + sim::WithChecksum("HEHDT,123.0,T").c_str();
    }
    QFile file(dir.filePath("logger.nmea"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(log);
    file.close();

    const ProgramRun run =
        RunProgram(SONVARA_CLI_PATH, {"track", file.fileName(), "--csv", dir.filePath("t.csv")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.err.toStdString(),
              "sonvara-cli: 2 positions without a fix left out (RMC or GLL status V, GGA "
              "quality 0)\n");
    const QStringList rows = CsvRows(dir.filePath("t.csv"));
    ASSERT_EQ(rows.size(), 1 + 8);
    EXPECT_TRUE(rows[1].startsWith("10:00:00.000,2026-12-09,54.32000000,10.15000000,8.00,90.00,,"))
        << rows[1].toStdString();
    EXPECT_TRUE(rows[8].startsWith("10:00:09.000,2026-12-09,")) << rows[8].toStdString();
    EXPECT_TRUE(rows[8].endsWith(',')) << "no ping for a log";

    for (const char* format : {"gpx", "kml"}) {
        const QString out = dir.filePath(QString("t.") + format);
        const ProgramRun exported =
            RunProgram(SONVARA_CLI_PATH, {"track", file.fileName(), QString("--") + format, out});
        ASSERT_EQ(exported.exitCode, 0) << exported.err.toStdString();
        EXPECT_EQ(GpsbabelPoints(format, out, "-t"), 8) << format;
    }
    // A log without any fix is a failure, and nothing is written.
    QFile empty(dir.filePath("empty.nmea"));
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    empty.write("no sentences here\n");
    empty.close();
    const ProgramRun none =
        RunProgram(SONVARA_CLI_PATH, {"track", empty.fileName(), "--gpx", dir.filePath("n.gpx")});
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_EQ(none.err.toStdString(),
              "sonvara-cli: no position fix in " + empty.fileName().toStdString() + "\n");
    EXPECT_FALSE(QFile::exists(dir.filePath("n.gpx")));
}

TEST(TrackToolsTest, EventsOfARecordingWithTheirChips) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString data = dir.filePath("survey.svx");
    RecordWithGps(65, data, "8");
    if (HasFatalFailure()) return;
    // Pings of the recording, from its track.
    ASSERT_EQ(
        RunProgram(SONVARA_CLI_PATH, {"track", data, "--csv", dir.filePath("t.csv")}).exitCode, 0);
    const QStringList rows = CsvRows(dir.filePath("t.csv"));
    ASSERT_GE(rows.size(), 3);
    const QStringList first = rows[1].split(','), last = rows.back().split(',');

    // Three events as the application writes them: the second without a position, the third
    // at the last fix's ping, near the newest row of the image when the file ends.
    QFile events(dir.filePath("survey.an"));
    ASSERT_TRUE(events.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QTextStream out(&events);
    out << "0\n"
        << first[10] << "\n0.750000\n09-DEC-2026\n10:15:00\n54.19.2000 N\n"
        << "010.09.0000 E\nwreck, upright\n";
    out << "1\n" << first[10] << "\n0.100000\n09-DEC-2026\n10:15:00\nn/a\nn/a\nn/a\n";
    out << "7\n"
        << last[10] << "\n0.500000\n09-DEC-2026\n10:15:04\n54.19.2100 N\n"
        << "010.09.0400 E\ntyre\n";
    out.flush();
    events.close();

    const QString chips = dir.filePath("chips");
    const ProgramRun csv = RunProgram(
        SONVARA_CLI_PATH,
        {"events", data, "--csv", dir.filePath("e.csv"), "--chips", chips, "--chip-size", "96"});
    ASSERT_EQ(csv.exitCode, 0) << csv.err.toStdString();
    EXPECT_TRUE(csv.err.isEmpty()) << csv.err.toStdString();
    const QStringList eventRows = CsvRows(dir.filePath("e.csv"));
    ASSERT_EQ(eventRows.size(), 4);
    EXPECT_EQ(eventRows[0], "number,ping,date,time,latitude,longitude,across,annotation");
    EXPECT_EQ(eventRows[1], "0," + first[10] +
                                ",09-DEC-2026,10:15:00,54.32000000,10.15000000,0.750000,"
                                "\"wreck, upright\"");
    EXPECT_EQ(eventRows[2], "1," + first[10] + ",09-DEC-2026,10:15:00,,,0.100000,n/a");
    EXPECT_TRUE(eventRows[3].startsWith("7," + last[10] + ",09-DEC-2026,10:15:04,54.32016667,"))
        << eventRows[3].toStdString();
    for (const char* name : {"event-00.png", "event-01.png", "event-07.png"}) {
        const QImage chip(QDir(chips).filePath(name));
        ASSERT_FALSE(chip.isNull()) << name;
        EXPECT_EQ(chip.size(), QSize(96, 96)) << name;
    }
    EXPECT_EQ(QDir(chips).entryList(QDir::Files).size(), 3);

    for (const char* format : {"gpx", "kml"}) {
        const QString file = dir.filePath(QString("e.") + format);
        const ProgramRun run =
            RunProgram(SONVARA_CLI_PATH, {"events", data, QString("--") + format, file});
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_EQ(run.err.toStdString(), "sonvara-cli: 1 event without a position left out\n");
        EXPECT_EQ(GpsbabelPoints(format, file, "-w"), 2) << format;
    }
}

}  // namespace
