#include "survey/LineGenerator.h"

#include <algorithm>
#include <cmath>

#include "survey/LineGeometry.h"

namespace survey {

namespace {

// The direction square to the line at point i, towards the side: the mean of the bearings of
// the segments meeting there.
double SquareBearing(const std::vector<GeoPoint>& points, std::size_t i, Side side) {
    const std::size_t n = points.size();
    const double in = BearingDeg(points[i == 0 ? 0 : i - 1], points[i == 0 ? 1 : i]);
    const double out = i + 1 < n ? BearingDeg(points[i], points[i + 1]) : in;
    const double radians = std::atan2(std::sin(in * M_PI / 180) + std::sin(out * M_PI / 180),
                                      std::cos(in * M_PI / 180) + std::cos(out * M_PI / 180));
    return radians * 180 / M_PI + (side == Side::Starboard ? 90.0 : -90.0);
}

}  // namespace

std::vector<SurveyLine> ParallelLines(const LineRequest& request) {
    const std::vector<GeoPoint>& base = request.first.points;
    if (base.size() < 2 || request.count < 1 || !(request.spacingM > 0)) return {};
    const std::string name = request.first.name.empty() ? "Line" : request.first.name;
    std::vector<SurveyLine> lines;
    for (int k = 0; k < request.count; ++k) {
        SurveyLine line;
        line.name = name + " " + std::to_string(k + 1);
        for (std::size_t i = 0; i < base.size(); ++i) {
            const double offset = request.spacingM * k;
            line.points.push_back(k == 0 ? base[i]
                                         : Travel(base[i], SquareBearing(base, i, request.side), offset));
        }
        if (request.alternate && k % 2 == 1) std::reverse(line.points.begin(), line.points.end());
        lines.push_back(std::move(line));
    }
    return lines;
}

double SwathWidthM(double rangeM, std::optional<double> altitudeM) {
    if (!(rangeM > 0)) return 0.0;
    if (!altitudeM || !(*altitudeM > 0) || *altitudeM >= rangeM) return 2.0 * rangeM;
    return 2.0 * std::sqrt(rangeM * rangeM - *altitudeM * *altitudeM);
}

double SpacingForOverlap(double swathM, double overlap) {
    return swathM * (1.0 - overlap);
}

}  // namespace survey
