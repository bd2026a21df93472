#include "export/writers/ExportJobs.h"

#include "acquisition/HeadTable.h"
#include "export/PositionExports.h"
#include "export/XtfExport.h"
#include "export/writers/MosaicWriters.h"

namespace svx {

namespace {

std::string Count(std::uint64_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

ExportReport RunXtf(const ExportRequest& request, const ExportProgress& progress) {
    ExportReport report = ExportXtf(request.input, request.output, progress);
    if (!report.Ok()) return report;
    report.summary = Count(report.records, "record", "records") + " written to " + request.output;
    if (report.withoutFix > 0) {
        report.notes.push_back(Count(report.withoutFix, "record carries", "records carry") +
                               " no fix: they keep the last position");
    }
    return report;
}

ExportReport RunMosaic(const ExportRequest& request, const ExportProgress& progress) {
    Mosaic mosaic;
    ExportReport report = BuildMosaic(request.input, request.mosaic, mosaic, progress);
    if (!report.Ok()) return report;
    const bool written = request.kind == ExportKind::GeoTiff
                             ? WriteGeoTiff(mosaic, request.output, report.error)
                             : WriteKmz(mosaic, request.colours, request.output, report.error);
    if (!written) return report;
    report.summary = "Mosaic of " + Count(mosaic.pings, "ping", "pings") + " of head " +
                     HeadLabel(mosaic.head) + " written to " + request.output + ": " +
                     std::to_string(mosaic.Width()) + " x " + std::to_string(mosaic.Height()) +
                     " pixels of " + Decimals(mosaic.resolutionM, 2) +
                     " m, EPSG:" + std::to_string(mosaic.Epsg());
    return report;
}

ExportReport RunPositions(const ExportRequest& request, const ExportProgress& progress) {
    const bool track = request.kind == ExportKind::Track;
    ExportReport report = track
                              ? ExportTrack(request.input, request.output, request.format, progress)
                              : ExportEvents(request.input, request.output, request.format);
    if (!report.Ok()) return report;
    report.summary = (track ? Count(report.points, "track point", "track points")
                            : Count(report.points, "event", "events")) +
                     " written to " + request.output;
    if (report.withoutFix > 0) {
        report.notes.push_back(
            track ? Count(report.withoutFix, "position", "positions") +
                        " without a fix left out (RMC or GLL status V, GGA quality 0)"
                  : Count(report.withoutFix, "event", "events") + " without a position left out");
    }
    return report;
}

}  // namespace

ExportReport RunExport(const ExportRequest& request, const ExportProgress& progress) {
    if (std::string problem = SameFileProblem(request.input, request.output); !problem.empty()) {
        ExportReport refused;
        refused.error = std::move(problem);
        return refused;
    }
    switch (request.kind) {
        case ExportKind::Xtf:
            return RunXtf(request, progress);
        case ExportKind::GeoTiff:
        case ExportKind::Kmz:
            return RunMosaic(request, progress);
        case ExportKind::Track:
        case ExportKind::Events:
            break;
    }
    return RunPositions(request, progress);
}

}  // namespace svx
