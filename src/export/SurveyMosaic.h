#pragma once
// One mosaic of several recordings (data files and XTF files mixed): each laid as on its own
// (export/Mosaic.h), all in one UTM zone, on one grid, of one head, then merged in the order
// given, where they overlap by the rule of MosaicOptions::overlap (ties keep the earlier
// recording). Recordings are laid on several threads, each into rasters of its own; merging
// them in order makes the result the same whatever the number of threads.
//
// The zone is the one where most pings lie: the recordings are laid in the zone of the first
// fix, and laid again in the zone of most pings when that one differs (a note says so). A
// recording with nothing to lay (no position, no ping of the head) is left out with a note;
// when none is left, that is the error.
//
// Memory: the merged raster (one byte a pixel of every 256 x 256 tile touched, and two more a
// pixel for the across-track distance code), plus, while they are laid,
// the rasters of at most as many recordings as there are threads (each sized by the area it
// covers, as the mosaic of one recording is).

#include <functional>
#include <string>
#include <vector>

#include "export/ExportJob.h"
#include "export/Mosaic.h"

namespace svx {

// The grid of several recordings: the head and the resolution taken from the first ping of the
// head (the first side-scan head present, unless one is asked for) in the first recording
// that holds one, the zone from its first fix. Fields asked for in `options` are kept.
MosaicOptions CommonGrid(const std::vector<std::string>& inputs, const MosaicOptions& options);

// Told each recording laid, from the thread that laid it (its index in the inputs, its own
// mosaic with each pixel's distance code, before any normalisation); sets the error to stop.
using LaidSink = std::function<void(std::size_t, const Mosaic&, const AcrossDistances&,
                                    std::string& error)>;

// Progress is told the bytes read of all the recordings together, from the threads one at a
// time; returning false cancels. The across-track normalisation is done when
// options.normalize says so (unset: for several inputs), after the overlap rule has chosen.
ExportReport BuildSurveyMosaic(const std::vector<std::string>& inputs,
                               const MosaicOptions& options, Mosaic& out,
                               const ExportProgress& progress = {}, const LaidSink& perLine = {});

}  // namespace svx
