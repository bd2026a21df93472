// Read-outs, gauge labels and geometry of the orientation window.

#include <gtest/gtest.h>

#include <cmath>

#include "sensors/OrientationInstruments.h"

namespace {

TEST(OrientationInstrumentsTest, ReadoutsInBothUnits) {
    OrientationReadings v;
    v.pitchDeg = -3.25;
    v.rollDeg = 12.0;
    v.headingDeg = 338.0;
    v.depthM = 30.48;
    v.temperatureC = 10.0;
    OrientationTexts t = MakeOrientationTexts(v, 0);
    EXPECT_EQ(t.pitch, "P:  -3.2");
    EXPECT_EQ(t.roll, "R:  12.0");
    EXPECT_EQ(t.heading, "H: 338.0");
    EXPECT_EQ(t.depth, "D:  30.5 m");
    EXPECT_EQ(t.temperature, "T:  10.0  C");
    t = MakeOrientationTexts(v, 1);
    EXPECT_EQ(t.depth, "D: 100.0 ft");
    EXPECT_EQ(t.temperature, "T:  50.0  F");
    EXPECT_EQ(t.heading, "H: 338.0");
}

TEST(OrientationInstrumentsTest, GaugeLabels) {
    const GaugeLabels metric = MakeGaugeLabels(0);
    EXPECT_EQ(metric.depthTop, "0");
    EXPECT_EQ(metric.depthBottom, "1000");
    EXPECT_EQ(metric.tempBottom, "-5");
    EXPECT_EQ(metric.tempTop, "35");
    const GaugeLabels imperial = MakeGaugeLabels(1);
    EXPECT_EQ(imperial.depthBottom, "3000");  // metres x 3, not 3281
    EXPECT_EQ(imperial.tempBottom, "23");
    EXPECT_EQ(imperial.tempTop, "95");
    EXPECT_EQ(GaugeOffset(500, 0, 1000, 201), 100);
    EXPECT_EQ(GaugeOffset(15, -5, 35, 160), 80);
    EXPECT_EQ(GaugeOffset(-40, -5, 35, 160), 0);
}

TEST(OrientationInstrumentsTest, PitchGroundAndNeedle) {
    // +90: the horizon at the bottom, no ground; -90: the whole disc.
    PitchGround g = MakePitchGround(90, 40);
    EXPECT_DOUBLE_EQ(g.y, 40);
    EXPECT_NEAR(g.sweepDeg, 0.0, 1e-9);
    g = MakePitchGround(-90, 40);
    EXPECT_NEAR(g.sweepDeg, 360.0, 1e-9);
    EXPECT_NEAR(g.startDeg, 270.0, 1e-9);
    g = MakePitchGround(0, 40);
    EXPECT_NEAR(g.startDeg, 0.0, 1e-5);
    EXPECT_NEAR(g.sweepDeg, 180.0, 1e-5);
    EXPECT_NEAR(g.halfChord, 40.0, 1e-9);
    g = MakePitchGround(45, 40);
    EXPECT_DOUBLE_EQ(g.y, 20);
    EXPECT_NEAR(g.sweepDeg, 120.0, 1e-5);  // h = 60 degrees
    NeedleEnd n = HeadingNeedle(0, 50);
    EXPECT_NEAR(n.x, 0, 1e-9);
    EXPECT_NEAR(n.y, -40, 1e-9);
    n = HeadingNeedle(90, 50);
    EXPECT_NEAR(n.x, 40, 1e-5);
    EXPECT_NEAR(n.y, 0, 1e-5);
}

}  // namespace

#include "sensors/SensorTable.h"

namespace {

TEST(SensorTableTest, HeaderAndRowWithFourDecimals) {
    EXPECT_EQ(SensorTableHeader(),
              "ping,pitch_raw,roll_raw,heading_raw,temperature_raw,depth_raw,pitch,roll,heading,"
              "temperature,depth,altitude");
    OrientationReadings raw, shown;
    raw.pitchDeg = 60.0;
    raw.rollDeg = -1.23456;
    raw.headingDeg = 338.0;
    raw.temperatureC = 11.5;
    raw.depthM = 999.984741;
    shown = raw;
    shown.pitchDeg = 2.0;
    EXPECT_EQ(SensorTableRow(17, raw, shown, 12.5),
              "17,60.0000,-1.2346,338.0000,11.5000,999.9847,2.0000,-1.2346,338.0000,11.5000,"
              "999.9847,12.5000");
    // Without a sensor nothing was measured: the raw columns stay empty, not a converted zero
    // block (whose heading would read 338 degrees).
    EXPECT_EQ(SensorTableRowWithoutSensor(18, shown, 12.5),
              "18,,,,,,2.0000,-1.2346,338.0000,11.5000,999.9847,12.5000");
}

}  // namespace
