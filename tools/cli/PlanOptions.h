#pragma once
// The options of `sonvara-cli plan`: parallel survey lines from one line, written as GPX
// routes.

#include <optional>
#include <string>
#include <vector>

#include "ExportOptions.h"
#include "survey/LineGenerator.h"

namespace cli {

struct PlanOptions {
    survey::LineRequest lines;
    std::string gpx;
};

ExportParse<PlanOptions> ParsePlanArguments(const std::vector<std::string>& args);

// Writes the plan of the options; empty on success, else the one-line reason.
std::string WritePlan(const PlanOptions& options);

}  // namespace cli
