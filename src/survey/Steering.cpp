#include "survey/Steering.h"

#include <cmath>

#include "common/TextFormat.h"
#include "survey/LineGeometry.h"

namespace survey {

namespace {

constexpr double kMetresPerSecondPerKnot = 1852.0 / 3600.0;
// Slower than this the time to the end means nothing (drifting, hove to).
constexpr double kSlowestKnots = 0.2;

std::string DistanceText(double metres) {
    if (metres < 0) return "past the end";
    if (metres < 1000) return Printf("%.0f m", metres);
    return Printf("%.2f km", metres / 1000);
}

std::string DurationText(double seconds) {
    const auto total = static_cast<long long>(std::llround(seconds));
    const long long h = total / 3600, m = total / 60 % 60, s = total % 60;
    return h ? Printf("%lld:%02lld:%02lld", h, m, s) : Printf("%lld:%02lld", m, s);
}

std::string BearingText(double degrees) {
    return Printf("%05.1f\u00B0", std::fmod(std::fmod(degrees, 360.0) + 360.0, 360.0));
}

}  // namespace

SteeringReadout Steer(const LinePlan& plan, const SteeringInput& input) {
    SteeringReadout out;
    const SurveyLine* line = plan.Active();
    if (!line || line->points.size() < 2) return out;
    const LinePosition at = Locate(*line, input.position);
    out.active = true;
    out.line = line->name;
    out.crossTrackM = at.crossTrackM;
    out.crossTrack = CrossTrackText(at.crossTrackM);
    out.offLine = std::fabs(at.crossTrackM) > input.alarmM;
    out.toEnd = DistanceText(at.toEndM);
    const bool moving = input.speedKnots && *input.speedKnots >= kSlowestKnots;
    out.timeToEnd = moving && at.toEndM >= 0
                        ? DurationText(at.toEndM / (*input.speedKnots * kMetresPerSecondPerKnot))
                        : "--";
    out.bearing = BearingText(at.bearingDeg);
    out.course = input.courseDeg ? BearingText(*input.courseDeg) : "--";
    return out;
}

}  // namespace survey
