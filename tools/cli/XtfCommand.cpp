// sonvara-cli xtf: a data file as XTF. Needs no Qt.

#include "Commands.h"
#include "ExportCommands.h"
#include "ExportOptions.h"
#include "FileChecks.h"

int cli::RunXtf(int argc, char** argv) {
    const auto parsed = ParseXtfArguments({argv + 1, argv + argc});
    if (const int code = HandleParse("xtf", parsed); code >= 0) return code;
    const XtfOptions& options = *parsed.options;
    if (const std::string problem = CheckInputFile(options.input); !problem.empty()) {
        return Complain(problem);
    }
    svx::ExportRequest request;
    request.kind = svx::ExportKind::Xtf;
    request.input = options.input;
    request.output = options.output;
    return RunRegisteredExport("xtf", request);
}
