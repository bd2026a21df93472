#pragma once
// Where the waterfall's speed correction takes the ship's speed from, and the two GPS-time
// menu settings that are kept and saved.

#include <cstdint>

inline constexpr double kProgramDefaultSpeedKnots = 3.0;

struct SpeedSource {
    double manualSpeedKnots = kProgramDefaultSpeedKnots;
    std::int32_t useManualSpeed = 0;
    std::int32_t useGpsSpeed = 1;
    std::int32_t speedCorrection = 1;
    std::int32_t convertUtcToLocal = 0;
    std::int32_t syncWithGpsTime = 0;

    // The speed in knots that image formation uses for one ping. storedKnots is the GPS speed
    // stored with the ping; gpsSpeedKnown is false while no speed was ever decoded (the stored
    // speed text is still "n/a"), in which case the stored 0 is not a real speed.
    double SpeedForPing(double storedKnots, bool gpsSpeedKnown) const;
};
