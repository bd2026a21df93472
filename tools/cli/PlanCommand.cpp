// sonvara-cli plan: parallel survey lines as GPX routes. Needs no Qt.

#include "Commands.h"
#include "PlanOptions.h"

int cli::RunPlan(int argc, char** argv) {
    const auto parsed = ParsePlanArguments({argv + 1, argv + argc});
    if (const int code = HandleParse("plan", parsed); code >= 0) return code;
    if (const std::string problem = WritePlan(*parsed.options); !problem.empty()) {
        return Complain(problem);
    }
    std::printf("%d survey lines %.1f m apart written to %s\n", parsed.options->lines.count,
                parsed.options->lines.spacingM, parsed.options->gpx.c_str());
    return kExitDone;
}
