// The files inside a KMZ: indexed PNGs through libspng, KML text, and the zip written by libzip
// in one go, so that a failure leaves nothing behind.

#include <spng.h>
#include <zip.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "common/TextFormat.h"
#include "export/writers/KmzParts.h"

namespace svx {

namespace {

bool AddEntry(zip_t* archive, const std::string& name, const std::string& bytes, bool store) {
    zip_source_t* source = zip_source_buffer(archive, bytes.data(), bytes.size(), 0);
    if (!source) return false;
    const zip_int64_t index = zip_file_add(archive, name.c_str(), source, ZIP_FL_OVERWRITE);
    if (index < 0) {
        zip_source_free(source);
        return false;
    }
    return !store || zip_set_file_compression(archive, static_cast<zip_uint64_t>(index),
                                              ZIP_CM_STORE, 0) == 0;
}

}  // namespace

std::string EncodePng(int width, int height, const std::vector<std::uint8_t>& pixels,
                      const ColourTable& table, std::string& error) {
    std::unique_ptr<spng_ctx, void (*)(spng_ctx*)> ctx(spng_ctx_new(SPNG_CTX_ENCODER),
                                                       spng_ctx_free);
    spng_set_option(ctx.get(), SPNG_ENCODE_TO_BUFFER, 1);
    spng_ihdr ihdr{};
    ihdr.width = static_cast<std::uint32_t>(width);
    ihdr.height = static_cast<std::uint32_t>(height);
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
    int status = spng_encode_image(ctx.get(), pixels.data(), pixels.size(), SPNG_FMT_PNG,
                                   SPNG_ENCODE_FINALIZE);
    std::size_t size = 0;
    void* data = status == 0 ? spng_get_png_buffer(ctx.get(), &size, &status) : nullptr;
    std::string png;
    if (data) png.assign(static_cast<const char*>(data), size);
    std::free(data);
    if (status != 0 || png.empty()) error = spng_strerror(status);
    return png;
}

std::string BoxText(double north, double south, double east, double west) {
    return Printf("<north>%.9f</north><south>%.9f</south><east>%.9f</east><west>%.9f</west>", north,
                  south, east, west);
}

void KmzArchive::Add(std::string name, std::string bytes, bool store) {
    // Google Earth and GDAL load the first KML of the archive: doc.kml goes before the tiles'.
    const bool first = name == "doc.kml";
    entries.insert(first ? entries.begin() : entries.end(),
                   {std::move(name), std::move(bytes), store});
}

bool KmzArchive::Write(const std::string& path, std::string& error) const {
    int code = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    if (!archive) {
        zip_error_t reason;
        zip_error_init_with_code(&reason, code);
        error = "cannot write " + path + ": " + zip_error_strerror(&reason);
        zip_error_fini(&reason);
        return false;
    }
    bool added = true;
    for (const Entry& entry : entries) {
        added = added && AddEntry(archive, entry.name, entry.bytes, entry.store);
    }
    if (added && zip_close(archive) == 0) return true;
    error = "cannot write " + path + ": " + zip_error_strerror(zip_get_error(archive));
    zip_discard(archive);
    std::remove(path.c_str());
    return false;
}

}  // namespace svx
