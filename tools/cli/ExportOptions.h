#pragma once
// The command lines of `sonvara-cli xtf` and `sonvara-cli mosaic`.

#include <optional>
#include <string>
#include <vector>

#include "export/Mosaic.h"

namespace cli {

struct XtfOptions {
    std::string input, output;
};

struct MosaicCommandOptions {
    std::vector<std::string> inputs;  // one or more recordings
    std::string geotiff, kmz;  // at least one of them, or perLineDir
    std::string perLineDir;    // each recording's own raster written there too
    bool merge = false;        // the inputs are per-line rasters
    svx::MosaicOptions mosaic;
    int colourTable = 9;
};

template <typename Options>
struct ExportParse {
    std::optional<Options> options;  // empty for help, version or a mistake
    bool help = false;
    bool version = false;
    std::string text;
    std::string error;
};

ExportParse<XtfOptions> ParseXtfArguments(const std::vector<std::string>& args);
ExportParse<MosaicCommandOptions> ParseMosaicArguments(const std::vector<std::string>& args);

}  // namespace cli
