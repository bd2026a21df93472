// The KMZ of a mosaic: the raster resampled onto a latitude/longitude grid (nearest pixel).
// Up to 4096 pixels on the longer side it is one PNG through a colour table with entry 0
// transparent, placed by one KML GroundOverlay; beyond, a pyramid of tiles that Google Earth
// loads level by level as it zooms in (KmzPyramid.cpp). Zipped with libzip.

#include <ogr_srs_api.h>

#include <algorithm>
#include <cmath>

#include "export/writers/KmzParts.h"
#include "export/writers/MosaicWriters.h"
#include "gps/Utm.h"

namespace svx {

namespace {

constexpr int kEdgePoints = 16;  // points per edge projected to find the overlay's box
constexpr int kExactEvery = 32;  // columns between two exactly projected points
constexpr std::int64_t kMaxSingleOverlaySide = 4096;  // what every viewer loads as one image

struct LatLonBox {
    double north = -90, south = 90, east = -180, west = 180;
};

// The box in latitude and longitude that holds the raster's outline.
bool OutlineBox(const Mosaic& m, LatLonBox& box, std::string& error) {
    OGRSpatialReferenceH utm = OSRNewSpatialReference(nullptr);
    OGRSpatialReferenceH wgs = OSRNewSpatialReference(nullptr);
    OSRImportFromEPSG(utm, m.Epsg());
    OSRImportFromEPSG(wgs, 4326);
    OSRSetAxisMappingStrategy(utm, OAMS_TRADITIONAL_GIS_ORDER);
    OSRSetAxisMappingStrategy(wgs, OAMS_TRADITIONAL_GIS_ORDER);
    OGRCoordinateTransformationH to = OCTNewCoordinateTransformation(utm, wgs);
    bool ok = to != nullptr;
    const double w = m.West(), n = m.North();
    const double e = w + m.Width() * m.resolutionM, s = n - m.Height() * m.resolutionM;
    for (int k = 0; ok && k <= kEdgePoints; ++k) {
        const double f = double(k) / kEdgePoints;
        double x[4] = {w + (e - w) * f, w + (e - w) * f, w, e};
        double y[4] = {n, s, n + (s - n) * f, n + (s - n) * f};
        ok = OCTTransform(to, 4, x, y, nullptr) != 0;
        for (int i = 0; ok && i < 4; ++i) {
            box.west = std::min(box.west, x[i]);
            box.east = std::max(box.east, x[i]);
            box.south = std::min(box.south, y[i]);
            box.north = std::max(box.north, y[i]);
        }
    }
    if (to) OCTDestroyCoordinateTransformation(to);
    OSRDestroySpatialReference(utm);
    OSRDestroySpatialReference(wgs);
    if (!ok) error = "no transformation from EPSG:" + std::to_string(m.Epsg()) + " to WGS 84";
    return ok;
}

LatLonGrid GridOf(const LatLonImage& image) {
    return {image.north, image.west, (image.north - image.south) / image.height,
            (image.east - image.west) / image.width};
}

std::string SingleOverlayKml(const LatLonImage& image, const std::string& name) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<kml xmlns=\"http://www.opengis.net/kml/2.2\">\n<GroundOverlay>\n<name>" +
           XmlText(name) + "</name>\n<Icon><href>overlay.png</href></Icon>\n<LatLonBox>" +
           BoxText(image.north, image.south, image.east, image.west) +
           "</LatLonBox>\n</GroundOverlay>\n</kml>\n";
}

}  // namespace

void ResampleSpan(const Mosaic& m, const LatLonGrid& grid, std::int64_t j, std::int64_t i0,
                  int count, std::uint8_t* out) {
    const double lat = grid.north - (static_cast<double>(j) + 0.5) * grid.dLat;
    const double inv = 1.0 / m.resolutionM;
    const auto lonOf = [&](int k) {
        return grid.west + (static_cast<double>(i0 + k) + 0.5) * grid.dLon;
    };
    UtmPosition a = LatLonToUtmInZone(lat, lonOf(0), m.zone, m.south);
    for (int k0 = 0; k0 < count; k0 += kExactEvery) {
        const int k1 = std::min(k0 + kExactEvery, count);
        const UtmPosition b = LatLonToUtmInZone(lat, lonOf(k1), m.zone, m.south);
        for (int k = k0; k < k1; ++k) {
            const double f = double(k - k0) / (k1 - k0);
            const double e = a.easting + (b.easting - a.easting) * f;
            const double n = a.northing + (b.northing - a.northing) * f;
            out[k] = m.raster.At(static_cast<std::int64_t>(std::floor(e * inv)),
                                 static_cast<std::int64_t>(std::floor(-n * inv)));
        }
        a = b;
    }
}

bool MayHoldData(const Mosaic& m, const LatLonGrid& grid, std::int64_t i0, std::int64_t j0,
                 std::int64_t i1, std::int64_t j1) {
    constexpr int kMarginPixels = 4;
    double minE = 1e300, maxE = -1e300, minN = 1e300, maxN = -1e300;
    for (int k = 0; k <= 8; ++k) {  // points along the four edges of the block
        const double f = k / 8.0;
        const double lats[4] = {grid.north - j0 * grid.dLat, grid.north - j1 * grid.dLat,
                                grid.north - (j0 + (j1 - j0) * f) * grid.dLat,
                                grid.north - (j0 + (j1 - j0) * f) * grid.dLat};
        const double lons[4] = {grid.west + (i0 + (i1 - i0) * f) * grid.dLon,
                                grid.west + (i0 + (i1 - i0) * f) * grid.dLon,
                                grid.west + i0 * grid.dLon, grid.west + i1 * grid.dLon};
        for (int p = 0; p < 4; ++p) {
            const UtmPosition u = LatLonToUtmInZone(lats[p], lons[p], m.zone, m.south);
            minE = std::min(minE, u.easting);
            maxE = std::max(maxE, u.easting);
            minN = std::min(minN, u.northing);
            maxN = std::max(maxN, u.northing);
        }
    }
    const double inv = 1.0 / m.resolutionM;
    const auto cell = [](double v) { return static_cast<std::int64_t>(std::floor(v)); };
    const std::int64_t c0 = cell(minE * inv) - kMarginPixels, c1 = cell(maxE * inv) + kMarginPixels;
    const std::int64_t r0 = cell(-maxN * inv) - kMarginPixels,
                       r1 = cell(-minN * inv) + kMarginPixels;
    const int shift = TiledRaster::kTileShift;
    for (std::int64_t tr = r0 >> shift; tr <= r1 >> shift; ++tr) {
        for (std::int64_t tc = c0 >> shift; tc <= c1 >> shift; ++tc) {
            if (m.raster.FindTile(tc, tr)) return true;
        }
    }
    return false;
}

bool ResampleToLatLon(const Mosaic& mosaic, LatLonImage& image, std::string& error) {
    LatLonBox box;
    if (!OutlineBox(mosaic, box, error)) return false;
    image.north = box.north;
    image.south = box.south;
    image.east = box.east;
    image.west = box.west;
    // About as many pixels as the mosaic has, within what one image may hold.
    image.width =
        static_cast<int>(std::clamp<std::int64_t>(mosaic.Width(), 1, kMaxSingleOverlaySide));
    image.height =
        static_cast<int>(std::clamp<std::int64_t>(mosaic.Height(), 1, kMaxSingleOverlaySide));
    image.pixels.assign(static_cast<std::size_t>(image.width) * image.height, 0);
    const LatLonGrid grid = GridOf(image);
    for (int j = 0; j < image.height; ++j) {
        ResampleSpan(mosaic, grid, j, 0, image.width,
                     image.pixels.data() + static_cast<std::size_t>(j) * image.width);
    }
    return true;
}

bool WriteKmz(const Mosaic& mosaic, const ColourTable& table, const std::string& path,
              std::string& error) {
    std::string problem;
    KmzArchive archive;
    if (std::max(mosaic.Width(), mosaic.Height()) <= kMaxSingleOverlaySide) {
        LatLonImage image;
        if (ResampleToLatLon(mosaic, image, problem)) {
            std::string png = EncodePng(image.width, image.height, image.pixels, table, problem);
            archive.Add("doc.kml", SingleOverlayKml(image, "Sonvara mosaic"), false);
            archive.Add("overlay.png", std::move(png), true);
        }
    } else {
        LatLonBox box;
        if (OutlineBox(mosaic, box, problem)) {
            const LatLonGrid grid{box.north, box.west,
                                  (box.north - box.south) / static_cast<double>(mosaic.Height()),
                                  (box.east - box.west) / static_cast<double>(mosaic.Width())};
            AddTilePyramid(mosaic, table, grid, mosaic.Width(), mosaic.Height(), archive, problem);
        }
    }
    if (!problem.empty()) {
        error = "cannot write " + path + ": " + problem;
        return false;
    }
    return archive.Write(path, error);
}

}  // namespace svx
