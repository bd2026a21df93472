#pragma once
// The command line of `sonvara-cli coverage`: the seabed recordings covered, as polygons, and
// with a plan the per-line statistics and the holidays.

#include <string>
#include <vector>

#include "ExportOptions.h"

namespace cli {

enum class FeatureFormat { GeoJson, Kml };

struct CoverageOptions {
    std::vector<std::string> inputs;
    std::string plan;    // empty: no plan
    std::string output;  // the GeoJSON or KML file
    FeatureFormat format = FeatureFormat::GeoJson;
    std::string csv;  // the per-line statistics; empty: none
    double cellM = 1.0;
};

ExportParse<CoverageOptions> ParseCoverageArguments(const std::vector<std::string>& args);

}  // namespace cli
