// sonvara-cli events: the events of a recording or an XTF file from its event file (beside it,
// NAME.an) as CSV, GPX or KML, and with --chips a PNG of the composite waterfall around each
// event, cut while the file is played headless through the same image formation as the
// application. An event of an XTF file without a stored position takes the position of its
// ping from the file's navigation.

#include <QCoreApplication>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "Commands.h"
#include "EventsReport.h"
#include "ExportCommands.h"
#include "FileChecks.h"
#include "ImageWriter.h"
#include "PlaybackRun.h"
#include "datafiles/DataFileNames.h"
#include "recordings/Recording.h"

namespace {

// Reads the event file of the data file; false (with the reason) when it cannot be read. A
// damaged or overlong file gives the events before the damage and a line on standard error;
// a missing one no events, and a line that says so.
bool ReadEvents(const std::string& eventPath, EventList& events, bool& complete,
                std::string& error) {
    std::error_code ec;
    if (std::filesystem::symlink_status(eventPath, ec).type() !=
        std::filesystem::file_type::not_found) {
        error = cli::CheckInputFile(eventPath);
        if (!error.empty()) return false;
    }
    const svx::EventFileRead read = svx::ReadEventFile(eventPath, events);
    complete = read.complete;
    if (!read.read) {
        error = read.problem;
        return false;
    }
    if (!read.complete || read.missing) cli::Complain(read.problem, cli::kExitDone);
    return true;
}

// The positions of an XTF file's pings by ping number (the first ping of a number, at the last
// position known there); nothing for another kind of file. False (with the reason) when the
// XTF file cannot be read; `clean` false when damage was stepped over (each said).
bool XtfPositions(const std::string& path, std::map<std::int32_t, svx::PingPosition>& positions,
                  bool& clean, std::string& error) {
    std::string ignored;
    const std::unique_ptr<rec::RecordingReader> reader = rec::OpenRecording(path, ignored);
    if (!reader || std::string(reader->Format()) != "xtf") return true;
    svx::ExportReport report;
    reader->Walk(
        [&positions, &report](const rec::PingValues& ping) {
            ++report.records;
            if (ping.nav.hasFix) {
                positions.try_emplace(static_cast<std::int32_t>(ping.nav.ping),
                                      svx::PingPosition{ping.nav.latitude, ping.nav.longitude});
            }
            return true;
        },
        {}, report);
    clean = report.damage.empty();
    error = report.error;
    if (error.empty() && report.records == 0) {
        error = cli::WithDamage(path + ": the file holds no side-scan ping", report);
        return false;
    }
    cli::ReportDamage(report);
    return error.empty();
}

// The chips are cut from the composite image: it must hold a whole chip.
std::string ChipSizeProblem(const CVantrelDoc& doc, int size) {
    const RingImage& composite = doc.images.CompositeImage();
    if (composite.Width() >= size && composite.Rows() >= size) return {};
    return "--chip-size " + std::to_string(size) + " is larger than the composite image (" +
           std::to_string(composite.Width()) + " x " + std::to_string(composite.Rows()) + ")";
}

// Plays the file and writes a chip of each event; false when a chip is missing or could not be
// written (each problem said on standard error).
bool WriteChips(int argc, char** argv, const cli::EventsOptions& options, const EventList& events) {
    std::string error = cli::MakeOutputDirectory(options.chipsDir);
    QCoreApplication app(argc, argv);
    cli::PlaybackRun run("events");
    CVantrelDoc& doc = run.Doc();
    if (error.empty() && cli::PrepareImages(doc, options.images, error)) {
        error = ChipSizeProblem(doc, options.chipSize);
    }
    if (error.empty()) run.Open(options.file, error);
    if (!error.empty()) {
        cli::Complain(error);
        return false;
    }
    cli::ChipPlanner planner(events, options.chipSize, options.images.sideMode);
    bool written = true;
    auto cut = [&](const std::vector<cli::ChipCut>& cuts) {
        for (const cli::ChipCut& c : cuts) {
            const std::string path =
                (std::filesystem::path(options.chipsDir) / cli::ChipFileName(c.number)).string();
            if (!cli::WriteCompositeCut(doc, c.left, c.top, c.size, c.size, path, error)) {
                cli::Complain(error);
                written = false;
            }
        }
    };
    run.PlayAll([&] { cut(planner.Due(doc.images, doc.recording.pingNumber)); });
    cut(planner.Remaining(doc.images));
    for (const int number : planner.Missed()) {
        cli::Complain("event " + std::to_string(number) +
                      " got no chip: its ping was not drawn into the composite image, or it "
                      "lies on the side not shown");
        written = false;
    }
    return run.ReportSkipped() && written;
}

}  // namespace

int cli::RunEvents(int argc, char** argv) {
    const EventsParse parsed = ParseEventsArguments({argv + 1, argv + argc});
    if (const int code = HandleParse("events", parsed); code >= 0) return code;
    const EventsOptions& options = *parsed.options;
    if (const std::string problem = CheckInputFile(options.file); !problem.empty()) {
        return Complain(problem);
    }
    EventList events;
    bool complete = true;
    std::string error;
    if (!ReadEvents(EventFileNameFor(options.file), events, complete, error)) {
        return Complain(error);
    }
    std::map<std::int32_t, svx::PingPosition> positions;
    bool xtfClean = true;
    if (!XtfPositions(options.file, positions, xtfClean, error)) return Complain(error);
    const svx::PositionAtPing positionAt =
        [&positions](std::int32_t ping) -> std::optional<svx::PingPosition> {
        const auto it = positions.find(ping);
        if (it == positions.end()) return std::nullopt;
        return it->second;
    };
    int leftOut = 0;
    const std::string name = std::filesystem::path(options.file).stem().string();
    if (!svx::WriteTextFile(options.out,
                            svx::EventsExport(events, options.format, name, leftOut, positionAt),
                            error)) {
        return Complain(error);
    }
    if (leftOut > 0) {
        Complain(std::to_string(leftOut) + (leftOut == 1 ? " event" : " events") +
                     " without a position left out",
                 kExitDone);
    }
    std::printf("%d events from %s written to %s\n", events.count, options.file.c_str(),
                options.out.c_str());
    // No event, no chip: the file is not played for nothing.
    const bool chips =
        options.chipsDir.empty() || events.count == 0 || WriteChips(argc, argv, options, events);
    return complete && chips && xtfClean ? kExitDone : kExitFailed;
}
