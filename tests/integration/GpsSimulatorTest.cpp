// sonvara-headsim --gps pty as a process and the application's real GPS reader thread: the
// document decodes the simulated receiver's sentences for a few seconds and draws the track.

#include <gtest/gtest.h>

#include <QRegularExpression>

#include "ProcessSupport.h"
#include "document/CVantrelDoc.h"
#include "platform/qt/QtGpsReader.h"
#include "platform/qt/QtPlatform.h"

namespace {

TEST(GpsSimulatorTest, ReaderThreadDecodesTheSimulatedReceiver) {
    Simulator sim({"--fast", "--addresses", "127.77.33.2,127.77.33.3,127.77.33.4,127.77.33.5",
                   "--gps", "pty", "--speed", "20", "--rate", "5", "--duration", "60"});
    ASSERT_TRUE(sim.WaitReady()) << sim.error.toStdString();
    const QString gpsDevice = sim.GpsDevice();
    ASSERT_FALSE(gpsDevice.isEmpty()) << sim.error.toStdString();

    QtPlatform platform(QtPlatform::Mode::Headless);
    CVantrelDoc doc(platform);
    platform.SetTimerListener(&doc);
    QtGpsReader reader(doc.gps, [&doc] { doc.GpsReadDone(); });
    doc.SetGpsReader(&reader);
    doc.gpsConfig.gpsDevice = gpsDevice.toStdString();
    doc.gpsConfig.gpsReadInterval = 200;
    doc.ReopenGpsPort(doc.gpsConfig.gpsPort);
    ASSERT_FALSE(doc.gpsInput.openDevice.empty());

    const bool tracked = RunUntil(
        [&] {
            std::lock_guard<std::mutex> guard(doc.gps.lock);
            return doc.gps.track.trackPath.size() >= 5;
        },
        20000);
    doc.CloseAllGpsPorts();
    doc.SetGpsReader(nullptr);
    ASSERT_TRUE(tracked);
    std::lock_guard<std::mutex> guard(doc.gps.lock);
    EXPECT_EQ(doc.gps.latitudeText.substr(0, 6), "54.19.");
    EXPECT_EQ(doc.gps.longitudeText.substr(0, 7), "010.09.");
    EXPECT_EQ(doc.gps.speedText, "20.0 Knots");
    EXPECT_EQ(doc.gps.courseText, "90.0 Deg.");
    EXPECT_EQ(doc.gps.headingText, "92.0 Deg.");
    EXPECT_GT(doc.gps.track.trackX, 5.0);  // running east on the first line
    EXPECT_EQ(doc.gps.trackRestart, 0);
}

}  // namespace
