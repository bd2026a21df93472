#pragma once
// Beside a mosaic's raster: for each pixel, the across-track ground distance and the side of
// the sample laid into it, on the same 256 x 256 tiles (two bytes a pixel of every tile
// touched). Where lines overlap, the rule `nearest` keeps the sample taken nearest its own
// nadir and needs this distance to choose; the across-track normalisation needs the distance
// and the side of the sample each pixel kept.

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
    // A stored code: 0 none, else (steps + 1) * 2 + side, where steps is the distance in
    // whole steps of kStepM and side is 0 port, 1 starboard; the largest step count stands for
    // anything farther (655 m). Codes compare by Steps(): the distance alone.
    static constexpr std::uint16_t kNone = 0;
    static constexpr std::uint16_t kFarthest = 0xffff;
    static constexpr double kStepM = 0.02;
    static constexpr int kMaxSteps = 0x7fff;

    static std::uint16_t Code(double groundM, int side) {
        const double steps = std::floor(std::fabs(groundM) / kStepM);
        const int s = steps >= kMaxSteps - 1 ? kMaxSteps : static_cast<int>(steps) + 1;
        return static_cast<std::uint16_t>((s << 1) | (side & 1));
    }
    static int Steps(std::uint16_t code) { return code >> 1; }
    static int Side(std::uint16_t code) { return code & 1; }
    // The middle of the code's step, in metres: negative to port (never 0).
    static double SignedMetres(std::uint16_t code) {
        const double m = (Steps(code) - 0.5) * kStepM;
        return Side(code) ? m : -m;
    }
    // The inverse of SignedMetres, also for its value rounded to a float.
    static std::uint16_t FromSignedMetres(double m) {
        const long s = std::clamp(std::lround(std::fabs(m) / kStepM - 0.5) + 1, 1L,
                                  static_cast<long>(kMaxSteps));
        return static_cast<std::uint16_t>((s << 1) | (m > 0 ? 1 : 0));
    }

    std::uint16_t& Pixel(std::int64_t col, std::int64_t row) {
        return At(col >> kShift, row >> kShift)[Index(col, row)];
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
    template <typename F>
    void ForEachTile(F&& f) const {
        for (const auto& [key, tile] : tiles) {
            f(static_cast<std::int64_t>(static_cast<std::int32_t>(key >> 32)),
              static_cast<std::int64_t>(static_cast<std::int32_t>(key & 0xffffffffu)), *tile);
        }
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
