#pragma once
// A mosaic's raster seen by GDAL as a read-only dataset of one 8-bit band, nodata 0, on the
// mosaic's UTM grid, its blocks copied out of the raster's tiles as GDAL reads them: what
// GDAL copies into a Cloud Optimized GeoTIFF, without a staging file of the whole raster.

#include <gdal_priv.h>
#include <ogr_spatialref.h>

#include "export/Mosaic.h"

namespace svx {

class TileDataset final : public GDALDataset {
public:
    // The mosaic must outlive the dataset; `srs` is its coordinate system.
    TileDataset(const Mosaic& mosaic, const OGRSpatialReference& srs);

    CPLErr GetGeoTransform(double* transform) override;
    const OGRSpatialReference* GetSpatialRef() const override { return &srs; }

private:
    const Mosaic& mosaic;
    OGRSpatialReference srs;
};

}  // namespace svx
