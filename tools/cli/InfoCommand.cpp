// sonvara-cli info: summarises and checks a data file or an XTF file. Needs no Qt.

#include <cstdio>

#include "Commands.h"
#include "FileChecks.h"
#include "InfoReport.h"
#include "XtfInfo.h"
#include "recordings/Recording.h"

namespace {

// An XTF file: its summary; exit 1 when it holds no ping or damage was stepped over.
int InfoOfXtf(const cli::InfoOptions& options) {
    cli::XtfSummary summary;
    std::string error;
    if (!cli::ScanXtfFile(options.file, summary, error)) return cli::Complain(error);
    const std::string text = options.json ? cli::FormatXtfInfoJson(options.file, summary)
                                          : cli::FormatXtfInfoText(options.file, summary);
    std::fputs(text.c_str(), stdout);
    std::fflush(stdout);
    if (summary.counts.pings == 0) return cli::Complain(options.file + " holds no side-scan ping");
    return summary.damage.empty() ? cli::kExitDone : cli::kExitFailed;
}

}  // namespace

int cli::RunInfo(int argc, char** argv) {
    const InfoParse parsed = ParseInfoArguments({argv + 1, argv + argc});
    if (const int code = HandleParse("info", parsed); code >= 0) return code;
    const InfoOptions& options = *parsed.options;
    // Only a regular file is read: a FIFO without a writer would block for ever.
    if (const std::string problem = CheckInputFile(options.file); !problem.empty()) {
        return Complain(problem);
    }
    std::string error;
    const auto reader = rec::OpenRecording(options.file, error);
    if (!reader) return Complain(error);
    if (std::string(reader->Format()) == "xtf") return InfoOfXtf(options);
    DataFileSummary summary;
    if (!ScanDataFile(options.file, summary, error)) return Complain(error);
    const std::string text = options.json ? FormatInfoJson(options.file, summary)
                                          : FormatInfoText(options.file, summary, options.records);
    std::fputs(text.c_str(), stdout);
    std::fflush(stdout);
    if (summary.records.empty()) return Complain(options.file + " holds no record");
    return summary.damagedOffset ? kExitFailed : kExitDone;
}
