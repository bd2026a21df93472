// `sonvara-cli render --sensors` of a recording made from the simulated heads gives, row for
// row, the orientation and altitude values the live document had for the same cycles, with
// the filter switches of a settings file; and `render` writes the echogram.

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTextStream>

#include "IntegrationSupport.h"
#include "ProcessSupport.h"
#include "sensors/OrientationFilter.h"
#include "sensors/SensorTable.h"

namespace {

// The row of every cycle the live document stores, without its ping column.
class RowCollector : public DocumentObserver {
public:
    explicit RowCollector(CVantrelDoc& document) : doc(document) {}
    void CycleDisplayed() override {
        const OrientationReadings raw = ConvertRawBlock(
            doc.heads[kHeadES].line.data() + kEchoSamples, doc.orientation.compassDeclination);
        rows.push_back(WithoutPing(
            SensorTableRow(0, raw, doc.orientation.readings, doc.orientation.readings.altitudeM)));
    }
    static std::string WithoutPing(const std::string& row) { return row.substr(row.find(',')); }

    CVantrelDoc& doc;
    std::vector<std::string> rows;
};

TEST(SensorTableToolsTest, RenderedSensorTableIsTheLiveOrientationOfTheRecordedCycles) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString data = dir.filePath("towed.svx");
    Rig rig(BlockConfig(59));
    ASSERT_TRUE(rig.started);
    CVantrelDoc& doc = *rig.doc;
    RowCollector collector(doc);
    doc.SetObserver(&collector);
    // The filters the settings file switches on, and the echogram the render forms (its
    // window at the render's size: 1000 wide, 2000 rows), so that the bottom is found in the
    // same column live and played.
    doc.orientation.filterEnabled[kPitchFilter] = 1;
    doc.orientation.filterEnabled[kHeadingFilter] = 1;
    doc.orientation.filterEnabled[kAltitudeFilter] = 1;
    doc.ResizeEchoSounder(1000, 2000);
    rig.Connect(BlockAddress(59, kHeadL));
    ASSERT_TRUE(doc.StartRecordingTo(data.toStdString()));
    ASSERT_TRUE(rig.RunUntil([&] { return doc.acceptedCycleCount >= 40; }, 30000));
    doc.StopRecording();
    doc.SetObserver(nullptr);
    const std::vector<std::string> live = collector.rows;

    const QString settings = dir.filePath("Sonvara_RGB.ini");
    {
        QFile file(settings);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[Filters Enabled]\nPitch=1\nRoll=0\nHeading=1\nDepth=0\nTemp=0\nAltitude=1\n");
    }
    const QString table = dir.filePath("sensors.csv");
    const ProgramRun render =
        RunProgram(SONVARA_CLI_PATH, {"render", data, "--out", dir.filePath("played"), "--sensors",
                                      table, "--settings", settings});
    ASSERT_EQ(render.exitCode, 0) << render.err.toStdString();

    QFile file(table);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QTextStream in(&file);
    EXPECT_EQ(in.readLine().toStdString(), SensorTableHeader());
    std::vector<std::string> played;
    std::vector<int> pings;
    while (!in.atEnd()) {
        const std::string row = in.readLine().toStdString();
        pings.push_back(std::stoi(row));
        played.push_back(RowCollector::WithoutPing(row));
    }
    ASSERT_GE(live.size(), 40u);
    ASSERT_EQ(played.size(), live.size());
    for (std::size_t i = 0; i < live.size(); ++i) {
        EXPECT_EQ(played[i], live[i]) << "row " << i;
        EXPECT_EQ(pings[i], pings[0] + static_cast<int>(i));
    }
    // The filters were on: the shown pitch is not always the raw one.
    int smoothed = 0;
    for (const std::string& row : live) {
        const QStringList columns = QString::fromStdString(row).split(',');
        if (columns[1] != columns[6]) ++smoothed;
    }
    EXPECT_GT(smoothed, 0);

    const QImage echo(dir.filePath("played/echo.png"));
    ASSERT_FALSE(echo.isNull());
    EXPECT_EQ(echo.height(), 2000);
    EXPECT_EQ(echo.width(), 1000);
}

}  // namespace
