#include "ReportOptions.h"

#include "../common/CommandLine.h"
#include "ImageOptions.h"

namespace cli {

namespace {

constexpr int kMinChip = 64;
constexpr int kMaxChip = 1000;

void DescribeReport(CLI::App& app, ReportOptions& options) {
    app.description(
        "Writes the contact report of a survey: one entry per event of every recording (from\n"
        "its event file, x.svx and x.xtf have x.an) with its time, the position of the contact\n"
        "on the seabed (as the application shows it, in decimal degrees and in UTM), side,\n"
        "across-track ground distance, altitude, heading and annotation, and chips of the\n"
        "composite and channel images around it with scale bars; an overview of the survey\n"
        "(its mosaic, or its tracks) with every contact numbered; and one table of all\n"
        "contacts, also as contacts.csv and contacts.geojson.");
    app.set_version_flag("--version", tools::VersionText("sonvara-cli report"));
    tools::LastValueWins(app);
    app.add_option("files", options.inputs, "the data files and XTF files of the survey")
        ->type_name("FILE.svx|FILE.xtf");
    app.add_option("--html", options.htmlDir,
                   "the report folder: index.html, its pictures, contacts.csv and "
                   "contacts.geojson (replaced when it exists)")
        ->type_name("DIR");
    app.add_option("--pdf", options.pdf,
                   "the report as an A4 PDF: the overview first, then one contact per half page")
        ->type_name("OUT.pdf");
    app.add_option("--chip-size", options.chipSize,
                   "width and height of a chip in pixels (default 256)")
        ->type_name("PIXELS")
        ->check(tools::Wants([](const std::string& v) { return IntIn(v, kMinChip, kMaxChip); },
                             "64 .. 1000 pixels"));
    app.add_flag("--progress", options.progress,
                 "print a line \"progress DONE TOTAL\" on standard output after each step (each "
                 "recording read, each recording's chips, the overview, the pages)");
    app.footer(
        "Exit status: 0 when the report was written whole; 1 when an output cannot be written\n"
        "(nothing is left of it), a recording cannot be read, or an event file is damaged or\n"
        "an event got no chip (the report is written with what could be read, and says so);\n"
        "2 for a mistake on the command line.");
}

}  // namespace

ReportParse ParseReportArguments(const std::vector<std::string>& args) {
    ReportParse result;
    ReportOptions options;
    CLI::App app{"", "sonvara-cli report"};
    DescribeReport(app, options);
    if (!tools::TakeOutcome(tools::ParseCommandLine(app, args), result)) return result;
    if (options.inputs.empty()) {
        result.error = "a data file or XTF file is required";
    } else if (options.htmlDir.empty()) {
        result.error = "--html DIR is required";
    } else {
        result.options = options;
    }
    return result;
}

}  // namespace cli
