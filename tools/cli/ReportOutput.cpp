#include "ReportOutput.h"

#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace cli {

namespace fs = std::filesystem;

namespace {

// ".NAME.tmp-XXXXXX" in the folder of `target`.
std::string TempPattern(const std::string& target) {
    fs::path path(target);
    while (!path.empty() && path.filename().empty()) path = path.parent_path();  // "dir/"
    const fs::path parent = path.parent_path().empty() ? fs::path(".") : path.parent_path();
    return (parent / ("." + path.filename().string() + ".tmp-XXXXXX")).string();
}

std::string Failure(const std::string& path, const std::string& reason) {
    return "cannot write " + path + ": " + reason;
}

// Empty when `target` may be replaced by something of this kind, else why not.
std::string KindProblem(const std::string& target, bool folder) {
    std::error_code ec;
    const fs::file_status status = fs::symlink_status(target, ec);
    if (status.type() == fs::file_type::not_found) return {};
    if (folder && status.type() != fs::file_type::directory) return "it is not a folder";
    if (!folder && status.type() != fs::file_type::regular) return "it is not a regular file";
    return {};
}

// The permissions a new file or folder gets from the process's umask (mkdtemp and mkstemp make
// them private).
mode_t UsualMode(mode_t full) {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return full & ~mask;
}

}  // namespace

ReportOutput::~ReportOutput() {
    Discard();
}

void ReportOutput::Discard() {
    std::error_code ec;
    if (!tempDir.empty()) fs::remove_all(tempDir, ec);
    if (!tempPdf.empty()) fs::remove(tempPdf, ec);
    tempDir.clear();
    tempPdf.clear();
}

bool ReportOutput::Prepare(const std::string& outDir, const std::string& outPdf,
                           std::string& error) {
    dir = outDir;
    pdf = outPdf;
    if (std::string problem = KindProblem(dir, true); !problem.empty()) {
        error = Failure(dir, problem);
        return false;
    }
    if (std::string problem = pdf.empty() ? "" : KindProblem(pdf, false); !problem.empty()) {
        error = Failure(pdf, problem);
        return false;
    }
    std::string pattern = TempPattern(dir);
    if (!::mkdtemp(pattern.data())) {
        error = Failure(dir, std::strerror(errno));
        return false;
    }
    tempDir = pattern;
    ::chmod(tempDir.c_str(), UsualMode(0777));
    if (pdf.empty()) return true;
    pattern = TempPattern(pdf);
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) {
        error = Failure(pdf, std::strerror(errno));
        Discard();
        return false;
    }
    ::fchmod(fd, UsualMode(0666));
    ::close(fd);
    tempPdf = pattern;
    return true;
}

bool ReportOutput::Commit(std::string& error) {
    std::error_code ec;
    if (!tempPdf.empty()) {
        fs::rename(tempPdf, pdf, ec);
        if (ec) {
            error = Failure(pdf, ec.message());
            Discard();
            return false;
        }
        tempPdf.clear();
    }
    // An existing report folder is moved aside first, and removed once the new one is in place.
    std::string aside;
    if (fs::exists(dir, ec)) {
        aside = TempPattern(dir);
        if (!::mkdtemp(aside.data())) aside.clear();
        if (!aside.empty()) fs::rename(dir, fs::path(aside) / "old", ec);
        if (aside.empty() || ec) {
            error = Failure(dir, aside.empty() ? std::strerror(errno) : ec.message());
            if (!aside.empty()) fs::remove_all(aside, ec);
            Discard();
            return false;
        }
    }
    fs::rename(tempDir, dir, ec);
    if (ec) {
        error = Failure(dir, ec.message());
        std::error_code back;
        if (!aside.empty()) fs::rename(fs::path(aside) / "old", dir, back);
        if (!aside.empty()) fs::remove_all(aside, back);
        Discard();
        return false;
    }
    tempDir.clear();
    if (!aside.empty()) fs::remove_all(aside, ec);
    return true;
}

}  // namespace cli
