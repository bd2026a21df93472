#pragma once
// How well a run of recordings covered a plan of survey lines: per line, how much of it was
// sailed and how far off it, and what share of its corridor (the line widened each side by
// half the nominal swath) the swaths covered; and the holidays, the patches of the planned
// area (the union of the corridors) no swath reached.
//
// The nominal swath is the median ground swath of the pings. A line's sailed length counts
// the stretches of the line between consecutive pings sailing it (joined as the
// coverage joins pings: at most two swaths apart), each ping alone counting its own metre.
// Holidays are the 4-connected patches of uncovered cells of the planned area; patches of
// fewer than kSmallestHolidayCells cells are specks of the grid, not holidays, and are left
// out (they still count against the corridors' shares).
//
// Memory: the track (a few tens of bytes a ping) and the holidays' runs of cells (one a row of
// each patch); the planned area is swept a row of cells at a time.

#include <cstdint>
#include <string>
#include <vector>

#include "survey/Coverage.h"
#include "survey/SurveyLine.h"

namespace survey {

inline constexpr int kSmallestHolidayCells = 10;

// A ping of the track: where it was and the ground swath it covered (both sides).
struct TrackPing {
    GeoPoint position;
    double swathM = 0;
    bool startsRun = false;  // the first ping of a file, or after a break
    double headingDeg = 0;
};

// A ping counts as sailing a line when it lies in the line's corridor, between its ends, and
// heads along it (either way) within this angle, which a crab angle in a cross current stays
// inside: the turns and transits between lines cross the corridors and would count up to
// their whole half swath as cross-track distance.
inline constexpr double kAlongLineDeg = 20.0;

struct LineStats {
    std::string name;
    double lengthM = 0;
    double sailedM = 0;          // of the line's length, sailed inside its corridor
    std::size_t pings = 0;       // sailing it
    double meanCrossTrackM = 0;  // of those pings, |cross-track|
    double maxCrossTrackM = 0;
    double corridorM2 = 0;  // of the cells whose centres lie in the corridor
    double coveredM2 = 0;   // of those, covered by either side
    double CoveredShare() const { return corridorM2 > 0 ? coveredM2 / corridorM2 : 0.0; }
};

// A row's run of a holiday's cells, firstCol..lastCol, in the coverage's grid.
struct HolidayRun {
    std::int64_t row = 0, firstCol = 0, lastCol = 0;
    int holiday = 0;  // 1..holidays, its number
};

struct Holiday {
    int number = 0;  // numbered from the south-west, row by row
    std::int64_t cells = 0;
    double areaM2 = 0;
};

struct PlanCoverage {
    double nominalSwathM = 0;
    std::vector<LineStats> lines;  // in the plan's order
    std::vector<Holiday> holidays;
    std::vector<HolidayRun> runs;  // row by row from the south, west to east in a row
};

// The median of the pings' swaths above 0; 0 when there is none.
double NominalSwathM(const std::vector<TrackPing>& track);

// Length sailed and cross-track distances of the pings sailing each line.
std::vector<LineStats> SailedStats(const std::vector<SurveyLine>& lines,
                                   const std::vector<TrackPing>& track, double nominalSwathM);

// The corridors' covered shares and the holidays, added to the lines' stats. The coverage
// must have its zone (a ping added).
void MeasureCorridors(const std::vector<SurveyLine>& lines, double nominalSwathM,
                      const Coverage& coverage, PlanCoverage& result);

// All of it: the nominal swath from the track, then the sailed stats and the corridors.
PlanCoverage MeasurePlan(const std::vector<SurveyLine>& lines, const std::vector<TrackPing>& track,
                         const Coverage& coverage);

}  // namespace survey
