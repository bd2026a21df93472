#pragma once
// The subcommands of sonvara-cli. Each one lives in its own file, parses its own options and
// creates the Qt application object it needs. argv[0] is the program, argv[1..] the options
// after the subcommand's name.

namespace cli {

struct Command {
    const char* name;
    const char* summary;
    int (*run)(int argc, char** argv);
};

int RunAcquire(int argc, char** argv);
int RunInfo(int argc, char** argv);
int RunRender(int argc, char** argv);

}  // namespace cli
