#pragma once
// The helmsman's read-out for the active line of a plan: the line's name, the cross-track
// distance with its side ("12.4 m L"), the distance to the line's end and the time to it at
// the present speed, the line's bearing beside the course over ground, and whether the vessel
// is off the line beyond the alarm's threshold.

#include <optional>
#include <string>

#include "survey/LinePlan.h"

namespace survey {

struct SteeringInput {
    GeoPoint position;
    std::optional<double> speedKnots;  // over ground
    std::optional<double> courseDeg;   // over ground
    double alarmM = 10.0;              // off line beyond this
};

struct SteeringReadout {
    bool active = false;  // a line to steer, and a position against it
    std::string line;     // its name
    double crossTrackM = 0.0;
    std::string crossTrack;  // "12.4 m L", "3.1 m R"
    bool offLine = false;
    std::string toEnd;       // "412 m", "1.24 km"; "past the end" once passed
    std::string timeToEnd;   // "3:25" (minutes:seconds), "1:02:10"; "--" without speed
    std::string bearing;     // the line's, "090.0°"
    std::string course;      // over ground, "087.5°"; "--" without one
};

SteeringReadout Steer(const LinePlan& plan, const SteeringInput& input);

}  // namespace survey
