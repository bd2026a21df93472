#pragma once
// Orientation values that other subsystems read (the decoder and its filters write them once
// per cycle), and the settings of the decoding: compass declination and filter switches.

#include <cstdint>

inline constexpr int kFilterCount = 6;  // pitch, roll, heading, depth, temperature, altitude

struct OrientationState {
    // Degrees subtracted from the heading; a west declination is negative.
    double compassDeclination = 22.0;
    std::int32_t filterEnabled[kFilterCount] = {};
    double altitudeM = 0.0;   // echo-sounder altitude after filtering, metres
    double headingDeg = 0.0;  // heading after filtering, degrees
};
