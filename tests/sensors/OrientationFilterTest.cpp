// Decoding of the orientation block and the robust filters of its values.

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <vector>

#include "sensors/OrientationFilter.h"

namespace {

using Block = std::array<std::uint8_t, kOrientationBlockLength>;

Block RawBlock(std::uint16_t pitch, std::uint16_t roll, std::uint16_t heading,
               std::uint16_t temperature, std::uint16_t depth) {
    Block b{};
    const auto put = [&](int offset, std::uint16_t v) {
        b[offset] = static_cast<std::uint8_t>(v & 0xFF);
        b[offset + 1] = static_cast<std::uint8_t>(v >> 8);
    };
    put(0, pitch);
    put(2, roll);
    put(4, heading);
    put(6, 0x5A5A);  // not used
    put(8, temperature);
    put(10, depth);
    return b;
}

// A pitch word for a small angle (non-negative).
std::uint16_t PitchWord(double degrees) {
    return static_cast<std::uint16_t>(std::lround(degrees * 65536.0 / 360.0));
}

TEST(OrientationFilterTest, SignedWordsSubtract65535) {
    const struct {
        std::uint8_t low, high;
        int value;
    } cases[] = {{0x00, 0x00, 0},  {0xFF, 0x7F, 32767}, {0x00, 0x80, -32767}, {0xFF, 0xFF, 0},
                 {0xFE, 0xFF, -1}, {0x00, 0x40, 16384}, {0x00, 0xC0, -16383}};
    for (const auto& c : cases) {
        const std::uint8_t bytes[2] = {c.low, c.high};
        EXPECT_EQ(SignedOrientationWord(bytes), c.value) << int(c.high) << " " << int(c.low);
    }
    const std::uint8_t all[2] = {0xFF, 0xFF};
    EXPECT_EQ(UnsignedOrientationWord(all), 65535);
}

TEST(OrientationFilterTest, RawBlockConversionsAndClamps) {
    // Pitch 0x4000 is 90 degrees; 0xC000 is (49152 - 65535) * 360 / 65536, not -90.
    OrientationReadings r = ConvertRawBlock(RawBlock(0x4000, 0xC000, 0, 0x8000, 0xFFFF).data(), 22);
    EXPECT_DOUBLE_EQ(r.pitchDeg, 90.0);
    EXPECT_NEAR(r.rollDeg, -89.9945, 1e-4);
    EXPECT_GT(r.rollDeg, -90.0);
    EXPECT_DOUBLE_EQ(r.headingDeg, 338.0);   // raw 0 minus the declination of 22
    EXPECT_DOUBLE_EQ(r.temperatureC, -5.0);  // far below -5, clamped
    EXPECT_NEAR(r.depthM, 999.98, 0.01);     // never negative: the depth word is unsigned
    EXPECT_DOUBLE_EQ(r.altitudeM, 0.0);

    r = ConvertRawBlock(RawBlock(0x7FFF, 0x2000, 0x2000, 0x7FFF, 0).data(), 0);
    EXPECT_DOUBLE_EQ(r.pitchDeg, 90.0);  // 179.99 clamped
    EXPECT_DOUBLE_EQ(r.rollDeg, 45.0);
    EXPECT_DOUBLE_EQ(r.headingDeg, 45.0);
    EXPECT_DOUBLE_EQ(r.temperatureC, 35.0);  // 49.99 clamped
    EXPECT_DOUBLE_EQ(r.depthM, 0.0);

    // 0x8000 reads -32767 and 0xFFFF reads 0.
    r = ConvertRawBlock(RawBlock(0xFFFF, 0x8000, 0xFFFF, 0xFFFF, 0x8000).data(), 0);
    EXPECT_DOUBLE_EQ(r.pitchDeg, 0.0);
    EXPECT_DOUBLE_EQ(r.rollDeg, -90.0);
    EXPECT_DOUBLE_EQ(r.headingDeg, 0.0);
    EXPECT_DOUBLE_EQ(r.temperatureC, 0.0);
    EXPECT_DOUBLE_EQ(r.depthM, 500.0);
}

TEST(OrientationFilterTest, DeclinationWrapsAnyStoredValue) {
    const struct {
        double heading, declination, expected;
    } cases[] = {
        {0, 22, 338},
        {90, -270, 360},  // exactly 360 is kept
        {100, 0, 100},
        {10, 740, 350},  // two turns below 0
        {100, -620, 0},
        {0, 360, 0},  // 720 and -360 both read 0, not -0
        {-179.9945, 22, 158.0055},
        {170, -1000, 90},
    };
    for (const auto& c : cases) {
        const double h = ApplyDeclination(c.heading, c.declination);
        EXPECT_NEAR(h, c.expected, 1e-9) << c.heading << " - " << c.declination;
        EXPECT_FALSE(std::signbit(h));
    }
}

TEST(OrientationFilterTest, MedianAndHampelValue) {
    std::array<double, 11> h = {9, 1, 8, 2, 7, 3, 6, 4, 5, 10, 0};
    EXPECT_DOUBLE_EQ(MedianOf(h), 5.0);
    // Newest 9: |9 - 5| = 4 against 1.4826 x MAD (MAD 3) = 4.45: kept.
    EXPECT_DOUBLE_EQ(HampelValue(h), 9.0);
    h[0] = 20;  // |20 - 5| > 4.45: the median instead
    EXPECT_DOUBLE_EQ(HampelValue(h), 5.0);
    std::array<double, 11> flat{};
    flat.fill(2.0);
    flat[0] = 2.0;  // deviation 0 is not greater than 0: the median
    EXPECT_DOUBLE_EQ(HampelValue(flat), 2.0);
}

// Readings of 2 degrees with a little noise, and a spike of 60 at one sample.
std::vector<double> PitchOutputs(int spikeAt, int count, bool enabled) {
    OrientationState state;
    state.compassDeclination = 0;
    state.filterEnabled[kPitchFilter] = enabled ? 1 : 0;
    std::vector<double> outputs;
    for (int i = 1; i <= count; ++i) {
        const double pitch = i == spikeAt ? 60.0 : (i % 2 ? 2.1 : 1.9);
        ConvertOrientation(state, RawBlock(PitchWord(pitch), 0, 0, 0, 0).data());
        outputs.push_back(state.readings.pitchDeg);
    }
    return outputs;
}

TEST(OrientationFilterTest, SpikeIsRejectedOnlyAfterSixteenSamples) {
    // During the first 16 samples everything passes raw, the spike too.
    for (int at : {1, 8, 16}) {
        EXPECT_NEAR(PitchOutputs(at, 30, true)[at - 1], 60.0, 0.01) << at;
    }
    for (int at : {17, 20, 30}) {
        const std::vector<double> out = PitchOutputs(at, 30, true);
        EXPECT_NEAR(out[at - 1], 2.0, 0.15) << at;
        for (int i = 16; i < 30; ++i) EXPECT_NEAR(out[i], 2.0, 0.15) << at << " " << i;
    }
    // Filter off: the value is the reading, spike and all.
    EXPECT_NEAR(PitchOutputs(20, 30, false)[19], 60.0, 0.01);
}

TEST(OrientationFilterTest, FiltersFillWhileOffAndActAtOnceWhenSwitchedOn) {
    OrientationState state;
    for (int i = 0; i < 20; ++i) {
        ConvertOrientation(state, RawBlock(PitchWord(i % 2 ? 2.1 : 1.9), 0, 0, 0, 0).data());
    }
    EXPECT_EQ(state.orientationSampleCount, 20);
    EXPECT_EQ(state.filters[kPitchFilter].samples, 16);
    state.filterEnabled[kPitchFilter] = 1;
    ConvertOrientation(state, RawBlock(PitchWord(60), 0, 0, 0, 0).data());
    EXPECT_NEAR(state.readings.pitchDeg, 2.0, 0.15);
}

TEST(OrientationFilterTest, AltitudeOfZeroIsNotASample) {
    OrientationState state;
    state.filterEnabled[kAltitudeFilter] = 1;
    for (int i = 0; i < 25; ++i) ConvertOrientation(state, RawBlock(0, 0, 0, 0, 0).data());
    EXPECT_EQ(state.filters[kAltitudeFilter].samples, 0);
    for (double h : state.filters[kAltitudeFilter].history) EXPECT_EQ(h, 0.0);
    EXPECT_EQ(state.readings.altitudeM, 0.0);
}

TEST(OrientationFilterTest, AltitudeHasItsOwnSampleCount) {
    // The bottom first appears after 25 cycles: its filter starts from its own first sample,
    // not from a history of nothing (which would give 0 m).
    OrientationState state;
    state.filterEnabled[kAltitudeFilter] = 1;
    for (int i = 0; i < 25; ++i) ConvertOrientation(state, RawBlock(0, 0, 0, 0, 0).data());
    for (int i = 0; i < 40; ++i) {
        const double found = i % 2 ? 10.2 : 9.8;
        state.readings.altitudeM = found;  // the echo sounder's bottom of this cycle
        ConvertOrientation(state, RawBlock(0, 0, 0, 0, 0).data());
        if (i < 16) {
            EXPECT_DOUBLE_EQ(state.readings.altitudeM, found) << i;
        } else {
            EXPECT_NEAR(state.readings.altitudeM, 10.0, 0.25) << i;
        }
        EXPECT_DOUBLE_EQ(state.altitudeM, state.readings.altitudeM);  // the per-ping copy
    }
}

TEST(OrientationFilterTest, ShownAltitudeIsCopiedEveryTenthSample) {
    OrientationState state;
    for (int i = 1; i <= 25; ++i) {
        state.readings.altitudeM = i;
        ConvertOrientation(state, RawBlock(0, 0, 0, 0, 0).data());
        const double expected = i < 10 ? 0.0 : (i < 20 ? 10.0 : 20.0);
        EXPECT_DOUBLE_EQ(state.altitudeShown, expected) << i;
    }
    EXPECT_EQ(state.orientationTenCount, 5);
}

double CircularDistance(double a, double b) {
    const double d = std::fabs(std::fmod(a - b + 540.0, 360.0) - 180.0);
    return d;
}

TEST(OrientationFilterTest, HeadingIsSmoothedOnTheCircle) {
    // Readings either side of north: the smoothed heading stays at north, in 0..360.
    SmoothingState alternating;
    for (int i = 0; i < 60; ++i) {
        const double out = SmoothHeadingValue(i % 2 ? 359.0 : 1.0, alternating);
        EXPECT_GE(out, 0.0);
        EXPECT_LT(out, 360.0 + 1e-9);
        EXPECT_LT(CircularDistance(out, 0.0), 1.01) << i << " " << out;
    }
    // A steady turn through north, several times round: the result is the plain filter's
    // result for the unwrapped readings, wrapped (no jump at north).
    SmoothingState turning, plain;
    double unwrapped = 300.0;
    for (int i = 0; i < 800; ++i) {
        unwrapped += 2.0;
        const double out = SmoothHeadingValue(std::fmod(unwrapped, 360.0), turning);
        const double expected = std::fmod(SmoothOrientationValue(unwrapped, plain), 360.0);
        EXPECT_LT(CircularDistance(out, expected), 1e-6) << i << " " << out << " " << expected;
        EXPECT_LT(std::fabs(turning.history[0]), 720.0);  // the state stays near one turn
    }
    // A heading spike across the circle is rejected like any other outlier.
    SmoothingState spiky;
    for (int i = 0; i < 30; ++i) {
        const double out = SmoothHeadingValue(i == 25 ? 180.0 : (i % 2 ? 359.5 : 0.5), spiky);
        if (i >= 16) {
            EXPECT_LT(CircularDistance(out, 0.0), 1.0) << i;
        }
    }
}

TEST(OrientationFilterTest, SmoothingOrderAndFlags) {
    // With every filter on, each quantity is filtered by its own state.
    OrientationState state;
    for (auto& flag : state.filterEnabled) flag = 1;
    state.compassDeclination = 0;
    for (int i = 0; i < 20; ++i) {
        ConvertOrientation(
            state, RawBlock(PitchWord(i == 18 ? 45 : 3), PitchWord(4), PitchWord(i == 18 ? 90 : 10),
                            static_cast<std::uint16_t>(12 * 65536 / 100), 655)
                       .data());
    }
    EXPECT_NEAR(state.readings.pitchDeg, 3.0, 0.01);
    EXPECT_NEAR(state.readings.rollDeg, 4.0, 0.01);
    EXPECT_NEAR(state.readings.headingDeg, 10.0, 0.01);
    EXPECT_NEAR(state.readings.temperatureC, 12.0, 0.01);
    EXPECT_NEAR(state.readings.depthM, 9.99, 0.01);
    EXPECT_NEAR(state.headingDeg, 10.0, 0.01);  // per-ping copy after filtering
    for (int q = 0; q < kAltitudeFilter; ++q) EXPECT_EQ(state.filters[q].samples, 16) << q;
}

TEST(OrientationFilterTest, WithoutSensorTheBottomDetectionFeedsTheShownAltitude) {
    OrientationState state;
    for (int i = 1; i <= 10; ++i) {
        state.readings.altitudeM = 7.5;
        TakeAltitudeWithoutSensor(state);
        EXPECT_DOUBLE_EQ(state.altitudeM, 7.5);
        EXPECT_DOUBLE_EQ(state.altitudeShown, i == 10 ? 7.5 : 0.0) << i;
    }
}

}  // namespace
