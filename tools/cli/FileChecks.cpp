#include "FileChecks.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "common/RegularFile.h"

namespace cli {

namespace {

std::string Reason(int error) {
    return std::strerror(error);
}

}  // namespace

std::string CheckInputFile(const std::string& path) {
    const std::string problem = RegularFileProblem(path);
    if (problem == path + " is a directory") return problem + ", not a data file";
    return problem;
}

std::string CheckRecordFile(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        if (errno == ENOENT) return {};
        return "cannot record to " + path + ": " + Reason(errno);
    }
    if (S_ISDIR(info.st_mode)) return "cannot record to " + path + ": it is a directory";
    if (!S_ISREG(info.st_mode)) return "cannot record to " + path + ": not a regular file";
    return {};
}

std::string MakeOutputDirectory(const std::string& path) {
    std::error_code error;
    std::filesystem::create_directories(path, error);
    if (error) return "cannot create the directory " + path + ": " + error.message();
    if (!std::filesystem::is_directory(path, error)) return path + " is not a directory";
    return {};
}

std::string OneLine(const std::string& text) {
    std::string line;
    for (const char c : text) {
        if (c == '\n' || c == '\r') {
            if (!line.empty() && line.back() != ' ') line += ' ';
        } else {
            line += c;
        }
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    return line;
}

std::string ToolLine(const std::string& messageBoxText) {
    const std::string openFailure = "Failed to open document:\n";
    if (messageBoxText.rfind(openFailure, 0) == 0) {
        return "cannot open " + OneLine(messageBoxText.substr(openFailure.size()));
    }
    return OneLine(messageBoxText);
}

}  // namespace cli
