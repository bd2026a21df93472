#include "CoverageOptions.h"

#include "../common/CommandLine.h"
#include "common/TextFormat.h"

namespace cli {

namespace {

constexpr double kFinestCellM = 0.25, kCoarsestCellM = 50.0;

void DescribeCoverage(CLI::App& app, CoverageOptions& options, std::string& geojson,
                      std::string& kml) {
    app.description(
        "The seabed the recordings (data files, XTF files) covered, as polygons in latitude and\n"
        "longitude: each ping with a position covers the ground range of its widest side-scan\n"
        "head each side, square to the heading; consecutive pings are joined. Each polygon\n"
        "(kind \"coverage\", side \"port+starboard\": what either side covered) has its area in\n"
        "square metres. With --plan each line of the plan is a feature of its own (kind \"line\")\n"
        "with the length sailed inside its corridor (the line widened each side by half the\n"
        "median swath), the mean and largest cross-track distance of those pings and the share\n"
        "of the corridor covered; the holidays (kind \"holiday\") are the patches of the\n"
        "corridors no swath reached, patches under 10 cells left out.");
    app.set_version_flag("--version", tools::VersionText("sonvara-cli coverage"));
    app.add_option("files", options.inputs, "the recordings")->type_name("FILE.svx|FILE.xtf");
    app.add_option("--plan", options.plan, "survey lines to measure the coverage against")
        ->type_name("PLAN.gpx|PLAN.kml|PLAN.csv");
    app.add_option("--geojson", geojson, "write the polygons as GeoJSON (RFC 7946)")
        ->type_name("OUT.geojson");
    app.add_option("--kml", kml, "write the polygons as KML")->type_name("OUT.kml");
    app.add_option("--csv", options.csv, "write the statistics of each plan line as CSV")
        ->type_name("STATS.csv");
    app.add_option("--cell", options.cellM, "size of the coverage's square cells (default 1 m)")
        ->type_name("M")
        ->check(tools::Wants(
            [](const std::string& v) {
                const auto m = ParseNumber(v);
                return m && *m >= kFinestCellM && *m <= kCoarsestCellM;
            },
            "0.25 .. 50 metres"));
    app.footer(
        "Exit status: 0 written; 1 a recording cannot be read or holds no position, the plan\n"
        "cannot be read, or an output cannot be written (no output is left then), or damaged\n"
        "records were stepped over (each named on standard error; the outputs are written);\n"
        "2 for a mistake on the command line.");
}

}  // namespace

ExportParse<CoverageOptions> ParseCoverageArguments(const std::vector<std::string>& args) {
    ExportParse<CoverageOptions> result;
    CoverageOptions options;
    std::string geojson, kml;
    CLI::App app{"", "sonvara-cli coverage"};
    DescribeCoverage(app, options, geojson, kml);
    tools::LastValueWins(app);
    if (!tools::TakeOutcome(tools::ParseCommandLine(app, args), result)) return result;
    if (options.inputs.empty()) {
        result.error = "at least one recording (FILE.svx or FILE.xtf) is required";
    } else if (geojson.empty() == kml.empty()) {
        result.error = "one of --geojson OUT.geojson and --kml OUT.kml is required";
    } else if (!options.csv.empty() && options.plan.empty()) {
        result.error = "--csv: the statistics are of a plan's lines, give --plan";
    } else {
        options.output = geojson.empty() ? kml : geojson;
        options.format = geojson.empty() ? FeatureFormat::Kml : FeatureFormat::GeoJson;
        result.options = options;
    }
    return result;
}

}  // namespace cli
