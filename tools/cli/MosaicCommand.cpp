// sonvara-cli mosaic: a georeferenced mosaic of one or more recordings as GeoTIFF or KMZ (or
// both, from one mosaic).

#include <filesystem>

#include "Commands.h"
#include "ExportCommands.h"
#include "ExportOptions.h"
#include "FileChecks.h"
#include "export/writers/MosaicWriters.h"

int cli::RunMosaic(int argc, char** argv) {
    const auto parsed = ParseMosaicArguments({argv + 1, argv + argc});
    if (const int code = HandleParse("mosaic", parsed); code >= 0) return code;
    const MosaicCommandOptions& options = *parsed.options;
    for (const std::string& input : options.inputs) {
        if (const std::string problem = CheckInputFile(input); !problem.empty()) {
            return Complain(problem);
        }
    }
    svx::RegisterMosaicExports();
    svx::ExportRequest request;
    request.input = options.inputs.front();
    if (options.inputs.size() > 1) request.inputs = options.inputs;
    request.mosaic = options.mosaic;
    request.mergeRasters = options.merge;
    request.perLineDir = options.perLineDir;
    if (!options.perLineDir.empty()) {
        std::error_code ec;
        std::filesystem::create_directories(options.perLineDir, ec);
        if (!std::filesystem::is_directory(options.perLineDir)) {
            return Complain("cannot write into " + options.perLineDir + ": " +
                            (ec ? ec.message() : "not a directory"));
        }
    }
    ColourTableSet tables;
    BuildColourTables(tables);
    request.colours = tables[static_cast<std::size_t>(options.colourTable)];
    if (options.geotiff.empty()) {
        request.kind = svx::ExportKind::Kmz;
        request.output = options.kmz;
    } else {
        request.kind = svx::ExportKind::GeoTiff;
        request.output = options.geotiff;
        request.kmzBeside = options.kmz;
    }
    return RunRegisteredExport("mosaic", request);
}
