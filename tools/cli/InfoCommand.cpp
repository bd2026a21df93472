// sonvara-cli info: summarises and checks a data file. Needs no Qt.

#include <cstdio>

#include "Commands.h"
#include "InfoReport.h"

int cli::RunInfo(int argc, char** argv) {
    const InfoParse parsed = ParseInfoArguments({argv + 1, argv + argc});
    if (parsed.help) {
        std::fputs(InfoUsage().c_str(), stdout);
        return 0;
    }
    if (!parsed.options) {
        std::fprintf(stderr, "sonvara-cli info: %s\n(see sonvara-cli info --help)\n",
                     parsed.error.c_str());
        return 2;
    }
    const InfoOptions& options = *parsed.options;
    DataFileSummary summary;
    std::string error;
    if (!ScanDataFile(options.file, summary, error)) {
        std::fprintf(stderr, "sonvara-cli info: %s\n", error.c_str());
        return 2;
    }
    const std::string text = options.json ? FormatInfoJson(options.file, summary)
                                          : FormatInfoText(options.file, summary, options.records);
    std::fputs(text.c_str(), stdout);
    std::fflush(stdout);
    return summary.damagedOffset ? 1 : 0;
}
