// What the programs do with files they cannot use, run as processes with a time limit: a FIFO
// named as a settings, palette, data or event file is refused at once instead of waiting for a
// writer; a full disk under `render` leaves no half-written image and says so; a log whose
// dates and latitudes are out of range gives a track without them.

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "ProcessSupport.h"

namespace {

constexpr int kTimeLimitMs = 15000;

QProcessEnvironment WithoutDisplay() {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        environment.remove(name);
    }
    return environment;
}

class UnreadableFilesProcessTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        ASSERT_EQ(::mkfifo(Path("fifo").toLocal8Bit().constData(), 0600), 0);
    }
    QString Path(const QString& name) const { return dir.filePath(name); }
    // A short recording of the simulated installation.
    QString Recording(const QString& name, int records) {
        const QString path = Path(name);
        const ProgramRun made =
            RunProgram(SONVARA_HEADSIM_PATH, {"--write-recording", path, QString::number(records)});
        EXPECT_EQ(made.exitCode, 0) << made.err.toStdString();
        return path;
    }
    QTemporaryDir dir;
};

TEST_F(UnreadableFilesProcessTest, AFifoIsRefusedAtOnceWhereverAFileIsRead) {
    const QString data = Recording("survey.svx", 20);
    const QString fifo = Path("fifo");
    ASSERT_EQ(::mkfifo(Path("marked.an").toLocal8Bit().constData(), 0600), 0);
    QFile::copy(data, Path("marked.svx"));
    struct Case {
        QString program;
        QStringList args;
        int exitCode;
        QString text;  // what standard error holds
    };
    const Case cases[] = {
        {SONVARA_APP_PATH,
         {"--settings", fifo},
         2,
         "sonvara: --settings: " + fifo + " is not a regular file (see sonvara --help)\n"},
        {SONVARA_CLI_PATH,
         {"render", data, "--out", Path("a"), "--settings", fifo},
         1,
         "sonvara-cli: cannot read the settings file (" + fifo + " is not a regular file)\n"},
        {SONVARA_CLI_PATH,
         {"render", data, "--out", Path("b"), "--palette", fifo},
         1,
         "sonvara-cli: cannot read the palette file (" + fifo + " is not a regular file)\n"},
        {SONVARA_CLI_PATH,
         {"track", fifo, "--csv", Path("t.csv")},
         1,
         "sonvara-cli: " + fifo + " is not a regular file\n"},
        {SONVARA_CLI_PATH,
         {"events", Path("marked.svx"), "--csv", Path("e.csv")},
         1,
         Path("marked.an") + " is not a regular file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE((c.program + " " + c.args.join(' ')).toStdString());
        const ProgramRun run = RunWith(c.program, c.args, WithoutDisplay(), {}, kTimeLimitMs);
        EXPECT_EQ(run.exitCode, c.exitCode);
        EXPECT_TRUE(QString::fromLocal8Bit(run.err).contains(c.text)) << run.err.toStdString();
    }
    struct stat info {};
    ASSERT_EQ(::stat(fifo.toLocal8Bit().constData(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode)) << "the FIFO is left as it was";
}

// Runs render with its output directory on a tmpfs of 16 KiB, in a mount namespace of its
// own, and lists what is left there; empty when no such namespace can be made here.
ProgramRun RenderOnAFullDisk(const QString& data, const QString& out) {
    const QString script =
        "mount -t tmpfs -o size=16k tmpfs \"$1\" || exit 99\n"
        "\"$2\" render \"$3\" --out \"$1\" --sensors \"$1/sensors.csv\"\n"
        "echo \"exit $?\"; ls -A \"$1\"";
    return RunWith("unshare",
                   {"--user", "--map-root-user", "--mount", "sh", "-c", script, "sh", out,
                    SONVARA_CLI_PATH, data},
                   QProcessEnvironment::systemEnvironment(), {}, 60000);
}

TEST_F(UnreadableFilesProcessTest, RenderOnAFullDiskRemovesTheHalfWrittenFileAndSaysSo) {
    const QString data = Recording("survey.svx", 200);
    const QString out = Path("out");
    ASSERT_TRUE(QDir().mkpath(out));
    const ProgramRun run = RenderOnAFullDisk(data, out);
    if (run.exitCode != 0) {
        GTEST_SKIP() << "no mount namespace with a tmpfs can be made here: "
                     << run.err.toStdString();
    }
    // The first image does not fit: the render stops there, with nothing of it left behind,
    // nor the sensor table of the stopped run.
    EXPECT_EQ(run.out.toStdString(), "exit 1\n");
    EXPECT_EQ(run.err.toStdString(),
              "sonvara-cli: cannot write " + out.toStdString() + "/L.png: the disk is full\n");
}

TEST_F(UnreadableFilesProcessTest, TrackOfALogLeavesOutImpossibleDatesAndUtmFigures) {
    // Checksummed sentences: a date of 31 February, and a fix 1 m from the North Pole.
    QFile log(Path("log.nmea"));
    ASSERT_TRUE(log.open(QIODevice::WriteOnly));
    log.write(
        "$GPRMC,123519.50,A,4807.038,N,01131.000,E,022.4,084.4,310299,003.1,W*4E\r\n"
        "$GPRMC,123520.50,A,8959.99940,N,01131.000,E,022.4,084.4,010399,003.1,W*46\r\n");
    log.close();
    const ProgramRun gpx =
        RunProgram(SONVARA_CLI_PATH, {"track", log.fileName(), "--gpx", Path("t.gpx")});
    ASSERT_EQ(gpx.exitCode, 0) << gpx.err.toStdString();
    QFile gpxFile(Path("t.gpx"));
    ASSERT_TRUE(gpxFile.open(QIODevice::ReadOnly));
    const QByteArray track = gpxFile.readAll();
    EXPECT_EQ(track.count("<trkpt"), 2) << track.toStdString();
    EXPECT_FALSE(track.contains("1999-02-31")) << track.toStdString();
    EXPECT_TRUE(track.contains("<time>1999-03-01T12:35:20.500Z</time>")) << track.toStdString();

    const ProgramRun csv =
        RunProgram(SONVARA_CLI_PATH, {"track", log.fileName(), "--csv", Path("t.csv")});
    ASSERT_EQ(csv.exitCode, 0) << csv.err.toStdString();
    QFile csvFile(Path("t.csv"));
    ASSERT_TRUE(csvFile.open(QIODevice::ReadOnly));
    const QList<QByteArray> rows = csvFile.readAll().trimmed().split('\n');
    ASSERT_EQ(rows.size(), 3);
    EXPECT_TRUE(rows[1].startsWith("12:35:19.500,,48.11730000,")) << rows[1].toStdString();
    EXPECT_TRUE(rows[1].contains(",32,")) << rows[1].toStdString();
    EXPECT_TRUE(rows[2].endsWith(",,,,,")) << rows[2].toStdString();
}

}  // namespace
