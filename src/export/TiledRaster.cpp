#include "export/TiledRaster.h"

namespace svx {

TiledRaster::Tile& TiledRaster::Load(std::uint64_t key) {
    std::unique_ptr<Tile>& slot = tiles[key];
    if (!slot) slot = std::make_unique<Tile>();  // value-initialised: no data
    cached = slot.get();
    cachedKey = key;
    return *cached;
}

const TiledRaster::Tile* TiledRaster::FindTile(std::int64_t tileCol, std::int64_t tileRow) const {
    const auto found = tiles.find(Key(tileCol, tileRow));
    return found == tiles.end() ? nullptr : found->second.get();
}

std::uint8_t TiledRaster::At(std::int64_t col, std::int64_t row) const {
    const Tile* tile = FindTile(col >> kTileShift, row >> kTileShift);
    if (!tile) return 0;
    return (*tile)[static_cast<std::size_t>(((row & (kTileSize - 1)) << kTileShift) |
                                            (col & (kTileSize - 1)))];
}

bool TiledRaster::CopyRegion(std::int64_t col0, std::int64_t row0, int w, int h,
                             std::uint8_t* out) const {
    std::fill(out, out + static_cast<std::size_t>(w) * static_cast<std::size_t>(h), 0);
    bool any = false;
    const std::int64_t mask = kTileSize - 1;
    for (std::int64_t tr = row0 >> kTileShift; tr <= (row0 + h - 1) >> kTileShift; ++tr) {
        for (std::int64_t tc = col0 >> kTileShift; tc <= (col0 + w - 1) >> kTileShift; ++tc) {
            const Tile* tile = FindTile(tc, tr);
            if (!tile) continue;
            any = true;
            const std::int64_t c0 = std::max(col0, tc << kTileShift);
            const std::int64_t c1 = std::min(col0 + w, (tc + 1) << kTileShift);
            const std::int64_t r0 = std::max(row0, tr << kTileShift);
            const std::int64_t r1 = std::min(row0 + h, (tr + 1) << kTileShift);
            for (std::int64_t r = r0; r < r1; ++r) {
                const std::uint8_t* from = tile->data() + ((r & mask) << kTileShift) + (c0 & mask);
                std::copy(from, from + (c1 - c0), out + (r - row0) * w + (c0 - col0));
            }
        }
    }
    return any;
}

}  // namespace svx
