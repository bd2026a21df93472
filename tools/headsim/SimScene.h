#pragma once
// The simulated world the heads look at: a towed body at a slowly varying altitude over a
// textured seabed, a few objects standing on it, and the orientation of the body. Everything
// is a pure function of the ping number and the request, so tests can check it and two runs
// give the same pictures.
//
// Geometry of one half of a side-scan ping: sample i (0..999, nearest first) is the echo from
// slant range r = (i + 0.5) * range / 1000. Below the altitude there is only water; at the
// altitude the first bottom return; beyond it the seabed at ground range sqrt(r^2 - a^2),
// whose backscatter falls off with range and rises with the gain. Each frequency has its own
// texture scale (resolution) and range limit; past the limit only noise comes back.

#include <cstdint>
#include <vector>

namespace sim {

// The parts of a data request the scene depends on.
struct SceneRequest {
    int rangeM = 50;
    int gainDb = 6;
    std::uint8_t transmitOffMask = 0;  // bit value 2 port silent, 1 starboard silent
};

// How one head sees: its frequency, how far it reaches and how fine its picture is.
struct HeadModel {
    int frequencyKHz;
    int lowestKHz;
    int highestKHz;
    double maxRangeM;       // no seabed echo beyond this slant range
    double absorptionPerM;  // amplitude loss per metre of slant range
    double cellM;           // size of the finest seabed texture the head resolves
};
const HeadModel& ModelOf(int head);

// An object on the seabed: along-track centre, near edge at ground range `acrossM` on `side`
// (0 port, 1 starboard), its footprint and height. It casts an acoustic shadow behind it.
struct Target {
    double alongM;
    double acrossM;
    double lengthM;
    double widthM;
    double heightM;
    int side;
};

// The raw readings of the orientation sensor on the echo sounder.
struct Orientation {
    double pitchDeg;
    double rollDeg;
    double headingDeg;  // as the sensor reads it; the application subtracts its declination
    double temperatureC;
    double depthM;
};

inline constexpr int kSamples = 1000;
// The body advances this far per ping: about 3 knots at the default 50 m range with four heads
// (eight replies of 2 x 50 m / 1500 m/s each make a ping every 0.53 s), so that a waterfall
// drawn at the program's default 3 knots shows the objects in their true proportions.
inline constexpr double kPingSpacingM = 0.8;
inline constexpr double kTargetSpacingM = 40.0;  // about one object per this many metres
inline constexpr double kEchoSounderLimitM = 300.0;
// The water column and the noise floor stay at or below this value (echo-sounder bottom
// detection counts only samples above 20).
inline constexpr int kNoiseCeiling = 12;

class Scene {
public:
    explicit Scene(std::uint32_t seed = 1) : seed(seed) {}

    double AlongTrackM(std::uint32_t ping) const { return ping * kPingSpacingM; }
    double AltitudeM(std::uint32_t ping) const;
    Orientation OrientationAt(std::uint32_t ping) const;
    // The objects whose along-track extent covers the position y.
    std::vector<Target> TargetsAt(double alongM) const;

    // One half of a side-scan ping (side 0 port, 1 starboard), nearest sample first.
    void SideScan(int head, int side, std::uint32_t ping, const SceneRequest& request,
                  std::uint8_t* out) const;
    // The echo sounder's samples, nearest first, with the bottom at the altitude.
    void EchoSounder(std::uint32_t ping, const SceneRequest& request, std::uint8_t* out) const;
    // The echo sounder's second half: the orientation words (pitch, roll, heading at 0, 2, 4;
    // temperature at 8; depth at 10; 16-bit little-endian), the rest zero.
    void OrientationBlock(std::uint32_t ping, std::uint8_t* out) const;

private:
    std::uint32_t seed;
};

// 16-bit words of the orientation block: angles and temperature as signed words whose
// negative values read back through "above 32767 subtract 65535"; depth unsigned.
std::uint16_t EncodeSignedWord(double value, double fullScale);
std::uint16_t EncodeUnsignedWord(double value, double fullScale);

}  // namespace sim
