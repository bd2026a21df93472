#include "survey/CoverageStats.h"

#include <algorithm>
#include <cmath>

#include "survey/LineGeometry.h"

namespace survey {

namespace {

// Pings further apart along the line than this many nominal swaths are not joined (as the
// coverage does not join them).
constexpr double kJoinSwaths = 2.0;
constexpr double kAlongBinM = 1.0;

// The metres of a line sailed, as 1 m bins along it.
class SailedBins {
public:
    explicit SailedBins(double lengthM)
        : bins(static_cast<std::size_t>(std::ceil(lengthM / kAlongBinM)) + 1, false) {}
    void Mark(double fromM, double toM) {
        if (fromM > toM) std::swap(fromM, toM);
        const auto first = Bin(fromM), last = Bin(toM);
        for (std::size_t b = first; b <= last; ++b) bins[b] = true;
    }
    double Metres(double lengthM) const {
        const auto marked = std::count(bins.begin(), bins.end(), true);
        return std::min(lengthM, static_cast<double>(marked) * kAlongBinM);
    }

private:
    std::size_t Bin(double alongM) const {
        const double b = std::floor(alongM / kAlongBinM);
        return static_cast<std::size_t>(std::clamp(b, 0.0, static_cast<double>(bins.size() - 1)));
    }
    std::vector<bool> bins;
};

LineStats SailedOne(const SurveyLine& line, const std::vector<TrackPing>& track, double halfM,
                    double joinM) {
    LineStats stats;
    stats.name = line.name;
    stats.lengthM = LineLength(line);
    if (line.points.size() < 2) return stats;
    SailedBins bins(stats.lengthM);
    bool previousInside = false;
    double previousAlong = 0, crossSum = 0;
    for (const TrackPing& ping : track) {
        const LinePosition at = Locate(line, ping.position);
        const double turn = std::fabs(std::remainder(ping.headingDeg - at.bearingDeg, 180.0));
        const bool inside = std::fabs(at.crossTrackM) <= halfM && at.alongTrackM >= 0 &&
                            at.alongTrackM <= at.lengthM && turn <= kAlongLineDeg;
        if (inside) {
            const bool joined = previousInside && !ping.startsRun &&
                                std::fabs(at.alongTrackM - previousAlong) <= joinM;
            bins.Mark(joined ? previousAlong : at.alongTrackM, at.alongTrackM);
            ++stats.pings;
            crossSum += std::fabs(at.crossTrackM);
            stats.maxCrossTrackM = std::max(stats.maxCrossTrackM, std::fabs(at.crossTrackM));
            previousAlong = at.alongTrackM;
        }
        previousInside = inside;
    }
    stats.sailedM = bins.Metres(stats.lengthM);
    if (stats.pings > 0) stats.meanCrossTrackM = crossSum / static_cast<double>(stats.pings);
    return stats;
}

}  // namespace

double NominalSwathM(const std::vector<TrackPing>& track) {
    std::vector<double> swaths;
    for (const TrackPing& ping : track) {
        if (ping.swathM > 0) swaths.push_back(ping.swathM);
    }
    if (swaths.empty()) return 0.0;
    const auto middle = swaths.begin() + static_cast<std::ptrdiff_t>(swaths.size() / 2);
    std::nth_element(swaths.begin(), middle, swaths.end());
    if (swaths.size() % 2 == 1) return *middle;
    const double upper = *middle;
    return (upper + *std::max_element(swaths.begin(), middle)) / 2.0;
}

std::vector<LineStats> SailedStats(const std::vector<SurveyLine>& lines,
                                   const std::vector<TrackPing>& track, double nominalSwathM) {
    std::vector<LineStats> result;
    result.reserve(lines.size());
    for (const SurveyLine& line : lines) {
        result.push_back(SailedOne(line, track, nominalSwathM / 2.0, kJoinSwaths * nominalSwathM));
    }
    return result;
}

PlanCoverage MeasurePlan(const std::vector<SurveyLine>& lines, const std::vector<TrackPing>& track,
                         const Coverage& coverage) {
    PlanCoverage result;
    result.nominalSwathM = NominalSwathM(track);
    result.lines = SailedStats(lines, track, result.nominalSwathM);
    MeasureCorridors(lines, result.nominalSwathM, coverage, result);
    return result;
}

}  // namespace survey
