// The mosaic's exports, registered by the programs that link the GeoTIFF and KMZ writers.

#include <cstdio>

#include "acquisition/HeadTable.h"
#include "export/ExportRegistry.h"
#include "export/SurveyMosaic.h"
#include "export/writers/MosaicWriters.h"

namespace svx {

namespace {

bool WriteMosaicFiles(const ExportRequest& request, const Mosaic& mosaic, std::string& error) {
    const bool kmz = request.kind == ExportKind::Kmz;
    if (kmz) return WriteKmz(mosaic, request.colours, request.output, error);
    if (!WriteGeoTiff(mosaic, request.output, error)) return false;
    if (request.kmzBeside.empty() || WriteKmz(mosaic, request.colours, request.kmzBeside, error)) {
        return true;
    }
    std::remove(request.output.c_str());  // both files or neither
    return false;
}

ExportReport RunMosaic(const ExportRequest& request, const ExportProgress& progress) {
    Mosaic mosaic;
    const bool several = request.inputs.size() > 1;
    ExportReport report = BuildSurveyMosaic(several ? request.inputs : std::vector{request.input},
                                            request.mosaic, mosaic, progress);
    if (!report.Ok()) return report;
    if (!WriteMosaicFiles(request, mosaic, report.error)) return report;
    const std::string written =
        request.kmzBeside.empty() ? request.output : request.output + " and " + request.kmzBeside;
    const std::string from =
        several ? " from " + Count(mosaic.recordings, "recording", "recordings") + " of " +
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
