#include "models/SurveyPlot.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

#include "gps/GpsTrack.h"
#include "gps/Utm.h"
#include "survey/TileIndex.h"

namespace {

// c over the pixel p (both premultiplied).
std::uint32_t Over(std::uint32_t c, std::uint32_t p) {
    const std::uint32_t inverse = 255 - (c >> 24);
    std::uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const std::uint32_t cc = (c >> shift) & 0xFF, pc = (p >> shift) & 0xFF;
        out |= std::min<std::uint32_t>(255, cc + (pc * inverse + 127) / 255) << shift;
    }
    return out;
}

std::uint32_t Premultiplied(std::uint32_t argb) {
    const std::uint32_t a = argb >> 24;
    const auto channel = [&](int shift) { return (((argb >> shift) & 0xFF) * a + 127) / 255 << shift; };
    return a << 24 | channel(16) | channel(8) | channel(0);
}

}  // namespace

void PlotFrame::Metres(const survey::GeoPoint& at, double& x, double& y) const {
    const UtmPosition p = LatLonToUtmInZone(at.latitude, at.longitude, zone, south);
    x = p.easting - originEasting;
    y = originNorthing - p.northing;
}

void PlotFrame::Pixel(const survey::GeoPoint& at, double& px, double& py) const {
    Metres(at, px, py);
    px = px * zoom + offsetX;
    py = py * zoom + offsetY;
}

PlotFrame FrameOf(const GpsTrack& track, const survey::LinePlan& plan) {
    PlotFrame frame;
    if (!track.firstPointPending && track.originZone != 0) {
        frame.zone = track.originZone;
        frame.south = track.originSouth;
        frame.originEasting = track.originEasting;
        frame.originNorthing = track.originNorthing;
        return frame;
    }
    for (const survey::SurveyLine& line : plan.lines) {
        if (line.points.empty()) continue;
        const UtmPosition p = LatLonToUtm(line.points.front().latitude, line.points.front().longitude);
        frame.zone = p.zone;
        frame.south = p.south;
        frame.originEasting = p.easting;
        frame.originNorthing = p.northing;
        break;
    }
    return frame;
}

std::optional<PlotBox> PlanBox(const survey::LinePlan& plan, const PlotFrame& frame) {
    std::optional<PlotBox> box;
    for (const survey::SurveyLine& line : plan.lines) {
        for (const survey::GeoPoint& point : line.points) {
            double x = 0, y = 0;
            frame.Metres(point, x, y);
            if (!box) box = PlotBox{x, y, x, y};
            box->left = std::min(box->left, x);
            box->right = std::max(box->right, x);
            box->top = std::min(box->top, y);
            box->bottom = std::max(box->bottom, y);
        }
    }
    return box;
}

std::optional<PlotBox> Union(const std::optional<PlotBox>& a, const std::optional<PlotBox>& b) {
    if (!a || !b) return a ? a : b;
    return PlotBox{std::min(a->left, b->left), std::min(a->top, b->top),
                   std::max(a->right, b->right), std::max(a->bottom, b->bottom)};
}

namespace {

// Whether any cell of a row of a tile is covered, eight cells at a time.
bool RowCovered(const std::uint8_t* row) {
    std::uint64_t any = 0;
    for (int k = 0; k < survey::Coverage::kTileCells; k += 8) {
        std::uint64_t eight = 0;
        std::memcpy(&eight, row + k, sizeof eight);
        any |= eight;
    }
    return any != 0;
}

// The first (or, fromEnd, the last) column (or, rows, row) of a tile's cells that holds a
// covered cell; every tile holds one.
std::int64_t EdgeOf(const std::uint8_t* cells, bool rows, bool fromEnd) {
    constexpr int kTile = survey::Coverage::kTileCells;
    for (int i = 0; i < kTile; ++i) {
        const int line = fromEnd ? kTile - 1 - i : i;
        if (rows) {
            if (RowCovered(cells + line * kTile)) return line;
            continue;
        }
        for (int j = 0; j < kTile; ++j) {
            if (cells[j * kTile + line]) return line;
        }
    }
    return fromEnd ? 0 : kTile - 1;
}

}  // namespace

std::optional<PlotBox> CoverageBox(const survey::Coverage& coverage, const PlotFrame& frame) {
    if (coverage.Empty() || !frame.Valid() || coverage.Zone() != frame.zone ||
        coverage.South() != frame.south) {
        return std::nullopt;
    }
    // Every tile holds a covered cell, so the extreme columns lie in the tiles of the extreme
    // tile columns, and the extreme rows in those of the extreme tile rows: only those are
    // read cell by cell.
    constexpr std::int64_t kTile = survey::Coverage::kTileCells;
    std::int64_t minTc = 0, maxTc = -1, minTr = 0, maxTr = -1;
    coverage.ForEachTile([&](std::int64_t tc, std::int64_t tr, const std::uint8_t*) {
        const bool first = maxTc < minTc;
        minTc = first ? tc : std::min(minTc, tc);
        maxTc = first ? tc : std::max(maxTc, tc);
        minTr = first ? tr : std::min(minTr, tr);
        maxTr = first ? tr : std::max(maxTr, tr);
    });
    std::int64_t minCol = (maxTc + 1) * kTile, maxCol = minTc * kTile - 1;
    std::int64_t minRow = (maxTr + 1) * kTile, maxRow = minTr * kTile - 1;
    coverage.ForEachTile([&](std::int64_t tc, std::int64_t tr, const std::uint8_t* cells) {
        if (tc == minTc) minCol = std::min(minCol, tc * kTile + EdgeOf(cells, false, false));
        if (tc == maxTc) maxCol = std::max(maxCol, tc * kTile + EdgeOf(cells, false, true));
        if (tr == minTr) minRow = std::min(minRow, tr * kTile + EdgeOf(cells, true, false));
        if (tr == maxTr) maxRow = std::max(maxRow, tr * kTile + EdgeOf(cells, true, true));
    });
    if (maxCol < minCol) return std::nullopt;
    const double cell = coverage.CellM();
    return PlotBox{double(minCol) * cell - frame.originEasting,
                   frame.originNorthing - double(maxRow + 1) * cell,
                   double(maxCol + 1) * cell - frame.originEasting,
                   frame.originNorthing - double(minRow) * cell};
}

void FitBox(PlotFrame& frame, const PlotBox& box, int width, int height, int margin) {
    const double w = std::max(1.0, box.right - box.left), h = std::max(1.0, box.bottom - box.top);
    const double spanX = std::max(1, width - 2 * margin), spanY = std::max(1, height - 2 * margin);
    frame.zoom = std::min(spanX / w, spanY / h);
    frame.offsetX = width / 2.0 - (box.left + box.right) / 2.0 * frame.zoom;
    frame.offsetY = height / 2.0 - (box.top + box.bottom) / 2.0 * frame.zoom;
}

void PaintCoverage(const survey::Coverage& coverage, const PlotFrame& frame, std::uint32_t* pixels,
                   int width, int height, int stride, const CoverageColours& colours) {
    if (coverage.Empty() || !frame.Valid() || frame.zoom <= 0) return;
    const std::uint32_t blend[4] = {0, Premultiplied(colours.port), Premultiplied(colours.starboard),
                                    Premultiplied(colours.both)};
    const double cell = coverage.CellM();
    const std::int64_t tile = survey::Coverage::kTileCells;
    std::vector<std::int64_t> cols(static_cast<std::size_t>(width));
    for (int px = 0; px < width; ++px) {
        const double east = frame.originEasting + (px + 0.5 - frame.offsetX) / frame.zoom;
        cols[static_cast<std::size_t>(px)] = static_cast<std::int64_t>(std::floor(east / cell));
    }
    for (int py = 0; py < height; ++py) {
        const double north = frame.originNorthing - (py + 0.5 - frame.offsetY) / frame.zoom;
        const auto row = static_cast<std::int64_t>(std::floor(north / cell));
        const std::int64_t tileRow = survey::TileOf(row, tile);
        const std::int64_t y = row - tileRow * tile;
        std::uint32_t* line = pixels + static_cast<std::ptrdiff_t>(py) * stride;
        std::int64_t cachedCol = std::numeric_limits<std::int64_t>::min();
        const std::uint8_t* cells = nullptr;
        for (int px = 0; px < width; ++px) {
            const std::int64_t col = cols[static_cast<std::size_t>(px)];
            const std::int64_t tileCol = survey::TileOf(col, tile);
            if (tileCol != cachedCol) {
                cachedCol = tileCol;
                cells = coverage.TileCells(tileCol, tileRow);
            }
            if (!cells) continue;
            const std::uint8_t sides = cells[y * tile + (col - tileCol * tile)] & 3;
            if (sides) line[px] = Over(blend[sides], line[px]);
        }
    }
}
