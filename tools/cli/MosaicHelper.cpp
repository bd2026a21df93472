// sonvara-cli mosaic: the process becomes sonvara-cli-mosaic, found beside this program, with
// the same arguments, standard streams and process id, so the user sees one command whose
// output and exit status are the mosaic's.

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

#include "Commands.h"

namespace {

constexpr const char* kMosaicProgram = "sonvara-cli-mosaic";

// The program's own directory; argv[0]'s when the kernel does not say.
std::filesystem::path ProgramDirectory(const char* argv0) {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) return self.parent_path();
    return std::filesystem::path(argv0).parent_path();
}

}  // namespace

// argv ends with a null pointer, as execv wants it.
int cli::StartMosaicProgram(int /*argc*/, char** argv) {
    const std::string program = (ProgramDirectory(argv[0]) / kMosaicProgram).string();
    ::execv(program.c_str(), argv);
    return Complain("cannot start " + program + " for the mosaic: " + std::strerror(errno));
}
