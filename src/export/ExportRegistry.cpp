#include "export/ExportRegistry.h"

#include <array>

#include "export/PositionExports.h"
#include "export/XtfExport.h"

namespace svx {

namespace {

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

constexpr std::size_t kKinds = static_cast<std::size_t>(ExportKind::Events) + 1;

std::array<ExportRun, kKinds>& Runs() {
    static std::array<ExportRun, kKinds> runs = [] {
        std::array<ExportRun, kKinds> table{};
        table[static_cast<std::size_t>(ExportKind::Xtf)] = RunXtf;
        table[static_cast<std::size_t>(ExportKind::Track)] = RunPositions;
        table[static_cast<std::size_t>(ExportKind::Events)] = RunPositions;
        return table;
    }();
    return runs;
}

const char* KindName(ExportKind kind) {
    switch (kind) {
        case ExportKind::Xtf:
            return "XTF";
        case ExportKind::GeoTiff:
            return "GeoTIFF";
        case ExportKind::Kmz:
            return "KMZ";
        case ExportKind::Track:
            return "track";
        case ExportKind::Events:
            break;
    }
    return "events";
}

}  // namespace

std::string Count(std::uint64_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

void RegisterExport(ExportKind kind, ExportRun run) {
    Runs()[static_cast<std::size_t>(kind)] = run;
}

ExportReport RunExport(const ExportRequest& request, const ExportProgress& progress) {
    ExportReport refused;
    for (const std::string* output : {&request.output, &request.kmzBeside}) {
        if (output->empty()) continue;
        refused.error = SameFileProblem(request.input, *output);
        for (const std::string& input : request.inputs) {
            if (refused.error.empty()) refused.error = SameFileProblem(input, *output);
        }
        if (!refused.error.empty()) return refused;
    }
    const ExportRun run = Runs()[static_cast<std::size_t>(request.kind)];
    if (run) return run(request, progress);
    refused.error = std::string("this program does not write ") + KindName(request.kind);
    return refused;
}

}  // namespace svx
