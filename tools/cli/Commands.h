#pragma once
// The subcommands of sonvara-cli. Each one lives in its own file, parses its own options and
// creates the Qt application object it needs. argv[0] is the program, argv[1..] the options
// after the subcommand's name.

#include <cstdio>
#include <string>

namespace cli {

struct Command {
    const char* name;
    const char* summary;
    int (*run)(int argc, char** argv);
};

int RunAcquire(int argc, char** argv);
int RunInfo(int argc, char** argv);
int RunRender(int argc, char** argv);
int RunTrack(int argc, char** argv);
int RunEvents(int argc, char** argv);

int RunXtf(int argc, char** argv);
int RunPlan(int argc, char** argv);
// The mosaic command itself, in sonvara-cli-mosaic; sonvara-cli's `mosaic` runs
// StartMosaicProgram, which replaces the process by that program with the same arguments.
int RunMosaic(int argc, char** argv);
int StartMosaicProgram(int argc, char** argv);
// The coverage command, likewise in sonvara-cli-coverage.
int RunCoverage(int argc, char** argv);
int StartCoverageProgram(int argc, char** argv);
// The contact report, likewise in sonvara-cli-report (it links Qt's painting).
int RunReport(int argc, char** argv);
int StartReportProgram(int argc, char** argv);

// Exit statuses: the work was done, it failed, or the command line was wrong.
constexpr int kExitDone = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

// One plain line on standard error, "sonvara-cli: TEXT"; returns `code`.
inline int Complain(const std::string& text, int code = kExitFailed) {
    std::fprintf(stderr, "sonvara-cli: %s\n", text.c_str());
    return code;
}

// A mistake on the command line of `command`: one line naming the option, exit status 2.
inline int UsageMistake(const char* command, const std::string& error) {
    return Complain(error + " (see sonvara-cli " + command + " --help)", kExitUsage);
}

// What a parse of a subcommand's options came to: help or version printed (exit 0), a
// mistake (exit 2), or -1 when the command is to run.
template <typename Parse>
int HandleParse(const char* command, const Parse& parsed) {
    if (parsed.help || parsed.version) {
        std::fputs(parsed.text.c_str(), stdout);
        return kExitDone;
    }
    if (!parsed.options) return UsageMistake(command, parsed.error);
    return -1;
}

}  // namespace cli
