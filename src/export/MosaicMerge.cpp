#include "export/MosaicMerge.h"

#include <algorithm>

namespace svx {

namespace {

// Keeps in `into` each pixel of `from` that wins by the rule; a tie keeps `into`'s.
void MergeTile(TiledRaster::Tile& into, AcrossDistances::Tile& intoDistance,
               const TiledRaster::Tile& from, const AcrossDistances::Tile& fromDistance,
               MosaicOverlap rule) {
    for (std::size_t i = 0; i < from.size(); ++i) {
        const std::uint8_t v = from[i];
        if (v == 0 || !PixelWins(rule, v, fromDistance[i], into[i], intoDistance[i], false)) {
            continue;
        }
        into[i] = v;
        intoDistance[i] = fromDistance[i];
    }
}

}  // namespace

void MergeMosaic(Mosaic& out, AcrossDistances& outDistances, const Mosaic& m,
                 const AcrossDistances& distances, MosaicOverlap rule) {
    // A tile without distances (none were kept) counts as the farthest: it fills, never wins.
    static const AcrossDistances::Tile farthest = [] {
        AcrossDistances::Tile t;
        t.fill(AcrossDistances::kFarthest);
        return t;
    }();
    m.raster.ForEachTile([&](std::int64_t tc, std::int64_t tr, const TiledRaster::Tile& tile) {
        const AcrossDistances::Tile* d = distances.Find(tc, tr);
        MergeTile(out.raster.TileForWrite(tc, tr), outDistances.At(tc, tr), tile, d ? *d : farthest,
                  rule);
    });
    out.raster.Extend(m.raster.MinCol(), m.raster.MinRow());
    out.raster.Extend(m.raster.MaxCol(), m.raster.MaxRow());
    out.resolutionM = m.resolutionM;
    out.zone = m.zone;
    out.south = m.south;
    out.head = m.head;
    out.rangeM = std::max(out.rangeM, m.rangeM);
    out.pings += m.pings;
    ++out.recordings;
    for (const double e : {m.track.minEasting, m.track.maxEasting}) {
        for (const double n : {m.track.minNorthing, m.track.maxNorthing}) {
            if (!m.track.empty) out.track.Add(e, n);
        }
    }
    for (const auto& [zone, pings] : m.pingsPerZone) out.pingsPerZone[zone] += pings;
    out.across.Merge(m.across);  // one grid, one bin width
}

}  // namespace svx
