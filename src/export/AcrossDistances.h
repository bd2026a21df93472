#pragma once
// Beside a mosaic's raster: for each pixel, the least across-track ground distance of the
// samples laid into it, in centimetres, on the same 256 x 256 tiles (two bytes a pixel of
// every tile touched). A mosaic of several recordings keeps, where lines overlap, the sample
// taken nearest its own nadir, and needs this distance to choose.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <memory>
#include <unordered_map>

#include "export/TiledRaster.h"

namespace svx {

class AcrossDistances {
public:
    static constexpr int kShift = TiledRaster::kTileShift;
    static constexpr int kSize = TiledRaster::kTileSize;
    using Tile = std::array<std::uint16_t, kSize * kSize>;
    // Stored values: 0 none, else centimetres + 1, the largest standing for anything farther.
    static constexpr std::uint16_t kNone = 0;
    static constexpr std::uint16_t kFarthest = 0xffff;

    static std::uint16_t Code(double groundM) {
        const double cm = std::floor(std::fabs(groundM) * 100.0);
        return cm >= kFarthest - 1 ? kFarthest : static_cast<std::uint16_t>(cm + 1);
    }

    // Keeps the smaller of the pixel's distance and this one.
    void Keep(std::int64_t col, std::int64_t row, std::uint16_t code) {
        std::uint16_t& d = At(col >> kShift, row >> kShift)[Index(col, row)];
        d = d == kNone ? code : std::min(d, code);
    }
    const Tile* Find(std::int64_t tileCol, std::int64_t tileRow) const {
        const auto found = tiles.find(Key(tileCol, tileRow));
        return found == tiles.end() ? nullptr : found->second.get();
    }
    Tile& At(std::int64_t tileCol, std::int64_t tileRow) {
        const std::uint64_t key = Key(tileCol, tileRow);
        if (cached && key == cachedKey) return *cached;
        std::unique_ptr<Tile>& slot = tiles[key];
        if (!slot) slot = std::make_unique<Tile>();  // value-initialised: none
        cached = slot.get();
        cachedKey = key;
        return *cached;
    }
    static std::size_t Index(std::int64_t col, std::int64_t row) {
        return static_cast<std::size_t>(((row & (kSize - 1)) << kShift) | (col & (kSize - 1)));
    }

private:
    static std::uint64_t Key(std::int64_t tileCol, std::int64_t tileRow) {
        return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(tileCol)) << 32) |
               static_cast<std::uint32_t>(tileRow);
    }

    std::unordered_map<std::uint64_t, std::unique_ptr<Tile>> tiles;
    Tile* cached = nullptr;
    std::uint64_t cachedKey = 0;
};

}  // namespace svx
