// sonvara-cli mosaic, coverage and report: the process becomes the program that links GDAL
// (or Qt's painting) for the command (sonvara-cli-mosaic, sonvara-cli-coverage,
// sonvara-cli-report), found beside this program, with the same
// arguments, standard streams and process id, so the user sees one command whose output and
// exit status are the helper's.

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

#include "Commands.h"

namespace {

// The program's own directory; argv[0]'s when the kernel does not say.
std::filesystem::path ProgramDirectory(const char* argv0) {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) return self.parent_path();
    return std::filesystem::path(argv0).parent_path();
}

// argv ends with a null pointer, as execv wants it.
int StartHelper(const char* helper, const char* purpose, char** argv) {
    const std::string program = (ProgramDirectory(argv[0]) / helper).string();
    ::execv(program.c_str(), argv);
    return cli::Complain("cannot start " + program + " for the " + purpose + ": " +
                         std::strerror(errno));
}

}  // namespace

int cli::StartMosaicProgram(int /*argc*/, char** argv) {
    return StartHelper("sonvara-cli-mosaic", "mosaic", argv);
}

int cli::StartCoverageProgram(int /*argc*/, char** argv) {
    return StartHelper("sonvara-cli-coverage", "coverage", argv);
}

int cli::StartReportProgram(int /*argc*/, char** argv) {
    return StartHelper("sonvara-cli-report", "contact report", argv);
}
