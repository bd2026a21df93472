#pragma once
// The plain steps of `sonvara-cli coverage`: the plan and the recordings read into a coverage
// and a track, the per-line statistics as CSV, and outputs written under a temporary name and
// renamed into place only when all of them are complete.

#include <string>
#include <utility>
#include <vector>

#include "CoverageOptions.h"
#include "survey/Coverage.h"
#include "survey/CoverageStats.h"
#include "survey/SurveyLine.h"

namespace cli {

struct CoverageInput {
    survey::Coverage coverage;
    std::vector<survey::TrackPing> track;
    std::vector<survey::SurveyLine> lines;  // of the plan; empty without one
    bool clean = true;                      // no damage was stepped over
};

// Reads the plan, then walks every recording; damage stepped over is said on standard error.
// Empty on success, else the one-line reason: the plan's message, "FILE: no positions: no
// coverage", or why a recording cannot be read.
std::string ReadCoverageInput(const CoverageOptions& options, CoverageInput& input);

// One line a plan line: its name, length, sailed length, pings, cross-track distances,
// corridor and covered areas and the covered share; a heading line first.
std::string LineStatsCsv(const survey::PlanCoverage& plan);

// Where an output is written until it is complete: beside it, so that a rename moves it.
std::string TempName(const std::string& path);
// Renames each (temporary, final) pair into place; on a failure, every temporary file left is
// removed and the reason is returned. Empty on success.
std::string CommitOutputs(const std::vector<std::pair<std::string, std::string>>& pending);
// Removes the temporary files.
void DiscardOutputs(const std::vector<std::pair<std::string, std::string>>& pending);

}  // namespace cli
