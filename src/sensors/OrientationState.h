#pragma once
// Filtered orientation values that other subsystems read; the orientation decoder and its
// filters write them once per cycle.

struct OrientationState {
    double altitudeM = 0.0;   // echo-sounder altitude after filtering, metres
    double headingDeg = 0.0;  // heading after filtering, degrees
};
