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
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace sim {

class VesselPath;

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

// An object at a fixed place of the world, in the survey's local frame (metres east and
// north of the first line's start): a box of footprint lengthEastM x lengthNorthM around its
// centre, standing heightM high. It casts an acoustic shadow behind it.
struct WorldTarget {
    double eastM, northM;
    double lengthEastM, lengthNorthM;
    double heightM;
};

// The objects along the survey lines (400 m legs east and west, 50 m apart, stepping north):
// two between each pair of lines, 25 m from both, and one 15 m south of the first line.
std::vector<WorldTarget> SurveyTargets();
inline constexpr const char* kDescribeUsage =
    "Seabed targets:\n"
    "  --describe          list the seabed targets (latitude, longitude, size, height) and\n"
    "                      exit; with --gps the heads see them from the vessel's position\n"
    "  --write-recording FILE [N]\n"
    "                      write N records (default 400) of the survey as a data file, the\n"
    "                      vessel at 4 knots with the GPS, and exit\n";

// One line per target: "target 1: 54.3198650 N 10.1530781 E, 4.0 x 2.0 m, 1.2 m high".
std::string DescribeTargets();

// Where the towed body is and where it heads (degrees clockwise from north).
struct Pose {
    double eastM = 0.0, northM = 0.0, headingDeg = 0.0;
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

    // From now on SideScan sees the world targets from where the simulated GPS puts the
    // vessel: at `seconds()` since the start, running the survey lines at the speed.
    void FollowVessel(double speedKnots, std::function<double()> seconds);
    // The same along another path, whose targets the heads then see.
    void FollowPath(std::shared_ptr<const VesselPath> path, double speedKnots,
                    std::function<double()> seconds);
    // The world targets SideScanAt sees: those of the path (empty: the default legs').
    void UsePath(std::shared_ptr<const VesselPath> followed) { path = std::move(followed); }

    double AlongTrackM(std::uint32_t ping) const { return ping * kPingSpacingM; }
    double AltitudeM(std::uint32_t ping) const;
    Orientation OrientationAt(std::uint32_t ping) const;
    // The objects whose along-track extent covers the position y.
    std::vector<Target> TargetsAt(double alongM) const;

    // One half of a side-scan ping (side 0 port, 1 starboard), nearest sample first.
    void SideScan(int head, int side, std::uint32_t ping, const SceneRequest& request,
                  std::uint8_t* out) const;
    // The same ping seen from a pose: the survey's world targets at the ground range and on
    // the side where the line across the heading meets them, instead of the along-track ones.
    void SideScanAt(int head, int side, std::uint32_t ping, const Pose& pose,
                    const SceneRequest& request, std::uint8_t* out) const;
    // The echo sounder's samples, nearest first, with the bottom at the altitude.
    void EchoSounder(std::uint32_t ping, const SceneRequest& request, std::uint8_t* out) const;
    // The echo sounder's second half: the orientation words (pitch, roll, heading at 0, 2, 4;
    // temperature at 8; depth at 10; 16-bit little-endian), the rest zero.
    void OrientationBlock(std::uint32_t ping, std::uint8_t* out) const;

    // Where the line across a pose meets a target: ground distances of its near and far edge
    // on one side, and its height.
    struct Crossing {
        double nearM, farM, heightM;
    };

private:
    void SideScanWith(int head, int side, std::uint32_t ping, const SceneRequest& request,
                      const std::vector<Crossing>& crossings, std::uint8_t* out) const;

    const VesselPath& Path() const;

    std::uint32_t seed;
    double vesselKnots = 0.0;
    std::function<double()> vesselClock;
    std::shared_ptr<const VesselPath> path;  // empty: the default legs
};

// The crossing of the line from the pose towards `side` with a target, if it meets it.
bool CrossTarget(const Pose& pose, int side, const WorldTarget& target, Scene::Crossing& out);

// 16-bit words of the orientation block: angles and temperature as signed words whose
// negative values read back through "above 32767 subtract 65535"; depth unsigned.
std::uint16_t EncodeSignedWord(double value, double fullScale);
std::uint16_t EncodeUnsignedWord(double value, double fullScale);

}  // namespace sim
