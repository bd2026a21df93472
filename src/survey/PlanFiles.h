#pragma once
// Plan files: survey lines read from GPX (each route, and each segment of a track, is a line),
// KML (each LineString, named after its placemark) and CSV ("name,lat1,lon1,lat2,lon2[,...]"
// a line, an optional heading line first), and a plan written as GPX routes, which chart
// programs open. A file that cannot be a plan gives one message naming the file and the
// line of the fault, and no lines at all: a plan is never half loaded.

#include <cstdint>
#include <string>
#include <vector>

#include "survey/SurveyLine.h"

namespace survey {

// Larger files are refused before they are read (a plan is some kilobytes).
inline constexpr std::uint64_t kLargestPlanFileBytes = 16u << 20;

struct PlanRead {
    std::vector<SurveyLine> lines;
    std::string error;  // "FILE:LINE: what is wrong", or "FILE: ..." for the whole file
    bool Ok() const { return error.empty(); }
};

// By the file's ending (.gpx, .kml, .csv, in any case).
PlanRead ReadPlan(const std::string& path);
// The text of a file already read, `path` naming it in messages.
PlanRead ReadGpxPlan(const std::string& text, const std::string& path);
PlanRead ReadKmlPlan(const std::string& text, const std::string& path);
PlanRead ReadCsvPlan(const std::string& text, const std::string& path);

// Empty for a position in degrees, else what is wrong with it.
std::string CoordinateFault(double latitude, double longitude);

// The GPX text of the lines as routes.
std::string PlanGpx(const std::vector<SurveyLine>& lines);
// Writes the lines as GPX routes to path; empty, or "cannot write PATH: reason" (then no
// half-written file is left).
std::string WritePlanFile(const std::string& path, const std::vector<SurveyLine>& lines);

}  // namespace survey
