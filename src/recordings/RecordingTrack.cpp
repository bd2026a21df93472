#include "recordings/RecordingTrack.h"

#include <cmath>

#include "common/TextFormat.h"

namespace rec {

namespace {

constexpr double kPi = 3.14159265358979323846;

// "hh:mm:ss.sss" of the fix time, else of the ping's own time.
std::string FixTime(const svx::PingNavigation& nav) {
    if (nav.fixSecondOfDay) {
        const int s = *nav.fixSecondOfDay;
        return Printf("%02d:%02d:%02d.%03d", s / 3600, s / 60 % 60, s % 60,
                      nav.fixHundredths * 10);
    }
    const svx::RecordClock& c = nav.clock;
    return Printf("%02d:%02d:%02d.%03d", c.hour, c.minute, c.second, c.millis);
}

bool SamePlace(const TrackFix& a, const TrackFix& b) {
    return a.latitude == b.latitude && a.longitude == b.longitude;
}

// The bearing from a to b over a plane tangent at a, degrees true 0 .. 360.
double Bearing(const TrackFix& a, const TrackFix& b) {
    const double north = b.latitude - a.latitude;
    const double east = (b.longitude - a.longitude) * std::cos(a.latitude * kPi / 180.0);
    const double degrees = std::atan2(east, north) * 180.0 / kPi;
    return degrees < 0 ? degrees + 360.0 : degrees;
}

}  // namespace

void NavigationTrack::Add(const svx::PingNavigation& nav) {
    if (!nav.newFix) return;
    TrackFix fix;
    fix.time = FixTime(nav);
    fix.date = Printf("%04d-%02d-%02d", nav.clock.year, nav.clock.month, nav.clock.day);
    fix.latitude = nav.latitude;
    fix.longitude = nav.longitude;
    fix.speedKnots = nav.speedKnots;
    fix.headingDeg = nav.headingDeg;
    fix.ping = nav.ping;
    // A fix repeated by the pings after it (the same time and place) is one fix.
    if (!fixes.empty() && fixes.back().time == fix.time && SamePlace(fixes.back(), fix)) return;
    fixes.push_back(std::move(fix));
}

std::vector<TrackFix> NavigationTrack::Fixes() const {
    std::vector<TrackFix> out = fixes;
    std::optional<double> before;
    for (std::size_t i = 0; i < out.size(); ++i) {
        std::size_t next = i + 1;
        while (next < out.size() && SamePlace(out[i], out[next])) ++next;
        if (next < out.size()) before = Bearing(out[i], out[next]);
        out[i].courseDeg = before;
    }
    return out;
}

bool CollectRecordingTrack(RecordingReader& reader, std::vector<TrackFix>& fixes,
                           svx::ExportReport& report) {
    NavigationTrack track;
    const bool read = reader.Walk(
        [&track, &report](const PingValues& ping) {
            track.Add(ping.nav);
            ++report.records;
            return true;
        },
        {}, report);
    fixes = track.Fixes();
    return read && report.error.empty();
}

}  // namespace rec
