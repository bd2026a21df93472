#include "gps/GpsTrack.h"

#include <array>
#include <cmath>

namespace {

// A step of this many metres or more between two batches is a jump: it is not drawn.
constexpr double kJumpMetres = 50.0;

constexpr std::array<double, 6> kZoomSteps = {0.05, 0.1, 0.25, 0.5, 1.0, 2.5};

}  // namespace

void GpsTrack::AddTrackPoint(double latitude, double longitude, std::int32_t& trackRestart) {
    prevEasting = utmEasting;
    prevNorthing = utmNorthing;
    const UtmPosition own = firstPointPending
                                ? LatLonToUtm(latitude, longitude)
                                : LatLonToUtmInZone(latitude, longitude, originZone, originSouth);
    utmEasting = own.easting;
    utmNorthing = own.northing;
    if (firstPointPending) {
        if (utmEasting == 0.0 || utmNorthing == 0.0) return;
        firstPointPending = 0;
        originEasting = utmEasting;
        originNorthing = utmNorthing;
        originZone = own.zone;
        originSouth = own.south;
        return;
    }
    if (trackRestart) {
        trackX = lastDrawnX = utmEasting - originEasting;
        trackY = lastDrawnY = originNorthing - utmNorthing;
        if (utmEasting != prevEasting) trackRestart = 0;
        return;
    }
    const double dx = utmEasting - prevEasting;
    const double dy = prevNorthing - utmNorthing;
    if (std::fabs(dx) < kJumpMetres && std::fabs(dy) < kJumpMetres &&
        std::sqrt(dx * dx + dy * dy) < kJumpMetres) {
        trackX += dx;
        trackY += dy;
    } else {
        trackRestart = 1;
    }
    // A ship standing still (or a file that loops) adds no zero-length segments.
    if (trackX == lastDrawnX && trackY == lastDrawnY) return;
    trackPath.push_back({lastDrawnX, lastDrawnY, trackX, trackY});
    lastDrawnX = trackX;
    lastDrawnY = trackY;
}

void GpsTrack::Clear() {
    utmEasting = prevEasting = utmNorthing = prevNorthing = 0.0;
    trackX = trackY = lastDrawnX = lastDrawnY = 0.0;
    trackPath.clear();
}

double ZoomIn(double zoom) {
    if (zoom < 1.0) {
        zoom *= 2.0;
        if (zoom == 0.2) return 0.25;
        if (zoom >= 0.0625 && zoom <= 0.125) return 0.1;
        return zoom;
    }
    if (zoom == 1.0 || zoom >= 2.5) return 2.5;
    return zoom;
}

double ZoomOut(double zoom) {
    if (zoom > 1.0) {
        if (zoom == 2.5) return 1.0;
        if (zoom >= 5.0) return 2.5;
        return zoom;
    }
    if (zoom > 0.05) {
        zoom *= 0.5;
        if (zoom >= 0.0625 && zoom <= 0.125) return 0.1;
    }
    return zoom;
}

double NearestZoomStep(double zoom) {
    if (std::isnan(zoom)) return 1.0;
    double best = kZoomSteps[0];
    for (double step : kZoomSteps) {
        if (std::fabs(zoom - step) < std::fabs(zoom - best)) best = step;
    }
    return best;
}
