#pragma once
// RMC sentences of positions given in metres from a start, for the survey's document and
// plotter tests.

#include <string>

#include "SurveyTestGeometry.h"
#include "common/TextFormat.h"
#include "gps/NmeaTestSupport.h"
#include "survey/SurveyLine.h"

namespace surveytest {

// `north` and `east` metres from (lat0, lon0).
inline survey::GeoPoint Offset(double lat0, double lon0, double north, double east) {
    const double lat = lat0 + NorthDegrees(lat0, north);
    return {lat, lon0 + EastDegrees(lat, east)};
}

// "ddmm.mmmmm" of a latitude (2 degree digits) or "dddmm.mmmmm" of a longitude (3), positive.
inline std::string NmeaAngle(double degrees, int degreeDigits) {
    const int whole = static_cast<int>(degrees);
    return Printf(degreeDigits == 2 ? "%02d%08.5f" : "%03d%08.5f", whole, (degrees - whole) * 60.0);
}

// An RMC fix at the position (north and east hemispheres) at 10:mm:ss, 4 knots on the course.
inline std::string RmcAt(const survey::GeoPoint& at, double courseDeg, int second) {
    return Nmea(Printf("GPRMC,10%02d%02d.00,A,%s,N,%s,E,004.0,%05.1f,030725,,", second / 60 % 60,
                       second % 60, NmeaAngle(at.latitude, 2).c_str(),
                       NmeaAngle(at.longitude, 3).c_str(), courseDeg));
}

}  // namespace surveytest
