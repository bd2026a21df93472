#pragma once
// The coverage as features in latitude and longitude, through GDAL: the covered cells and the
// holidays turned into polygons in the coverage's UTM zone (GDALPolygonize), made valid where
// the grid's corners touch, then transformed to WGS 84 and written as GeoJSON (RFC 7946:
// longitude first, outer rings counter-clockwise) or KML, with the plan's lines and their
// statistics.

#include <string>
#include <vector>

#include "CoverageOptions.h"
#include "survey/Coverage.h"
#include "survey/CoverageStats.h"
#include "survey/SurveyLine.h"

namespace cli {

struct CoverageFeatures {
    const survey::Coverage* coverage = nullptr;
    const std::vector<survey::SurveyLine>* lines = nullptr;  // null or empty: no plan
    const survey::PlanCoverage* plan = nullptr;
};

struct FeatureCounts {
    int coverage = 0, holidays = 0, lines = 0;
};

// Writes the features to `path` (the file is created, never appended to); false with
// "cannot write PATH: reason".
bool WriteCoverageFeatures(const CoverageFeatures& features, const std::string& path,
                           FeatureFormat format, FeatureCounts& counts, std::string& error);

}  // namespace cli
