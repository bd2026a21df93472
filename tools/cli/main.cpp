// sonvara-cli: the headless tools of Sonvara, one subcommand each.

#include <CLI/CLI.hpp>

#include <cstdio>
#include <iterator>
#include <string>
#include <vector>

#include "../common/CommandLine.h"
#include "Commands.h"

namespace {

constexpr cli::Command kCommands[] = {
    {"acquire", "poll the heads without windows and report the cycles", cli::RunAcquire},
    {"info", "summarise and check a sonar data file (.svx)", cli::RunInfo},
    {"render", "play a data file headless and write its images", cli::RunRender},
    {"track", "export the ship's track of a data file or NMEA log (CSV, GPX, KML)", cli::RunTrack},
    {"events", "export the events of a data file (CSV, GPX, KML) and their chips", cli::RunEvents},

    {"xtf", "write a data file as XTF for processing programs", cli::RunXtf},
    {"mosaic", "lay recordings on the map as one GeoTIFF or KMZ mosaic", cli::StartMosaicProgram},
    {"plan", "make parallel survey lines from one line, as GPX routes", cli::RunPlan},
    {"coverage", "the seabed recordings covered, as polygons; lines and holidays of a plan",
     cli::StartCoverageProgram},
    {"report", "the contact report of a survey: HTML, CSV, GeoJSON and PDF",
     cli::StartReportProgram},
};

// The program's own options (--help, --version) and the command names. A command's options
// are parsed by the command itself, so everything after its name is left to it.
void Describe(CLI::App& app) {
    app.description("The headless tools of Sonvara.");
    app.set_version_flag("--version", tools::VersionText("sonvara-cli"));
    app.require_subcommand(0, 1);
    for (const cli::Command& command : kCommands) {
        app.add_subcommand(command.name, command.summary)
            ->group("Commands")
            ->prefix_command()
            ->set_help_flag();
    }
    app.footer(
        "Run sonvara-cli COMMAND --help for a command's options and exit status.\n"
        "Exit status: 0 done, 1 the work failed, 2 a mistake on the command line.");
}

const cli::Command* Chosen(const CLI::App& app) {
    for (const cli::Command& command : kCommands) {
        if (app.got_subcommand(command.name)) return &command;
    }
    return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"", "sonvara-cli"};
    Describe(app);
    const tools::ParseOutcome outcome =
        tools::ParseCommandLine(app, std::vector<std::string>(argv + 1, argv + argc));
    const cli::Command* command = Chosen(app);
    if (outcome.kind == tools::ParseKind::Help || outcome.kind == tools::ParseKind::Version) {
        std::fputs(outcome.text.c_str(), stdout);
        return cli::kExitDone;
    }
    if (outcome.kind == tools::ParseKind::Error && !command) {
        const std::string error = outcome.text.rfind("unexpected argument", 0) == 0
                                      ? "unknown command '" + app.remaining().front() + "'"
                                      : outcome.text;
        return cli::Complain(error + " (see sonvara-cli --help)", cli::kExitUsage);
    }
    if (!command) {
        std::fputs(app.help().c_str(), stderr);
        return cli::kExitUsage;
    }
    // The command sees the program name followed by its own options.
    const int skipped =
        argc - 1 - static_cast<int>(app.get_subcommand(command->name)->remaining().size());
    argv[skipped] = argv[0];
    return command->run(argc - skipped, argv + skipped);
}
