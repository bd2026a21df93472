#include "export/writers/GdalSupport.h"

#include <cpl_conv.h>
#include <cpl_error.h>
#include <ogr_srs_api.h>

#include <mutex>

namespace svx {

namespace {

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

}  // namespace

void RegisterGdal() {
    static std::once_flag once;
    std::call_once(once, [] { GDALAllRegister(); });
}

QuietGdalErrors::QuietGdalErrors() {
    CPLPushErrorHandler(CPLQuietErrorHandler);
    CPLErrorReset();
}

QuietGdalErrors::~QuietGdalErrors() {
    CPLPopErrorHandler();
}

std::string LastGdalError(const char* fallback) {
    const char* text = CPLGetLastErrorMsg();
    return text && *text ? text : fallback;
}

bool GdalFailed() {
    return CPLGetLastErrorType() >= CE_Failure;
}

GDALDatasetH CreateOnGrid(const char* driverName, const std::string& path, const Mosaic& mosaic,
                          int bands, GDALDataType type, char** options, std::string& error) {
    RegisterGdal();
    const std::string wkt = WktOf(mosaic.Epsg());
    if (wkt.empty()) {
        error = "cannot write " + path + ": no definition of EPSG:" + std::to_string(mosaic.Epsg());
        return nullptr;
    }
    GDALDriverH driver = GDALGetDriverByName(driverName);
    GDALDatasetH dataset = driver ? GDALCreate(driver, path.c_str(), static_cast<int>(mosaic.Width()),
                                               static_cast<int>(mosaic.Height()), bands, type, options)
                                  : nullptr;
    if (!dataset) {
        error = "cannot write " + path + ": " + LastGdalError("the raster cannot be created");
        return nullptr;
    }
    double transform[6] = {mosaic.West(), mosaic.resolutionM, 0.0, mosaic.North(),
                           0.0,           -mosaic.resolutionM};
    GDALSetGeoTransform(dataset, transform);
    GDALSetProjection(dataset, wkt.c_str());
    for (int b = 1; b <= bands; ++b) GDALSetRasterNoDataValue(GDALGetRasterBand(dataset, b), 0.0);
    return dataset;
}

}  // namespace svx
