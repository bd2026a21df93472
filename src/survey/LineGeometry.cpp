#include "survey/LineGeometry.h"

#include <GeographicLib/AzimuthalEquidistant.hpp>
#include <GeographicLib/Geodesic.hpp>

#include <algorithm>
#include <cmath>
#include <limits>

#include "common/TextFormat.h"

namespace survey {

namespace {

const GeographicLib::Geodesic& Wgs84() { return GeographicLib::Geodesic::WGS84(); }

double Wrapped(double degrees) {
    const double d = std::fmod(degrees, 360.0);
    return d < 0 ? d + 360.0 : d;
}

struct SegmentFit {
    double distance = 0.0;  // from the position to the segment
    double cross = 0.0;     // signed, > 0 right of a -> b
    double along = 0.0;     // from a along a -> b, unclamped
};

// The position against the segment a -> b in the projection centred on a.
SegmentFit FitSegment(const GeoPoint& a, const GeoPoint& b, const GeoPoint& at) {
    const GeographicLib::AzimuthalEquidistant projection(Wgs84());
    double bx = 0, by = 0, px = 0, py = 0, azimuth = 0, scale = 0;
    projection.Forward(a.latitude, a.longitude, b.latitude, b.longitude, bx, by, azimuth, scale);
    projection.Forward(a.latitude, a.longitude, at.latitude, at.longitude, px, py, azimuth, scale);
    const double length = std::hypot(bx, by);
    SegmentFit fit;
    if (length == 0) {
        fit.distance = std::hypot(px, py);
        return fit;
    }
    const double ux = bx / length, uy = by / length;
    fit.along = px * ux + py * uy;
    // x east, y north: a point to the right of the direction has a negative cross product.
    fit.cross = -(ux * py - uy * px);
    const double clamped = std::clamp(fit.along, 0.0, length);
    fit.distance = std::hypot(px - clamped * ux, py - clamped * uy);
    return fit;
}

}  // namespace

double DistanceM(const GeoPoint& a, const GeoPoint& b) {
    double s12 = 0;
    Wgs84().Inverse(a.latitude, a.longitude, b.latitude, b.longitude, s12);
    return s12;
}

double BearingDeg(const GeoPoint& a, const GeoPoint& b) {
    double s12 = 0, azi1 = 0, azi2 = 0;
    Wgs84().Inverse(a.latitude, a.longitude, b.latitude, b.longitude, s12, azi1, azi2);
    return Wrapped(azi1);
}

GeoPoint Travel(const GeoPoint& from, double bearingDeg, double distanceM) {
    GeoPoint to;
    Wgs84().Direct(from.latitude, from.longitude, bearingDeg, distanceM, to.latitude, to.longitude);
    return to;
}

double LineLength(const SurveyLine& line) {
    double length = 0;
    for (std::size_t i = 1; i < line.points.size(); ++i) {
        length += DistanceM(line.points[i - 1], line.points[i]);
    }
    return length;
}

LinePosition Locate(const SurveyLine& line, const GeoPoint& at) {
    LinePosition result;
    if (line.points.size() < 2) return result;
    double best = std::numeric_limits<double>::infinity();
    double before = 0;  // length of the segments before the one measured
    for (std::size_t i = 1; i < line.points.size(); ++i) {
        const GeoPoint& a = line.points[i - 1];
        const GeoPoint& b = line.points[i];
        const SegmentFit fit = FitSegment(a, b, at);
        const double segment = DistanceM(a, b);
        // Ties go to the later segment, so that a position past a corner measures on.
        if (fit.distance <= best) {
            best = fit.distance;
            result.crossTrackM = fit.cross;
            result.alongTrackM = before + fit.along;
            result.bearingDeg = BearingDeg(a, b);
        }
        before += segment;
    }
    result.lengthM = before;
    result.toEndM = result.lengthM - result.alongTrackM;
    return result;
}

std::string CrossTrackText(double crossTrackM) {
    const double metres = std::round(std::fabs(crossTrackM) * 10.0) / 10.0;
    if (metres == 0) return "0.0 m";
    return Printf("%.1f m %s", metres, crossTrackM < 0 ? "L" : "R");
}

}  // namespace survey
