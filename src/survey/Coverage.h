#pragma once
// The seabed a run has covered, per side, on a grid of square cells in the UTM zone of its
// first ping. Each ping covers from the nadir out to its ground range square to the heading;
// the ground between two pings is covered by the quadrilateral of their two swath lines (per
// side), unless they are too far apart or too differently headed to belong together (a jump,
// a turn on the spot), when each ping covers only its own line.
//
// Memory follows the covered area, not the pings: tiles of 64 x 64 cells, a byte a cell (the
// sides covering it), 4 kB a tile, made when a ping first touches them. At the default 1 m a
// cell, 1 km^2 of seabed costs 1 MB (plus part-filled tiles along the edges): a ten-hour
// survey at 4 knots with a 100 m swath, 7.4 km^2, about 8 MB.

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <utility>

#include "survey/SurveyLine.h"

namespace survey {

struct SwathPing {
    GeoPoint position;     // of the transducers
    double headingDeg = 0;  // from true north
    double portM = 0;       // ground range covered to port; 0 for none
    double starboardM = 0;  // and to starboard
};

class Coverage {
public:
    static constexpr int kTileCells = 64;
    enum Side : std::uint8_t { kPort = 1, kStarboard = 2 };

    explicit Coverage(double cellM = 1.0) : cell(cellM) {}

    // The ping's swath, joined to the previous ping's when they belong together.
    void Add(const SwathPing& ping);
    // The next ping starts afresh (a gap in the run, a new file).
    void Break() { previous.reset(); }
    void Clear();
    // Lays the grid in this UTM zone (a drawing's zone) while nothing is covered yet;
    // otherwise the zone is that of the first ping.
    void UseZone(int utmZone, bool southern);

    double CellM() const { return cell; }
    bool Empty() const { return tiles.empty(); }
    // Sides covering the cell (col, row): col east, row north, in cells from the zone's origin.
    std::uint8_t At(std::int64_t col, std::int64_t row) const;
    // The cell of a position, and whether the grid has its zone yet.
    std::optional<std::pair<std::int64_t, std::int64_t>> CellOf(const GeoPoint& at) const;
    // The covered area, either side, in square metres.
    double AreaM2() const;
    std::size_t Tiles() const { return tiles.size(); }
    // The cells of tile (tileCol, tileRow), row-major from its south-west cell
    // (col = tileCol * kTileCells + x, row = tileRow * kTileCells + y); null where nothing
    // is covered. Readers that walk a region look a tile up once, not every cell.
    const std::uint8_t* TileCells(std::int64_t tileCol, std::int64_t tileRow) const;
    // Every tile made, in order of (tileCol, tileRow): f(tileCol, tileRow, cells).
    template <class F>
    void ForEachTile(F&& f) const {
        for (const auto& [key, tile] : tiles) f(key.first, key.second, tile.data());
    }
    int Zone() const { return zone; }
    bool South() const { return south; }

private:
    struct Plane {
        double e = 0, n = 0;  // metres in the zone
    };
    struct Swath {
        Plane nadir, port, starboard;
        double headingDeg = 0;
    };
    using Tile = std::array<std::uint8_t, kTileCells * kTileCells>;

    Swath Project(const SwathPing& ping);
    void FillQuad(const Plane (&corners)[4], std::uint8_t side);
    void Set(std::int64_t col, std::int64_t row, std::uint8_t side);

    double cell;
    int zone = 0;
    bool south = false;
    std::optional<Swath> previous;
    std::map<std::pair<std::int64_t, std::int64_t>, Tile> tiles;
};

}  // namespace survey
