#pragma once
// One recording's mosaic merged into the mosaic of several, pixel by pixel by the overlap rule:
// `nearest` keeps the sample of least across-track distance (an equal one keeps what `out`
// holds, the earlier recording's), `max` the larger value, `newest` the merged recording's.
// The result depends only on the order of the merges, not on how the rasters were made.

#include "export/AcrossDistances.h"
#include "export/Mosaic.h"

namespace svx {

// `outDistances` and `distances` are used only under `nearest`. The bounds, pings, range,
// track and pings per zone are added to `out`; its grid (resolution, zone, head) becomes m's.
void MergeMosaic(Mosaic& out, AcrossDistances& outDistances, const Mosaic& m,
                 const AcrossDistances& distances, MosaicOverlap rule);

}  // namespace svx
