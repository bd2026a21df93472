// sonvara-cli coverage: the seabed recordings covered, as polygons (GeoJSON or KML), and with a
// plan, each line's statistics and the holidays. Runs in sonvara-cli-coverage, which links
// GDAL.

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "Commands.h"
#include "CoverageFeatures.h"
#include "CoverageRun.h"
#include "export/GeoTexts.h"
#include "survey/CoverageStats.h"

namespace {

// The message of a failed write names the output the user asked for, not its temporary name.
std::string FinalNames(std::string error,
                       const std::vector<std::pair<std::string, std::string>>& pending) {
    for (const auto& [temp, final] : pending) {
        if (const auto at = error.find(temp); at != std::string::npos)
            error.replace(at, temp.size(), final);
    }
    return error;
}

}  // namespace

int cli::RunCoverage(int argc, char** argv) {
    const auto parsed = ParseCoverageArguments({argv + 1, argv + argc});
    if (const int code = HandleParse("coverage", parsed); code >= 0) return code;
    const CoverageOptions& options = *parsed.options;
    CoverageInput input;
    if (std::string problem = ReadCoverageInput(options, input); !problem.empty()) {
        return Complain(problem);
    }
    survey::PlanCoverage plan;
    if (!input.lines.empty()) plan = survey::MeasurePlan(input.lines, input.track, input.coverage);
    std::vector<std::pair<std::string, std::string>> pending{
        {TempName(options.output), options.output}};
    std::string error;
    FeatureCounts counts;
    const CoverageFeatures features{&input.coverage, &input.lines,
                                    input.lines.empty() ? nullptr : &plan};
    bool written = WriteCoverageFeatures(features, pending[0].first, options.format, counts, error);
    if (written && !options.csv.empty()) {
        pending.emplace_back(TempName(options.csv), options.csv);
        written = svx::WriteTextFile(pending[1].first, LineStatsCsv(plan), error);
    }
    if (written) error = CommitOutputs(pending);
    if (!written || !error.empty()) {
        DiscardOutputs(pending);
        return Complain(FinalNames(error, pending));
    }
    std::printf("%.0f m2 covered in %d polygons", input.coverage.AreaM2(), counts.coverage);
    if (!input.lines.empty()) {
        double holidayM2 = 0;
        for (const survey::Holiday& h : plan.holidays) holidayM2 += h.areaM2;
        std::printf(", %d lines, %zu holidays of %.0f m2 (nominal swath %.1f m)", counts.lines,
                    plan.holidays.size(), holidayM2, plan.nominalSwathM);
    }
    std::printf(" written to %s\n", options.output.c_str());
    return input.clean ? kExitDone : kExitFailed;
}
