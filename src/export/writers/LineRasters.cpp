#include "export/writers/LineRasters.h"

#include <cpl_string.h>
#include <ogr_srs_api.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <set>

#include "acquisition/HeadTable.h"
#include "common/TextFormat.h"
#include "export/MosaicMerge.h"
#include "export/writers/GdalSupport.h"

namespace svx {

namespace {

constexpr int kBlock = 256;
constexpr const char* kAcrossKey = "SONVARA_ACROSS_TABLE";

struct Closer {
    void operator()(void* dataset) const { GDALClose(dataset); }
};
using Dataset = std::unique_ptr<void, Closer>;

// The distance code of a pixel, 0 where none was kept.
std::uint16_t CodeAt(const AcrossDistances& distances, std::int64_t col, std::int64_t row) {
    const AcrossDistances::Tile* tile =
        distances.Find(col >> AcrossDistances::kShift, row >> AcrossDistances::kShift);
    return tile ? (*tile)[AcrossDistances::Index(col, row)] : AcrossDistances::kNone;
}

bool WriteBands(const Mosaic& m, const AcrossDistances& distances, GDALDatasetH dataset) {
    const int width = static_cast<int>(m.Width()), height = static_cast<int>(m.Height());
    std::vector<std::uint8_t> values(kBlock * kBlock);
    std::vector<float> value(values.size()), metres(values.size());
    for (int y = 0; y < height; y += kBlock) {
        for (int x = 0; x < width; x += kBlock) {
            const int w = std::min(kBlock, width - x), h = std::min(kBlock, height - y);
            const std::int64_t col0 = m.raster.MinCol() + x, row0 = m.raster.MinRow() + y;
            if (!m.raster.CopyRegion(col0, row0, w, h, values.data())) continue;
            for (int i = 0; i < w * h; ++i) {
                const std::uint8_t v = values[static_cast<std::size_t>(i)];
                const std::uint16_t code = v ? CodeAt(distances, col0 + i % w, row0 + i / w) : 0;
                value[static_cast<std::size_t>(i)] = v;
                metres[static_cast<std::size_t>(i)] =
                    code ? static_cast<float>(AcrossDistances::SignedMetres(code)) : 0.0f;
            }
            for (const auto& [band, data] : {std::pair{1, &value}, std::pair{2, &metres}}) {
                if (GDALRasterIO(GDALGetRasterBand(dataset, band), GF_Write, x, y, w, h,
                                 data->data(), w, h, GDT_Float32, 0, 0) != CE_None) {
                    return false;
                }
            }
        }
    }
    return true;
}

void Describe(GDALDatasetH dataset, const Mosaic& m, const std::string& source) {
    GDALSetDescription(GDALGetRasterBand(dataset, 1), "backscatter");
    GDALSetDescription(GDALGetRasterBand(dataset, 2), "across-track distance (m, port negative)");
    GDALSetMetadataItem(dataset, "SONVARA_SOURCE",
                        std::filesystem::path(source).filename().string().c_str(), nullptr);
    GDALSetMetadataItem(dataset, "SONVARA_HEAD", HeadLabel(m.head), nullptr);
    GDALSetMetadataItem(dataset, "SONVARA_RANGE_M", std::to_string(m.rangeM).c_str(), nullptr);
    GDALSetMetadataItem(dataset, "SONVARA_PINGS", std::to_string(m.pings).c_str(), nullptr);
    GDALSetMetadataItem(dataset, kAcrossKey, m.across.Text().c_str(), nullptr);
}

// The grid of a raster read back: resolution, zone, hemisphere and first column and row.
bool ReadGrid(GDALDatasetH dataset, Mosaic& out, std::int64_t& col0, std::int64_t& row0) {
    double gt[6];
    if (GDALGetGeoTransform(dataset, gt) != CE_None || gt[1] <= 0 || gt[5] != -gt[1] ||
        gt[2] != 0 || gt[4] != 0) {
        return false;
    }
    OGRSpatialReferenceH srs = GDALGetSpatialRef(dataset);
    const char* code = srs ? OSRGetAuthorityCode(srs, nullptr) : nullptr;
    const int epsg = code ? std::atoi(code) : 0;
    if (epsg <= 32600 || epsg > 32760 || (epsg > 32660 && epsg <= 32700)) return false;
    out.resolutionM = gt[1];
    out.south = epsg > 32700;
    out.zone = epsg - (out.south ? 32700 : 32600);
    const double c = gt[0] / gt[1], r = -gt[3] / gt[1];
    col0 = std::llround(c);
    row0 = std::llround(r);
    return std::fabs(c - double(col0)) < 1e-6 && std::fabs(r - double(row0)) < 1e-6;
}

bool ReadMetadata(GDALDatasetH dataset, Mosaic& out, std::string& error) {
    const char* head = GDALGetMetadataItem(dataset, "SONVARA_HEAD", nullptr);
    const char* range = GDALGetMetadataItem(dataset, "SONVARA_RANGE_M", nullptr);
    const char* pings = GDALGetMetadataItem(dataset, "SONVARA_PINGS", nullptr);
    const char* across = GDALGetMetadataItem(dataset, kAcrossKey, nullptr);
    if (!head || !range || !pings || !across) return false;
    const std::string h = head;
    if (h != "L" && h != "M" && h != "H") return false;
    out.head = h == "L" ? 0 : h == "M" ? 1 : 2;
    const std::optional<double> r = ParseNumber(range), p = ParseNumber(pings);
    if (!r || !p || *r < 0 || *p < 0) return false;
    out.rangeM = static_cast<int>(*r);
    out.pings = static_cast<std::uint64_t>(*p);
    return AcrossTable::FromText(across, out.across, error);
}

bool ReadBands(GDALDatasetH dataset, std::int64_t col0, std::int64_t row0, Mosaic& out,
               AcrossDistances& distances) {
    const int width = GDALGetRasterXSize(dataset), height = GDALGetRasterYSize(dataset);
    std::vector<float> value(kBlock * kBlock), metres(value.size());
    for (int y = 0; y < height; y += kBlock) {
        for (int x = 0; x < width; x += kBlock) {
            const int w = std::min(kBlock, width - x), h = std::min(kBlock, height - y);
            for (const auto& [band, data] : {std::pair{1, &value}, std::pair{2, &metres}}) {
                if (GDALRasterIO(GDALGetRasterBand(dataset, band), GF_Read, x, y, w, h,
                                 data->data(), w, h, GDT_Float32, 0, 0) != CE_None) {
                    return false;
                }
            }
            for (int i = 0; i < w * h; ++i) {
                const float v = value[static_cast<std::size_t>(i)];
                const float d = metres[static_cast<std::size_t>(i)];
                if (v == 0) continue;
                if (!(v >= 1 && v <= 255 && v == std::floor(v)) || !(std::fabs(d) > 0)) return false;
                const std::int64_t col = col0 + x + i % w, row = row0 + y + i / w;
                out.raster.Pixel(col, row) = static_cast<std::uint8_t>(v);
                distances.Pixel(col, row) = AcrossDistances::FromSignedMetres(d);
            }
        }
    }
    out.raster.Extend(col0, row0);
    out.raster.Extend(col0 + width - 1, row0 + height - 1);
    return true;
}

std::string GridText(const Mosaic& m) {
    return Printf("%g m, EPSG:%d, head ", m.resolutionM, m.Epsg()) + HeadLabel(m.head);
}

}  // namespace

bool WriteLineRaster(const Mosaic& mosaic, const AcrossDistances& distances,
                     const std::string& source, const std::string& path, std::string& error) {
    QuietGdalErrors quiet;
    const std::string part = path + ".part";
    char** options = nullptr;
    options = CSLSetNameValue(options, "TILED", "YES");
    options = CSLSetNameValue(options, "COMPRESS", "DEFLATE");
    options = CSLSetNameValue(options, "PREDICTOR", "3");  // floating point
    options = CSLSetNameValue(options, "SPARSE_OK", "TRUE");
    options = CSLSetNameValue(options, "BIGTIFF", "IF_SAFER");
    GDALDatasetH dataset = CreateOnGrid("GTiff", part, mosaic, 2, GDT_Float32, options, error);
    CSLDestroy(options);
    if (!dataset) return false;
    Describe(dataset, mosaic, source);
    bool ok = WriteBands(mosaic, distances, dataset);
    GDALClose(dataset);
    ok = ok && !GdalFailed() && std::rename(part.c_str(), path.c_str()) == 0;
    if (ok) return true;
    error = "cannot write " + path + ": " + LastGdalError("the raster could not be written");
    std::remove(part.c_str());
    return false;
}

bool ReadLineRaster(const std::string& path, Mosaic& out, AcrossDistances& distances,
                    std::string& error) {
    RegisterGdal();
    QuietGdalErrors quiet;
    const Dataset dataset(GDALOpen(path.c_str(), GA_ReadOnly));
    if (!dataset) {
        error = path + ": not a per-line raster of `sonvara-cli mosaic --per-line` (GDAL cannot "
                       "open it as a raster)";
        return false;
    }
    GDALDatasetH d = dataset.get();
    std::int64_t col0 = 0, row0 = 0;
    // A raster wider than any mosaic is laid would only make the merge walk empty blocks.
    const MosaicOptions limits;
    const bool shaped = GDALGetRasterCount(d) == 2 &&
                        std::max(GDALGetRasterXSize(d), GDALGetRasterYSize(d)) <= limits.maxSidePixels &&
                        GDALGetRasterDataType(GDALGetRasterBand(d, 1)) == GDT_Float32 &&
                        ReadGrid(d, out, col0, row0) && ReadMetadata(d, out, error);
    if (!shaped) {
        error = path + ": not a per-line raster of `sonvara-cli mosaic --per-line`" +
                (error.empty() ? "" : " (" + error + ")");
        return false;
    }
    if (!ReadBands(d, col0, row0, out, distances)) {
        error = path + ": " + LastGdalError("its pixels are damaged");
        return false;
    }
    out.pingsPerZone[out.south ? -out.zone : out.zone] = out.pings;
    return true;
}

std::vector<std::string> LineRasterNames(const std::vector<std::string>& inputs,
                                         const std::string& dir) {
    std::vector<std::string> names;
    std::set<std::string> taken;
    for (const std::string& input : inputs) {
        const std::string stem = std::filesystem::path(input).stem().string();
        std::string name = stem + ".tif";
        for (int n = 2; !taken.insert(name).second; ++n) name = stem + "-" + std::to_string(n) + ".tif";
        names.push_back((std::filesystem::path(dir) / name).string());
    }
    return names;
}

ExportReport MergeLineRasters(const std::vector<std::string>& rasters, const MosaicOptions& options,
                              Mosaic& out, const ExportProgress& progress) {
    ExportReport report;
    out = Mosaic{};
    AcrossDistances distances;
    for (std::size_t k = 0; k < rasters.size(); ++k) {
        if (progress && !progress(k, rasters.size())) {
            report.cancelled = true;
            return report;
        }
        Mosaic line;
        AcrossDistances lineDistances;
        if (!ReadLineRaster(rasters[k], line, lineDistances, report.error)) return report;
        if (k > 0 && GridText(line) != GridText(out)) {
            report.error = rasters[k] + " is on another grid (" + GridText(line) + ") than " +
                           rasters[0] + " (" + GridText(out) + "): lay them with the same " +
                           "--resolution, --head and --zone";
            return report;
        }
        MergeMosaic(out, distances, line, lineDistances, options.overlap);
        ++report.records;
    }
    if (options.normalize.value_or(rasters.size() > 1)) out.across.Normalize(out.raster, distances);
    return report;
}

}  // namespace svx
