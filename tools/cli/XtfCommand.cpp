// sonvara-cli xtf: a data file as XTF. Needs no Qt. An XTF file as input is refused: it is
// XTF already, and its packets are not the records this export writes from.

#include "Commands.h"
#include "ExportCommands.h"
#include "ExportOptions.h"
#include "FileChecks.h"
#include "recordings/Recording.h"

int cli::RunXtf(int argc, char** argv) {
    const auto parsed = ParseXtfArguments({argv + 1, argv + argc});
    if (const int code = HandleParse("xtf", parsed); code >= 0) return code;
    const XtfOptions& options = *parsed.options;
    if (const std::string problem = CheckInputFile(options.input); !problem.empty()) {
        return Complain(problem);
    }
    std::string error;
    const std::unique_ptr<rec::RecordingReader> reader = rec::OpenRecording(options.input, error);
    if (reader && std::string(reader->Format()) == "xtf") {
        return Complain(options.input +
                        " is an XTF file already: only a data file (.svx) is written as XTF");
    }
    svx::ExportRequest request;
    request.kind = svx::ExportKind::Xtf;
    request.input = options.input;
    request.output = options.output;
    return RunRegisteredExport("xtf", request);
}
