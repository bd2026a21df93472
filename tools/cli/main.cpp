// sonvara-cli: the headless tools of Sonvara, one subcommand each.

#include <cstdio>
#include <cstring>
#include <iterator>

#include "Commands.h"

namespace {

constexpr cli::Command kCommands[] = {
    {"acquire", "poll the heads without windows and report the cycles", cli::RunAcquire},
    {"info", "summarise and check a sonar data file (.svx)", cli::RunInfo},
    {"render", "play a data file headless and write its images", cli::RunRender},
};

void PrintUsage(std::FILE* out) {
    std::fputs(
        "Usage: sonvara-cli COMMAND [options]   (sonvara-cli COMMAND --help for more)\n\n"
        "Commands:\n",
        out);
    for (const cli::Command& command : kCommands) {
        std::fprintf(out, "  %-10s %s\n", command.name, command.summary);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || !std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "-h")) {
        PrintUsage(argc < 2 ? stderr : stdout);
        return argc < 2 ? 2 : 0;
    }
    for (const cli::Command& command : kCommands) {
        if (std::strcmp(argv[1], command.name) != 0) continue;
        // The subcommand sees the program name followed by its own options.
        argv[1] = argv[0];
        return command.run(argc - 1, argv + 1);
    }
    std::fprintf(stderr, "sonvara-cli: unknown command '%s'\n\n", argv[1]);
    PrintUsage(stderr);
    return 2;
}
