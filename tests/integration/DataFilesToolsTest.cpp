// Recording from the simulated heads with `sonvara-cli acquire --record`, checking the file
// with `sonvara-cli info` and playing it back with `sonvara-cli render`: the images played
// from the file are the images that were formed live from the same cycles.

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "ProcessSupport.h"

namespace {

// Each test has its own block of loopback addresses (127.77.<block>.2 .. .5), so that tests
// running side by side never reach each other's simulator.
QString Address(int block, int head) {
    return QString("127.77.%1.%2").arg(block).arg(head + 2);
}

QJsonObject InfoJson(const QString& file, int expectedExit) {
    const ProgramRun run = RunProgram(SONVARA_CLI_PATH, {"info", file, "--json"});
    EXPECT_EQ(run.exitCode, expectedExit) << run.err.toStdString();
    QJsonParseError error;
    const QJsonDocument json = QJsonDocument::fromJson(run.out, &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << run.out.left(200).toStdString();
    return json.object();
}

int PngColourType(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return -1;
    const QByteArray head = file.read(26);
    return head.size() == 26 ? static_cast<unsigned char>(head[25]) : -1;
}

// Rows of the two images that differ, top to bottom.
std::vector<int> DifferingRows(const QImage& a, const QImage& b) {
    std::vector<int> rows;
    for (int y = 0; y < a.height(); ++y) {
        if (std::memcmp(a.constScanLine(y), b.constScanLine(y),
                        static_cast<std::size_t>(a.bytesPerLine())) != 0) {
            rows.push_back(y);
        }
    }
    return rows;
}

class DataFilesToolsTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QString Path(const QString& name) const { return dir.filePath(name); }

    // Records 40 accepted cycles from the simulator at 10 m, where the heads answer after the
    // travel time of the range (about ten cycles a second, several image rows a ping). The
    // count, not a time, ends the run, so a busy machine makes it slower, not shorter; the
    // minute is only a bound.
    void Record(const QStringList& imageOptions, int block) {
        Simulator sim({"--addresses",
                       QStringList{Address(block, 0), Address(block, 1), Address(block, 2),
                                   Address(block, 3)}.join(','),
                       "--duration", "60"});
        ASSERT_TRUE(sim.WaitReady()) << sim.error.toStdString();
        const ProgramRun run =
            RunProgram(SONVARA_CLI_PATH, QStringList{"acquire", "--connect", Address(block, 0), "--range",
                                                     "10", "--cycles", "40", "--seconds", "45",
                                                     "--json", "--record",
                                                     Path("survey.svx"), "--images", Path("live")} +
                                             imageOptions);
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        accepted = QJsonDocument::fromJson(run.out).object()["accepted"].toInt();
        ASSERT_EQ(accepted, 40) << run.out.toStdString();
    }

    QTemporaryDir dir;
    int accepted = 0;
};

TEST_F(DataFilesToolsTest, PlayedImagesAreTheLiveImagesOfTheRecordedCycles) {
    const QStringList imageOptions{"--width", "600", "--color-table", "3"};
    Record(imageOptions, 31);

    // The file holds one whole four-head record per accepted cycle, numbered from 1.
    const QJsonObject info = InfoJson(Path("survey.svx"), 0);
    EXPECT_EQ(info["records"].toInt(), accepted);
    EXPECT_EQ(info["bytes"].toInteger(), qint64(accepted) * 11072);
    EXPECT_TRUE(info["damaged_offset"].isNull());
    const QJsonArray items = info["items"].toArray();
    ASSERT_EQ(items.size(), accepted);
    for (int i = 0; i < items.size(); ++i) {
        const QJsonObject item = items[i].toObject();
        ASSERT_EQ(item["ping"].toInt(), i + 1);
        ASSERT_EQ(item["offset"].toInteger(), qint64(i) * 11072);
        ASSERT_EQ(item["length"].toInt(), 11072);
        ASSERT_EQ(item["heads"].toArray().size(), 4);
        ASSERT_EQ(item["range"].toInt(), 10);
        ASSERT_EQ(item["es_range"].toInt(), 10);
        ASSERT_TRUE(item["event"].isNull());
        // A record carries the ping interval in 16 bits; every interval here fits, so the
        // played cycles are drawn with the very interval the live ones were.
        ASSERT_LT(item["interval_ms"].toInt(), 0xFFFF);
    }
    EXPECT_TRUE(QFile::exists(Path("survey.an")));

    const ProgramRun render = RunProgram(
        SONVARA_CLI_PATH,
        QStringList{"render", Path("survey.svx"), "--out", Path("played")} + imageOptions);
    ASSERT_EQ(render.exitCode, 0) << render.err.toStdString();

    // Everything image formation reads of a cycle travels in its record: the lines of the
    // three side-scan heads, range, frequencies, presence, ping interval and ping number;
    // the recording holds no GPS sentences, so neither side has navigation texts and both take
    // the default speed.
    // The row stamps (times, texts) are not part of the images. So no row may differ.
    for (const char* name : {"L", "M", "H", "composite"}) {
        SCOPED_TRACE(name);
        const QImage live(Path(QString("live/%1.png").arg(name)));
        const QImage played(Path(QString("played/%1.png").arg(name)));
        ASSERT_FALSE(live.isNull());
        ASSERT_EQ(live.size(), QSize(600, 2000));
        ASSERT_EQ(played.size(), live.size());
        ASSERT_EQ(played.format(), live.format());
        EXPECT_EQ(played.colorTable(), live.colorTable());
        EXPECT_TRUE(DifferingRows(live, played).empty());
        // The pings reached the image: the top rows are not blank.
        const uchar* top = live.constScanLine(0);
        EXPECT_TRUE(std::any_of(top, top + live.bytesPerLine(), [](uchar b) { return b != 0; }));
    }
    // The PNG colour types: 3 (palette) for the channel images, 2 (24-bit RGB) for the
    // composite.
    EXPECT_EQ(PngColourType(Path("played/L.png")), 3);
    EXPECT_EQ(PngColourType(Path("played/composite.png")), 2);
}

TEST_F(DataFilesToolsTest, DamagedRecordIsFoundByInfoAndSteppedOverByTheRendering) {
    Record({"--width", "200"}, 32);
    QFile file(Path("survey.svx"));
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    const qint64 damaged = 3 * 11072;
    file.seek(damaged + 8);
    file.write(QByteArray(4, '\0'));  // a zero length: the record cannot be followed
    file.close();

    const QJsonObject info = InfoJson(Path("survey.svx"), 1);
    EXPECT_EQ(info["damaged_offset"].toInteger(), damaged);
    EXPECT_EQ(info["damaged_bytes"].toInteger(), 11072);
    EXPECT_EQ(info["records"].toInt(), accepted - 1);  // the records after it are still found
    const QJsonArray skipped = info["skipped"].toArray();
    ASSERT_EQ(skipped.size(), 1);
    EXPECT_EQ(skipped[0].toObject()["offset"].toInteger(), damaged);
    EXPECT_EQ(skipped[0].toObject()["bytes"].toInteger(), 11072);
    EXPECT_EQ(skipped[0].toObject()["reason"].toString(), "record length unlike the layout");

    const ProgramRun text = RunProgram(SONVARA_CLI_PATH, {"info", Path("survey.svx"), "--records"});
    EXPECT_EQ(text.exitCode, 1);
    EXPECT_TRUE(text.out.contains("damaged at offset 33216")) << text.out.toStdString();
    EXPECT_TRUE(text.out.contains("skipped at offset 33216: 11072 bytes"))
        << text.out.toStdString();
    EXPECT_FALSE(text.out.contains("\n33216 "));
    EXPECT_TRUE(text.out.contains("\n44288 5 11072 L,M,H,ES 10 10 ")) << text.out.toStdString();

    // The rendering plays every record but the damaged one and says what it stepped over.
    const ProgramRun render = RunProgram(
        SONVARA_CLI_PATH,
        {"render", Path("survey.svx"), "--out", Path("played"), "--width", "200", "--every", "2"});
    EXPECT_EQ(render.exitCode, 1);
    EXPECT_TRUE(render.out.contains(QString("%1 records played").arg(accepted - 1).toUtf8()))
        << render.out.toStdString();
    EXPECT_TRUE(render.err.contains("damaged record at offset 33216 skipped (11072 bytes"))
        << render.err.toStdString();
    EXPECT_EQ(render.err.count("damaged record"), 1);
    const QStringList written =
        QDir(Path("played")).entryList({"L-*.png"}, QDir::Files, QDir::Name);
    ASSERT_FALSE(written.isEmpty());
    EXPECT_EQ(written.front(), "L-000002.png");
    EXPECT_EQ(written.back(), QString("L-%1.png").arg(accepted - 1, 6, 10, QChar('0')));
    // The echogram comes with every numbered set, under the same numbers.
    QStringList echoes = QDir(Path("played")).entryList({"echo-*.png"}, QDir::Files, QDir::Name);
    echoes.replaceInStrings(QStringLiteral("echo-"), QStringLiteral("L-"));
    EXPECT_EQ(echoes, written);
    EXPECT_FALSE(QFile::exists(Path("played/echo.png")));
    EXPECT_FALSE(QImage(Path("played/") + QString(written.back()).replace("L-", "echo-")).isNull());
    // Rendering leaves the data file's directory as it was: no event file is made or changed.
    EXPECT_EQ(QFile(Path("survey.an")).size(), 0);
}

}  // namespace
