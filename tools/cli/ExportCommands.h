#pragma once
// What `xtf` and `mosaic` share: the progress line on a terminal and the lines about what was
// stepped over.

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>

#include "Commands.h"
#include "export/ExportRegistry.h"

namespace cli {

// "xtf: 45 %" on standard error when it is a terminal, first after a second, then four times
// a second; cleared at the end.
class ExportProgressLine {
public:
    explicit ExportProgressLine(const char* what)
        : what(what), onTerminal(isatty(STDERR_FILENO) == 1) {}
    ~ExportProgressLine() {
        if (shown) std::fputs("\r\x1b[K", stderr);
    }
    svx::ExportProgress Callback() {
        return [this](std::uint64_t done, std::uint64_t total) {
            Show(done, total);
            return true;
        };
    }

private:
    void Show(std::uint64_t done, std::uint64_t total) {
        if (!onTerminal || total == 0) return;
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (seconds < 1.0 || seconds - last < 0.25) return;
        last = seconds;
        shown = true;
        std::fprintf(stderr, "\r%s: %d %%\x1b[K", what, static_cast<int>(done * 100 / total));
        std::fflush(stderr);
    }

    const char* what;
    bool onTerminal;
    bool shown = false;
    double last = 0;
    std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
};

// One line per damaged stretch stepped over.
inline void ReportDamage(const svx::ExportReport& report) {
    for (const svx::SkippedStretch& stretch : report.damage) {
        Complain(svx::DamageLine(stretch), 0);
    }
}

// The reason a file gave nothing, with the damage that took all of it, as one line.
inline std::string WithDamage(const std::string& error, const svx::ExportReport& report) {
    if (report.damage.empty()) return error;
    std::string line = error + ": " + svx::DamageLine(report.damage.front());
    if (report.damage.size() > 1) {
        line += " and " + std::to_string(report.damage.size() - 1) + " more damaged stretches";
    }
    return line;
}

// Whether a stretch stepped over runs to the end of the input: the file is cut off (a copy or
// a recording that did not finish), which the exit status says although the rest is written.
inline bool CutOff(const svx::ExportReport& report, const std::string& input) {
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(input, ec);
    if (ec) return false;
    for (const svx::SkippedStretch& stretch : report.damage) {
        if (stretch.offset + stretch.bytes >= size) return true;
    }
    return false;
}

// Runs one export of the registry with the progress line, and says what it did as the
// application does: the damage stepped over and the notes on standard error, the summary on
// standard output. Exit 1 when the input is cut off at its end.
inline int RunRegisteredExport(const char* what, const svx::ExportRequest& request) {
    svx::ExportReport report;
    {
        ExportProgressLine progress(what);
        report = svx::RunExport(request, progress.Callback());
    }
    // Nothing read: the damage is the reason, said in the one line.
    if (!report.error.empty() && report.records == 0) {
        return Complain(WithDamage(report.error, report));
    }
    ReportDamage(report);
    if (!report.error.empty()) return Complain(report.error);
    for (const std::string& note : report.notes) Complain(note, 0);
    std::printf("%s\n", report.summary.c_str());
    return CutOff(report, request.input) ? kExitFailed : kExitDone;
}

}  // namespace cli
