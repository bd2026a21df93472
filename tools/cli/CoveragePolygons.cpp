#include "CoveragePolygons.h"

#include <cpl_conv.h>
#include <cpl_error.h>
#include <cpl_string.h>
#include <cpl_vsi.h>
#include <gdal.h>
#include <gdal_alg.h>
#include <ogr_srs_api.h>

#include <unistd.h>
#include <algorithm>
#include <atomic>
#include <limits>

#include "export/writers/GdalSupport.h"

namespace cli {

namespace {

constexpr std::int64_t kTile = survey::Coverage::kTileCells;

// Cells minCol..maxCol, minRow..maxRow as a raster, north up.
struct CellBox {
    std::int64_t minCol = 0, minRow = 0, maxCol = -1, maxRow = -1;
    int Width() const { return static_cast<int>(maxCol - minCol + 1); }
    int Height() const { return static_cast<int>(maxRow - minRow + 1); }
    int X(std::int64_t col) const { return static_cast<int>(col - minCol); }
    int Y(std::int64_t row) const { return static_cast<int>(maxRow - row); }
};

// A tiled, sparse, compressed raster of the box in GDAL's memory files, removed when done.
class CellRaster {
public:
    CellRaster(const survey::Coverage& coverage, const CellBox& box, GDALDataType type) {
        static std::atomic<int> serial{0};
        name = "/vsimem/sonvara-coverage-" + std::to_string(::getpid()) + "-" +
               std::to_string(serial++) + ".tif";
        char** options = nullptr;
        options = CSLSetNameValue(options, "TILED", "YES");
        options = CSLSetNameValue(options, "BLOCKXSIZE", "64");
        options = CSLSetNameValue(options, "BLOCKYSIZE", "64");
        options = CSLSetNameValue(options, "COMPRESS", "DEFLATE");
        options = CSLSetNameValue(options, "SPARSE_OK", "TRUE");
        options = CSLSetNameValue(options, "BIGTIFF", "IF_SAFER");
        dataset = GDALCreate(GDALGetDriverByName("GTiff"), name.c_str(), box.Width(), box.Height(),
                             1, type, options);
        CSLDestroy(options);
        if (!dataset) return;
        const double cell = coverage.CellM();
        double transform[6] = {static_cast<double>(box.minCol) * cell,     cell, 0,
                               static_cast<double>(box.maxRow + 1) * cell, 0,    -cell};
        GDALSetGeoTransform(dataset, transform);
    }
    ~CellRaster() {
        if (dataset) GDALClose(dataset);
        VSIUnlink(name.c_str());
    }
    CellRaster(const CellRaster&) = delete;
    CellRaster& operator=(const CellRaster&) = delete;

    GDALRasterBandH Band() const { return dataset ? GDALGetRasterBand(dataset, 1) : nullptr; }

private:
    std::string name;
    GDALDatasetH dataset = nullptr;
};

// The polygons of the band's non-zero values, through a layer in memory.
bool Polygonize(GDALRasterBandH band, int epsg, std::vector<ValuePolygon>& out,
                std::string& error) {
    GDALDatasetH memory =
        GDALCreate(GDALGetDriverByName("Memory"), "", 0, 0, 0, GDT_Unknown, nullptr);
    if (!memory) {
        error = svx::LastGdalError("no memory layers");
        return false;
    }
    OGRSpatialReferenceH srs = OSRNewSpatialReference(nullptr);
    OSRImportFromEPSG(srs, epsg);
    OGRLayerH layer = GDALDatasetCreateLayer(memory, "cells", srs, wkbPolygon, nullptr);
    OSRDestroySpatialReference(srs);
    OGRFieldDefnH field = OGR_Fld_Create("value", OFTInteger);
    const bool made = layer && OGR_L_CreateField(layer, field, TRUE) == OGRERR_NONE &&
                      GDALPolygonize(band, band, layer, 0, nullptr, nullptr, nullptr) == CE_None;
    OGR_Fld_Destroy(field);
    if (!made) {
        error = svx::LastGdalError("the cells cannot be made into polygons");
        GDALClose(memory);
        return false;
    }
    OGR_L_ResetReading(layer);
    while (OGRFeatureH feature = OGR_L_GetNextFeature(layer)) {
        ValuePolygon polygon{OGR_F_GetFieldAsInteger(feature, 0),
                             Geometry(OGR_F_StealGeometry(feature))};
        OGR_F_Destroy(feature);
        if (!polygon.geometry) continue;
        if (!OGR_G_IsValid(polygon.geometry.get())) {
            Geometry valid(OGR_G_MakeValid(polygon.geometry.get()));
            if (valid) polygon.geometry = std::move(valid);
        }
        out.push_back(std::move(polygon));
    }
    GDALClose(memory);
    return true;
}

}  // namespace

int CoverageEpsg(const survey::Coverage& coverage) {
    return (coverage.South() ? 32700 : 32600) + coverage.Zone();
}

bool PolygonizeCoverage(const survey::Coverage& coverage, std::vector<ValuePolygon>& out,
                        std::string& error) {
    if (coverage.Empty()) return true;
    CellBox box{std::numeric_limits<std::int64_t>::max(), std::numeric_limits<std::int64_t>::max(),
                std::numeric_limits<std::int64_t>::min(), std::numeric_limits<std::int64_t>::min()};
    coverage.ForEachTile([&box](std::int64_t tileCol, std::int64_t tileRow, const std::uint8_t*) {
        box.minCol = std::min(box.minCol, tileCol * kTile);
        box.maxCol = std::max(box.maxCol, tileCol * kTile + kTile - 1);
        box.minRow = std::min(box.minRow, tileRow * kTile);
        box.maxRow = std::max(box.maxRow, tileRow * kTile + kTile - 1);
    });
    const CellRaster raster(coverage, box, GDT_Byte);
    GDALRasterBandH band = raster.Band();
    bool written = band != nullptr;
    std::vector<std::uint8_t> block(kTile * kTile);
    coverage.ForEachTile([&](std::int64_t tileCol, std::int64_t tileRow,
                             const std::uint8_t* cells) {
        if (!written) return;
        // The tile's rows run north from its south-west cell; the raster's run south.
        for (std::int64_t y = 0; y < kTile; ++y) {
            for (std::int64_t x = 0; x < kTile; ++x) {
                block[static_cast<std::size_t>((kTile - 1 - y) * kTile + x)] =
                    cells[y * kTile + x] != 0;
            }
        }
        written =
            GDALRasterIO(band, GF_Write, box.X(tileCol * kTile), box.Y(tileRow * kTile + kTile - 1),
                         kTile, kTile, block.data(), kTile, kTile, GDT_Byte, 0, 0) == CE_None;
    });
    if (!written) {
        error = svx::LastGdalError("the coverage cannot be made into a raster");
        return false;
    }
    return Polygonize(band, CoverageEpsg(coverage), out, error);
}

bool PolygonizeHolidays(const survey::Coverage& coverage,
                        const std::vector<survey::HolidayRun>& runs, std::vector<ValuePolygon>& out,
                        std::string& error) {
    if (runs.empty()) return true;
    CellBox box{runs.front().firstCol, runs.front().row, runs.front().lastCol, runs.front().row};
    for (const survey::HolidayRun& run : runs) {
        box.minCol = std::min(box.minCol, run.firstCol);
        box.maxCol = std::max(box.maxCol, run.lastCol);
        box.minRow = std::min(box.minRow, run.row);
        box.maxRow = std::max(box.maxRow, run.row);
    }
    const CellRaster raster(coverage, box, GDT_Int32);
    GDALRasterBandH band = raster.Band();
    bool written = band != nullptr;
    std::vector<std::int32_t> values;
    for (const survey::HolidayRun& run : runs) {
        if (!written) break;
        const int n = static_cast<int>(run.lastCol - run.firstCol + 1);
        values.assign(static_cast<std::size_t>(n), run.holiday);
        written = GDALRasterIO(band, GF_Write, box.X(run.firstCol), box.Y(run.row), n, 1,
                               values.data(), n, 1, GDT_Int32, 0, 0) == CE_None;
    }
    if (!written) {
        error = svx::LastGdalError("the holidays cannot be made into a raster");
        return false;
    }
    return Polygonize(band, CoverageEpsg(coverage), out, error);
}

}  // namespace cli
