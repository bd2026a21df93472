// The main window's track plotter and GPS dialog fed by sonvara-headsim --gps pty through the
// real reader thread: both follow the reader's done reports. With SONVARA_SCREENSHOT_DIR set,
// the plotter and the dialog are written there as gps-track.png and gps-config.png.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QRegularExpression>

#include "ProcessSupport.h"
#include "app/ui/CMainFrame.h"
#include "document/CVantrelDoc.h"
#include "platform/qt/QtGpsReader.h"
#include "platform/qt/QtPlatform.h"
#include "shell/CommandIds.h"
#include "ui/gps/CGPSConfigDlg.h"
#include "ui/gps/CGPSTrackView.h"
#include "ui/gps/GpsWindows.h"

namespace {

void Save(QWidget& widget, const char* name) {
    const QByteArray dir = qgetenv("SONVARA_SCREENSHOT_DIR");
    if (dir.isEmpty()) return;
    ASSERT_TRUE(
        widget.grab().save(QString::fromUtf8(dir) + QLatin1Char('/') + QString::fromLatin1(name)));
}

int GreenPixels(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c(image.pixel(x, y));
            count += c.green() > 200 && c.red() < 60 && c.blue() < 60;
        }
    }
    return count;
}

TEST(GpsWindowsLiveTest, PlotterAndDialogFollowTheSimulatedReceiver) {
    // Fast enough to finish a 400 m line and turn within seconds; each read stays well under
    // the 50 m jump.
    Simulator sim({"--fast", "--addresses", "127.77.34.2,127.77.34.3,127.77.34.4,127.77.34.5",
                   "--gps", "pty", "--speed", "100", "--rate", "10", "--duration", "60"});
    ASSERT_TRUE(sim.WaitReady()) << sim.error.toStdString();
    const QString gpsDevice = sim.GpsDevice();
    ASSERT_FALSE(gpsDevice.isEmpty()) << sim.error.toStdString();

    QtPlatform platform(QtPlatform::Mode::Headless);
    CVantrelDoc doc(platform);
    platform.SetTimerListener(&doc);
    CMainFrame frame(doc);
    frame.show();
    QtGpsReader reader(doc.gps, [&doc] { doc.GpsReadDone(); });
    doc.SetGpsReader(&reader);
    doc.gpsConfig.gpsDevice = gpsDevice.toStdString();
    doc.gpsConfig.gpsReadInterval = 200;
    doc.gpsConfig.gpsSentenceSet = 2;
    doc.gpsConfig.trackZoom = 0.5;
    frame.Commands().Execute(kCmdShowGpsTrack);
    GpsWindows& gps = frame.Gps();
    ASSERT_NE(gps.TrackView(), nullptr);
    gps.TrackWindow()->resize(480, 380);
    frame.Commands().Execute(kCmdGpsPortSettings);
    doc.ReopenGpsPort(doc.gpsConfig.gpsPort);
    ASSERT_FALSE(doc.gpsInput.openDevice.empty());

    // Past the first line's end and the step north, on the way back west.
    CGPSConfigDlg* dialog = gps.ConfigDialog();
    const bool turned = RunUntil(
        [&] {
            std::lock_guard<std::mutex> guard(doc.gps.lock);
            return doc.gps.track.trackY < -60.0 && doc.gps.track.trackX < 300.0;
        },
        30000);
    // The dialog follows the done reports (through the main window's refresh).
    const bool shown = RunUntil(
        [&] { return dialog->received->Sentences().join(QString()).contains("$GPRMC"); }, 5000);
    Save(*gps.TrackWindow(), "gps-track.png");
    Save(*dialog, "gps-config.png");
    doc.CloseAllGpsPorts();
    doc.SetGpsReader(nullptr);
    ASSERT_TRUE(turned);
    ASSERT_TRUE(shown);
    EXPECT_GT(GreenPixels(gps.TrackView()->Render()), 150);
    EXPECT_EQ(dialog->qualityEdit->text().left(11), QStringLiteral("From RMC:  "));
    EXPECT_EQ(dialog->sentenceList->currentText(), QStringLiteral("RMC"));
    EXPECT_EQ(dialog->portList->currentText(), gpsDevice);
    std::lock_guard<std::mutex> guard(doc.gps.lock);
    EXPECT_EQ(doc.gps.speedText, "100.0 Knots");
}

}  // namespace
