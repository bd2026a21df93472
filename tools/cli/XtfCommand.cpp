// sonvara-cli xtf: a data file as XTF. Needs no Qt.

#include "Commands.h"
#include "ExportCommands.h"
#include "ExportOptions.h"
#include "FileChecks.h"
#include "export/XtfExport.h"

int cli::RunXtf(int argc, char** argv) {
    const auto parsed = ParseXtfArguments({argv + 1, argv + argc});
    if (const int code = HandleParse("xtf", parsed); code >= 0) return code;
    const XtfOptions& options = *parsed.options;
    if (const std::string problem = CheckInputFile(options.input); !problem.empty()) {
        return Complain(problem);
    }
    svx::ExportReport report;
    {
        ExportProgressLine progress("xtf");
        report = svx::ExportXtf(options.input, options.output, progress.Callback());
    }
    ReportDamage(report);
    if (!report.error.empty()) return Complain(report.error);
    if (report.withoutFix > 0) {
        Complain(std::to_string(report.withoutFix) + " of " + std::to_string(report.records) +
                     " records carry no fix: they keep the last position",
                 0);
    }
    for (const std::string& note : report.notes) Complain(note, kExitDone);
    std::printf("%s: %llu records written\n", options.output.c_str(),
                static_cast<unsigned long long>(report.records));
    return kExitDone;
}
