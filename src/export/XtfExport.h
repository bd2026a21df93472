#pragma once
// A data file as XTF: one sonar packet per record, a port and a starboard channel for every
// side-scan head of the first record (in the order L, M, H), 1000 one-byte samples a channel:
// port far range first, starboard nearest the fish first, so that the two side by side read
// far port ... nadir ... far starboard, as other programs show them. Navigation in latitude and
// longitude from the record's sentences; attitude, depth and temperature from the orientation
// block; altitude from the echo sounder's bottom detection.

#include <string>

#include "export/ExportJob.h"

namespace svx {

// Writes `output` from the data file `input`. On any failure, and on a cancel, no output is
// left; report.error says why.
ExportReport ExportXtf(const std::string& input, const std::string& output,
                       const ExportProgress& progress = {});

}  // namespace svx
