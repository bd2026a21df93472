#include "SimGps.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include "common/TextFormat.h"

namespace sim {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kStartLatitude = 54.3200;  // Kiel Bay
constexpr double kStartLongitude = 10.1500;
constexpr double kLegMetres = 400.0;
constexpr double kStepMetres = 50.0;
constexpr double kMetresPerDegreeLatitude = 111132.0;

// ddmm.mmmm (or dddmm.mmmm) and the hemisphere letter.
std::string Coordinate(double degrees, bool latitude) {
    const double a = std::fabs(degrees);
    int whole = static_cast<int>(a);
    double minutes = (a - whole) * 60.0;
    if (minutes >= 59.99995) {
        minutes = 0.0;
        ++whole;
    }
    const char hemisphere = latitude ? (degrees < 0 ? 'S' : 'N') : (degrees < 0 ? 'W' : 'E');
    return latitude ? Printf("%02d%07.4f,%c", whole, minutes, hemisphere)
                    : Printf("%03d%07.4f,%c", whole, minutes, hemisphere);
}

bool ToNumber(const std::string& text, double& value) {
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end && value > 0 && std::isfinite(value);
}

}  // namespace

VesselFix VesselAt(double seconds, double speedKnots) {
    const double metres = std::max(0.0, seconds) * speedKnots * 1852.0 / 3600.0;
    const double cycle = kLegMetres + kStepMetres;
    const int legs = static_cast<int>(metres / cycle);
    const double along = metres - legs * cycle;
    const bool eastward = legs % 2 == 0;
    double east = 0.0, north = legs * kStepMetres;
    VesselFix fix;
    if (along < kLegMetres) {
        east = eastward ? along : kLegMetres - along;
        fix.courseDeg = eastward ? 90.0 : 270.0;
    } else {
        east = eastward ? kLegMetres : 0.0;
        north += along - kLegMetres;
        fix.courseDeg = 0.0;
    }
    fix.latitude = kStartLatitude + north / kMetresPerDegreeLatitude;
    fix.longitude = kStartLongitude +
                    east / (kMetresPerDegreeLatitude * std::cos(kStartLatitude * kPi / 180.0));
    fix.headingDeg = std::fmod(fix.courseDeg + kCrabDeg, 360.0);
    fix.speedKnots = speedKnots;
    return fix;
}

LocalPlace LocalOf(double latitude, double longitude) {
    const double east = kMetresPerDegreeLatitude * std::cos(kStartLatitude * kPi / 180.0);
    return {(longitude - kStartLongitude) * east,
            (latitude - kStartLatitude) * kMetresPerDegreeLatitude};
}

void LatLonOf(const LocalPlace& place, double& latitude, double& longitude) {
    latitude = kStartLatitude + place.northM / kMetresPerDegreeLatitude;
    longitude = kStartLongitude +
                place.eastM / (kMetresPerDegreeLatitude * std::cos(kStartLatitude * kPi / 180.0));
}

std::string WithChecksum(const std::string& body) {
    unsigned sum = 0;
    for (unsigned char c : body) sum ^= c;
    return "$" + body + Printf("*%02X\r\n", sum);
}

std::string NmeaBatch(const VesselFix& fix, double utcSeconds, int day, int month, int year,
                      const std::string& talker) {
    const double s = std::fmod(std::max(0.0, utcSeconds), 86400.0);
    const int hh = static_cast<int>(s / 3600), mm = static_cast<int>(s / 60) % 60;
    const std::string time = Printf("%02d%02d%05.2f", hh, mm, std::fmod(s, 60.0));
    const std::string date = Printf("%02d%02d%02d", day, month, year % 100);
    const std::string lat = Coordinate(fix.latitude, true);
    const std::string lon = Coordinate(fix.longitude, false);
    const char* t = talker.c_str();
    std::string batch;
    batch += WithChecksum(Printf("%sRMC,%s,A,%s,%s,%.1f,%.1f,%s,,,A", t, time.c_str(), lat.c_str(),
                                 lon.c_str(), fix.speedKnots, fix.courseDeg, date.c_str()));
    batch += WithChecksum(Printf("%sGGA,%s,%s,%s,1,09,0.9,12.0,M,40.9,M,,", t, time.c_str(),
                                 lat.c_str(), lon.c_str()));
    batch += WithChecksum(Printf("%sGLL,%s,%s,%s,A,A", t, lat.c_str(), lon.c_str(), time.c_str()));
    batch += WithChecksum(Printf("%sVTG,%05.1f,T,%05.1f,M,%05.1f,N,%05.1f,K,A", t, fix.courseDeg,
                                 std::fmod(fix.courseDeg + 357.0, 360.0), fix.speedKnots,
                                 fix.speedKnots * 1.852));
    batch += WithChecksum(Printf("%sHDT,%.1f,T", t, fix.headingDeg));
    return batch;
}

bool TakeGpsArguments(std::vector<std::string>& args, std::optional<GpsSimConfig>& config,
                      std::string& error) {
    GpsSimConfig gps;
    bool given = false;
    std::vector<std::string> rest;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool gpsOption =
            arg == "--gps" || arg == "--speed" || arg == "--rate" || arg == "--talker";
        if (!gpsOption) {
            rest.push_back(arg);
            continue;
        }
        if (i + 1 >= args.size()) {
            error = arg + " wants a value";
            return false;
        }
        const std::string& value = args[++i];
        if (arg == "--gps") {
            gps.device = value;
            given = true;
        } else if (arg == "--speed" && !ToNumber(value, gps.speedKnots)) {
            error = "--speed wants knots above 0";
            return false;
        } else if (arg == "--rate" && (!ToNumber(value, gps.rateHz) || gps.rateHz > 50)) {
            error = "--rate wants 0..50 batches a second";
            return false;
        } else if (arg == "--talker") {
            if (value != "GP" && value != "GN") {
                error = "--talker wants GP or GN";
                return false;
            }
            gps.talker = value;
        }
    }
    if (!given && rest.size() != args.size()) {
        error = "--speed, --rate and --talker need --gps";
        return false;
    }
    args = rest;
    if (given) config = gps;
    return true;
}

}  // namespace sim
