#include "gps/SpeedSource.h"

double SpeedSource::SpeedForPing(double storedKnots, bool gpsSpeedKnown) const {
    if (!speedCorrection) return kProgramDefaultSpeedKnots;
    if (useManualSpeed) return manualSpeedKnots;
    // "No Speed / Program Default" and a GPS that never gave a speed both mean the default:
    // a stored 0 would stop the waterfall and merge every ping into one row.
    if (!useGpsSpeed || !gpsSpeedKnown) return kProgramDefaultSpeedKnots;
    return storedKnots;
}
