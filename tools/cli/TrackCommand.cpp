// sonvara-cli track: the ship's track of a recording or of an NMEA log as CSV, GPX or KML. The
// sentences of a recording are decoded record by record as playback decodes them (the same
// code the application's File > Export runs); a log is decoded line by line by the same
// decoders.

#include <cstdio>
#include <filesystem>
#include <string>

#include "Commands.h"
#include "ExportCommands.h"
#include "FileChecks.h"
#include "TrackReport.h"
#include "common/RegularFile.h"
#include "datafiles/DataFileNames.h"

namespace {

// A data file by its name, or by the "svx" its first record starts with.
bool IsDataFile(const std::string& path, const std::string& head) {
    return HasSvxEnding(path) || head.rfind("svx", 0) == 0;
}

// Each line of the log is one batch; CR LF, LF and CR alone all end a line.
void CollectLog(const std::string& text, TrackFixCollector& collector) {
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) end = text.size();
        collector.AddLogLine(std::string_view(text).substr(start, end - start));
        start = end + 1;
    }
}

// Decodes the recording's sentences; false (with the reason) when it cannot be read. `clean`
// is false when damaged records were stepped over (each said on standard error).
bool CollectRecording(const std::string& path, TrackFixCollector& collector, bool& clean,
                      std::string& error) {
    const svx::ExportReport report = svx::CollectDataFileTrack(path, collector, {});
    cli::ReportDamage(report);
    clean = report.damage.empty();
    error = report.error;
    return error.empty();
}

}  // namespace

int cli::RunTrack(int argc, char** argv) {
    const TrackParse parsed = ParseTrackArguments({argv + 1, argv + argc});
    if (const int code = HandleParse("track", parsed); code >= 0) return code;
    const TrackOptions& options = *parsed.options;
    if (const std::string problem = CheckInputFile(options.input); !problem.empty()) {
        return Complain(problem);
    }
    std::string text, error;
    if (!ReadRegularFile(options.input, text, error, 3)) return Complain(error);
    TrackFixCollector collector;
    bool clean = true;
    if (IsDataFile(options.input, text)) {
        if (!CollectRecording(options.input, collector, clean, error)) {
            return Complain(error);
        }
    } else {
        if (!ReadRegularFile(options.input, text, error)) return Complain(error);
        CollectLog(text, collector);
    }
    if (collector.WithoutFix() > 0) {
        const int n = collector.WithoutFix();
        Complain(std::to_string(n) + (n == 1 ? " position" : " positions") +
                     " without a fix left out (RMC or GLL status V, GGA quality 0)",
                 kExitDone);
    }
    if (const std::string gaps = collector.Gaps().Note(); !gaps.empty()) {
        Complain(gaps, kExitDone);
    }
    if (collector.Fixes().empty()) return Complain("no position fix in " + options.input);
    const std::string name = std::filesystem::path(options.input).stem().string();
    if (!svx::WriteTextFile(options.out, svx::TrackExport(collector.Fixes(), options.format, name), error)) {
        return Complain(error);
    }
    std::printf("%zu track points from %s written to %s\n", collector.Fixes().size(),
                options.input.c_str(), options.out.c_str());
    return clean ? kExitDone : kExitFailed;
}
