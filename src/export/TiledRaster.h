#pragma once
// An 8-bit raster over an unbounded grid, kept as 256 x 256 tiles that exist only where
// something was written: its memory grows with the area covered (one byte a pixel of every
// tile touched), not with what was written into it. 0 means no data; a write keeps the
// maximum of the values that fall into a pixel.

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <memory>
#include <unordered_map>

namespace svx {

class TiledRaster {
public:
    static constexpr int kTileShift = 8;
    static constexpr int kTileSize = 1 << kTileShift;
    using Tile = std::array<std::uint8_t, kTileSize * kTileSize>;

    // Keeps the larger of the pixel's value and `value` (written as at least 1).
    void Put(std::int64_t col, std::int64_t row, std::uint8_t value) {
        PutWithin(col, row, value);
        Extend(col, row);
    }
    // Put without widening the bounds, for the points of a line whose ends are Extend()ed.
    void PutWithin(std::int64_t col, std::int64_t row, std::uint8_t value) {
        Tile& tile = TileAt(col >> kTileShift, row >> kTileShift);
        std::uint8_t& pixel = tile[static_cast<std::size_t>(
            ((row & (kTileSize - 1)) << kTileShift) | (col & (kTileSize - 1)))];
        pixel = std::max<std::uint8_t>(pixel, std::max<std::uint8_t>(value, 1));
    }
    // The pixel itself, for a rule other than the maximum (bounds unchanged).
    std::uint8_t& Pixel(std::int64_t col, std::int64_t row) {
        return TileAt(col >> kTileShift, row >> kTileShift)[static_cast<std::size_t>(
            ((row & (kTileSize - 1)) << kTileShift) | (col & (kTileSize - 1)))];
    }
    void Extend(std::int64_t col, std::int64_t row) {
        minCol = std::min(minCol, col);
        maxCol = std::max(maxCol, col);
        minRow = std::min(minRow, row);
        maxRow = std::max(maxRow, row);
    }
    std::uint8_t At(std::int64_t col, std::int64_t row) const;
    // The tile holding pixel (tileCol << 8, tileRow << 8), or nullptr where nothing was written.
    const Tile* FindTile(std::int64_t tileCol, std::int64_t tileRow) const;

    // Copies the pixels of columns col0.. and rows row0.. (w x h) into out (w bytes a row),
    // 0 where nothing was written; false when the whole region is empty.
    bool CopyRegion(std::int64_t col0, std::int64_t row0, int w, int h, std::uint8_t* out) const;

    // The tile holding pixel (tileCol << 8, tileRow << 8), made when missing (bounds unchanged).
    Tile& TileForWrite(std::int64_t tileCol, std::int64_t tileRow) {
        return TileAt(tileCol, tileRow);
    }
    // Calls f(tileCol, tileRow, tile) for every tile written, in no particular order.
    template <typename F>
    void ForEachTile(F&& f) const {
        for (const auto& [key, tile] : tiles) {
            f(static_cast<std::int64_t>(static_cast<std::int32_t>(key >> 32)),
              static_cast<std::int64_t>(static_cast<std::int32_t>(key & 0xffffffffu)), *tile);
        }
    }

    bool Empty() const { return tiles.empty(); }
    std::size_t TileCount() const { return tiles.size(); }
    std::size_t Bytes() const { return tiles.size() * sizeof(Tile); }
    // The smallest rectangle holding every written pixel (inclusive).
    std::int64_t MinCol() const { return minCol; }
    std::int64_t MaxCol() const { return maxCol; }
    std::int64_t MinRow() const { return minRow; }
    std::int64_t MaxRow() const { return maxRow; }

private:
    static std::uint64_t Key(std::int64_t tileCol, std::int64_t tileRow) {
        return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(tileCol)) << 32) |
               static_cast<std::uint32_t>(tileRow);
    }
    Tile& TileAt(std::int64_t tileCol, std::int64_t tileRow) {
        const std::uint64_t key = Key(tileCol, tileRow);
        if (cached && key == cachedKey) return *cached;
        return Load(key);
    }
    Tile& Load(std::uint64_t key);

    std::unordered_map<std::uint64_t, std::unique_ptr<Tile>> tiles;
    Tile* cached = nullptr;
    std::uint64_t cachedKey = 0;
    std::int64_t minCol = std::numeric_limits<std::int64_t>::max();
    std::int64_t maxCol = std::numeric_limits<std::int64_t>::min();
    std::int64_t minRow = std::numeric_limits<std::int64_t>::max();
    std::int64_t maxRow = std::numeric_limits<std::int64_t>::min();
};

}  // namespace svx
