#include "sensors/OrientationFilter.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kFullTurn = 360.0;
constexpr double kHampelScale = 1.4826;

double Clamp(double value, double lowest, double highest) {
    return std::clamp(value, lowest, highest);
}

// Wraps into 0..360 with 360 itself kept; -0 becomes 0.
double WrapInclusive(double degrees) {
    if (degrees < 0.0 || degrees > kFullTurn) {
        degrees = std::fmod(degrees, kFullTurn);
        if (degrees < 0.0) degrees += kFullTurn;
    }
    return degrees == 0.0 ? 0.0 : degrees;
}

// Wraps into 0..360 with 360 becoming 0.
double WrapExclusive(double degrees) {
    degrees = std::fmod(degrees, kFullTurn);
    if (degrees < 0.0) degrees += kFullTurn;
    return degrees >= kFullTurn || degrees == 0.0 ? 0.0 : degrees;
}

template <std::size_t N>
void ShiftIn(std::array<double, N>& values, double newest) {
    std::copy_backward(values.begin(), values.end() - 1, values.end());
    values[0] = newest;
}

// Smooths one quantity and stores the result when its filter is on.
void Smooth(OrientationState& state, int quantity, double& value) {
    SmoothingState& filter = state.filters[static_cast<std::size_t>(quantity)];
    const double smoothed = quantity == kHeadingFilter ? SmoothHeadingValue(value, filter)
                                                       : SmoothOrientationValue(value, filter);
    if (state.filterEnabled[quantity]) value = smoothed;
}

void CountSampleForShownAltitude(OrientationState& state) {
    if (++state.orientationTenCount >= 10) state.orientationTenCount = 0;
    if (state.orientationTenCount == 0) state.altitudeShown = state.readings.altitudeM;
}

}  // namespace

int SignedOrientationWord(const std::uint8_t* bytes) {
    const int v = UnsignedOrientationWord(bytes);
    return v > 32767 ? v - 65535 : v;
}

int UnsignedOrientationWord(const std::uint8_t* bytes) {
    return bytes[1] * 256 + bytes[0];
}

double ApplyDeclination(double headingDeg, double declinationDeg) {
    return WrapInclusive(headingDeg - declinationDeg);
}

OrientationReadings ConvertRawBlock(const std::uint8_t* block, double declinationDeg) {
    const auto angle = [&](int offset) {
        return SignedOrientationWord(block + offset) * 360.0 / 65536.0;
    };
    OrientationReadings r;
    r.pitchDeg = Clamp(angle(0), -90.0, 90.0);
    r.rollDeg = Clamp(angle(2), -90.0, 90.0);
    r.headingDeg = ApplyDeclination(angle(4), declinationDeg);
    r.temperatureC = Clamp(SignedOrientationWord(block + 8) * 100.0 / 65536.0, -5.0, 35.0);
    r.depthM = Clamp(UnsignedOrientationWord(block + 10) * 1000.0 / 65536.0, 0.0, 1000.0);
    return r;
}

double MedianOf(std::array<double, kFilterHistoryLength> values) {
    // Removing the smallest and the largest value five times over leaves the 6th in order.
    auto middle = values.begin() + kFilterHistoryLength / 2;
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
}

double HampelValue(const std::array<double, kFilterHistoryLength>& history) {
    const double m = MedianOf(history);
    std::array<double, kFilterHistoryLength> deviations{};
    std::transform(history.begin(), history.end(), deviations.begin(),
                   [m](double h) { return std::fabs(h - m); });
    const double d = MedianOf(deviations);
    return kHampelScale * d > std::fabs(history[0] - m) ? history[0] : m;
}

double SmoothOrientationValue(double x, SmoothingState& state) {
    const int n = state.samples;
    if (state.samples < kFilterWarmUp) ++state.samples;  // only its start matters
    ShiftIn(state.history, x);
    ShiftIn(state.robust, state.robust[0]);
    if (n > kFilterHistoryLength) state.robust[0] = HampelValue(state.history);
    if (n < kFilterWarmUp) return x;
    return (state.robust[0] + state.robust[1] + state.robust[2]) / kRobustValueCount;
}

double SmoothHeadingValue(double headingDeg, SmoothingState& state) {
    double x = headingDeg;
    if (state.samples > 0) {
        // The turn nearest the previous input: 359 followed by 1 is entered as 361.
        x += kFullTurn * std::round((state.history[0] - x) / kFullTurn);
    }
    const bool warmingUp = state.samples < kFilterWarmUp;
    const double smoothed = SmoothOrientationValue(x, state);
    // Keep the unwrapped values near 0..360, all by the same whole turns.
    const double turns = kFullTurn * std::floor(state.history[0] / kFullTurn);
    if (turns != 0.0) {
        for (double& h : state.history) h -= turns;
        for (double& r : state.robust) r -= turns;
    }
    return warmingUp ? headingDeg : WrapExclusive(smoothed);
}

void ConvertOrientation(OrientationState& state, const std::uint8_t* block) {
    OrientationReadings& r = state.readings;
    const double altitude = r.altitudeM;
    r = ConvertRawBlock(block, state.compassDeclination);
    r.altitudeM = altitude;
    Smooth(state, kDepthFilter, r.depthM);
    Smooth(state, kTemperatureFilter, r.temperatureC);
    Smooth(state, kPitchFilter, r.pitchDeg);
    Smooth(state, kRollFilter, r.rollDeg);
    Smooth(state, kHeadingFilter, r.headingDeg);
    // No bottom found (0) is no sample of the altitude; its filter counts only real ones.
    if (r.altitudeM > 0.0) Smooth(state, kAltitudeFilter, r.altitudeM);
    ++state.orientationSampleCount;
    state.altitudeM = r.altitudeM;
    state.headingDeg = r.headingDeg;
    CountSampleForShownAltitude(state);
}

void TakeAltitudeWithoutSensor(OrientationState& state) {
    state.altitudeM = state.readings.altitudeM;
    CountSampleForShownAltitude(state);
}
