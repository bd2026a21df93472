// sonvara-cli report: the contact report of a survey (see ReportOptions.cpp for what it holds).
// Everything is written into a temporary folder and PDF beside the targets and renamed into
// place at the end, so a report that cannot be written, or is stopped (SIGINT, SIGTERM), leaves
// nothing behind.

#include <QGuiApplication>

#include <cstdio>
#include <filesystem>

#include "../common/StopSignals.h"
#include "Commands.h"
#include "FileChecks.h"
#include "ReportImages.h"
#include "ReportOptions.h"
#include "ReportOutput.h"
#include "datafiles/DataFileNames.h"
#include "export/ExportRegistry.h"
#include "export/PositionExports.h"

namespace {

struct Gathered {
    svx::ReportContent content;
    std::vector<std::vector<svx::TrackPoint>> tracks;
    std::vector<std::pair<int, int>> ranges;  // per recording: first contact, count
    bool whole = true;
};

// The events of one recording placed by a walk of it; what went wrong goes to the problems.
void GatherRecording(const std::string& input, int index, Gathered& g) {
    svx::ReportContent& content = g.content;
    content.recordings.push_back(std::filesystem::path(input).filename().string());
    const int first = static_cast<int>(content.contacts.size());
    g.ranges.emplace_back(first, 0);
    g.tracks.emplace_back();
    EventList events;
    const svx::EventFileRead read = svx::ReadEventFile(EventFileNameFor(input), events);
    if (!read.problem.empty()) content.problems.push_back(read.problem);
    if (!read.read || !read.complete) g.whole = false;
    if (!read.read) return;
    svx::ExportReport report;
    if (!svx::CollectContacts(input, index, events, first + 1, content.contacts, g.tracks.back(),
                              report)) {
        content.problems.push_back(report.error);
        g.whole = false;
        return;
    }
    for (const svx::SkippedStretch& s : report.damage) {
        content.problems.push_back(input + ": " + svx::DamageLine(s));
    }
    g.ranges.back().second = static_cast<int>(content.contacts.size()) - first;
}

bool WriteTexts(const svx::ReportContent& content, const std::string& folder, std::string& error) {
    const std::filesystem::path dir(folder);
    return svx::WriteTextFile((dir / "contacts.csv").string(), svx::ContactsCsv(content.contacts),
                              error) &&
           svx::WriteTextFile((dir / "contacts.geojson").string(),
                              svx::ContactsGeoJson(content.contacts), error) &&
           svx::WriteTextFile((dir / "index.html").string(), svx::ContactReportHtml(content),
                              error);
}

// The steps of a report: each recording read, each recording's chips, the overview, the pages.
class Steps {
public:
    Steps(bool shown, std::size_t recordings) : shown(shown), total(2 * recordings + 2) {}
    void Done() {
        ++done;
        if (!shown) return;
        std::printf("progress %zu %zu\n", done, total);
        std::fflush(stdout);
    }

private:
    bool shown;
    std::size_t total, done = 0;
};

bool Stopped() {
    return tools::stopRequested != 0;
}

// The chips, the overview, the texts and the PDF into the temporary outputs; false with the
// reason.
bool WriteReport(const cli::ReportOptions& options, const cli::ReportOutput& output, Gathered& g,
                 Steps& steps, std::string& error) {
    svx::ReportContent& content = g.content;
    content.chips.resize(content.contacts.size());
    for (std::size_t i = 0; i < g.ranges.size() && !Stopped(); ++i) {
        const auto [first, count] = g.ranges[i];
        if (count > 0) {
            g.whole &= cli::WriteRecordingChips(options.inputs[i], first, count, options.chipSize,
                                                output.Folder(), content);
        }
        steps.Done();
    }
    if (!Stopped()) cli::WriteOverview(options.inputs, g.tracks, output.Folder(), content);
    steps.Done();
    if (!Stopped() && WriteTexts(content, output.Folder(), error) &&
        (options.pdf.empty() ||
         cli::WriteReportPdf(content, output.Folder(), output.PdfFile(), error)) &&
        !Stopped()) {
        steps.Done();
        return true;
    }
    if (Stopped()) error = "stopped: no report written";
    return false;
}

}  // namespace

int cli::RunReport(int argc, char** argv) {
    const ReportParse parsed = ParseReportArguments({argv + 1, argv + argc});
    if (const int code = HandleParse("report", parsed); code >= 0) return code;
    const ReportOptions& options = *parsed.options;
    for (const std::string& input : options.inputs) {
        if (const std::string problem = CheckInputFile(input); !problem.empty()) {
            return Complain(problem);
        }
    }
    // Before the temporary outputs exist: a stop from then on removes them.
    tools::InstallStopHandlers();
    ReportOutput output;
    std::string error;
    if (!output.Prepare(options.htmlDir, options.pdf, error)) return Complain(error);
    QGuiApplication app(argc, argv);
    Gathered g;
    Steps steps(options.progress, options.inputs.size());
    for (std::size_t i = 0; i < options.inputs.size() && !Stopped(); ++i) {
        GatherRecording(options.inputs[i], static_cast<int>(i), g);
        steps.Done();
    }
    if (!WriteReport(options, output, g, steps, error) || !output.Commit(error))
        return Complain(error);
    const svx::ReportContent& content = g.content;
    for (const std::string& problem : content.problems) Complain(problem, kExitDone);
    std::printf("%s of %s written to %s%s%s\n",
                svx::Count(content.contacts.size(), "contact", "contacts").c_str(),
                svx::Count(options.inputs.size(), "recording", "recordings").c_str(),
                options.htmlDir.c_str(), options.pdf.empty() ? "" : " and ", options.pdf.c_str());
    return g.whole ? kExitDone : kExitFailed;
}
