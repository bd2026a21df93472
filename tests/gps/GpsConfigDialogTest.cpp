// The GPS configuration dialog without its widgets: list selections from stored values, the
// choices, "&Default" / "&Apply" / "&OK", the read-interval spin, the blue sentences, and what
// applying a choice does to the document and the port.

#include <gtest/gtest.h>

#include "document/CVantrelDoc.h"
#include "gps/FakeGpsLink.h"
#include "gps/GpsConfigDialogModel.h"
#include "gps/GpsDocumentOps.h"
#include "gps/NmeaTestSupport.h"
#include "platform/TimerIds.h"
#include "support/DocumentBuilder.h"
#include "support/FakePlatform.h"

namespace {

struct StoredCase {
    int baudRate, parity, dataBits, stopBits;
    int baudIndex, parityIndex, dataBitsIndex, stopBitsIndex;
};

TEST(GpsConfigDialogModelTest, StoredValuesSelectTheirEntries) {
    const StoredCase cases[] = {
        {4800, 0, 8, 0, 0, 0, 3, 0},  {9600, 1, 7, 2, 1, 1, 2, 1},   {115200, 2, 5, 1, 5, 2, 0, 1},
        {1234, 3, 9, 5, 0, -1, 3, 0}, {19200, 4, 6, 0, 2, -1, 1, 0},
    };
    for (const StoredCase& c : cases) {
        GpsPortSettings settings;
        settings.gpsBaudRate = c.baudRate;
        settings.gpsParity = static_cast<std::uint8_t>(c.parity);
        settings.gpsDataBits = static_cast<std::uint8_t>(c.dataBits);
        settings.gpsStopBits = static_cast<std::uint8_t>(c.stopBits);
        GpsConfigDialogModel model;
        model.Load(settings, {});
        EXPECT_EQ(model.BaudRateIndex(), c.baudIndex) << c.baudRate;
        EXPECT_EQ(model.ParityIndex(), c.parityIndex) << c.parity;
        EXPECT_EQ(model.DataBitsIndex(), c.dataBitsIndex) << c.dataBits;
        EXPECT_EQ(model.StopBitsIndex(), c.stopBitsIndex) << c.stopBits;
        EXPECT_FALSE(model.ApplyEnabled());
    }
}

TEST(GpsConfigDialogModelTest, ChoicesGiveTheStoredCodes) {
    GpsConfigDialogModel model;
    model.Load(GpsPortSettings{}, {"/dev/ttyS0"});
    model.SelectStopBits(1);
    EXPECT_EQ(model.Choice().stopBits, 2);
    model.SelectStopBits(0);
    EXPECT_EQ(model.Choice().stopBits, 0);
    model.SelectParity(1);  // "Even"
    EXPECT_EQ(model.Choice().parity, 1);
    model.SelectDataBits(2);
    EXPECT_EQ(model.Choice().dataBits, 7);
    model.SelectBaudRate(5);
    EXPECT_EQ(model.Choice().baudRate, 115200);
    model.SelectSentences(1);
    EXPECT_EQ(model.Choice().sentenceSet, 1);
    EXPECT_TRUE(model.ApplyEnabled());
    // Out-of-range positions (nothing selected) change nothing.
    model.SelectParity(-1);
    EXPECT_EQ(model.Choice().parity, 1);
}

struct PortCase {
    const char* name;
    int port;
    const char* device;
    std::vector<std::string> found;
    std::vector<std::string> texts;
    int selected;
    bool enabled;
};

TEST(GpsConfigDialogModelTest, PortListHoldsTheConfiguredDevice) {
    const PortCase cases[] = {
        {"pty",
         1,
         "/dev/pts/7",
         {"/dev/ttyS0", "/dev/ttyUSB0"},
         {"/dev/ttyS0", "/dev/ttyUSB0", "/dev/pts/7"},
         2,
         true},
        {"number", 2, "", {"/dev/ttyS0"}, {"/dev/ttyS0", "/dev/ttyS1"}, 1, true},
        {"listed", 1, "", {"/dev/ttyS0", "/dev/ttyS1"}, {"/dev/ttyS0", "/dev/ttyS1"}, 0, true},
        {"none", 300, "", {}, {"No Com Ports available"}, -1, false},
    };
    for (const PortCase& c : cases) {
        GpsPortSettings settings;
        settings.gpsPort = c.port;
        settings.gpsDevice = c.device;
        GpsConfigDialogModel model;
        model.Load(settings, c.found);
        EXPECT_EQ(model.PortTexts(), c.texts) << c.name;
        EXPECT_EQ(model.PortIndex(), c.selected) << c.name;
        EXPECT_EQ(model.PortListEnabled(), c.enabled) << c.name;
    }
}

// A port with a stable by-id name is listed with it beside the device, and choosing it stores
// the by-id name; the configured device is selected whether it was stored by node or by link.
TEST(GpsConfigDialogModelTest, PortsShowTheirByIdNameAndStoreIt) {
    const std::vector<GpsPortEntry> found = {
        {"/dev/ttyS0", ""}, {"/dev/ttyUSB1", "/dev/serial/by-id/usb-GNSS-if00"}};
    struct Case {
        const char* configured;
        int selected;
        std::size_t count;
    };
    const Case cases[] = {{"/dev/ttyUSB1", 1, 2},
                          {"/dev/serial/by-id/usb-GNSS-if00", 1, 2},
                          {"/dev/pts/4", 2, 3},
                          {"", 0, 2}};  // port 1: /dev/ttyS0
    for (const Case& c : cases) {
        GpsPortSettings settings;
        settings.gpsDevice = c.configured;
        GpsConfigDialogModel model;
        model.LoadPorts(settings, found);
        EXPECT_EQ(model.PortIndex(), c.selected) << c.configured;
        ASSERT_EQ(model.PortTexts().size(), c.count) << c.configured;
        EXPECT_EQ(model.PortTexts()[1], "/dev/ttyUSB1  [/dev/serial/by-id/usb-GNSS-if00]");
        EXPECT_FALSE(model.ApplyEnabled());
    }
    GpsPortSettings settings;
    GpsConfigDialogModel model;
    model.LoadPorts(settings, found);
    model.SelectPort(1);
    EXPECT_EQ(model.Choice().device, "/dev/serial/by-id/usb-GNSS-if00");
    EXPECT_EQ(model.Choice().port, 1);  // a USB receiver has no classic number

    // A probe that finishes later refills the list and keeps the user's unapplied choice.
    model.SetPorts({{"/dev/ttyUSB1", "/dev/serial/by-id/usb-GNSS-if00"}});
    EXPECT_EQ(model.PortIndex(), 0);
    EXPECT_TRUE(model.ApplyEnabled());
    EXPECT_EQ(model.Choice().device, "/dev/serial/by-id/usb-GNSS-if00");
    model.SetPorts({});
    EXPECT_EQ(model.PortTexts(),
              std::vector<std::string>{"/dev/serial/by-id/usb-GNSS-if00"});  // still listed
}

TEST(GpsConfigDialogModelTest, OpeningShowsTheChoiceTheSettingsStandFor) {
    GpsPortSettings settings;
    settings.gpsPort = 3;
    settings.gpsBaudRate = 57600;
    settings.gpsSentenceSet = 9;  // out of range: shown as "VTG"
    GpsConfigDialogModel model;
    model.Load(settings, {});
    EXPECT_EQ(model.Choice(), ChoiceOf(settings));
    EXPECT_EQ(model.Choice().device, "/dev/ttyS2");
    EXPECT_EQ(model.SentenceIndex(), 3);
    settings.gpsDevice = "/dev/ttyACM0";
    EXPECT_FALSE(model.Choice() == ChoiceOf(settings));
}

TEST(GpsConfigDialogModelTest, ChoosingAPortGivesItsNumberOrPath) {
    GpsConfigDialogModel model;
    GpsPortSettings settings;
    settings.gpsPort = 1;
    model.Load(settings, {"/dev/ttyS0", "/dev/ttyS3", "/dev/ttyUSB0"});
    model.SelectPort(1);
    EXPECT_EQ(model.Choice().port, 4);
    EXPECT_EQ(model.Choice().device, "/dev/ttyS3");
    model.SelectPort(2);
    EXPECT_EQ(model.Choice().port, 4);  // a USB receiver has no classic number
    EXPECT_EQ(model.Choice().device, "/dev/ttyUSB0");
    model.SelectPort(7);
    EXPECT_EQ(model.Choice().device, "/dev/ttyUSB0");
}

TEST(GpsConfigDialogModelTest, DefaultThenOkStaysOpenOnceThenCloses) {
    GpsPortSettings settings;
    settings.gpsBaudRate = 38400;
    settings.gpsSentenceSet = 0;
    settings.gpsStopBits = 2;
    GpsConfigDialogModel model;
    model.Load(settings, {"/dev/ttyUSB0", "/dev/ttyS4"});
    model.Default();
    const GpsConfigChoice& c = model.Choice();
    EXPECT_EQ(c.port, 1);
    EXPECT_EQ(c.device, "/dev/ttyUSB0");
    EXPECT_EQ(c.baudRate, 4800);
    EXPECT_EQ(c.dataBits, 8);
    EXPECT_EQ(c.stopBits, 0);
    EXPECT_EQ(c.parity, 0);
    EXPECT_EQ(c.sentenceSet, 2);
    EXPECT_TRUE(model.ApplyEnabled());
    EXPECT_FALSE(model.FinishOk());  // the first OK applies and stays
    EXPECT_FALSE(model.ApplyEnabled());
    EXPECT_TRUE(model.FinishOk());  // the second closes
    model.PressApply();
    EXPECT_FALSE(model.FinishOk());
}

TEST(GpsConfigDialogModelTest, SpinStepsAreClampedToTwoHundredAndTwoThousand) {
    const int cases[][3] = {{2, -1, 200},  {20, 1, 2000}, {10, 1, 1100},
                            {10, -1, 900}, {3, -5, 200},  {19, 4, 2000}};
    for (const auto& c : cases) {
        EXPECT_EQ(GpsConfigDialogModel::SpinStep(c[0], c[1]), c[2]) << c[0] << " " << c[1];
    }
    EXPECT_EQ(GpsConfigDialogModel::SpinPosition(1000), 10);
    EXPECT_EQ(GpsConfigDialogModel::SpinPosition(50), 2);
    EXPECT_EQ(GpsConfigDialogModel::SpinPosition(9000), 20);
    EXPECT_TRUE(GpsConfigDialogModel::ValidEditInterval(100));
    EXPECT_FALSE(GpsConfigDialogModel::ValidEditInterval(99));
    EXPECT_FALSE(GpsConfigDialogModel::ValidEditInterval(2001));
}

TEST(GpsConfigDialogModelTest, SentencesOfTheSelectionAreMarked) {
    const std::tuple<const char*, int, bool> cases[] = {
        {"$GPGLL,4916.45,N", 0, true}, {"$GPVTG,054.7,T", 0, true},   {"$GPGGA,123519", 0, false},
        {"$GNGGA,123519,48", 1, true}, {"$GPRMC,123519,A", 1, false}, {"$GPRMC,123519,A", 2, true},
        {"$GPVTG,054.7,T", 3, true},   {"$GPHDT,92.0,T", 3, false},   {"$GP", 2, false},
        {"$GPRMC,123519,A", 7, false},
    };
    for (const auto& [sentence, set, marked] : cases) {
        EXPECT_EQ(SentenceInSelection(sentence, set), marked) << sentence << " " << set;
    }
}

class GpsConfigApplyTest : public ::testing::Test {
protected:
    GpsConfigApplyTest() : doc(platform), link(doc.gps) {
        doc.SetGpsReader(&link);
        link.present = {"/dev/ttyS0", "/dev/ttyUSB0"};
        doc.ReopenGpsPort(1);
        link.opened.clear();
    }
    ~GpsConfigApplyTest() override { doc.SetGpsReader(nullptr); }

    GpsConfigChoice Current() {
        GpsConfigDialogModel model;
        model.Load(doc.gpsConfig, ListGpsPorts(doc));
        return model.Choice();
    }

    FakePlatform platform;
    CVantrelDoc doc;
    FakeLink link;
};

TEST_F(GpsConfigApplyTest, UnchangedChoiceDoesNotReopen) {
    EXPECT_FALSE(ApplyGpsConfigChoice(doc, Current()));
    EXPECT_TRUE(link.opened.empty());
}

TEST_F(GpsConfigApplyTest, ChangedChoiceIsStoredAndReopensThePort) {
    GpsConfigChoice choice = Current();
    choice.device = "/dev/ttyUSB0";
    choice.parity = 1;
    choice.stopBits = 2;
    choice.baudRate = 4800;
    choice.sentenceSet = 2;
    DocumentBuilder(doc).GpsReaderWrites([](GpsState& gps) {
        gps.track.trackPath.push_back({0, 0, 1, 1});
        gps.speedText = "5.0 Knots";
    });
    EXPECT_TRUE(ApplyGpsConfigChoice(doc, choice));
    EXPECT_EQ(doc.gpsConfig.gpsDevice, "/dev/ttyUSB0");
    EXPECT_EQ(doc.gpsConfig.gpsParity, 1);
    EXPECT_EQ(doc.gpsConfig.gpsStopBits, 2);
    EXPECT_EQ(doc.gpsConfig.gpsBaudRate, 4800);
    EXPECT_EQ(doc.gpsConfig.gpsBaudRateIndex, 0);
    EXPECT_EQ(doc.gpsConfig.gpsSentenceSet, 2);
    ASSERT_EQ(link.opened, std::vector<std::string>{"/dev/ttyUSB0"});
    EXPECT_EQ(ParityAtListPosition(link.settings.parity), GpsParity::Even);
    EXPECT_EQ(link.settings.stopBits, 2);
    EXPECT_EQ(doc.gpsInput.openDevice, "/dev/ttyUSB0");
    EXPECT_TRUE(platform.TimerRunning(kTimerGpsRead));
    EXPECT_TRUE(doc.gps.track.trackPath.empty());
    EXPECT_EQ(doc.gps.speedText, "n/a");
}

TEST_F(GpsConfigApplyTest, PlaybackStoresWithoutReopening) {
    DocumentBuilder(doc).PlaybackFlag(true);
    GpsConfigChoice choice = Current();
    choice.baudRate = 9600;
    EXPECT_TRUE(ApplyGpsConfigChoice(doc, choice));
    EXPECT_EQ(doc.gpsConfig.gpsBaudRate, 9600);
    EXPECT_EQ(doc.gpsConfig.gpsBaudRateIndex, 1);
    EXPECT_TRUE(link.opened.empty());
}

TEST_F(GpsConfigApplyTest, ReadIntervalTakesEffectAtTheNextReArm) {
    const std::pair<int, int> cases[] = {{50, 200}, {700, 700}, {5000, 2000}};
    for (const auto& [set, used] : cases) {
        SetGpsReadInterval(doc, set);
        EXPECT_EQ(doc.gpsConfig.gpsReadInterval, used);
        link.queued = Nmea("GPVTG,054.7,T,034.4,M,005.5,N,010.2,K") + "$";
        platform.FireTimer(kTimerGpsRead);
        doc.GpsReadDone();
        EXPECT_EQ(platform.TimerPeriod(kTimerGpsRead), used) << set;
    }
}

}  // namespace
