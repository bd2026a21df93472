#include "CoverageRun.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

#include "ExportCommands.h"
#include "FileChecks.h"
#include "common/TextFormat.h"
#include "export/GeoTexts.h"
#include "recordings/RecordingCoverage.h"
#include "survey/PlanFiles.h"

namespace cli {

namespace {

std::string AddRecording(const std::string& path, CoverageInput& input) {
    if (std::string problem = CheckInputFile(path); !problem.empty()) return problem;
    std::string error;
    const std::unique_ptr<rec::RecordingReader> reader = rec::OpenRecording(path, error);
    if (!reader) return error;
    rec::CoverageTally tally;
    svx::ExportReport report;
    if (!rec::AddRecordingCoverage(*reader, input.coverage, input.track, tally, report)) {
        return WithDamage(report.error, report);
    }
    if (tally.pings == 0 && !report.damage.empty()) {
        return WithDamage(path + ": no ping could be read", report);
    }
    ReportDamage(report);
    input.clean = input.clean && report.damage.empty();
    if (tally.positioned == 0) return path + ": no positions: no coverage";
    return {};
}

}  // namespace

std::string ReadCoverageInput(const CoverageOptions& options, CoverageInput& input) {
    input.coverage = survey::Coverage(options.cellM);
    if (!options.plan.empty()) {
        survey::PlanRead plan = survey::ReadPlan(options.plan);
        if (!plan.Ok()) return plan.error;
        if (plan.lines.empty()) return options.plan + ": the plan holds no survey line";
        input.lines = std::move(plan.lines);
    }
    for (const std::string& path : options.inputs) {
        if (std::string problem = AddRecording(path, input); !problem.empty()) return problem;
    }
    return {};
}

std::string LineStatsCsv(const survey::PlanCoverage& plan) {
    std::string out =
        "line,length_m,sailed_m,pings,mean_cross_track_m,max_cross_track_m,corridor_m2,"
        "covered_m2,covered_share\n";
    for (const survey::LineStats& line : plan.lines) {
        svx::AppendCsvField(out, line.name);
        out += Printf(",%.1f,%.1f,%zu,%.2f,%.2f,%.0f,%.0f,%.4f\n", line.lengthM, line.sailedM,
                      line.pings, line.meanCrossTrackM, line.maxCrossTrackM, line.corridorM2,
                      line.coveredM2, line.CoveredShare());
    }
    return out;
}

std::string TempName(const std::string& path) {
    return path + ".tmp";
}

std::string CommitOutputs(const std::vector<std::pair<std::string, std::string>>& pending) {
    for (const auto& [temp, final] : pending) {
        std::error_code error;
        std::filesystem::rename(temp, final, error);
        if (error) {
            DiscardOutputs(pending);
            return "cannot write " + final + ": " + error.message();
        }
    }
    return {};
}

void DiscardOutputs(const std::vector<std::pair<std::string, std::string>>& pending) {
    for (const auto& [temp, final] : pending) {
        std::error_code ignored;
        std::filesystem::remove(temp, ignored);
    }
}

}  // namespace cli
