#pragma once
// Parallel survey lines from one line, and the spacing that gives a wanted overlap of the
// ground swaths.

#include <optional>
#include <string>
#include <vector>

#include "survey/SurveyLine.h"

namespace survey {

enum class Side { Port, Starboard };  // seen along the first line's direction

struct LineRequest {
    SurveyLine first;
    double spacingM = 0.0;
    int count = 1;            // lines in all, the first among them
    Side side = Side::Starboard;
    bool alternate = true;    // every second line sailed the other way, as a survey runs
};

// The first line and count - 1 more, each spacingM further to the side asked: every point is
// moved square to its segment (the mean direction of the two segments at a corner) along a
// geodesic. Named "<name> 1" .. "<name> N" ("Line" when the first has no name). Empty for a
// first line of fewer than two points, a count below 1 or a spacing not above 0.
std::vector<SurveyLine> ParallelLines(const LineRequest& request);

// Twice the ground range: sqrt(r^2 - a^2) each side for the slant range r at altitude a; the
// full range each side when the altitude is unknown, 0 or not below the range.
double SwathWidthM(double rangeM, std::optional<double> altitudeM);
// The spacing at which neighbouring swaths overlap by `overlap` (0.2: 20 %).
double SpacingForOverlap(double swathM, double overlap = 0.2);

}  // namespace survey
