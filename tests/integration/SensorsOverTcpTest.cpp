// The orientation sensor and the echo sounder of the simulated installation, decoded by the
// real document over loopback TCP: the values, the texts the windows print and the altitude.

#include <cmath>
#include <cstdio>

#include "IntegrationSupport.h"
#include "app/StatusBars.h"
#include "common/ByteOrder.h"
#include "sensors/EchoSounder.h"
#include "sensors/OrientationInstruments.h"

namespace {

double Parse(const std::string& text, const char* format) {
    double value = -1e9;
    EXPECT_EQ(std::sscanf(text.c_str(), format, &value), 1) << text;
    return value;
}

TEST(SensorsOverTcpTest, OrientationAndAltitudeOfTheSimulatedTowfish) {
    const sim::SimConfig config = BlockConfig(57);
    Rig rig(config);
    ASSERT_TRUE(rig.started);
    CVantrelDoc& doc = *rig.doc;
    rig.Connect(BlockAddress(57, kHeadL));
    ASSERT_TRUE(rig.RunUntil([&] { return doc.acceptedCycleCount >= 30; }, 30000))
        << "accepted " << doc.acceptedCycleCount;
    ASSERT_EQ(doc.orientationPresent, 1);
    EXPECT_EQ(doc.orientation.orientationSampleCount, doc.acceptedCycleCount);

    const std::uint32_t ping = GetLe32(doc.esSecondHeader.data() + 4);
    const sim::Scene scene(config.seed);
    const sim::Orientation o = scene.OrientationAt(ping);
    const OrientationReadings& r = doc.orientation.readings;
    EXPECT_NEAR(r.pitchDeg, o.pitchDeg, 0.01);
    EXPECT_NEAR(r.rollDeg, o.rollDeg, 0.01);
    EXPECT_NEAR(r.headingDeg, o.headingDeg - 22.0, 0.01);  // the default declination
    EXPECT_NEAR(r.temperatureC, o.temperatureC, 0.01);
    EXPECT_NEAR(r.depthM, o.depthM, 0.02);
    // The bottom of this cycle's echo sounder samples, found without the window.
    EXPECT_NEAR(r.altitudeM, scene.AltitudeM(ping), 0.3);

    // What the windows and the status bar print.
    const OrientationTexts texts = MakeOrientationTexts(r, 0);
    EXPECT_NEAR(Parse(texts.pitch, "P: %lf"), o.pitchDeg, 0.051);
    EXPECT_NEAR(Parse(texts.heading, "H: %lf"), o.headingDeg - 22.0, 0.051);
    EXPECT_NEAR(Parse(texts.depth, "D: %lf m"), o.depthM, 0.07);
    StatusInputs inputs;
    ApplyOrientation(inputs, r);
    const StatusBarPanes second = SecondStatusBar(doc, inputs);
    EXPECT_EQ(second[4].text, "Pitch:");
    EXPECT_NEAR(std::stod(second[5].text), o.pitchDeg, 0.051);
    // The shown altitude is at most ten pings old; the towfish changes height slowly.
    const EchoSounderOverlay overlay = MakeEchoSounderOverlay(
        260, 420, doc.esRange, doc.heads[kHeadES].gainDb, 0, true, doc.orientation.altitudeShown);
    EXPECT_NEAR(Parse(overlay.altitudeText.text, "Altitude:%lf m"), scene.AltitudeM(ping), 1.0);
    // Every stored ping carries the altitude of the cycle before it.
    const HistoryRecord& newest = doc.history.Record(doc.history.IndexBack(1));
    EXPECT_NEAR(newest.altitudeM, scene.AltitudeM(ping - 1), 0.3);
}

TEST(SensorsOverTcpTest, WithoutSensorTheShownAltitudeFollowsTheBottom) {
    sim::SimConfig config = BlockConfig(58);
    config.installation.orientation = false;
    Rig rig(config);
    ASSERT_TRUE(rig.started);
    CVantrelDoc& doc = *rig.doc;
    rig.Connect(BlockAddress(58, kHeadL));
    ASSERT_TRUE(rig.RunUntil([&] { return doc.acceptedCycleCount >= 25; }, 30000));
    EXPECT_EQ(doc.orientationPresent, 0);
    EXPECT_EQ(doc.orientation.orientationSampleCount, 0);
    EXPECT_GT(doc.orientation.altitudeShown, 5.0);
    EXPECT_LT(doc.orientation.altitudeShown, 15.0);
}

}  // namespace
