// sonvara-cli mosaic: a georeferenced mosaic of a data file as GeoTIFF or KMZ.

#include <cstdio>

#include "Commands.h"
#include "ExportCommands.h"
#include "ExportOptions.h"
#include "FileChecks.h"
#include "acquisition/HeadTable.h"
#include "common/TextFormat.h"
#include "export/writers/MosaicWriters.h"

namespace {

bool WriteOutputs(const cli::MosaicCommandOptions& options, const svx::Mosaic& mosaic,
                  std::string& error) {
    if (!options.geotiff.empty() && !svx::WriteGeoTiff(mosaic, options.geotiff, error)) {
        return false;
    }
    if (options.kmz.empty()) return true;
    ColourTableSet tables;
    BuildColourTables(tables);
    if (svx::WriteKmz(mosaic, tables[static_cast<std::size_t>(options.colourTable)], options.kmz,
                      error)) {
        return true;
    }
    if (!options.geotiff.empty()) std::remove(options.geotiff.c_str());  // all or nothing
    return false;
}

}  // namespace

int cli::RunMosaic(int argc, char** argv) {
    const auto parsed = ParseMosaicArguments({argv + 1, argv + argc});
    if (const int code = HandleParse("mosaic", parsed); code >= 0) return code;
    const MosaicCommandOptions& options = *parsed.options;
    if (const std::string problem = CheckInputFile(options.input); !problem.empty()) {
        return Complain(problem);
    }
    for (const std::string& output : {options.geotiff, options.kmz}) {
        if (output.empty()) continue;
        if (const std::string problem = svx::SameFileProblem(options.input, output);
            !problem.empty()) {
            return Complain(problem);
        }
    }
    svx::Mosaic mosaic;
    svx::ExportReport report;
    {
        ExportProgressLine progress("mosaic");
        report = svx::BuildMosaic(options.input, options.mosaic, mosaic, progress.Callback());
    }
    ReportDamage(report);
    if (!report.error.empty()) return Complain(report.error);
    std::string error;
    if (!WriteOutputs(options, mosaic, error)) return Complain(error);
    std::fputs(Printf("%llu pings of head %s laid: %lld x %lld pixels of %g m, EPSG:%d\n",
                      static_cast<unsigned long long>(mosaic.pings), HeadLabel(mosaic.head),
                      static_cast<long long>(mosaic.Width()),
                      static_cast<long long>(mosaic.Height()), mosaic.resolutionM, mosaic.Epsg())
                   .c_str(),
               stdout);
    return kExitDone;
}
