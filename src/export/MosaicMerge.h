#pragma once
// One recording's mosaic merged into the mosaic of several, pixel by pixel by the overlap rule:
// `nearest` keeps the sample of least across-track distance (an equal one keeps what `out`
// holds, the earlier recording's), `max` the larger value, `newest` the merged recording's;
// each pixel's distance code goes with its value.
// The result depends only on the order of the merges, not on how the rasters were made.

#include "export/AcrossDistances.h"
#include "export/Mosaic.h"

namespace svx {

// Whether a sample (value, distance code) replaces what a pixel holds under `rule`. An equal
// distance (nearest) or an equal value (max) goes to the larger value, or the nearer sample,
// when `tieToNew`; otherwise the pixel keeps what it holds.
inline bool PixelWins(MosaicOverlap rule, std::uint8_t value, std::uint16_t code,
                      std::uint8_t held, std::uint16_t heldCode, bool tieToNew) {
    // Bitwise, not short-circuit: speckle makes the value comparisons a coin toss, and the
    // branches they would take cost more than the comparisons.
    const int steps = AcrossDistances::Steps(code), heldSteps = AcrossDistances::Steps(heldCode);
    const bool empty = held == 0;
    switch (rule) {
        case MosaicOverlap::Nearest:
            return empty | (steps < heldSteps) | (tieToNew & (steps == heldSteps) & (value > held));
        case MosaicOverlap::Max:
            return empty | (value > held) | (tieToNew & (value == held) & (steps < heldSteps));
        case MosaicOverlap::Newest:
            return true;
    }
    return false;
}

// Distances missing from `distances` count as the farthest. The bounds, pings, range,
// track, pings per zone and across-track table are added to `out`; its grid (resolution, zone,
// head) becomes m's.
void MergeMosaic(Mosaic& out, AcrossDistances& outDistances, const Mosaic& m,
                 const AcrossDistances& distances, MosaicOverlap rule);

}  // namespace svx
