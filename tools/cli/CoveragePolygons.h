#pragma once
// Cells of the coverage's grid as polygons in its UTM zone: a raster of the cells (tiled,
// sparse and compressed in GDAL's memory files, so that empty tiles cost nothing) turned into
// polygons by GDALPolygonize, each polygon one 4-connected patch of cells of one value, holes
// kept; a polygon that is not valid (rings touching where the grid's corners meet) is made
// valid.

#include <memory>
#include <string>
#include <vector>

#include <ogr_api.h>

#include "survey/Coverage.h"
#include "survey/CoverageStats.h"

namespace cli {

struct GeometryDeleter {
    void operator()(void* geometry) const {
        OGR_G_DestroyGeometry(static_cast<OGRGeometryH>(geometry));
    }
};
using Geometry = std::unique_ptr<void, GeometryDeleter>;

struct ValuePolygon {
    int value = 0;
    Geometry geometry;  // in metres of the coverage's UTM zone
};

// The EPSG code of the coverage's zone (WGS 84 / UTM).
int CoverageEpsg(const survey::Coverage& coverage);

// The covered cells (either side) as polygons of value 1; false with the reason.
bool PolygonizeCoverage(const survey::Coverage& coverage, std::vector<ValuePolygon>& out,
                        std::string& error);

// The holidays' cells as polygons, each of its holiday's number; false with the reason.
bool PolygonizeHolidays(const survey::Coverage& coverage,
                        const std::vector<survey::HolidayRun>& runs, std::vector<ValuePolygon>& out,
                        std::string& error);

}  // namespace cli
