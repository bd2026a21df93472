// GDAL's reader of super-overlays (an independent reader of the KMZ) reads a large mosaic's
// tiles back as one raster: the document first in the zip, the size and pixel of the mosaic,
// the samples where they were laid and nothing in the gap.

#include <gdal.h>
#include <gtest/gtest.h>
#include <zip.h>

#include <cmath>

#include "KmzTestMosaics.h"

namespace {

using namespace kmztest;

// The first file of the archive, which Google Earth and GDAL take for the document.
std::string FirstInZip(const std::string& path) {
    int code = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_RDONLY, &code);
    if (!archive) return {};
    const char* name = zip_get_name(archive, 0, 0);
    std::string first = name ? name : "";
    zip_close(archive);
    return first;
}

TEST(KmzWriterTest, GdalReadsTheTilesBackAsOneRaster) {
    TempDir dir;
    const Rectangle rect{5000, 1200, 1500, 3100};
    WriteAndRead(rect.Make(), dir);
    const std::string path = dir.File("m.kmz");
    EXPECT_EQ(FirstInZip(path), "doc.kml");
    GDALAllRegister();
    const char* const drivers[] = {"KMLSUPEROVERLAY", nullptr};
    GDALDatasetH ds =
        GDALOpenEx(path.c_str(), GDAL_OF_RASTER | GDAL_OF_READONLY, drivers, nullptr, nullptr);
    ASSERT_NE(ds, nullptr) << CPLGetLastErrorMsg();
    // As many pixels as the mosaic (less than one pixel of the top level more), of the mosaic's
    // metre. (GDAL gives an indexed tile an opaque alpha band: transparency is checked above.)
    EXPECT_GE(GDALGetRasterXSize(ds), 5000);
    EXPECT_LT(GDALGetRasterXSize(ds), 5000 + 64);
    EXPECT_GE(GDALGetRasterYSize(ds), 1200);
    EXPECT_LT(GDALGetRasterYSize(ds), 1200 + 64);
    ASSERT_EQ(GDALGetRasterCount(ds), 4);
    double gt[6] = {};
    ASSERT_EQ(GDALGetGeoTransform(ds, gt), CE_None);
    const auto [lat0, lon0] = rect.LatLon(0, 0);
    EXPECT_NEAR(gt[1] * 111412.0 * std::cos(lat0 * kPi / 180.0), 1.0, 0.01);
    struct Point {
        double c, r;
        bool data;
    };
    for (const Point& p :
         {Point{100.5, 100.5, true}, Point{1480.5, 600.5, true}, Point{1520.5, 600.5, false},
          Point{2300.5, 1000.5, false}, Point{3120.5, 30.5, true}, Point{4900.5, 1150.5, true}}) {
        SCOPED_TRACE(std::to_string(p.c) + " " + std::to_string(p.r));
        const auto [lat, lon] = rect.LatLon(p.c, p.r);
        const int x = static_cast<int>((lon - gt[0]) / gt[1]);
        const int y = static_cast<int>((lat - gt[3]) / gt[5]);
        std::uint8_t grey = 0;  // the sample value through the grey table; 0 no data
        ASSERT_EQ(GDALRasterIO(GDALGetRasterBand(ds, 1), GF_Read, x, y, 1, 1, &grey, 1, 1, GDT_Byte,
                               0, 0),
                  CE_None);
        if (p.data) {  // the sample there, or one of a neighbour (a metre apart: 1 or 3 off)
            const int value = 1 + (int(p.c) + 3 * int(p.r)) % 250;
            EXPECT_NEAR(grey, value, 4);
        } else {
            EXPECT_EQ(grey, 0);
        }
    }
    GDALClose(ds);
}

}  // namespace
