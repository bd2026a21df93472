#pragma once
// The seabed recordings covered: each ping with a position adds the swath of its widest
// side-scan head (survey/SwathRule) to a coverage and its place to a track, file after file,
// the coverage starting afresh at each file.

#include <cstdint>
#include <optional>
#include <vector>

#include "export/ExportJob.h"
#include "recordings/Recording.h"
#include "survey/Coverage.h"
#include "survey/CoverageStats.h"

namespace rec {

// The ping's swath; none without a position or without a side-scan line.
std::optional<survey::SwathPing> SwathOfPing(const PingValues& ping);

struct CoverageTally {
    std::uint64_t pings = 0;       // walked
    std::uint64_t positioned = 0;  // added to the coverage
};

// Walks the recording into the coverage and the track; false (report.error says why) when it
// cannot be read. Damaged stretches stepped over go to report.damage.
bool AddRecordingCoverage(RecordingReader& reader, survey::Coverage& coverage,
                          std::vector<survey::TrackPing>& track, CoverageTally& tally,
                          svx::ExportReport& report);

}  // namespace rec
