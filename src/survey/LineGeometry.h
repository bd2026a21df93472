#pragma once
// Where a position lies against a survey line, on the WGS 84 ellipsoid (GeographicLib): the
// signed cross-track distance, how far along the line it is, what is left to the end, and the
// bearing of the line there. Each segment is measured in an azimuthal equidistant projection
// centred on its start, which keeps distances from the start true and the cross-track
// distances of a survey (metres to a few hundred metres, lines of some kilometres) within
// millimetres.

#include <string>

#include "survey/SurveyLine.h"

namespace survey {

struct LinePosition {
    double crossTrackM = 0.0;  // > 0 right of the line's direction (starboard), < 0 left
    double alongTrackM = 0.0;  // from the start along the line; < 0 before it, > length past it
    double lengthM = 0.0;
    double toEndM = 0.0;       // lengthM - alongTrackM: negative once the end is passed
    double bearingDeg = 0.0;   // of the nearest segment at its start, 0..360 from true north
};

// The line's length along its segments (geodesics).
double LineLength(const SurveyLine& line);
// Against the segment nearest the position. A line of fewer than two points is none (zeros).
LinePosition Locate(const SurveyLine& line, const GeoPoint& at);
// The geodesic distance between two points.
double DistanceM(const GeoPoint& a, const GeoPoint& b);
// The point `distanceM` from `from` along the bearing (degrees from true north).
GeoPoint Travel(const GeoPoint& from, double bearingDeg, double distanceM);
// The initial bearing from a to b, 0..360 degrees from true north.
double BearingDeg(const GeoPoint& a, const GeoPoint& b);

// "12.4 m L" (left of the line's direction), "3.1 m R", "0.0 m" within 0.05 m.
std::string CrossTrackText(double crossTrackM);

}  // namespace survey
