#pragma once
// The ship's track: every decoded position projected to UTM metres and kept as segments
// relative to the first usable position, for the track plotter. x grows east, y grows south
// (screen direction: north is up).

#include <cstdint>
#include <vector>

#include "gps/Utm.h"

struct TrackSegment {
    double x0, y0, x1, y1;
};

struct GpsTrack {
    double utmEasting = 0.0, utmNorthing = 0.0;
    double prevEasting = 0.0, prevNorthing = 0.0;
    double originEasting = 0.0, originNorthing = 0.0;
    // The origin's zone and hemisphere: every later position is projected in them, so a track
    // crossing a zone boundary or the equator stays continuous.
    int originZone = 0;
    bool originSouth = false;
    double trackX = 0.0, trackY = 0.0;
    double lastDrawnX = 0.0, lastDrawnY = 0.0;
    std::int32_t firstPointPending = 1;
    // One segment per drawn track step, in metres; it grows until the track is erased.
    std::vector<TrackSegment> trackPath;

    // A new position (signed degrees). trackRestart: the next position starts a new piece of
    // track without a connecting line; cleared here once the track has resumed.
    void AddTrackPoint(double latitude, double longitude, std::int32_t& trackRestart);
    // Zeroes the projections and the track position and empties the path; the origin stays.
    void Clear();
};

// The zoom steps of the plotter in pixels per metre: 0.05, 0.1, 0.25, 0.5, 1, 2.5.
double ZoomIn(double zoom);
double ZoomOut(double zoom);
// The step nearest to a zoom factor read from the settings file.
double NearestZoomStep(double zoom);
