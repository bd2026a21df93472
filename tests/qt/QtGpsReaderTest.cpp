// The GPS reader thread on a real pseudo-terminal: the document's read cycle (timer 1040 on
// the Qt platform, one read in flight, decode on the reader thread, done on the window thread)
// decodes what a receiver writes, and an unplugged receiver is reopened on later cycles.

#include <gtest/gtest.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <QThread>
#include <string>

#include "QtTestSupport.h"
#include "document/CVantrelDoc.h"
#include "platform/TimerIds.h"
#include "platform/qt/QtGpsReader.h"
#include "platform/qt/QtPlatform.h"

namespace {

std::string Nmea(const std::string& body) {
    unsigned sum = 0;
    for (unsigned char c : body) sum ^= c;
    char tail[8];
    std::snprintf(tail, sizeof tail, "*%02X\r\n", sum);
    return "$" + body + tail;
}

// A pseudo-terminal whose master side plays the receiver.
class Receiver {
public:
    Receiver() {
        char name[256] = {};
        if (openpty(&master, &slave, name, nullptr, nullptr) == 0) path = name;
        termios raw{};
        tcgetattr(slave, &raw);
        cfmakeraw(&raw);
        tcsetattr(slave, TCSANOW, &raw);
    }
    ~Receiver() {
        if (master >= 0) close(master);
        if (slave >= 0) close(slave);
    }
    void Send(const std::string& text) const {
        ASSERT_EQ(write(master, text.data(), text.size()), static_cast<ssize_t>(text.size()));
    }
    std::string path;
    int master = -1, slave = -1;
};

class QtGpsReaderTest : public ::testing::Test {
protected:
    QtGpsReaderTest() : doc(platform), reader(doc.gps, [this] { doc.GpsReadDone(); }) {
        platform.SetMessageSink([this](const std::string& text) { messages.push_back(text); });
        platform.SetTimerListener(&doc);
        doc.gpsConfig.gpsReadInterval = 200;
        doc.SetGpsReader(&reader);
    }
    ~QtGpsReaderTest() override { doc.SetGpsReader(nullptr); }

    QtPlatform platform{QtPlatform::Mode::Headless};
    CVantrelDoc doc;
    QtGpsReader reader;
    std::vector<std::string> messages;
};

TEST_F(QtGpsReaderTest, DecodesWhatTheReceiverWritesOnItsOwnThread) {
    Receiver gps;
    ASSERT_FALSE(gps.path.empty());
    doc.gpsConfig.gpsDevice = gps.path;
    doc.ReopenGpsPort(doc.gpsConfig.gpsPort);
    ASSERT_EQ(doc.gpsInput.openDevice, gps.path) << (messages.empty() ? "" : messages[0]);
    const std::string batch =
        Nmea("GPRMC,123519,A,4807.038,S,01131.000,W,022.4,084.4,230394,003.1,W") +
        Nmea("GPHDT,274.07,T") + Nmea("GPVTG,084.4,T,034.4,M,022.4,N,041.5,K") + "$";
    gps.Send(batch);
    const bool decoded = RunUntil(
        [&] {
            std::lock_guard<std::mutex> guard(doc.gps.lock);
            return doc.gps.headingText == "274.1 Deg.";
        },
        5000);
    ASSERT_TRUE(decoded);
    std::lock_guard<std::mutex> guard(doc.gps.lock);
    EXPECT_EQ(doc.gps.latitudeText, "48.07.038 S");
    EXPECT_EQ(doc.gps.longitudeText, "011.31.000 W");
    EXPECT_EQ(doc.gps.speedText, "22.4 Knots");
    EXPECT_EQ(doc.gps.courseText, "84.4 Deg.");
    EXPECT_LT(doc.gps.gpsLatitude, 0.0);
    EXPECT_FALSE(doc.gps.track.firstPointPending);
}

TEST_F(QtGpsReaderTest, ReadsKeepCyclingWithoutAPort) {
    doc.gpsConfig.gpsDevice = "/dev/sonvara-no-such-device";
    doc.ReopenGpsPort(doc.gpsConfig.gpsPort);
    EXPECT_TRUE(doc.gpsInput.openDevice.empty());
    // Each read reports back with no data, and the timer is re-armed every time.
    EXPECT_TRUE(RunUntil([&] { return doc.gpsInput.readsDone >= 3; }, 5000));
    EXPECT_TRUE(platform.TimerRunning(kTimerGpsRead) || doc.gpsInput.readInFlight);
}

TEST_F(QtGpsReaderTest, UnplugReportsAnErrorAndTheReaderReopensLater) {
    auto gps = std::make_unique<Receiver>();
    ASSERT_FALSE(gps->path.empty());
    doc.gpsConfig.gpsDevice = gps->path;
    doc.ReopenGpsPort(doc.gpsConfig.gpsPort);
    ASSERT_EQ(doc.gpsInput.openDevice, gps->path);
    gps.reset();  // the receiver goes away: reads fail, and the cycle goes on
    const std::uint32_t before = doc.gpsInput.readsDone;
    EXPECT_TRUE(RunUntil([&] { return doc.gpsInput.readsDone >= before + 3; }, 5000));
}

}  // namespace
