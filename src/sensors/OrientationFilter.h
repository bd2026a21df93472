#pragma once
// Decoding of the orientation sensor's raw block and the robust smoothing of its values.
//
// Raw block (12 bytes, 16-bit words low byte first): pitch at 0, roll at 2, heading at 4,
// temperature at 8 (signed words) and depth at 10 (unsigned). A signed word above 32767 reads
// as the word minus 65535, so 0xFFFF is 0 and 0x8000 is -32767.

#include <cstdint>

#include "sensors/OrientationState.h"

inline constexpr int kOrientationBlockLength = 12;
// Samples a quantity passes through unchanged before its filter output is used.
inline constexpr int kFilterWarmUp = 16;

int SignedOrientationWord(const std::uint8_t* bytes);
int UnsignedOrientationWord(const std::uint8_t* bytes);

// The heading minus the declination, wrapped into 0..360 (exactly 360 stays 360).
double ApplyDeclination(double headingDeg, double declinationDeg);

// Pitch, roll, heading, temperature and depth of a raw block, converted and clamped; the
// altitude is left 0.
OrientationReadings ConvertRawBlock(const std::uint8_t* block, double declinationDeg);

// Median of the 11 history values (the 6th in sorted order).
double MedianOf(std::array<double, kFilterHistoryLength> values);
// The newest history value when it lies within 1.4826 median absolute deviations of the
// median, else the median.
double HampelValue(const std::array<double, kFilterHistoryLength>& history);

// Enters x into the state and returns the smoothed value: x itself for the first 16 inputs,
// then the mean of the last three outlier-checked values. The state always advances.
double SmoothOrientationValue(double x, SmoothingState& state);
// The same for a heading in 0..360: the history is kept unwrapped, so that readings either
// side of north stay neighbours, and the result is wrapped back into 0..360.
double SmoothHeadingValue(double headingDeg, SmoothingState& state);

// One sample of the sensor: converts the block, smooths every quantity (the altitude only when
// it is positive) and replaces the values whose filter is on, counts the sample, takes the
// per-ping copies and, every tenth sample, the shown altitude.
void ConvertOrientation(OrientationState& state, const std::uint8_t* block);

// Without a sensor the echo sounder's altitude still goes to the ping store, and the shown
// altitude follows it every tenth ping.
void TakeAltitudeWithoutSensor(OrientationState& state);
