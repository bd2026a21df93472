#pragma once
// Orientation values that other subsystems read (the decoder and its filters write them once
// per cycle), and the settings of the decoding: compass declination and filter switches.

#include <array>
#include <cstdint>

inline constexpr int kFilterCount = 6;  // pitch, roll, heading, depth, temperature, altitude

// Index of a quantity in filterEnabled and in the filter states (the settings' key order).
enum OrientationQuantity : int {
    kPitchFilter = 0,
    kRollFilter,
    kHeadingFilter,
    kDepthFilter,
    kTemperatureFilter,
    kAltitudeFilter
};

inline constexpr int kFilterHistoryLength = 11;
inline constexpr int kRobustValueCount = 3;

// The smoothing state of one quantity: its last 11 inputs and its last three outlier-checked
// values, newest first, and how many inputs it has taken.
struct SmoothingState {
    std::array<double, kFilterHistoryLength> history{};
    std::array<double, kRobustValueCount> robust{};
    std::int32_t samples = 0;
};

// The values of the current cycle, in engineering units after clamping and filtering.
struct OrientationReadings {
    double pitchDeg = 0.0;
    double rollDeg = 0.0;
    double headingDeg = 0.0;  // declination applied, 0..360
    double depthM = 0.0;
    double temperatureC = 0.0;
    // Height above the bottom: written by the echo sounder's bottom detection, filtered with
    // the orientation of the next cycle.
    double altitudeM = 0.0;
};

struct OrientationState {
    // Degrees subtracted from the heading; a west declination is negative.
    double compassDeclination = 22.0;
    std::int32_t filterEnabled[kFilterCount] = {};
    double altitudeM = 0.0;   // echo-sounder altitude after filtering, metres
    double headingDeg = 0.0;  // heading after filtering, degrees

    OrientationReadings readings;
    // The altitude the echo-sounder window prints: a copy of readings.altitudeM taken every
    // tenth sample, so that the text can be read.
    double altitudeShown = 0.0;
    std::int32_t orientationSampleCount = 0;
    std::int32_t orientationTenCount = 0;
    std::array<SmoothingState, kFilterCount> filters{};
    // Screen rectangle of the orientation window (left, top, right, bottom).
    std::array<std::int32_t, 4> windowRect{};
};
