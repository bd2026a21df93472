#include "recordings/RecordingCoverage.h"

#include <algorithm>

#include "survey/SwathRule.h"

namespace rec {

std::optional<survey::SwathPing> SwathOfPing(const PingValues& ping) {
    if (!ping.nav.hasFix) return std::nullopt;
    double widest = 0;
    bool any = false;
    for (const SideScanLine& head : ping.heads) {
        if (!head.present) continue;
        any = true;
        widest = std::max(widest, head.slantRangeM);
    }
    if (!any) return std::nullopt;
    return survey::SwathOf({ping.nav.latitude, ping.nav.longitude}, ping.nav.ShipHeading(), widest,
                           ping.nav.altitudeM);
}

bool AddRecordingCoverage(RecordingReader& reader, survey::Coverage& coverage,
                          std::vector<survey::TrackPing>& track, CoverageTally& tally,
                          svx::ExportReport& report) {
    coverage.Break();
    bool startsRun = true;
    const PingVisitor onPing = [&](const PingValues& ping) {
        ++tally.pings;
        const std::optional<survey::SwathPing> swath = SwathOfPing(ping);
        if (!swath) return true;
        ++tally.positioned;
        coverage.Add(*swath);
        track.push_back({swath->position, swath->portM + swath->starboardM, startsRun, swath->headingDeg});
        startsRun = false;
        return true;
    };
    const bool read = reader.Walk(onPing, {}, report);
    coverage.Break();
    return read && report.error.empty();
}

}  // namespace rec
