#pragma once
// Metres to degrees near a latitude on the WGS 84 ellipsoid, from the radii of curvature,
// worked out here rather than with the geodesic library the code uses.

#include <cmath>

namespace surveytest {

inline constexpr double kA = 6378137.0;
inline constexpr double kF = 1 / 298.257223563;

inline double E2() { return kF * (2 - kF); }
inline double Radians(double degrees) { return degrees * M_PI / 180.0; }

// Degrees of latitude for `metres` northward at `latitude`: the meridian's radius M.
inline double NorthDegrees(double latitude, double metres) {
    const double s = std::sin(Radians(latitude));
    const double m = kA * (1 - E2()) / std::pow(1 - E2() * s * s, 1.5);
    return metres / m * 180.0 / M_PI;
}

// Degrees of longitude for `metres` eastward at `latitude`: the parallel's radius N cos(phi).
inline double EastDegrees(double latitude, double metres) {
    const double s = std::sin(Radians(latitude));
    const double n = kA / std::sqrt(1 - E2() * s * s);
    return metres / (n * std::cos(Radians(latitude))) * 180.0 / M_PI;
}

}  // namespace surveytest
