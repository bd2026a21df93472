#include "survey/Coverage.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "gps/Utm.h"
#include "survey/TileIndex.h"

namespace survey {

namespace {

constexpr double kDegrees = M_PI / 180.0;
// Two pings belong together when their nadirs are at most this many swath widths apart and
// their headings differ by at most this much.
constexpr double kJoinSwaths = 2.0;
constexpr double kJoinTurnDeg = 30.0;
// A swath wider than this (bad data) covers nothing: it would paint kilometres of seabed.
constexpr double kWidestSideM = 5000.0;

double TurnDeg(double a, double b) {
    return std::fabs(std::remainder(a - b, 360.0));
}

}  // namespace

void Coverage::Clear() {
    tiles.clear();
    previous.reset();
    zone = 0;
}

void Coverage::UseZone(int utmZone, bool southern) {
    if (!tiles.empty()) return;
    zone = utmZone;
    south = southern;
}

Coverage::Swath Coverage::Project(const SwathPing& ping) {
    const GeoPoint& p = ping.position;
    if (zone == 0) {
        const UtmPosition first = LatLonToUtm(p.latitude, p.longitude);
        zone = first.zone;
        south = first.south;
    }
    const UtmPosition at = LatLonToUtmInZone(p.latitude, p.longitude, zone, south);
    const UtmPosition up = LatLonToUtmInZone(p.latitude + 1e-4, p.longitude, zone, south);
    // The heading is from true north; the grid's north differs by the convergence.
    const double gridNorth = std::atan2(up.easting - at.easting, up.northing - at.northing);
    const double a = ping.headingDeg * kDegrees + gridNorth;
    const double se = std::cos(a), sn = -std::sin(a);  // towards starboard
    Swath swath;
    swath.headingDeg = ping.headingDeg;
    swath.nadir = {at.easting, at.northing};
    swath.starboard = {at.easting + se * ping.starboardM, at.northing + sn * ping.starboardM};
    swath.port = {at.easting - se * ping.portM, at.northing - sn * ping.portM};
    return swath;
}

void Coverage::Add(const SwathPing& ping) {
    const bool sane = ping.portM >= 0 && ping.portM <= kWidestSideM && ping.starboardM >= 0 &&
                      ping.starboardM <= kWidestSideM && std::isfinite(ping.headingDeg);
    if (!sane) return;
    const Swath now = Project(ping);
    const double reach = kJoinSwaths * (ping.portM + ping.starboardM);
    const bool joined = previous &&
                        std::hypot(now.nadir.e - previous->nadir.e, now.nadir.n - previous->nadir.n) <= reach &&
                        TurnDeg(now.headingDeg, previous->headingDeg) <= kJoinTurnDeg;
    const Swath& before = joined ? *previous : now;
    const Plane port[4] = {before.nadir, before.port, now.port, now.nadir};
    const Plane starboard[4] = {before.nadir, before.starboard, now.starboard, now.nadir};
    FillQuad(port, kPort);
    FillQuad(starboard, kStarboard);
    previous = now;
}

// Every cell whose centre lies inside the polygon (even-odd, edges half-open), and the cells
// along the ping's own swath line (corners 3 to 2), so that a quadrilateral thinner than a
// cell, or a ping alone, still marks its line.
void Coverage::FillQuad(const Plane (&c)[4], std::uint8_t side) {
    double low = c[0].n, high = c[0].n;
    for (const Plane& p : c) {
        low = std::min(low, p.n);
        high = std::max(high, p.n);
    }
    const auto firstRow = static_cast<std::int64_t>(std::ceil(low / cell - 0.5));
    const auto lastRow = static_cast<std::int64_t>(std::floor(high / cell - 0.5));
    std::vector<double> xs;
    for (std::int64_t row = firstRow; row <= lastRow; ++row) {
        const double y = (static_cast<double>(row) + 0.5) * cell;
        xs.clear();
        for (int i = 0; i < 4; ++i) {
            const Plane& a = c[i];
            const Plane& b = c[(i + 1) % 4];
            if ((a.n <= y) != (b.n <= y)) xs.push_back(a.e + (y - a.n) * (b.e - a.e) / (b.n - a.n));
        }
        std::sort(xs.begin(), xs.end());
        for (std::size_t k = 0; k + 1 < xs.size(); k += 2) {
            const auto from = static_cast<std::int64_t>(std::ceil(xs[k] / cell - 0.5));
            const auto to = static_cast<std::int64_t>(std::ceil(xs[k + 1] / cell - 0.5)) - 1;
            for (std::int64_t col = from; col <= to; ++col) Set(col, row, side);
        }
    }
    // The ping's own swath line, from the nadir out.
    const Plane& a = c[3];
    const Plane& b = c[2];
    const double length = std::hypot(b.e - a.e, b.n - a.n);
    // Up to the far end, not the cell beyond it that the end point may touch.
    const int steps = std::max(1, static_cast<int>(std::ceil(2 * length / cell)));
    for (int s = 0; s < steps; ++s) {
        const double t = static_cast<double>(s) / steps;
        Set(static_cast<std::int64_t>(std::floor((a.e + t * (b.e - a.e)) / cell)),
            static_cast<std::int64_t>(std::floor((a.n + t * (b.n - a.n)) / cell)), side);
    }
}

void Coverage::Set(std::int64_t col, std::int64_t row, std::uint8_t side) {
    const std::pair<std::int64_t, std::int64_t> key{TileOf(col, kTileCells), TileOf(row, kTileCells)};
    auto found = tiles.find(key);
    if (found == tiles.end()) found = tiles.emplace(key, Tile{}).first;
    const std::int64_t x = col - key.first * kTileCells, y = row - key.second * kTileCells;
    found->second[static_cast<std::size_t>(y * kTileCells + x)] |= side;
}

std::uint8_t Coverage::At(std::int64_t col, std::int64_t row) const {
    const auto found = tiles.find({TileOf(col, kTileCells), TileOf(row, kTileCells)});
    if (found == tiles.end()) return 0;
    const std::int64_t x = col - found->first.first * kTileCells;
    const std::int64_t y = row - found->first.second * kTileCells;
    return found->second[static_cast<std::size_t>(y * kTileCells + x)];
}

const std::uint8_t* Coverage::TileCells(std::int64_t tileCol, std::int64_t tileRow) const {
    const auto found = tiles.find({tileCol, tileRow});
    return found == tiles.end() ? nullptr : found->second.data();
}

std::optional<std::pair<std::int64_t, std::int64_t>> Coverage::CellOf(const GeoPoint& at) const {
    if (zone == 0) return std::nullopt;
    const UtmPosition p = LatLonToUtmInZone(at.latitude, at.longitude, zone, south);
    return std::pair{static_cast<std::int64_t>(std::floor(p.easting / cell)),
                     static_cast<std::int64_t>(std::floor(p.northing / cell))};
}

double Coverage::AreaM2() const {
    std::size_t cells = 0;
    for (const auto& [key, tile] : tiles) {
        cells += static_cast<std::size_t>(std::count_if(tile.begin(), tile.end(), [](std::uint8_t v) { return v != 0; }));
    }
    return static_cast<double>(cells) * cell * cell;
}

}  // namespace survey
