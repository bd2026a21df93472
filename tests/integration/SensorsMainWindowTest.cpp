// The main window on the real Qt platform against the simulated installation: the altitude and
// orientation the status bar, the echo-sounder window and the orientation window show, the
// same values in `sonvara-cli render --sensors` of the recording made meanwhile, and the
// diagnostics window of the connected heads. With SONVARA_SCREENSHOT_DIR set, the diagnostics
// window is also written there as diagnostics.png.

#include <QFile>
#include <QLabel>
#include <QMdiSubWindow>
#include <QTemporaryDir>
#include <QTextStream>

#include <cmath>
#include <cstdio>

#include "IntegrationSupport.h"
#include "ProcessSupport.h"
#include "SimScene.h"
#include "app/ui/CMainFrame.h"
#include "app/ui/StatusBarWidget.h"
#include "common/ByteOrder.h"
#include "sensors/EchoSounder.h"
#include "sensors/OrientationInstruments.h"
#include "shell/CommandIds.h"
#include "ui/acquisition/CDiagnosticsDlg.h"
#include "ui/acquisition/HeadDialogs.h"
#include "ui/sensors/SensorWindows.h"

namespace {

// The number at the start of a pane or read-out text after its prefix ("12.3 m", "P:  1.2").
double Number(const QString& text, const char* format = "%lf") {
    double value = -1e9;
    EXPECT_EQ(std::sscanf(text.toStdString().c_str(), format, &value), 1) << text.toStdString();
    return value;
}

QStringList LastRows(const QString& path, int count) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    QStringList rows = QTextStream(&file).readAll().split('\n', Qt::SkipEmptyParts);
    return rows.mid(std::max<qsizetype>(1, rows.size() - count));
}

TEST(SensorsMainWindowTest, AltitudeAndOrientationShownAreTheRenderedOnes) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const sim::SimConfig config = BlockConfig(73);
    Rig rig(config);
    ASSERT_TRUE(rig.started);
    CVantrelDoc& doc = *rig.doc;
    CMainFrame frame(doc);
    frame.show();
    rig.Connect(BlockAddress(73, kHeadL));
    const QString data = dir.filePath("towed.svx");
    ASSERT_TRUE(doc.StartRecordingTo(data.toStdString()));
    ASSERT_TRUE(rig.RunUntil([&] { return doc.acceptedCycleCount >= 45; }, 30000))
        << "accepted " << doc.acceptedCycleCount;
    // Nothing runs between the last recorded cycle and what is read here.
    doc.StopRecording();
    frame.UpdateStatusBars();
    ASSERT_TRUE(frame.Sensors().Exists(SensorWindows::kEchoSounder));
    const QString altitude = frame.AltitudePane()->text().mid(QStringLiteral("Altitude: ").size());
    EXPECT_TRUE(frame.AltitudePane()->text().startsWith("Altitude: "));
    const QString pitch = frame.SecondStatus()->PaneText(5);
    const QString roll = frame.SecondStatus()->PaneText(8);
    const QString heading = frame.SecondStatus()->PaneText(11);
    const QString temperature = frame.FirstStatus()->PaneText(8);
    const QString depth = frame.FirstStatus()->PaneText(11);
    const OrientationTexts texts = MakeOrientationTexts(doc.orientation.readings, doc.units);
    const QWidget* echo = frame.Sensors().Sub(SensorWindows::kEchoSounder)->widget();
    const EchoSounderOverlay overlay = MakeEchoSounderOverlay(
        echo->width(), echo->height(), doc.esRange, doc.heads[kHeadES].gainDb, doc.units, true,
        doc.orientation.altitudeShown);

    // The simulated towfish: its attitude and its height above the bottom.
    const std::uint32_t ping = GetLe32(doc.esSecondHeader.data() + 4);
    const sim::Orientation o = sim::Scene(config.seed).OrientationAt(ping);
    EXPECT_NEAR(Number(pitch), o.pitchDeg, 0.051);
    EXPECT_NEAR(Number(QString::fromStdString(texts.roll), "R: %lf"), o.rollDeg, 0.051);
    EXPECT_NEAR(Number(depth), o.depthM, 0.07);
    EXPECT_TRUE(altitude.endsWith(" m")) << altitude.toStdString();
    EXPECT_NEAR(Number(altitude), sim::Scene(config.seed).AltitudeM(ping), 1.0);
    // The echo-sounder window prints the same altitude as the status bar.
    EXPECT_DOUBLE_EQ(Number(QString::fromStdString(overlay.altitudeText.text), "Altitude:%lf m"),
                     Number(altitude));

    const QString table = dir.filePath("sensors.csv");
    const ProgramRun render = RunProgram(
        SONVARA_CLI_PATH, {"render", data, "--out", dir.filePath("played"), "--sensors", table});
    ASSERT_EQ(render.exitCode, 0) << render.err.toStdString();
    const QStringList rows = LastRows(table, 10);
    ASSERT_EQ(rows.size(), 10);
    // The last row is the last recorded cycle: its shown values, to the panes' one decimal.
    const QStringList last = rows.back().split(',');
    ASSERT_EQ(last.size(), 12) << rows.back().toStdString();
    const double tenth = 0.05 + 1e-4;
    EXPECT_NEAR(last[6].toDouble(), Number(pitch), tenth);
    EXPECT_NEAR(last[7].toDouble(), Number(roll), tenth);
    EXPECT_NEAR(last[8].toDouble(), Number(heading), tenth);
    EXPECT_NEAR(last[9].toDouble(), Number(temperature), tenth);
    EXPECT_NEAR(last[10].toDouble(), Number(depth), tenth);
    EXPECT_NEAR(last[8].toDouble(), Number(QString::fromStdString(texts.heading), "H: %lf"), tenth);
    EXPECT_NEAR(last[10].toDouble(), Number(QString::fromStdString(texts.depth), "D: %lf m"),
                tenth);
    // The shown altitude is the copy of one of the last ten cycles. The window found the bottom
    // in its own resampled column, the render in a column of its image's height: they agree to
    // a few samples.
    double nearest = 1e9;
    for (const QString& row : rows) {
        nearest = std::min(nearest, std::abs(row.split(',')[11].toDouble() - Number(altitude)));
    }
    EXPECT_LT(nearest, 0.3) << altitude.toStdString();
}

TEST(SensorsMainWindowTest, DiagnosticsOfTheConnectedInstallation) {
    sim::SimConfig config = BlockConfig(74);
    config.fast = false;  // replies after their travel time: the times an operator sees
    Rig rig(config);
    ASSERT_TRUE(rig.started);
    CVantrelDoc& doc = *rig.doc;
    CMainFrame frame(doc);
    frame.show();
    ASSERT_TRUE(frame.Router().Execute(kCmdDiagnostics));
    CDiagnosticsDlg* dialog = frame.Heads().Diagnostics();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->Value(1008), "N,  N,  N") << "not connected yet";
    rig.Connect(BlockAddress(74, kHeadL));
    // The loop time is known after the first ten pings.
    ASSERT_TRUE(rig.RunUntil(
        [&] { return doc.acceptedCycleCount >= 12 && dialog->Value(1017) != "0 ms"; }, 30000))
        << "accepted " << doc.acceptedCycleCount;
    EXPECT_EQ(dialog->Value(1008), "Y,  Y,  Y,  Y");
    EXPECT_EQ(dialog->Value(1028), "0x00, 0x00, 0x00, 0x00");
    EXPECT_EQ(dialog->Value(1100), "50 m,   50 m");
    EXPECT_EQ(dialog->Value(1007), QString::fromStdString(doc.serialNumber));
    EXPECT_FALSE(dialog->Value(1007).isEmpty());
    EXPECT_FALSE(dialog->Value(1003).contains("n/a")) << dialog->Value(1003).toStdString();
    EXPECT_TRUE(dialog->Value(1092).endsWith(" kHz"));
    EXPECT_EQ(dialog->Value(1092).count(','), 3);
    EXPECT_GT(Number(dialog->Value(1017), "%lf ms"), 0.0);
    const QByteArray shots = qgetenv("SONVARA_SCREENSHOT_DIR");
    if (!shots.isEmpty()) {
        EXPECT_TRUE(dialog->grab().save(QString::fromUtf8(shots) + "/diagnostics.png"));
    }
}

}  // namespace
