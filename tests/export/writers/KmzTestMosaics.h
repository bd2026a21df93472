#pragma once
// Mosaics for the tests of the KMZ writer: rectangles of one-metre pixels with a gap, written
// with a grey table (colour k is the sample value k) and read back.

#include <GeographicLib/UTMUPS.hpp>

#include <map>
#include <string>

#include "KmzContents.h"
#include "export/writers/MosaicWriters.h"
#include "support/TempDir.h"

namespace kmztest {

inline constexpr double kTopNorthing = 6000000.0;  // about 54.1 degrees north
inline constexpr int kZone = 32;
inline constexpr double kPi = 3.14159265358979323846;

// A mosaic of cols x rows one-metre pixels centred on the central meridian of zone 32, data in
// every pixel but those of the columns holeFrom .. holeTo (excluded).
struct Rectangle {
    int cols, rows, holeFrom = 0, holeTo = 0;
    std::int64_t Col0() const { return 500000 - cols / 2; }

    svx::Mosaic Make() const {
        svx::Mosaic m;
        m.resolutionM = 1.0;
        m.zone = kZone;
        for (int r = 0; r < rows; ++r) {
            for (int c = 0; c < cols; ++c) {
                if (c >= holeFrom && c < holeTo) continue;
                m.raster.Put(Col0() + c, static_cast<std::int64_t>(-kTopNorthing) + r,
                             static_cast<std::uint8_t>(1 + (c + 3 * r) % 250));
            }
        }
        return m;
    }
    // Latitude and longitude of a point `c` metres east and `r` metres south of the top left.
    std::pair<double, double> LatLon(double c, double r) const {
        double lat = 0, lon = 0;
        GeographicLib::UTMUPS::Reverse(kZone, true, double(Col0()) + c, kTopNorthing - r, lat, lon);
        return {lat, lon};
    }
    // Metres east of the left edge of a latitude and longitude.
    double Across(double lat, double lon) const {
        int zone = 0;
        bool north = true;
        double x = 0, y = 0;
        GeographicLib::UTMUPS::Forward(lat, lon, zone, north, x, y, kZone);
        return x - double(Col0());
    }
};

inline ColourTable Grey() {
    ColourTable table{};
    for (int k = 0; k < kPaletteEntries; ++k) {
        table[k] = {std::uint8_t(k), std::uint8_t(k), std::uint8_t(k)};
    }
    return table;
}

inline std::map<std::string, std::string> WriteAndRead(const svx::Mosaic& m, const TempDir& dir) {
    std::string error;
    EXPECT_TRUE(svx::WriteKmz(m, Grey(), dir.File("m.kmz"), error)) << error;
    return ZipFiles(dir.File("m.kmz"));
}

}  // namespace kmztest
