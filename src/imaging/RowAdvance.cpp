#include "imaging/RowAdvance.h"

namespace {
constexpr double kMetresPerSecondPerKnot = 0.51444444444;
}

RowAdvance ComputeAdvance(double remainder, int width, int range, int sideMode, int intervalMs,
                          double knots) {
    double pixelsPerMetre = 0.0;
    if (range > 0) {
        if (sideMode == 1 || sideMode == 2) {
            pixelsPerMetre = static_cast<double>(width) / range;
        } else if (sideMode == 3) {
            pixelsPerMetre = width * 0.5 / range;
        }
    }
    const int interval = intervalMs == 0 ? kDefaultPingIntervalMs : intervalMs;
    double increment = pixelsPerMetre * knots * (interval * 0.001) * kMetresPerSecondPerKnot;
    if (!(increment > 0.0)) increment = 0.0;
    const double h = remainder + increment;
    RowAdvance result;
    if (!(h < kMaxRowAdvance)) {
        result.rows = kMaxRowAdvance;
        return result;
    }
    result.rows = static_cast<int>(h);
    result.remainder = h - result.rows;
    return result;
}
