#include "export/writers/TileDataset.h"

#include <cstring>
#include <vector>

namespace svx {

namespace {

constexpr int kBlock = TiledRaster::kTileSize;

class TileBand final : public GDALRasterBand {
public:
    TileBand(TileDataset* dataset, const Mosaic& mosaic) : mosaic(mosaic) {
        poDS = dataset;
        nBand = 1;
        eDataType = GDT_Byte;
        nRasterXSize = dataset->GetRasterXSize();
        nRasterYSize = dataset->GetRasterYSize();
        nBlockXSize = kBlock;
        nBlockYSize = kBlock;
    }

    // The block at (x, y) blocks from the raster's north-west pixel; GDAL wants whole blocks,
    // so what lies beyond the raster's edge is 0.
    CPLErr IReadBlock(int x, int y, void* data) override {
        auto* out = static_cast<std::uint8_t*>(data);
        std::memset(out, 0, kBlock * kBlock);
        const int w = std::min(kBlock, nRasterXSize - x * kBlock);
        const int h = std::min(kBlock, nRasterYSize - y * kBlock);
        region.resize(static_cast<std::size_t>(w) * h);
        const std::int64_t col = mosaic.raster.MinCol() + std::int64_t{x} * kBlock;
        const std::int64_t row = mosaic.raster.MinRow() + std::int64_t{y} * kBlock;
        if (!mosaic.raster.CopyRegion(col, row, w, h, region.data())) return CE_None;
        for (int r = 0; r < h; ++r) {
            std::memcpy(out + r * kBlock, region.data() + static_cast<std::size_t>(r) * w,
                        static_cast<std::size_t>(w));
        }
        return CE_None;
    }

    double GetNoDataValue(int* success) override {
        if (success) *success = TRUE;
        return 0.0;
    }

private:
    const Mosaic& mosaic;
    std::vector<std::uint8_t> region;
};

}  // namespace

TileDataset::TileDataset(const Mosaic& mosaic, const OGRSpatialReference& srs)
    : mosaic(mosaic), srs(srs) {
    nRasterXSize = static_cast<int>(mosaic.Width());
    nRasterYSize = static_cast<int>(mosaic.Height());
    eAccess = GA_ReadOnly;
    SetBand(1, new TileBand(this, mosaic));  // the dataset owns its bands
}

CPLErr TileDataset::GetGeoTransform(double* transform) {
    const double t[6] = {mosaic.West(), mosaic.resolutionM, 0.0, mosaic.North(), 0.0,
                         -mosaic.resolutionM};
    std::memcpy(transform, t, sizeof t);
    return CE_None;
}

}  // namespace svx
