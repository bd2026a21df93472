// The document's side of the GPS data and the track plotter.

#include "document/CVantrelDoc.h"
#include "gps/GpsTrack.h"

void CVantrelDoc::ResetGpsData(bool clearTrack) {
    {
        std::lock_guard<std::mutex> guard(gps.lock);
        gps.Reset(clearTrack);
    }
    RestartGpsAge();
    observer->UpdateAllViews();
}

// The track starts afresh; the origin stays, so the next position resumes at its place
// relative to it (not at the origin itself).
void CVantrelDoc::EraseGpsTracks() {
    {
        std::lock_guard<std::mutex> guard(gps.lock);
        gps.track.trackPath.clear();
        gps.Reset(false);
        gps.gpsLatitude = gps.gpsLongitude = 0.0;
        GpsTrack& track = gps.track;
        track.trackX = track.trackY = track.lastDrawnX = track.lastDrawnY = 0.0;
        gps.trackRestart = 1;
    }
    // The coverage is kept for the run as the track is, and erased with it.
    survey.coverage.Clear();
    RestartGpsAge();
    observer->UpdateAllViews();
}

void CVantrelDoc::ZoomTrackIn() {
    gpsConfig.trackZoom = ZoomIn(gpsConfig.trackZoom);
    observer->UpdateAllViews();
}

void CVantrelDoc::ZoomTrackOut() {
    gpsConfig.trackZoom = ZoomOut(gpsConfig.trackZoom);
    observer->UpdateAllViews();
}
