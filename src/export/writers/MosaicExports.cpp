// The mosaic's exports, registered by the programs that link the GeoTIFF and KMZ writers.

#include <cstdio>

#include "acquisition/HeadTable.h"
#include "export/ExportRegistry.h"
#include "export/SurveyMosaic.h"
#include "export/writers/LineRasters.h"
#include "export/writers/MosaicWriters.h"

namespace svx {

namespace {

bool WriteMosaicFiles(const ExportRequest& request, const Mosaic& mosaic, std::string& error) {
    const bool kmz = request.kind == ExportKind::Kmz;
    if (kmz) return WriteKmz(mosaic, request.colours, request.output, error);
    if (!WriteGeoTiff(mosaic, request.output, error, request.mosaic.threads)) return false;
    if (request.kmzBeside.empty() || WriteKmz(mosaic, request.colours, request.kmzBeside, error)) {
        return true;
    }
    std::remove(request.output.c_str());  // both files or neither
    return false;
}

// The mosaic of the recordings, each also written into the per-line directory when asked;
// or the merge of per-line rasters.
ExportReport LayOrMerge(const ExportRequest& request, const std::vector<std::string>& inputs,
                        Mosaic& mosaic, const ExportProgress& progress) {
    if (request.mergeRasters) return MergeLineRasters(inputs, request.mosaic, mosaic, progress);
    LaidSink perLine;
    const std::vector<std::string> names =
        request.perLineDir.empty() ? std::vector<std::string>{}
                                   : LineRasterNames(inputs, request.perLineDir);
    if (!names.empty()) {
        perLine = [&](std::size_t k, const Mosaic& m, const AcrossDistances& d, std::string& error) {
            WriteLineRaster(m, d, inputs[k], names[k], error);
        };
    }
    return BuildSurveyMosaic(inputs, request.mosaic, mosaic, progress, perLine);
}

ExportReport RunMosaic(const ExportRequest& request, const ExportProgress& progress) {
    Mosaic mosaic;
    const bool several = request.inputs.size() > 1;
    const std::vector<std::string> inputs = several ? request.inputs : std::vector{request.input};
    ExportReport report = LayOrMerge(request, inputs, mosaic, progress);
    if (!report.Ok()) return report;
    if (request.output.empty()) {  // the per-line rasters alone
        report.summary = Count(mosaic.recordings, "recording's raster", "recordings' rasters") +
                         " of head " + HeadLabel(mosaic.head) + " written into " + request.perLineDir;
        return report;
    }
    if (!request.perLineDir.empty()) {
        report.notes.push_back("each recording's raster written into " + request.perLineDir);
    }
    if (!WriteMosaicFiles(request, mosaic, report.error)) return report;
    const std::string written =
        request.kmzBeside.empty() ? request.output : request.output + " and " + request.kmzBeside;
    const std::string from =
        request.mergeRasters ? " from " + Count(inputs.size(), "per-line raster", "per-line rasters")
        : several ? " from " + Count(mosaic.recordings, "recording", "recordings") + " of " +
                        std::to_string(request.inputs.size())
                  : "";
    report.summary = "Mosaic of " + Count(mosaic.pings, "ping", "pings") + " of head " +
                     HeadLabel(mosaic.head) + from + " written to " + written + ": " +
                     std::to_string(mosaic.Width()) + " x " + std::to_string(mosaic.Height()) +
                     " pixels of " + Decimals(mosaic.resolutionM, 2) +
                     " m, EPSG:" + std::to_string(mosaic.Epsg());
    return report;
}

}  // namespace

void RegisterMosaicExports() {
    RegisterExport(ExportKind::GeoTiff, RunMosaic);
    RegisterExport(ExportKind::Kmz, RunMosaic);
}

}  // namespace svx
