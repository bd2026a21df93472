#pragma once
// What the orientation window draws, without the drawing: the read-out texts in the operator's
// units, the gauge limits and positions, the pitch disc's ground region and the heading needle.

#include <string>

#include "sensors/OrientationState.h"

// Gauge limits (metres and degrees Celsius), fixed for the program's life.
inline constexpr int kDepthGaugeMin = 0;
inline constexpr int kDepthGaugeMax = 1000;
inline constexpr int kTempGaugeMin = -5;
inline constexpr int kTempGaugeMax = 35;

struct OrientationTexts {
    std::string pitch;        // "P: %5.1f"
    std::string roll;         // "R: %5.1f"
    std::string heading;      // "H: %5.1f"
    std::string depth;        // "D: %5.1f m" / "D: %5.1f ft"
    std::string temperature;  // "T: %5.1f  C" / "T: %5.1f  F", a raised "o" drawn after it
};
OrientationTexts MakeOrientationTexts(const OrientationReadings& values, int units);

// The labels at the ends of the gauges: depth top and bottom, temperature bottom and top.
struct GaugeLabels {
    std::string depthTop, depthBottom, tempBottom, tempTop;
};
GaugeLabels MakeGaugeLabels(int units);

// Whole pixels from the lower limit along a scale of `length` pixels.
int GaugeOffset(double value, double lower, double upper, int length);

// The ground of the pitch disc of radius r: the chord at y (screen y grows downward) closed by
// an arc that starts at startDeg and sweeps sweepDeg clockwise (degrees from the positive x
// axis, as a path's arc).
struct PitchGround {
    double y = 0.0;
    double halfChord = 0.0;
    double startDeg = 0.0;
    double sweepDeg = 0.0;
};
PitchGround MakePitchGround(double pitchDeg, double radius);

// End of the heading needle from the dial's centre: 0 degrees up, clockwise.
struct NeedleEnd {
    double x = 0.0;
    double y = 0.0;
};
NeedleEnd HeadingNeedle(double headingDeg, double radius);
