#pragma once
// The pieces the KMZ writer is made of, shared by its single overlay and its tiled pyramid:
// resampling the UTM raster onto latitude and longitude, PNG tiles through the colour table,
// KML text, and the archive written whole or not at all.

#include <cstdint>
#include <string>
#include <vector>

#include "export/GeoTexts.h"  // XmlText
#include "export/Mosaic.h"
#include "imaging/ColourTables.h"

namespace svx {

// A latitude/longitude grid of pixels: pixel (i, j) spans longitudes west + i dLon .. +dLon and
// latitudes north - j dLat .. -dLat.
struct LatLonGrid {
    double north = 0, west = 0, dLat = 0, dLon = 0;
};

// Pixels i0 .. i0 + count of row j of the grid, each the mosaic's pixel under its centre
// (exactly projected every 32nd, linearly in between), 0 where nothing was laid.
void ResampleSpan(const Mosaic& m, const LatLonGrid& grid, std::int64_t j, std::int64_t i0,
                  int count, std::uint8_t* out);

// Whether the mosaic holds any written tile under pixels [i0, i1) x [j0, j1) of the grid (a
// margin of a few pixels included): false means the block is certainly empty.
bool MayHoldData(const Mosaic& m, const LatLonGrid& grid, std::int64_t i0, std::int64_t j0,
                 std::int64_t i1, std::int64_t j1);

// An indexed PNG of the sample values through the colour table, value 0 transparent; empty
// with the reason in `error` when it cannot be encoded.
std::string EncodePng(int width, int height, const std::vector<std::uint8_t>& pixels,
                      const ColourTable& table, std::string& error);

// "<north>..</north><south>..</south><east>..</east><west>..</west>" (locale-free).
std::string BoxText(double north, double south, double east, double west);

// The files of a KMZ, kept until the archive is written in one go.
class KmzArchive {
public:
    // `store`: added uncompressed (PNG is compressed already). doc.kml becomes the first file.
    void Add(std::string name, std::string bytes, bool store);
    bool Empty() const { return entries.empty(); }
    // Writes the zip; on failure no file is left at `path` and `error` says why.
    bool Write(const std::string& path, std::string& error) const;

private:
    struct Entry {
        std::string name, bytes;
        bool store = false;
    };
    std::vector<Entry> entries;
};

// The mosaic as a super-overlay for Google Earth: a pyramid of tiles with regions and network
// links between levels, added to `archive` with its doc.kml. `grid` is the full-resolution
// grid of `width` x `height` pixels.
bool AddTilePyramid(const Mosaic& mosaic, const ColourTable& table, const LatLonGrid& grid,
                    std::int64_t width, std::int64_t height, KmzArchive& archive,
                    std::string& error);

}  // namespace svx
