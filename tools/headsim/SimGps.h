#pragma once
// The simulated GPS receiver of sonvara-headsim: the vessel runs survey lines (400 m legs east
// and west, 50 m apart, stepping north) and the receiver reports it in NMEA 0183 sentences
// RMC, GGA, GLL, VTG and HDT with valid checksums.

#include <optional>
#include <string>
#include <vector>

namespace sim {

struct GpsSimConfig {
    std::string device;  // "pty": a new pseudo-terminal; otherwise a device path to write to
    double speedKnots = 4.0;
    double rateHz = 1.0;
    std::string talker = "GP";  // "GP" or "GN"
};

struct VesselFix {
    double latitude = 0.0, longitude = 0.0;  // signed degrees
    double courseDeg = 0.0, headingDeg = 0.0, speedKnots = 0.0;
};

// The heading differs this little from the course (the vessel crabs against a current).
inline constexpr double kCrabDeg = 2.0;

// Where the vessel is after `seconds` at the speed.
VesselFix VesselAt(double seconds, double speedKnots);

// The survey's local frame: metres east and north of the first line's start.
struct LocalPlace {
    double eastM = 0.0, northM = 0.0;
};
LocalPlace LocalOf(double latitude, double longitude);
void LatLonOf(const LocalPlace& place, double& latitude, double& longitude);

// "$" + body + "*hh\r\n".
std::string WithChecksum(const std::string& body);

// One second's sentences for the fix at the UTC time of day (seconds) and date.
std::string NmeaBatch(const VesselFix& fix, double utcSeconds, int day, int month, int year,
                      const std::string& talker);

// Takes --gps PATH|pty, --speed KN, --rate HZ and --talker GP|GN out of the arguments; sets
// config when --gps is given. False with an error text for a bad value.
bool TakeGpsArguments(std::vector<std::string>& args, std::optional<GpsSimConfig>& config,
                      std::string& error);

inline constexpr const char* kGpsUsage =
    R"(GPS receiver (NMEA 0183 RMC, GGA, GLL, VTG, HDT with checksums):
  --gps PATH|pty      write the sentences to a device, or to a new pseudo-terminal whose
                      path is printed ("sonvara-headsim: GPS on /dev/pts/N")
  --speed KN          the vessel's speed over ground in knots (default 4)
  --rate HZ           batches of sentences per second (default 1)
  --talker GP|GN      talker of the sentences (default GP)
)";

}  // namespace sim
