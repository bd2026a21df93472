// sonvara-cli track: the ship's track of a recording, an XTF file or an NMEA log as CSV, GPX or
// KML. The sentences of a recording are decoded record by record as playback decodes them (the
// same code the application's File > Export runs); an XTF file gives the positions of its
// pings; a log is decoded line by line by the same decoders as it is read, and its track
// written point by point.

#include <cstdio>
#include <filesystem>
#include <string>

#include "Commands.h"
#include "ExportCommands.h"
#include "FileChecks.h"
#include "TrackReport.h"
#include "common/RegularFile.h"
#include "datafiles/DataFileNames.h"
#include "export/LogTrack.h"
#include "recordings/RecordingTrack.h"

namespace {

// A data file by its name, or by the "svx" its first record starts with.
bool IsDataFile(const std::string& path, const std::string& head) {
    return HasSvxEnding(path) || head.rfind("svx", 0) == 0;
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

// The positions of an XTF file's pings; false (with the reason) when it cannot be read.
bool CollectXtf(const std::string& path, rec::RecordingReader& reader,
                std::vector<TrackFix>& fixes, bool& clean, std::string& error) {
    svx::ExportReport report;
    const bool read = rec::CollectRecordingTrack(reader, fixes, report);
    clean = report.damage.empty();
    error = report.error;
    if (read && report.error.empty() && report.records == 0) {
        error = cli::WithDamage(path + ": the file holds no side-scan ping", report);
        return false;
    }
    cli::ReportDamage(report);
    for (const std::string& note : report.notes) cli::Complain(note, cli::kExitDone);
    return error.empty();
}

void ReportWithoutFix(int n) {
    if (n <= 0) return;
    cli::Complain(std::to_string(n) + (n == 1 ? " position" : " positions") +
                      " without a fix left out (RMC or GLL status V, GGA quality 0)",
                  cli::kExitDone);
}

void ReportWritten(std::uint64_t points, const cli::TrackOptions& options) {
    std::printf("%llu track points from %s written to %s\n",
                static_cast<unsigned long long>(points), options.input.c_str(),
                options.out.c_str());
}

// A log is read and its track written as it goes.
int RunLogTrack(const cli::TrackOptions& options, const std::string& name) {
    const svx::LogTrackReport report =
        svx::ExportLogTrack(options.input, options.out, options.format, name);
    if (!report.error.empty()) return cli::Complain(report.error);
    ReportWithoutFix(report.withoutFix);
    if (report.points == 0) return cli::Complain("no position fix in " + options.input);
    ReportWritten(report.points, options);
    return cli::kExitDone;
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
    const std::string name = std::filesystem::path(options.input).stem().string();
    std::unique_ptr<rec::RecordingReader> reader = rec::OpenRecording(options.input, error);
    const bool xtf = reader && std::string(reader->Format()) == "xtf";
    if (!xtf && !IsDataFile(options.input, text)) return RunLogTrack(options, name);
    std::vector<TrackFix> fixes;
    bool clean = true;
    if (xtf) {
        if (!CollectXtf(options.input, *reader, fixes, clean, error)) return Complain(error);
    } else {
        TrackFixCollector collector;
        if (!CollectRecording(options.input, collector, clean, error)) return Complain(error);
        ReportWithoutFix(collector.WithoutFix());
        if (const std::string gaps = collector.Gaps().Note(); !gaps.empty()) {
            Complain(gaps, kExitDone);
        }
        fixes = collector.Fixes();
    }
    if (fixes.empty()) return Complain("no position fix in " + options.input);
    if (!svx::WriteTextFile(options.out, svx::TrackExport(fixes, options.format, name), error)) {
        return Complain(error);
    }
    ReportWritten(fixes.size(), options);
    return clean ? kExitDone : kExitFailed;
}
