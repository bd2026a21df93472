#pragma once
// The one registry of the products a recording is exported to: for each kind, the run that
// writes it and says in one line what was written. The application's File > Export and the
// command-line tools both go through RunExport. XTF, track and events are always there; a
// library that writes a product with heavy dependencies registers it itself (the mosaic's
// GeoTIFF and KMZ writers: RegisterMosaicExports), so a program that does not link it does
// not load them.

#include <string>
#include <vector>

#include "export/ExportJob.h"
#include "export/GeoTexts.h"
#include "export/Mosaic.h"
#include "imaging/ColourTables.h"

namespace svx {

struct ExportRequest {
    ExportKind kind = ExportKind::Xtf;
    std::string input;   // the recording
    // A mosaic of several recordings (input is then the first of them); one: input alone.
    std::vector<std::string> inputs;
    std::string output;  // the file written
    MosaicOptions mosaic;
    ColourTable colours{};                // the KMZ overlay's colours
    GeoFormat format = GeoFormat::Csv;  // of a track or events export
    // A mosaic's KMZ written beside its GeoTIFF from the same mosaic: both files or neither.
    std::string kmzBeside;
    // A mosaic: each recording's own raster written into this directory too (one per input).
    std::string perLineDir;
    // A mosaic: the inputs are such per-line rasters, merged instead of laid.
    bool mergeRasters = false;
};

using ExportRun = ExportReport (*)(const ExportRequest& request, const ExportProgress& progress);

// Makes `run` the writer of `kind` (replacing the one there).
void RegisterExport(ExportKind kind, ExportRun run);

// Runs the export; the report's summary says what was written (notes add what the user should
// know), its error why nothing was. A cancelled or failed export leaves no output behind. A
// kind that this program cannot write is an error that says so.
ExportReport RunExport(const ExportRequest& request, const ExportProgress& progress);

// "N things" with the singular for one.
std::string Count(std::uint64_t n, const char* one, const char* many);

}  // namespace svx
