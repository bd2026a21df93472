#include "export/ContactReport.h"

#include <GeographicLib/Geodesic.hpp>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>

#include "common/TextFormat.h"
#include "gps/NavigationTextParse.h"
#include "recordings/Recording.h"

namespace svx {

namespace {

// A fix stamped by a record clock that agrees with it (the fix at most this much older) is
// placed at its own time; otherwise at the time of the record that first carried it.
// Past the last fix a position is carried on along the track at most this long.
constexpr double kExtrapolateS = 3.0;

struct Fix {
    double time = 0.0, latitude = 0.0, longitude = 0.0;
};

// What the walk keeps of an event's ping.
struct PingFacts {
    double time = 0.0;
    RecordClock clock;
    double headingDeg = 0.0;
    double slantRangeM = 0.0;
    std::optional<double> altitudeM;
    std::uint8_t heads = 0;
    bool headingKnown = false;
};

// The ship's position at a time: between the fixes around it, carried on a little past the
// last one, held before the first.
std::optional<Fix> PositionAt(const std::vector<Fix>& fixes, double time) {
    if (fixes.empty()) return std::nullopt;
    auto after = std::upper_bound(fixes.begin(), fixes.end(), time,
                                  [](double t, const Fix& f) { return t < f.time; });
    if (after == fixes.begin()) return fixes.front();
    if (after == fixes.end()) {
        if (fixes.size() < 2 || time - fixes.back().time > kExtrapolateS) return fixes.back();
        after = fixes.end() - 1;
    }
    const Fix& a = *(after - 1);
    const Fix& b = *after;
    const double span = b.time - a.time;
    const double k = span > 0 ? (time - a.time) / span : 0.0;
    return Fix{time, a.latitude + k * (b.latitude - a.latitude),
               a.longitude + k * (b.longitude - a.longitude)};
}

std::string ClockText(const RecordClock& c) {
    return Printf("%04d-%02d-%02d %02d:%02d:%02d.%03d", c.year, c.month, c.day, c.hour, c.minute,
                  c.second, c.millis);
}

std::string EventTime(const EventRecord& e) {
    const std::string date = IsoDateOfText(WithoutLineEnd(e.date)).value_or("");
    const std::string time(TrimmedText(e.time));
    if (date.empty() && (time.empty() || time == "n/a")) return "unknown";
    return (date + " " + time).substr(date.empty() ? 1 : 0);
}

PingFacts FactsOf(const rec::PingValues& ping) {
    PingFacts f;
    f.clock = ping.nav.clock;
    f.time = ping.nav.clock.Seconds();
    f.headingKnown = ping.nav.headingDeg.has_value() || ping.nav.hasFix;
    f.headingDeg = ping.nav.ShipHeading();
    f.altitudeM = ping.nav.altitudeM;
    for (int h = 0; h < rec::kSideScanSlots; ++h) {
        const rec::SideScanLine& line = ping.heads[static_cast<std::size_t>(h)];
        if (!line.present) continue;
        f.heads = static_cast<std::uint8_t>(f.heads | (1u << h));
        f.slantRangeM = std::max(f.slantRangeM, line.slantRangeM);
    }
    return f;
}

// What a walk of a recording gives for its events: the facts of each event's ping (the first
// record of that ping number) and every fix of the ship.
struct Walked {
    std::map<std::int32_t, std::optional<PingFacts>> facts;
    std::vector<Fix> fixes;
};

bool WalkRecording(const std::string& path, Walked& walked, ExportReport& report,
                   const ExportProgress& progress) {
    std::string error;
    const std::unique_ptr<rec::RecordingReader> reader = rec::OpenRecording(path, error);
    if (!reader) {
        report.error = error;
        return false;
    }
    std::vector<Fix>& fixes = walked.fixes;
    return reader->Walk(
        [&](const rec::PingValues& ping) {
            ++report.records;
            const PingNavigation& nav = ping.nav;
            if (nav.hasFix && nav.newFix) {
                const Fix fix{nav.FixTime(), nav.latitude, nav.longitude};
                const bool same = !fixes.empty() && fixes.back().latitude == fix.latitude &&
                                  fixes.back().longitude == fix.longitude;
                if (!same && (fixes.empty() || fix.time > fixes.back().time)) fixes.push_back(fix);
            }
            const auto it = walked.facts.find(static_cast<std::int32_t>(nav.ping));
            if (it != walked.facts.end() && !it->second) it->second = FactsOf(ping);
            return true;
        },
        progress, report);
}

Contact ContactOf(const EventRecord& e, const Walked& walked) {
    Contact c;
    c.event = e.number;
    c.ping = e.pingNumber;
    c.acrossFraction = e.acrossFraction;
    c.annotation = std::string(WithoutLineEnd(e.annotation));
    c.starboard = e.acrossFraction >= 0.5;
    const auto it = walked.facts.find(e.pingNumber);
    c.pingFound = it != walked.facts.end() && it->second;
    if (!c.pingFound) {
        c.time = EventTime(e);
        return c;
    }
    const PingFacts& f = *it->second;
    c.time = ClockText(f.clock);
    c.headsPresent = f.heads;
    c.altitudeM = f.altitudeM;
    if (f.headingKnown) c.headingDeg = f.headingDeg;
    if (!(f.slantRangeM > 0)) return c;  // no side-scan line: nothing across the track
    c.slantRangeM = f.slantRangeM;
    c.acrossM =
        GroundDistance(std::fabs(e.acrossFraction - 0.5) * 2.0 * f.slantRangeM, f.altitudeM);
    const std::optional<Fix> ship = PositionAt(walked.fixes, f.time);
    if (!ship) return c;
    const ContactPlace place =
        PlaceContact({ship->latitude, ship->longitude, f.headingDeg, f.slantRangeM, f.altitudeM},
                     e.acrossFraction);
    c.latitude = place.latitude;
    c.longitude = place.longitude;
    c.utm = LatLonToUtm(place.latitude, place.longitude);
    return c;
}

}  // namespace

double GroundDistance(double slantM, const std::optional<double>& altitudeM) {
    if (!altitudeM) return slantM;
    if (slantM <= *altitudeM) return 0.0;
    return std::sqrt(slantM * slantM - *altitudeM * *altitudeM);
}

ContactPlace PlaceContact(const ContactGeometry& g, double acrossFraction) {
    ContactPlace place;
    place.starboard = acrossFraction >= 0.5;
    const double slant = std::fabs(acrossFraction - 0.5) * 2.0 * g.slantRangeM;
    place.acrossM = GroundDistance(slant, g.altitudeM);
    const double bearing = g.headingDeg + (place.starboard ? 90.0 : -90.0);
    GeographicLib::Geodesic::WGS84().Direct(g.shipLatitude, g.shipLongitude, bearing, place.acrossM,
                                            place.latitude, place.longitude);
    return place;
}

double ScaleBarMetres(double metres) {
    if (!(metres > 0)) return 0.0;
    const double third = metres / 3.0;
    double best = 0.0;
    for (double decade = std::pow(10.0, std::floor(std::log10(third))) / 10; decade <= third;
         decade *= 10) {
        for (const double step : {1.0, 2.0, 5.0}) {
            if (step * decade <= third * (1 + 1e-9)) best = step * decade;
        }
    }
    return best;
}

std::string ShownCoordinate(double degrees, bool latitude) {
    const char hemisphere = latitude ? (degrees < 0 ? 'S' : 'N') : (degrees < 0 ? 'W' : 'E');
    // Rounded in units of 1/10000 minute first, so that 59.99995 minutes carry into a degree.
    const auto units = static_cast<long long>(std::llround(std::fabs(degrees) * 600000.0));
    const long long whole = units / 600000, minutes = units % 600000;
    return Printf(latitude ? "%02lld.%02lld.%04lld %c" : "%03lld.%02lld.%04lld %c", whole,
                  minutes / 10000, minutes % 10000, hemisphere);
}

std::string ShownPosition(const Contact& c) {
    if (!c.latitude || !c.longitude) return "no position";
    return ShownCoordinate(*c.latitude, true) + " " + ShownCoordinate(*c.longitude, false);
}

bool CollectContacts(const std::string& path, int recording, const EventList& events,
                     int firstNumber, std::vector<Contact>& out, std::vector<TrackPoint>& track,
                     ExportReport& report, const ExportProgress& progress) {
    Walked walked;
    for (int i = 0; i < events.count; ++i) {
        walked.facts.try_emplace(events.entries[static_cast<std::size_t>(i)].pingNumber);
    }
    if (!WalkRecording(path, walked, report, progress)) return false;
    for (const Fix& f : walked.fixes) track.push_back({f.latitude, f.longitude});
    const std::string name = std::filesystem::path(path).filename().string();
    for (int i = 0; i < events.count; ++i) {
        Contact c = ContactOf(events.entries[static_cast<std::size_t>(i)], walked);
        c.number = firstNumber + i;
        c.file = name;
        c.recording = recording;
        out.push_back(std::move(c));
    }
    return true;
}

}  // namespace svx
