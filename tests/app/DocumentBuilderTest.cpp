// The test builder sets what it names and nothing else: a switch set twice stays set, the
// installation sets the presence flags and the configuration, the speed reaches the dialog's
// settings.

#include "support/DocumentBuilder.h"

#include <gtest/gtest.h>

#include <functional>

#include "support/FakePlatform.h"

namespace {

class DocumentBuilderTest : public ::testing::Test {
protected:
    FakePlatform platform;
    CVantrelDoc doc{platform};
};

TEST_F(DocumentBuilderTest, SwitchesTakeTheStateAskedForWhateverTheyWere) {
    struct Case {
        const char* name;
        std::function<void(DocumentBuilder&, bool)> set;
        std::function<std::int32_t(const CVantrelDoc&)> state;
    };
    const Case cases[] = {
        {"event input", [](DocumentBuilder& b, bool on) { b.EventInput(on); },
         [](const CVantrelDoc& d) { return d.events.eventInputEnabled; }},
        {"hold when adding", [](DocumentBuilder& b, bool on) { b.HoldWhenAdding(on); },
         [](const CVantrelDoc& d) { return d.events.holdWhenAdding; }},
        {"event markers", [](DocumentBuilder& b, bool on) { b.EventMarkers(on); },
         [](const CVantrelDoc& d) { return d.events.showEventMarkers; }},
        {"auto popup", [](DocumentBuilder& b, bool on) { b.AutoEventPopup(on); },
         [](const CVantrelDoc& d) { return d.events.autoEventPopup; }},
        {"alarm", [](DocumentBuilder& b, bool on) { b.SettingsChangeAlarm(on); },
         [](const CVantrelDoc& d) { return d.files.settingsChangeAlarm; }},
        {"hold", [](DocumentBuilder& b, bool on) { b.Held(on); },
         [](const CVantrelDoc& d) { return d.images.held; }},
    };
    for (const Case& c : cases) {
        DocumentBuilder build(doc);
        for (const bool on : {true, true, false, false, true}) {
            c.set(build, on);
            EXPECT_EQ(c.state(doc), on ? 1 : 0) << c.name;
        }
    }
}

TEST_F(DocumentBuilderTest, HeadsSetThePresenceAndApplyTheConfiguration) {
    DocumentBuilder(doc).Heads({kHeadM, kHeadH});
    EXPECT_EQ(doc.heads[kHeadL].available, 0);
    EXPECT_EQ(doc.heads[kHeadM].available, 1);
    EXPECT_EQ(doc.heads[kHeadH].available, 1);
    EXPECT_EQ(doc.heads[kHeadES].available, 0);
    EXPECT_EQ(doc.headCount, 2);
    EXPECT_EQ(doc.twoFrequencySystem, 1);
    EXPECT_EQ(doc.displayChannelA, kHeadM);
    EXPECT_EQ(doc.displayChannelB, kHeadH);
    DocumentBuilder(doc).Installed({1, 0, 1, 1});
    EXPECT_EQ(doc.headCount, 3);
    EXPECT_EQ(doc.twoFrequencySystem, 1) << "the configuration is not applied again";
}

TEST_F(DocumentBuilderTest, SpeedGoesThroughTheDialogsChoices) {
    using From = DocumentBuilder::SpeedFrom;
    DocumentBuilder(doc).Speed(From::Manual, 6.3, false);
    EXPECT_DOUBLE_EQ(doc.speed.manualSpeedKnots, 6.3);
    EXPECT_EQ(doc.speed.useManualSpeed, 1);
    EXPECT_EQ(doc.speed.useGpsSpeed, 0);
    EXPECT_EQ(doc.speed.speedCorrection, 0);
    DocumentBuilder(doc).Speed(From::Gps, 0.4).SpeedCorrection(false);
    EXPECT_DOUBLE_EQ(doc.speed.manualSpeedKnots, 0.4);
    EXPECT_EQ(doc.speed.useManualSpeed, 0);
    EXPECT_EQ(doc.speed.useGpsSpeed, 1);
    EXPECT_EQ(doc.speed.speedCorrection, 0);
}

TEST_F(DocumentBuilderTest, SettingsFileAndStartUpDeviceKeepEachOther) {
    DocumentBuilder(doc).StartupGpsDevice("/dev/pts/3").SettingsFile("/tmp/x.ini");
    EXPECT_EQ(doc.gpsConfig.startupDevice, "/dev/pts/3");
    EXPECT_EQ(doc.iniPath, "/tmp/x.ini");
    DocumentBuilder(doc).StartupGpsDevice("");
    EXPECT_EQ(doc.iniPath, "/tmp/x.ini");
    EXPECT_TRUE(doc.gpsConfig.startupDevice.empty());
}

}  // namespace
