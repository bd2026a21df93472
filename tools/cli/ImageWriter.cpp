#include "ImageWriter.h"

#include <spng.h>
#include <zlib.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

#include "FileChecks.h"
#include "ImageOptions.h"
#include "document/CVantrelDoc.h"
#include "export/OutputFile.h"

namespace cli {

namespace {

// The encoder's settings: every row filtered with "up" (each byte minus the byte above it),
// then zlib at level 1 matching runs only. A waterfall row is much like the row above it, so
// the filtered rows are mostly runs of small values: the files come out smaller than Qt's
// writer made them at its default level, in about a quarter of the time.
void FastCompression(spng_ctx* ctx) {
    spng_set_option(ctx, SPNG_IMG_COMPRESSION_LEVEL, 1);
    spng_set_option(ctx, SPNG_IMG_COMPRESSION_STRATEGY, Z_RLE);
    spng_set_option(ctx, SPNG_FILTER_CHOICE, SPNG_FILTER_CHOICE_UP);
}

struct CtxFree {
    void operator()(spng_ctx* ctx) const { spng_ctx_free(ctx); }
};

// The active palette is in bitmap order: blue, green, red, 0.
spng_plte PaletteOf(const Palette& palette) {
    spng_plte plte{};
    plte.n_entries = kPaletteEntries;
    for (int i = 0; i < kPaletteEntries; ++i) {
        plte.entries[i].red = palette[4 * i + 2];
        plte.entries[i].green = palette[4 * i + 1];
        plte.entries[i].blue = palette[4 * i];
    }
    return plte;
}

// The rows of an image to encode: a ring image of the document, or the echogram.
struct PngRows {
    int width = 0;
    int rows = 0;
    int bytesPerLine = 0;
    std::function<const std::uint8_t*(int)> row;
};

PngRows RowsOf(const RingImage& ring) {
    return {ring.Width(), ring.Rows(), ring.BytesPerLine(),
            [&ring](int r) { return ring.Row(r); }};
}

// Encodes the rows, top to bottom, into the file; empty or the reason.
std::string Encode(spng_ctx* ctx, const PngRows& image) {
    const auto line = static_cast<std::size_t>(image.bytesPerLine);
    int status = spng_encode_image(ctx, nullptr, line * static_cast<std::size_t>(image.rows),
                                   SPNG_FMT_PNG, SPNG_ENCODE_PROGRESSIVE | SPNG_ENCODE_FINALIZE);
    for (int r = 0; status == 0 && r < image.rows; ++r) {
        status = spng_encode_row(ctx, image.row(r), line);
    }
    if (status == SPNG_EOI) status = 0;
    return status == 0 ? std::string() : spng_strerror(status);
}

// The encoder's output into the file; the first failure is kept with its reason.
struct PngOutput {
    svx::OutputFile file;
    std::string error;
};

int WriteToOutput(spng_ctx*, void* user, void* bytes, std::size_t length) {
    auto* out = static_cast<PngOutput*>(user);
    return out->file.Write(bytes, length, out->error) ? 0 : SPNG_IO_ERROR;
}

// Writes one image as PNG: 8-bit indexed through `palette`, or 24-bit RGB without one. A file
// that cannot be written whole is removed, and the reason names it ("the disk is full").
bool WritePng(const PngRows& image, const spng_plte* palette, const std::string& path,
              std::string& error) {
    PngOutput out;
    if (!out.file.Open(path, error)) return false;
    const std::unique_ptr<spng_ctx, CtxFree> ctx(spng_ctx_new(SPNG_CTX_ENCODER));
    spng_ihdr ihdr{};
    ihdr.width = static_cast<std::uint32_t>(image.width);
    ihdr.height = static_cast<std::uint32_t>(image.rows);
    ihdr.bit_depth = 8;
    ihdr.color_type = palette ? SPNG_COLOR_TYPE_INDEXED : SPNG_COLOR_TYPE_TRUECOLOR;
    FastCompression(ctx.get());
    spng_set_png_stream(ctx.get(), WriteToOutput, &out);
    spng_set_ihdr(ctx.get(), &ihdr);
    if (palette) spng_set_plte(ctx.get(), const_cast<spng_plte*>(palette));
    const std::string problem = Encode(ctx.get(), image);
    if (!out.error.empty()) {
        error = out.error;
        return false;
    }
    if (!problem.empty()) {
        out.file.Discard();
        error = "cannot write " + path + ": " + problem;
        return false;
    }
    return out.file.Commit(error);
}

}  // namespace

bool WriteImageSet(const CVantrelDoc& doc, const std::string& dirName, int records, bool numbered,
                   std::string& error) {
    error = MakeOutputDirectory(dirName);
    if (!error.empty()) return false;
    const std::filesystem::path dir(dirName);
    const spng_plte palette = PaletteOf(doc.palette.activePalette);
    for (int channel = 0; channel < kSideScanChannels; ++channel) {
        const RingImage& ring = doc.images.ChannelImage(channel);
        if (!ring.Exists()) continue;
        const std::string name = ImageFileName(HeadLabel(channel), records, numbered);
        if (!WritePng(RowsOf(ring), &palette, (dir / name).string(), error)) return false;
    }
    // The echogram goes with every set, numbered like the others.
    if (doc.echoSounder.IsOpen() && doc.echoSounder.Drawable()) {
        const EchoSounderImage& echo = doc.echoSounder;
        // The echogram holds colour indices of the current table, not of the active palette.
        const ColourTable& current = doc.CurrentColourTable();
        spng_plte echoPalette{};
        echoPalette.n_entries = kPaletteEntries;
        for (int i = 0; i < kPaletteEntries; ++i) {
            echoPalette.entries[i].red = current[i][0];
            echoPalette.entries[i].green = current[i][1];
            echoPalette.entries[i].blue = current[i][2];
        }
        // Its columns are kept in a ring: each row is written as it is shown.
        std::vector<std::uint8_t> line(static_cast<std::size_t>(echo.Width()));
        const PngRows rows{echo.Width(), echo.Height(), echo.Width(), [&echo, &line](int y) {
                               echo.CopyRow(y, line.data());
                               return line.data();
                           }};
        const std::string name = ImageFileName("echo", records, numbered);
        if (!WritePng(rows, &echoPalette, (dir / name).string(), error)) return false;
    }
    if (!doc.images.CompositeExists()) return true;
    const std::string name = ImageFileName("composite", records, numbered);
    return WritePng(RowsOf(doc.images.CompositeImage()), nullptr, (dir / name).string(), error);
}

bool WriteCompositeCut(const CVantrelDoc& doc, int left, int top, int width, int height,
                       const std::string& path, std::string& error) {
    const RingImage& composite = doc.images.CompositeImage();
    const int bytes = composite.BytesPerPixel();
    const PngRows rows{width, height, width * bytes, [&composite, left, top, bytes](int r) {
                           return composite.Row(top + r) + left * bytes;
                       }};
    return WritePng(rows, nullptr, path, error);
}

}  // namespace cli
