#include "PlanOptions.h"

#include "../common/CommandLine.h"
#include "common/TextFormat.h"
#include "survey/LineGeometry.h"
#include "survey/PlanFiles.h"

namespace cli {

namespace {

// "LAT1,LON1,LAT2,LON2" in degrees.
std::optional<survey::SurveyLine> FromText(const std::string& text) {
    std::vector<double> values;
    std::size_t at = 0;
    while (at <= text.size()) {
        const std::size_t comma = std::min(text.find(',', at), text.size());
        const std::optional<double> value = ParseNumber(std::string_view(text).substr(at, comma - at));
        if (!value) return std::nullopt;
        values.push_back(*value);
        at = comma + 1;
    }
    if (values.size() != 4) return std::nullopt;
    for (std::size_t i = 0; i < 4; i += 2) {
        if (!survey::CoordinateFault(values[i], values[i + 1]).empty()) return std::nullopt;
    }
    return survey::SurveyLine{"Line", {{values[0], values[1]}, {values[2], values[3]}}};
}

}  // namespace

ExportParse<PlanOptions> ParsePlanArguments(const std::vector<std::string>& args) {
    ExportParse<PlanOptions> result;
    PlanOptions options;
    std::string from, side = "stbd";
    bool same = false;
    CLI::App app{"Parallel survey lines from one line, written as GPX routes (which chart "
                 "programs open). The lines are named \"Line 1\" .. \"Line N\"; every second one "
                 "is sailed the other way unless --same-direction.\n"
                 "Exit status: 0 done, 1 the plan could not be written, 2 a mistake on the "
                 "command line.",
                 "sonvara-cli plan"};
    app.add_option("--from", from, "The first line: LAT1,LON1,LAT2,LON2 in degrees")->required();
    app.add_option("--spacing", options.lines.spacingM, "Metres between neighbouring lines")
        ->required()
        ->check(tools::Wants([](const std::string& v) { return ParseNumber(v).value_or(0) > 0; },
                             "a distance above 0"));
    app.add_option("--count", options.lines.count, "Lines in all, the first among them")
        ->required()
        ->check(CLI::Range(1, 10000));
    app.add_option("--side", side, "Side of the first line the others lie on, seen along it")
        ->check(CLI::IsMember({"port", "stbd"}));
    app.add_flag("--same-direction", same, "Sail every line the first line's way");
    app.add_option("--gpx", options.gpx, "The plan's file")->required();
    tools::LastValueWins(app);
    if (!tools::TakeOutcome(tools::ParseCommandLine(app, args), result)) return result;
    const std::optional<survey::SurveyLine> first = FromText(from);
    if (!first) {
        result.error = "--from: wants LAT1,LON1,LAT2,LON2 in degrees, not '" + from + "'";
        return result;
    }
    if (survey::DistanceM(first->points[0], first->points[1]) < 1.0) {
        result.error = "--from: the line's two ends are less than 1 m apart";
        return result;
    }
    options.lines.first = *first;
    options.lines.side = side == "port" ? survey::Side::Port : survey::Side::Starboard;
    options.lines.alternate = !same;
    result.options = options;
    return result;
}

std::string WritePlan(const PlanOptions& options) {
    const std::vector<survey::SurveyLine> lines = survey::ParallelLines(options.lines);
    if (lines.empty()) return "the first line has no length";
    return survey::WritePlanFile(options.gpx, lines);
}

}  // namespace cli
