#pragma once
// Per-line rasters, for a campaign laid one process per line (on any batch runner, across
// machines) and merged after. Each is a tiled GeoTIFF on the survey's grid with two Float32
// bands: the sample value (0: no data) and the across-track ground distance of each pixel's
// sample in metres, negative to port; its metadata holds the head, the range, the pings and
// the line's across-track table. Merging them applies the overlap rule and the normalisation
// as the mosaic of the recordings themselves does, so the result is the same raster.

#include <string>
#include <vector>

#include "export/ExportJob.h"
#include "export/Mosaic.h"

namespace svx {

// False with "cannot write PATH: reason"; nothing is left behind then.
bool WriteLineRaster(const Mosaic& mosaic, const AcrossDistances& distances,
                     const std::string& source, const std::string& path, std::string& error);
// False with "PATH: reason" for a file that is not such a raster.
bool ReadLineRaster(const std::string& path, Mosaic& out, AcrossDistances& distances,
                    std::string& error);

// The per-line raster of each input in `dir`: its name with ".tif", numbered where two
// inputs share a name.
std::vector<std::string> LineRasterNames(const std::vector<std::string>& inputs,
                                         const std::string& dir);

// Merges per-line rasters in the order given, by options.overlap; normalised when
// options.normalize says so (unset: for several). All must be on one grid.
ExportReport MergeLineRasters(const std::vector<std::string>& rasters, const MosaicOptions& options,
                              Mosaic& out, const ExportProgress& progress = {});

}  // namespace svx
