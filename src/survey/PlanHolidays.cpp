// The corridors of a plan swept a row of cells at a time: each line's corridor cells and how
// many of them are covered, and the uncovered cells of the planned area joined into holidays
// (runs of a row joined to the overlapping runs of the row below, union-find).

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

#include "gps/Utm.h"
#include "survey/CoverageStats.h"
#include "survey/TileIndex.h"

namespace survey {

namespace {

struct Plane {
    double e = 0, n = 0;
};

// A line widened each side by `half`, ends square, corners round, in the coverage's grid.
class Corridor {
public:
    Corridor(const SurveyLine& line, double half, const Coverage& coverage) : half(half) {
        const double cell = coverage.CellM();
        double minE = std::numeric_limits<double>::max(), maxE = -minE, minN = minE, maxN = -minE;
        for (const GeoPoint& p : line.points) {
            const UtmPosition u =
                LatLonToUtmInZone(p.latitude, p.longitude, coverage.Zone(), coverage.South());
            points.push_back({u.easting, u.northing});
            minE = std::min(minE, u.easting);
            maxE = std::max(maxE, u.easting);
            minN = std::min(minN, u.northing);
            maxN = std::max(maxN, u.northing);
        }
        if (points.size() < 2 || !(half > 0)) return;
        minCol = static_cast<std::int64_t>(std::floor((minE - half) / cell));
        maxCol = static_cast<std::int64_t>(std::floor((maxE + half) / cell));
        minRow = static_cast<std::int64_t>(std::floor((minN - half) / cell));
        maxRow = static_cast<std::int64_t>(std::floor((maxN + half) / cell));
    }

    bool Empty() const { return maxCol < minCol; }

    // Eastings that may lie in the corridor at northing n: of each segment, the part within
    // `half` of n north or south, widened by `half` (west > east when there is none). A line across the grid's columns is then
    // tested over its own width, not its whole box.
    std::pair<double, double> EastingsAt(double n) const {
        double low = std::numeric_limits<double>::max(), high = -low;
        for (std::size_t i = 0; i + 1 < points.size(); ++i) {
            const Plane& a = points[i];
            const Plane& b = points[i + 1];
            if (std::max(a.n, b.n) < n - half || std::min(a.n, b.n) > n + half) continue;
            double t0 = 0, t1 = 1;
            if (a.n != b.n) {
                t0 = std::clamp((n - half - a.n) / (b.n - a.n), 0.0, 1.0);
                t1 = std::clamp((n + half - a.n) / (b.n - a.n), 0.0, 1.0);
            }
            const double e0 = a.e + t0 * (b.e - a.e), e1 = a.e + t1 * (b.e - a.e);
            low = std::min({low, e0 - half, e1 - half});
            high = std::max({high, e0 + half, e1 + half});
        }
        return {low, high};
    }

    // Within `half` of the line, and not before its start or past its end.
    bool Contains(double e, double n) const {
        double best = std::numeric_limits<double>::max(), bestT = 0;
        std::size_t bestSegment = 0;
        for (std::size_t i = 0; i + 1 < points.size(); ++i) {
            const Plane& a = points[i];
            const Plane& b = points[i + 1];
            const double de = b.e - a.e, dn = b.n - a.n, length2 = de * de + dn * dn;
            const double t = length2 > 0 ? ((e - a.e) * de + (n - a.n) * dn) / length2 : 0.0;
            const double c = std::clamp(t, 0.0, 1.0);
            const double d = std::hypot(e - (a.e + c * de), n - (a.n + c * dn));
            if (d < best) {
                best = d;
                bestT = t;
                bestSegment = i;
            }
        }
        if (best > half) return false;
        if (bestSegment == 0 && bestT < 0) return false;
        return !(bestSegment + 2 == points.size() && bestT > 1);
    }

    std::int64_t minCol = 0, maxCol = -1, minRow = 0, maxRow = -1;

private:
    std::vector<Plane> points;
    double half;
};

// Whether each cell of the row from `firstCol` is covered by either side.
void CoveredRow(const Coverage& coverage, std::int64_t row, std::int64_t firstCol,
                std::vector<std::uint8_t>& out) {
    constexpr std::int64_t kTile = Coverage::kTileCells;
    const std::int64_t tileRow = TileOf(row, kTile), y = row - tileRow * kTile;
    const auto end = firstCol + static_cast<std::int64_t>(out.size());
    for (std::int64_t col = firstCol; col < end;) {
        const std::int64_t tileCol = TileOf(col, kTile);
        const std::int64_t stop = std::min(end, (tileCol + 1) * kTile);
        const std::uint8_t* cells = coverage.TileCells(tileCol, tileRow);
        for (; col < stop; ++col) {
            out[static_cast<std::size_t>(col - firstCol)] =
                cells && cells[y * kTile + (col - tileCol * kTile)] != 0;
        }
    }
}

// The uncovered runs of the planned area, joined into patches as they are added.
class Patches {
public:
    void StartRow() {
        previousBegin = currentBegin;
        currentBegin = runs.size();
        cursor = previousBegin;
    }
    void AddRun(std::int64_t row, std::int64_t first, std::int64_t last) {
        const std::size_t self = runs.size();
        runs.push_back({row, first, last, 0});
        parent.push_back(self);
        while (cursor < currentBegin && runs[cursor].lastCol < first) ++cursor;
        for (std::size_t j = cursor; j < currentBegin && runs[j].firstCol <= last; ++j) {
            if (runs[j].lastCol >= first) parent[Find(j)] = Find(self);
        }
    }
    // The row's runs of planned cells that are not covered.
    void AddRow(std::int64_t row, std::int64_t firstCol, const std::vector<std::uint8_t>& planned,
                const std::vector<std::uint8_t>& covered) {
        for (std::size_t x = 0; x < planned.size();) {
            if (!planned[x] || covered[x]) {
                ++x;
                continue;
            }
            const std::size_t first = x;
            while (x < planned.size() && planned[x] && !covered[x]) ++x;
            AddRun(row, firstCol + static_cast<std::int64_t>(first),
                   firstCol + static_cast<std::int64_t>(x) - 1);
        }
    }
    // The patches of at least `smallest` cells as numbered holidays, with their runs.
    void Finish(double cellM2, std::int64_t smallest, PlanCoverage& result) {
        std::vector<std::int64_t> cells(runs.size(), 0);
        for (std::size_t i = 0; i < runs.size(); ++i) {
            cells[Find(i)] += runs[i].lastCol - runs[i].firstCol + 1;
        }
        std::vector<int> number(runs.size(), 0);
        for (std::size_t i = 0; i < runs.size(); ++i) {
            const std::size_t root = Find(i);
            if (cells[root] < smallest) continue;
            if (number[root] == 0) {
                number[root] = static_cast<int>(result.holidays.size()) + 1;
                result.holidays.push_back(
                    {number[root], cells[root], static_cast<double>(cells[root]) * cellM2});
            }
            HolidayRun run = runs[i];
            run.holiday = number[root];
            result.runs.push_back(run);
        }
    }

private:
    std::size_t Find(std::size_t i) {
        while (parent[i] != i) i = parent[i] = parent[parent[i]];
        return i;
    }
    std::vector<HolidayRun> runs;
    std::vector<std::size_t> parent;
    std::size_t previousBegin = 0, currentBegin = 0, cursor = 0;
};

struct CellCounts {
    std::int64_t corridor = 0, covered = 0;
};

// The corridor's cells of the row marked planned (from firstCol) and counted.
void MarkRow(const Corridor& c, std::int64_t row, double cell, std::int64_t firstCol,
             const std::vector<std::uint8_t>& covered, std::vector<std::uint8_t>& planned,
             CellCounts& counts) {
    if (c.Empty() || row < c.minRow || row > c.maxRow) return;
    const double n = (static_cast<double>(row) + 0.5) * cell;
    const auto [west, east] = c.EastingsAt(n);
    if (west > east) return;  // no segment within reach of the row
    const std::int64_t fromCol =
        std::max(c.minCol, static_cast<std::int64_t>(std::floor(west / cell)));
    const std::int64_t toCol =
        std::min(c.maxCol, static_cast<std::int64_t>(std::floor(east / cell)));
    for (std::int64_t col = fromCol; col <= toCol; ++col) {
        if (!c.Contains((static_cast<double>(col) + 0.5) * cell, n)) continue;
        const auto x = static_cast<std::size_t>(col - firstCol);
        planned[x] = 1;
        ++counts.corridor;
        counts.covered += covered[x];
    }
}

}  // namespace

void MeasureCorridors(const std::vector<SurveyLine>& lines, double nominalSwathM,
                      const Coverage& coverage, PlanCoverage& result) {
    result.lines.resize(lines.size());
    std::vector<Corridor> corridors;
    std::int64_t minCol = std::numeric_limits<std::int64_t>::max(), maxCol = -minCol;
    std::int64_t minRow = minCol, maxRow = maxCol;
    for (const SurveyLine& line : lines) {
        corridors.emplace_back(line, nominalSwathM / 2.0, coverage);
        const Corridor& c = corridors.back();
        if (c.Empty()) continue;
        minCol = std::min(minCol, c.minCol);
        maxCol = std::max(maxCol, c.maxCol);
        minRow = std::min(minRow, c.minRow);
        maxRow = std::max(maxRow, c.maxRow);
    }
    if (coverage.Zone() == 0 || maxCol < minCol) return;
    const double cell = coverage.CellM();
    const auto width = static_cast<std::size_t>(maxCol - minCol + 1);
    std::vector<std::uint8_t> planned(width), covered(width);
    std::vector<CellCounts> counts(lines.size());
    Patches patches;
    for (std::int64_t row = minRow; row <= maxRow; ++row) {
        std::fill(planned.begin(), planned.end(), 0);
        CoveredRow(coverage, row, minCol, covered);
        for (std::size_t i = 0; i < corridors.size(); ++i) {
            MarkRow(corridors[i], row, cell, minCol, covered, planned, counts[i]);
        }
        patches.StartRow();
        patches.AddRow(row, minCol, planned, covered);
    }
    for (std::size_t i = 0; i < lines.size(); ++i) {
        result.lines[i].corridorM2 = static_cast<double>(counts[i].corridor) * cell * cell;
        result.lines[i].coveredM2 = static_cast<double>(counts[i].covered) * cell * cell;
    }
    patches.Finish(cell * cell, kSmallestHolidayCells, result);
}

}  // namespace survey
