// sonvara-cli info: summarises and checks a data file. Needs no Qt.

#include <cstdio>

#include "Commands.h"
#include "FileChecks.h"
#include "InfoReport.h"

int cli::RunInfo(int argc, char** argv) {
    const InfoParse parsed = ParseInfoArguments({argv + 1, argv + argc});
    if (const int code = HandleParse("info", parsed); code >= 0) return code;
    const InfoOptions& options = *parsed.options;
    // Only a regular file is read: a FIFO without a writer would block for ever.
    if (const std::string problem = CheckInputFile(options.file); !problem.empty()) {
        return Complain(problem);
    }
    DataFileSummary summary;
    std::string error;
    if (!ScanDataFile(options.file, summary, error)) return Complain(error);
    const std::string text = options.json ? FormatInfoJson(options.file, summary)
                                          : FormatInfoText(options.file, summary, options.records);
    std::fputs(text.c_str(), stdout);
    std::fflush(stdout);
    if (summary.records.empty()) return Complain(options.file + " holds no record");
    return summary.damagedOffset ? kExitFailed : kExitDone;
}
