// The KMZ of a mosaic: the raster resampled onto a latitude/longitude grid (nearest pixel), a
// PNG of it through a colour table with entry 0 transparent, and the KML GroundOverlay that
// places it, zipped with libzip.

#include <ogr_srs_api.h>
#include <spng.h>
#include <zip.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "common/TextFormat.h"
#include "export/writers/MosaicWriters.h"
#include "gps/Utm.h"

namespace svx {

namespace {

constexpr int kEdgePoints = 16;  // points per edge projected to find the overlay's box
constexpr int kExactEvery = 32;  // columns between two exactly projected points
constexpr int kMaxOverlaySide = 8192;

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

// One row of the overlay: each pixel's centre projected (exactly every 32nd, linearly in
// between) and the mosaic's pixel there taken.
void ResampleRow(const Mosaic& m, const LatLonImage& image, int j, std::uint8_t* out) {
    const double lat = image.north - (j + 0.5) * (image.north - image.south) / image.height;
    const double dLon = (image.east - image.west) / image.width;
    const double inv = 1.0 / m.resolutionM;
    UtmPosition a = LatLonToUtmInZone(lat, image.west + 0.5 * dLon, m.zone, m.south);
    for (int i0 = 0; i0 < image.width; i0 += kExactEvery) {
        const int i1 = std::min(i0 + kExactEvery, image.width);
        const UtmPosition b =
            LatLonToUtmInZone(lat, image.west + (i1 + 0.5) * dLon, m.zone, m.south);
        for (int i = i0; i < i1; ++i) {
            const double f = double(i - i0) / (i1 - i0);
            const double e = a.easting + (b.easting - a.easting) * f;
            const double n = a.northing + (b.northing - a.northing) * f;
            out[i] = m.raster.At(static_cast<std::int64_t>(std::floor(e * inv)),
                                 static_cast<std::int64_t>(std::floor(-n * inv)));
        }
        a = b;
    }
}

struct PngBuffer {
    void* data = nullptr;
    std::size_t size = 0;
    ~PngBuffer() { std::free(data); }
};

std::string EncodePng(const LatLonImage& image, const ColourTable& table, PngBuffer& png) {
    std::unique_ptr<spng_ctx, void (*)(spng_ctx*)> ctx(spng_ctx_new(SPNG_CTX_ENCODER),
                                                       spng_ctx_free);
    spng_set_option(ctx.get(), SPNG_ENCODE_TO_BUFFER, 1);
    spng_ihdr ihdr{};
    ihdr.width = static_cast<std::uint32_t>(image.width);
    ihdr.height = static_cast<std::uint32_t>(image.height);
    ihdr.bit_depth = 8;
    ihdr.color_type = SPNG_COLOR_TYPE_INDEXED;
    spng_set_ihdr(ctx.get(), &ihdr);
    spng_plte plte{};
    spng_trns trns{};
    plte.n_entries = kPaletteEntries;
    trns.n_type3_entries = kPaletteEntries;
    for (int k = 0; k < kPaletteEntries; ++k) {
        plte.entries[k] = {table[k][0], table[k][1], table[k][2], 255};
        trns.type3_alpha[k] = k == 0 ? 0 : 255;  // no data is transparent
    }
    spng_set_plte(ctx.get(), &plte);
    spng_set_trns(ctx.get(), &trns);
    int status = spng_encode_image(ctx.get(), image.pixels.data(), image.pixels.size(),
                                   SPNG_FMT_PNG, SPNG_ENCODE_FINALIZE);
    if (status == 0) png.data = spng_get_png_buffer(ctx.get(), &png.size, &status);
    return status == 0 && png.data ? std::string() : spng_strerror(status);
}

std::string XmlText(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '&')
            out += "&amp;";
        else if (c == '<')
            out += "&lt;";
        else if (c == '>')
            out += "&gt;";
        else
            out += c;
    }
    return out;
}

std::string KmlOf(const LatLonImage& image, const std::string& name) {
    const std::string box = Printf(
        "<LatLonBox><north>%.9f</north><south>%.9f</south><east>%.9f</east>"
        "<west>%.9f</west></LatLonBox>",
        image.north, image.south, image.east, image.west);
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<kml xmlns=\"http://www.opengis.net/kml/2.2\">\n<GroundOverlay>\n<name>" +
           XmlText(name) + "</name>\n<Icon><href>overlay.png</href></Icon>\n" + box +
           "\n</GroundOverlay>\n</kml>\n";
}

bool AddEntry(zip_t* archive, const char* name, const void* data, std::size_t size, bool store) {
    zip_source_t* source = zip_source_buffer(archive, data, size, 0);
    if (!source) return false;
    const zip_int64_t index = zip_file_add(archive, name, source, ZIP_FL_OVERWRITE);
    if (index < 0) {
        zip_source_free(source);
        return false;
    }
    return !store || zip_set_file_compression(archive, static_cast<zip_uint64_t>(index),
                                              ZIP_CM_STORE, 0) == 0;
}

}  // namespace

bool ResampleToLatLon(const Mosaic& mosaic, LatLonImage& image, std::string& error) {
    LatLonBox box;
    if (!OutlineBox(mosaic, box, error)) return false;
    image.north = box.north;
    image.south = box.south;
    image.east = box.east;
    image.west = box.west;
    // About as many pixels as the mosaic has, within what viewers load.
    image.width = static_cast<int>(std::clamp<std::int64_t>(mosaic.Width(), 1, kMaxOverlaySide));
    image.height = static_cast<int>(std::clamp<std::int64_t>(mosaic.Height(), 1, kMaxOverlaySide));
    image.pixels.assign(static_cast<std::size_t>(image.width) * image.height, 0);
    for (int j = 0; j < image.height; ++j) {
        ResampleRow(mosaic, image, j,
                    image.pixels.data() + static_cast<std::size_t>(j) * image.width);
    }
    return true;
}

bool WriteKmz(const Mosaic& mosaic, const ColourTable& table, const std::string& path,
              std::string& error) {
    LatLonImage image;
    std::string problem;
    PngBuffer png;
    if (ResampleToLatLon(mosaic, image, problem)) problem = EncodePng(image, table, png);
    if (!problem.empty()) {
        error = "cannot write " + path + ": " + problem;
        return false;
    }
    const std::string kml = KmlOf(image, "Sonvara mosaic");
    int code = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    if (!archive) {
        zip_error_t reason;
        zip_error_init_with_code(&reason, code);
        error = "cannot write " + path + ": " + zip_error_strerror(&reason);
        zip_error_fini(&reason);
        return false;
    }
    const bool added = AddEntry(archive, "doc.kml", kml.data(), kml.size(), false) &&
                       AddEntry(archive, "overlay.png", png.data, png.size, true);
    if (added && zip_close(archive) == 0) return true;
    error = "cannot write " + path + ": " + zip_error_strerror(zip_get_error(archive));
    zip_discard(archive);
    std::remove(path.c_str());
    return false;
}

}  // namespace svx
