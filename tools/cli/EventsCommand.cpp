// sonvara-cli events: the events of a recording from its event file as CSV, GPX or KML, and
// with --chips a PNG of the composite waterfall around each event, cut while the file is
// played headless through the same image formation as the application.

#include <QCoreApplication>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "Commands.h"
#include "EventsReport.h"
#include "FileChecks.h"
#include "ImageWriter.h"
#include "PlaybackRun.h"
#include "datafiles/DataFileNames.h"

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
    int leftOut = 0;
    const std::string name = std::filesystem::path(options.file).stem().string();
    if (!svx::WriteTextFile(options.out, svx::EventsExport(events, options.format, name, leftOut), error)) {
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
    return complete && chips ? kExitDone : kExitFailed;
}
