#pragma once
// A planned survey line: a name and a polyline in latitude and longitude (WGS 84 degrees),
// sailed from its first point to its last.

#include <string>
#include <vector>

namespace survey {

struct GeoPoint {
    double latitude = 0.0;
    double longitude = 0.0;
};

struct SurveyLine {
    std::string name;
    std::vector<GeoPoint> points;  // at least two once a line is in a plan
};

}  // namespace survey
