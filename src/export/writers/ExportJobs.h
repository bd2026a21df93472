#pragma once
// One export of a data file as the application asks for it (File > Export): which product,
// from which file, to which output, with the product's options. Running it calls the same
// code the command-line tools run.

#include <string>

#include "export/ExportJob.h"
#include "export/GeoTexts.h"
#include "export/Mosaic.h"
#include "imaging/ColourTables.h"

namespace svx {

struct ExportRequest {
    ExportKind kind = ExportKind::Xtf;
    std::string input;   // the data file (.svx)
    std::string output;  // the file written
    MosaicOptions mosaic;
    ColourTable colours{};                // the KMZ overlay's colours
    GeoFormat format = GeoFormat::Csv;  // of a track or events export
};

// Runs the export; the report's summary says what was written, its error why nothing was.
// A cancelled or failed export leaves no output behind.
ExportReport RunExport(const ExportRequest& request, const ExportProgress& progress);

}  // namespace svx
