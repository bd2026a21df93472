// sonvara-cli-coverage: the `coverage` command of sonvara-cli in a program of its own, one that
// links GDAL. sonvara-cli execs it with the command's arguments, program name first.

#include "Commands.h"

int main(int argc, char** argv) {
    return cli::RunCoverage(argc, argv);
}
