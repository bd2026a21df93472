#include "gps/Utm.h"

#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kDegree = kPi / 180.0;
constexpr double kSemiMajorAxis = 6378137.0;
constexpr double kEccentricitySquared = 0.00669438;
constexpr double kSecondEccentricitySquared = 0.006739496752268451;
constexpr double kScale = 0.9996;
constexpr double kFalseEasting = 500000.0;
constexpr double kFalseNorthing = 10000000.0;
// The meridional arc: coefficients of phi, sin 2phi, sin 4phi and sin 6phi.
constexpr double kArc0 = 0.9983242984503243;
constexpr double kArc2 = 0.002514607064228144;
constexpr double kArc4 = 2.639046602129982e-6;
constexpr double kArc6 = 3.418046101696858e-9;

// [-180, 180). Rounding down rather than toward zero also brings longitudes below -180 into
// the range.
double NormalisedLongitude(double longitude) {
    const double shifted = longitude + 180.0;
    const double lon = shifted - std::floor(shifted / 360.0) * 360.0 - 180.0;
    return lon < 180.0 ? lon : -180.0;
}

double MeridionalArc(double phi) {
    return kSemiMajorAxis * (kArc0 * phi - kArc2 * std::sin(2 * phi) + kArc4 * std::sin(4 * phi) -
                             kArc6 * std::sin(6 * phi));
}

}  // namespace

bool InUtmLatitudes(double latitude) {
    return latitude >= -80.0 && latitude <= 84.0;
}

int UtmZone(double latitude, double longitude) {
    const double lon = NormalisedLongitude(longitude);
    if (latitude >= 56.0 && latitude < 64.0 && lon >= 3.0 && lon < 12.0) return 32;
    if (latitude >= 72.0 && latitude < 84.0) {
        if (lon >= 0.0 && lon < 9.0) return 31;
        if (lon >= 9.0 && lon < 21.0) return 33;
        if (lon >= 21.0 && lon < 33.0) return 35;
        if (lon >= 33.0 && lon < 42.0) return 37;
    }
    return 1 + static_cast<int>(std::floor((lon + 180.0) / 6.0));
}

UtmPosition LatLonToUtm(double latitude, double longitude) {
    return LatLonToUtmInZone(latitude, longitude, UtmZone(latitude, longitude), latitude < 0.0);
}

UtmPosition LatLonToUtmInZone(double latitude, double longitude, int zone, bool south) {
    const double ep2 = kSecondEccentricitySquared;
    const double phi = latitude * kDegree;
    double dLon = NormalisedLongitude(longitude) - (zone * 6.0 - 183.0);
    // A position on the far side of the antimeridian from the zone's meridian.
    if (dLon < -180.0) dLon += 360.0;
    if (dLon >= 180.0) dLon -= 360.0;
    const double s = std::sin(phi), c = std::cos(phi), t = std::tan(phi);
    const double n = kSemiMajorAxis / std::sqrt(1.0 - kEccentricitySquared * s * s);
    const double tt = t * t;
    const double cc = ep2 * c * c;
    const double a = dLon * kDegree * c;
    const double a2 = a * a, a3 = a2 * a, a4 = a3 * a, a5 = a4 * a, a6 = a5 * a;

    UtmPosition out;
    out.zone = zone;
    out.south = south;
    out.easting =
        kScale * n *
            (a + (1 - tt + cc) * a3 / 6 + (5 - 18 * tt + tt * tt + 72 * cc - 58 * ep2) * a5 / 120) +
        kFalseEasting;
    out.northing = kScale * (MeridionalArc(phi) +
                             n * t *
                                 (a2 / 2 + (5 - tt + 9 * cc + 4 * cc * cc) * a4 / 24 +
                                  (61 - 58 * tt + tt * tt + 600 * cc - 330 * ep2) * a6 / 720));
    if (south) out.northing += kFalseNorthing;
    return out;
}
