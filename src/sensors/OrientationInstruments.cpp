#include "sensors/OrientationInstruments.h"

#include <algorithm>
#include <cmath>

#include "common/TextFormat.h"

namespace {
constexpr double kPi = 3.1415926;
constexpr double kMetresPerFoot = 0.3048;
constexpr double kDegrees = 180.0 / kPi;

int Fahrenheit(int celsius) {
    return static_cast<int>(celsius * 9.0 / 5.0 + 32.0 + 0.5);
}
}  // namespace

OrientationTexts MakeOrientationTexts(const OrientationReadings& v, int units) {
    const bool imperial = units == 1;
    OrientationTexts t;
    t.pitch = Printf("P: %5.1f", v.pitchDeg);
    t.roll = Printf("R: %5.1f", v.rollDeg);
    t.heading = Printf("H: %5.1f", v.headingDeg);
    t.depth = imperial ? Printf("D: %5.1f ft", v.depthM / kMetresPerFoot)
                       : Printf("D: %5.1f m", v.depthM);
    t.temperature = imperial ? Printf("T: %5.1f  F", v.temperatureC * 9 / 5 + 32)
                             : Printf("T: %5.1f  C", v.temperatureC);
    return t;
}

GaugeLabels MakeGaugeLabels(int units) {
    if (units == 1) {
        return {Printf("%d", kDepthGaugeMin * 3), Printf("%d", kDepthGaugeMax * 3),
                Printf("%d", Fahrenheit(kTempGaugeMin)), Printf("%d", Fahrenheit(kTempGaugeMax))};
    }
    return {Printf("%d", kDepthGaugeMin), Printf("%d", kDepthGaugeMax), Printf("%d", kTempGaugeMin),
            Printf("%d", kTempGaugeMax)};
}

int GaugeOffset(double value, double lower, double upper, int length) {
    const double fraction = std::clamp((value - lower) / (upper - lower), 0.0, 1.0);
    return static_cast<int>(fraction * length);
}

PitchGround MakePitchGround(double pitchDeg, double radius) {
    PitchGround g;
    g.y = radius * std::clamp(pitchDeg, -90.0, 90.0) / 90.0;
    const double h = std::acos(std::min(1.0, std::fabs(g.y) / radius));
    g.halfChord = radius * std::sin(h);
    if (pitchDeg >= 0) {
        g.startDeg = 90.0 - h * kDegrees;
        g.sweepDeg = 2 * h * kDegrees;
    } else {
        g.startDeg = 270.0 + h * kDegrees;
        g.sweepDeg = 360.0 - 2 * h * kDegrees;
    }
    return g;
}

NeedleEnd HeadingNeedle(double headingDeg, double radius) {
    const double theta = headingDeg * kPi / 180.0;
    return {std::sin(theta) * (radius - 10), -std::cos(theta) * (radius - 10)};
}
