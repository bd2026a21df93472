// The GeoTIFF of a mosaic through GDAL: one 8-bit band in 256 x 256 tiles, deflate (level 1),
// nodata 0; tiles no ping reached are not written at all (sparse), so the file and the work
// grow with the covered area.

#include <cpl_conv.h>
#include <cpl_error.h>
#include <cpl_string.h>
#include <gdal.h>
#include <ogr_srs_api.h>

#include <cstdio>
#include <mutex>
#include <vector>

#include "export/writers/MosaicWriters.h"

namespace svx {

namespace {

constexpr int kBlock = 256;

void RegisterDrivers() {
    static std::once_flag once;
    std::call_once(once, [] { GDALAllRegister(); });
}

std::string LastGdalError(const char* fallback) {
    const char* text = CPLGetLastErrorMsg();
    return text && *text ? text : fallback;
}

std::string WktOf(int epsg) {
    OGRSpatialReferenceH srs = OSRNewSpatialReference(nullptr);
    char* wkt = nullptr;
    std::string text;
    if (OSRImportFromEPSG(srs, epsg) == OGRERR_NONE && OSRExportToWkt(srs, &wkt) == OGRERR_NONE) {
        text = wkt;
    }
    CPLFree(wkt);
    OSRDestroySpatialReference(srs);
    return text;
}

bool WriteBlocks(const Mosaic& mosaic, GDALRasterBandH band, int width, int height) {
    std::vector<std::uint8_t> block(kBlock * kBlock);
    for (int y = 0; y < height; y += kBlock) {
        for (int x = 0; x < width; x += kBlock) {
            const int w = std::min(kBlock, width - x), h = std::min(kBlock, height - y);
            if (!mosaic.raster.CopyRegion(mosaic.raster.MinCol() + x, mosaic.raster.MinRow() + y, w,
                                          h, block.data())) {
                continue;
            }
            if (GDALRasterIO(band, GF_Write, x, y, w, h, block.data(), w, h, GDT_Byte, 0, 0) !=
                CE_None) {
                return false;
            }
        }
    }
    return true;
}

}  // namespace

bool WriteGeoTiff(const Mosaic& mosaic, const std::string& path, std::string& error) {
    RegisterDrivers();
    // GDAL's messages become the one line of the caller, not GDAL's own lines on stderr.
    struct QuietErrors {
        QuietErrors() { CPLPushErrorHandler(CPLQuietErrorHandler); }
        ~QuietErrors() { CPLPopErrorHandler(); }
    } quiet;
    CPLErrorReset();
    const std::string wkt = WktOf(mosaic.Epsg());
    if (wkt.empty()) {
        error = "cannot write " + path + ": no definition of EPSG:" + std::to_string(mosaic.Epsg());
        return false;
    }
    const int width = static_cast<int>(mosaic.Width()), height = static_cast<int>(mosaic.Height());
    char** options = nullptr;
    options = CSLSetNameValue(options, "TILED", "YES");
    options = CSLSetNameValue(options, "BLOCKXSIZE", "256");
    options = CSLSetNameValue(options, "BLOCKYSIZE", "256");
    options = CSLSetNameValue(options, "COMPRESS", "DEFLATE");
    options = CSLSetNameValue(options, "ZLEVEL", "1");  // the fastest level
    options = CSLSetNameValue(options, "SPARSE_OK", "TRUE");
    options = CSLSetNameValue(options, "BIGTIFF", "IF_SAFER");
    GDALDriverH driver = GDALGetDriverByName("GTiff");
    GDALDatasetH dataset =
        driver ? GDALCreate(driver, path.c_str(), width, height, 1, GDT_Byte, options) : nullptr;
    CSLDestroy(options);
    if (!dataset) {
        error = "cannot write " + path + ": " + LastGdalError("the GeoTIFF cannot be created");
        return false;
    }
    double transform[6] = {mosaic.West(), mosaic.resolutionM, 0.0, mosaic.North(),
                           0.0,           -mosaic.resolutionM};
    GDALSetGeoTransform(dataset, transform);
    GDALSetProjection(dataset, wkt.c_str());
    GDALRasterBandH band = GDALGetRasterBand(dataset, 1);
    GDALSetRasterNoDataValue(band, 0.0);
    bool ok = WriteBlocks(mosaic, band, width, height);
    GDALClose(dataset);
    ok = ok && CPLGetLastErrorType() < CE_Failure;
    if (ok) return true;
    error = "cannot write " + path + ": " + LastGdalError("the GeoTIFF could not be written");
    std::remove(path.c_str());
    return false;
}

}  // namespace svx
