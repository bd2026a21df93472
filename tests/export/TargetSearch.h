#pragma once
// Finding a simulated target in a mosaic: the shift of its footprint (in pixels, within +-8)
// that best matches a bright box with a dark acoustic shadow beyond it, away from the track.

#include <functional>
#include <utility>

// pixel(e, n): the raster's value at UTM easting e, northing n; centre (e, n) of the target's
// footprint of lengthE x lengthN metres; away: -1 when the shadow lies south of the target.
inline std::pair<int, int> BestTargetShift(const std::function<double(double, double)>& pixel,
                                           double resolution, double e, double n, double lengthE,
                                           double lengthN, double away) {
    const auto mean = [&](double e0, double n0, double e1, double n1) {
        double sum = 0;
        int count = 0;
        for (double x = e0 + resolution / 2; x < e1; x += resolution) {
            for (double y = n0 + resolution / 2; y < n1; y += resolution) {
                sum += pixel(x, y);
                ++count;
            }
        }
        return count ? sum / count : 0.0;
    };
    double best = -1e9;
    std::pair<int, int> shift{99, 99};
    for (int dx = -8; dx <= 8; ++dx) {
        for (int dy = -8; dy <= 8; ++dy) {
            const double e0 = e + dx * resolution - lengthE / 2, e1 = e0 + lengthE;
            const double n0 = n + dy * resolution - lengthN / 2, n1 = n0 + lengthN;
            const double s0 = away < 0 ? n0 - 1.5 : n1, s1 = away < 0 ? n0 : n1 + 1.5;
            const double score = mean(e0, n0, e1, n1) - mean(e0, s0, e1, s1);
            if (score > best) {
                best = score;
                shift = {dx, dy};
            }
        }
    }
    return shift;
}
