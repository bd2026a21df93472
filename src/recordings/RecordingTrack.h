#pragma once
// The ship's track of a recording from the navigation of its pings, for a reader whose file
// holds positions rather than sentences (an XTF file): each ping that brings a position not
// seen in the ping before is a fix, at its fix time (or its own time when the file gives none),
// with the speed and heading of that ping. A file of positions holds no course over ground:
// each fix takes the bearing to the next fix at another position, the last one the bearing
// from the fix before (a track of one position has none).

#include <vector>

#include "export/ExportJob.h"
#include "export/PingNavigation.h"
#include "gps/TrackFixes.h"
#include "recordings/Recording.h"

namespace rec {

class NavigationTrack {
public:
    // One ping's navigation, in file order.
    void Add(const svx::PingNavigation& nav);
    // The fixes so far, each with its course.
    std::vector<TrackFix> Fixes() const;

private:
    std::vector<TrackFix> fixes;
};

// The fixes of the recording's pings; false (report.error says why) when it cannot be read.
// Damaged stretches stepped over go to report.damage.
bool CollectRecordingTrack(RecordingReader& reader, std::vector<TrackFix>& fixes,
                           svx::ExportReport& report);

}  // namespace rec
