#pragma once
// The files a mosaic is written to: a Cloud Optimized GeoTIFF (8-bit sample values, nodata 0,
// WGS 84 / UTM, written through GDAL) and a KMZ for Google Earth: up to 4096 pixels on the
// longer side a zip of doc.kml and overlay.png, a GroundOverlay in latitude and longitude whose
// PNG shows the samples through a colour table, transparent where no ping reached; beyond, a
// super-overlay of 512-pixel tiles in levels linked by regions (export/writers/KmzPyramid.cpp),
// tiles without data left out. A failed write leaves no file behind.

#include <cstdint>
#include <string>
#include <vector>

#include "export/Mosaic.h"
#include "imaging/ColourTables.h"

namespace svx {

// False with "cannot write PATH: reason". The GeoTIFF is cloud optimised (tiled, DEFLATE,
// overviews), compressed on `threads` threads (0: one per core).
bool WriteGeoTiff(const Mosaic& mosaic, const std::string& path, std::string& error,
                  int threads = 0);
bool WriteKmz(const Mosaic& mosaic, const ColourTable& table, const std::string& path,
              std::string& error);

// The mosaic resampled onto a latitude/longitude grid, as the KMZ's single overlay holds it
// (at most 4096 pixels a side).
struct LatLonImage {
    int width = 0, height = 0;
    double north = 0, south = 0, east = 0, west = 0;
    std::vector<std::uint8_t> pixels;  // sample values, 0 no data; rows north to south
};
// False with a reason when the projection is not available.
bool ResampleToLatLon(const Mosaic& mosaic, LatLonImage& image, std::string& error);

// Registers the GeoTIFF and KMZ exports (export/ExportRegistry.h); a program that links these
// writers calls it once at start.
void RegisterMosaicExports();

}  // namespace svx
