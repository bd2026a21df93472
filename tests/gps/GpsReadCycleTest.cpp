// The GPS read cycle and the port handling on a fake reader: timer 1040, one read in flight,
// playback pauses the cycle, port fall-back, device paths, messages and the chosen parity.

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "document/CVantrelDoc.h"
#include "gps/FakeGpsLink.h"
#include "gps/GpsDevices.h"
#include "gps/NmeaTestSupport.h"
#include "platform/TimerIds.h"
#include "support/FakePlatform.h"

namespace {

class GpsReadCycleTest : public ::testing::Test {
protected:
    GpsReadCycleTest() : doc(platform), link(doc.gps) { doc.SetGpsReader(&link); }
    ~GpsReadCycleTest() override { doc.SetGpsReader(nullptr); }

    // Timer 1040 fires and the reader's report comes back.
    void Cycle() {
        platform.FireTimer(kTimerGpsRead);
        if (doc.gpsInput.readInFlight) doc.GpsReadDone();
    }

    FakePlatform platform;
    CVantrelDoc doc;
    FakeLink link;
};

TEST_F(GpsReadCycleTest, ReadCycleDecodesAndReArms) {
    link.present = {"/dev/ttyS0"};
    doc.gpsConfig.gpsReadInterval = 0;  // as a damaged settings file may give it
    doc.ReopenGpsPort(1);
    EXPECT_EQ(doc.gpsInput.openDevice, "/dev/ttyS0");
    EXPECT_EQ(platform.TimerPeriod(kTimerGpsRead), 200);
    link.queued = Nmea("GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,,") + "$";
    Cycle();
    EXPECT_EQ(link.requests, 1);
    EXPECT_EQ(doc.gps.speedText, "22.4 Knots");
    EXPECT_TRUE(platform.TimerRunning(kTimerGpsRead));
    EXPECT_EQ(doc.gpsInput.readsDone, 1u);
}

TEST_F(GpsReadCycleTest, AtMostOneReadInFlight) {
    link.present = {"/dev/ttyS0"};
    doc.ReopenGpsPort(1);
    platform.FireTimer(kTimerGpsRead);
    EXPECT_FALSE(platform.TimerRunning(kTimerGpsRead));
    doc.StartGpsReadTimer();  // something restarts the timer before the report came back
    platform.FireTimer(kTimerGpsRead);
    EXPECT_EQ(link.requests, 1);
    doc.GpsReadDone();
    Cycle();
    EXPECT_EQ(link.requests, 2);
}

TEST_F(GpsReadCycleTest, WithoutAnyPortReadsStillCycle) {
    doc.ReopenGpsPort(1);
    EXPECT_TRUE(doc.gpsInput.openDevice.empty());
    EXPECT_EQ(link.probes.size(), 1u + kGpsPortCount);  // the port, then 1..256
    EXPECT_TRUE(link.opened.empty());
    for (int i = 0; i < 3; ++i) Cycle();
    EXPECT_EQ(doc.gpsInput.readsDone, 3u);
    EXPECT_TRUE(platform.TimerRunning(kTimerGpsRead));
}

TEST_F(GpsReadCycleTest, BusyPortFallsBackToTheLowestThatOpens) {
    link.present = {"/dev/ttyS2", "/dev/ttyS4", "/dev/ttyS6"};
    link.busy = {"/dev/ttyS6"};
    doc.gpsConfig.gpsPort = 7;
    doc.ReopenGpsPort(7);
    EXPECT_EQ(doc.gpsConfig.gpsPort, 3);
    EXPECT_EQ(doc.gpsInput.openDevice, "/dev/ttyS2");
}

TEST_F(GpsReadCycleTest, DevicePathWinsWithoutFallBack) {
    link.present = {"/dev/ttyS0", "/dev/pts/7"};
    doc.gpsConfig.gpsDevice = "/dev/pts/7";
    doc.ReopenGpsPort(1);
    EXPECT_EQ(doc.gpsInput.openDevice, "/dev/pts/7");
    // Gone: said, not replaced by another port.
    link.present = {"/dev/ttyS0"};
    platform.expectedMessages = {"/dev/pts/7 is not available. \nPlease choose another COM port!"};
    doc.ReopenGpsPort(1);
    EXPECT_TRUE(doc.gpsInput.openDevice.empty());
    EXPECT_EQ(link.opened.size(), 1u);  // never /dev/ttyS0
    EXPECT_TRUE(platform.expectedMessages.empty());
}

TEST_F(GpsReadCycleTest, GpsEnabledStopsAndResumesTheReads) {
    link.present = {"/dev/ttyS0"};
    doc.ReopenGpsPort(1);
    ASSERT_TRUE(platform.TimerRunning(kTimerGpsRead));
    doc.ToggleGpsEnabled();  // off
    EXPECT_FALSE(platform.TimerRunning(kTimerGpsRead));
    EXPECT_EQ(link.requests, 0);
    const int purges = link.purges;
    doc.ToggleGpsEnabled();  // on again: the queued bytes are old, they go
    EXPECT_TRUE(platform.TimerRunning(kTimerGpsRead));
    EXPECT_EQ(link.purges, purges + 1);
    platform.FireTimer(kTimerGpsRead);
    EXPECT_EQ(link.requests, 1);
}

TEST_F(GpsReadCycleTest, OpenFailuresNameTheDevice) {
    platform.expectedMessages = {"/dev/ttyUSB0 is not available. \nPlease choose another COM port!",
                                 "/dev/ttyUSB0 failed! \nPlease check its settings."};
    doc.gpsConfig.gpsDevice = "/dev/ttyUSB0";
    EXPECT_FALSE(doc.OpenGpsPort(1, 4800, 8, 0, 0, 0));
    EXPECT_TRUE(doc.gpsInput.openDevice.empty());
    link.present = {"/dev/ttyUSB0"};
    link.refuseSettings = true;
    EXPECT_TRUE(doc.OpenGpsPort(1, 4800, 8, 0, 0, 0));
    EXPECT_EQ(doc.gpsInput.openDevice, "/dev/ttyUSB0");  // stays open with the old settings
    EXPECT_TRUE(platform.expectedMessages.empty());
}

TEST_F(GpsReadCycleTest, PortIsOpenedWithTheChosenSettings) {
    link.present = {"/dev/ttyS0"};
    doc.gpsConfig.gpsBaudRate = 4800;
    doc.gpsConfig.gpsDataBits = 7;
    doc.gpsConfig.gpsStopBits = 2;
    doc.gpsConfig.gpsParity = 1;  // "Even" in the list
    doc.ReopenGpsPort(1);
    EXPECT_EQ(link.settings.baudRate, 4800);
    EXPECT_EQ(link.settings.dataBits, 7);
    EXPECT_EQ(link.settings.stopBits, 2);
    EXPECT_EQ(ParityAtListPosition(link.settings.parity), GpsParity::Even);
    EXPECT_EQ(ParityAtListPosition(0), GpsParity::None);
    EXPECT_EQ(ParityAtListPosition(2), GpsParity::Odd);
    EXPECT_EQ(ParityAtListPosition(3), GpsParity::None);
}

TEST_F(GpsReadCycleTest, PlaybackStopsTheCycleUntilItEnds) {
    link.present = {"/dev/ttyS0"};
    doc.ReopenGpsPort(1);
    doc.SuspendGpsInput();
    EXPECT_FALSE(platform.TimerRunning(kTimerGpsRead));
    EXPECT_TRUE(doc.gpsInput.openDevice.empty());
    doc.playbackMode = 1;
    doc.StartGpsReadTimer();
    platform.FireTimer(kTimerGpsRead);
    EXPECT_EQ(link.requests, 0);
    EXPECT_FALSE(platform.TimerRunning(kTimerGpsRead));
    doc.playbackMode = 0;
    doc.ResumeGpsInput();
    Cycle();
    EXPECT_EQ(link.requests, 1);
}

TEST_F(GpsReadCycleTest, ReopenResetsTheGpsData) {
    link.present = {"/dev/ttyS0"};
    doc.ReopenGpsPort(1);
    link.queued = Nmea("GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,,") + "$";
    Cycle();
    ASSERT_EQ(doc.gps.speedText, "22.4 Knots");
    doc.ReopenGpsPort(1);
    EXPECT_EQ(doc.gps.speedText, "n/a");
    EXPECT_EQ(link.closes, 1);
    EXPECT_EQ(link.purges, 2);
}

TEST(GpsDevicesTest, ListsSerialDevicesWithoutOpeningThem) {
    TempDir dev;
    for (const char* name : {"ttyS10", "ttyS2", "ttyUSB0", "ttyACM1", "tty0", "null"}) {
        TempDir::WriteText(dev.File(name), "");
    }
    std::filesystem::create_directories(dev.File("serial/by-id"));
    TempDir::WriteText(dev.File("serial/by-id/usb-GPS"), "");
    const std::vector<std::string> expected = {dev.File("ttyS2"),
                                               dev.File("ttyS10"),
                                               dev.File("ttyUSB0"),
                                               dev.File("ttyACM1"),
                                               dev.File("serial/by-id/usb-GPS"),
                                               "/dev/pts/3"};
    EXPECT_EQ(ListGpsDevices("/dev/pts/3", dev.path), expected);
    EXPECT_EQ(ListGpsDevices(dev.File("ttyS2"), dev.path).size(), 5u);
    EXPECT_EQ(GpsPortDevice(1), "/dev/ttyS0");
}

// Each node gets the by-id link that resolves to it; a link to nothing (a receiver that is
// unplugged) and a second link to the same node are left out; only what the probe opens stays.
TEST(GpsDevicesTest, PortEntriesPairNodesWithTheirByIdLinks) {
    TempDir dev;
    for (const char* name : {"ttyS0", "ttyS1", "ttyUSB0", "ttyUSB1", "ttyACM0"}) {
        TempDir::WriteText(dev.File(name), "");
    }
    std::filesystem::create_directories(dev.File("serial/by-id"));
    std::filesystem::create_symlink("../../ttyUSB1", dev.File("serial/by-id/usb-A-GNSS-if00"));
    std::filesystem::create_symlink("../../ttyUSB1", dev.File("serial/by-id/usb-B-second-if00"));
    std::filesystem::create_symlink("../../ttyACM0", dev.File("serial/by-id/usb-C-Compass"));
    std::filesystem::create_symlink("../../ttyUSB7", dev.File("serial/by-id/usb-D-unplugged"));
    const std::vector<GpsPortEntry> expected = {
        {dev.File("ttyS0"), ""},
        {dev.File("ttyS1"), ""},
        {dev.File("ttyUSB0"), ""},
        {dev.File("ttyUSB1"), dev.File("serial/by-id/usb-A-GNSS-if00")},
        {dev.File("ttyACM0"), dev.File("serial/by-id/usb-C-Compass")}};
    const std::vector<GpsPortEntry> found = FindGpsPortEntries(dev.path);
    EXPECT_EQ(found, expected);
    std::vector<std::string> probed;
    const auto opens = [&](const std::string& device) {
        probed.push_back(device);
        return device != dev.File("ttyS0") && device != dev.File("ttyS1");
    };
    const std::vector<GpsPortEntry> kept = KeepOpenable(found, opens);
    EXPECT_EQ(kept, std::vector<GpsPortEntry>(expected.begin() + 2, expected.end()));
    EXPECT_EQ(probed.size(), 5u);  // the node is probed, never the link
}

}  // namespace
