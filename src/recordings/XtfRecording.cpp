// The XTF reader of recordings: the pings of a side-scan XTF file with the navigation, attitude
// and altitude the file gives, and each port and starboard channel on the head whose frequency
// is nearest to the channel's, its samples turned into the display's bytes by the file's own
// display map.

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>

#include "datafiles/DataFile.h"
#include "datafiles/XtfDisplayMap.h"
#include "recordings/Recording.h"

namespace rec {

namespace {

constexpr std::uint64_t kProgressEvery = 64;  // pings between two progress calls

svx::RecordClock ClockOf(const xtf::PingTime& t) {
    return {t.year, t.month, t.day, t.hour, t.minute, t.second, t.hundredths * 10};
}

class XtfNavigation {
public:
    explicit XtfNavigation(xtf::NavUnits units) : units(units) {}

    svx::PingNavigation Decode(const xtf::Ping& ping) {
        svx::PingNavigation nav;
        nav.ping = ping.pingNumber;
        nav.clock = ClockOf(ping.time);
        const xtf::FixTime& f = ping.fixTime;
        const bool fixTimed = f.hour || f.minute || f.second || f.hundredths;
        if (fixTimed) {
            nav.fixSecondOfDay = f.hour * 3600 + f.minute * 60 + f.second;
            nav.fixHundredths = f.hundredths;
        }
        TakePosition(ping, nav, fixTimed);
        nav.speedKnots = ping.SpeedKnots();
        const float heading = ping.ShipHeading();
        nav.headingDeg = heading;
        nav.courseDeg = heading;
        OrientationReadings attitude;
        attitude.pitchDeg = ping.pitch;
        attitude.rollDeg = ping.roll;
        attitude.headingDeg = ping.heading;
        attitude.depthM = ping.depth;
        attitude.altitudeM = ping.altitude;
        nav.attitude = attitude;
        if (ping.altitude > 0) nav.altitudeM = ping.altitude;
        return nav;
    }

private:
    // Only positions in degrees place a ping on the earth; the first of the sensor's and the
    // ship's that is one. A ping that gives its fix's time carries that fix, as a record
    // carries the sentences of its fix; without a fix time only a position that differs from
    // the ping before is a new fix, so that a position repeated over many pings is placed at
    // the first of them and the pings between two positions are spread between them.
    void TakePosition(const xtf::Ping& ping, svx::PingNavigation& nav, bool fixTimed) {
        const std::optional<xtf::Coordinates> at = PositionInDegrees(ping, units);
        if (at) {
            nav.newFix = fixTimed || !known || last.y != at->y || last.x != at->x;
            last = *at;
            known = true;
        }
        nav.hasFix = known;
        nav.latitude = last.y;
        nav.longitude = last.x;
    }

    xtf::NavUnits units;
    bool known = false;  // a position has been read; `last` holds the latest
    xtf::Coordinates last;
};

class XtfReader : public RecordingReader {
public:
    explicit XtfReader(std::string path) : path(std::move(path)) {}
    const char* Format() const override { return "xtf"; }

    bool Walk(const PingVisitor& onPing, const svx::ExportProgress& progress,
              svx::ExportReport& report) override {
        DataFile file;
        errno = 0;
        if (!file.Open(path, DataFile::Mode::Read)) {
            report.error = "cannot open " + path + ": " + std::strerror(errno ? errno : ENOENT);
            return false;
        }
        svx::FileBytes bytes(file, file.Length());
        xtf::Reader reader(bytes);
        std::string error;
        if (!reader.Open(error)) {
            report.error = path + ": " + error;
            return false;
        }
        Note(reader.File(), report);
        const xtf::DisplayMap map = xtf::DisplayMapForFile(bytes, reader.File());
        reader.Rewind();
        XtfNavigation navigation(reader.File().navUnits);
        xtf::Ping ping;
        PingValues values;
        std::uint64_t seen = 0;
        bool more = true;
        while (more && reader.NextPing(ping)) {
            if (progress && ++seen % kProgressEvery == 0 && !progress(ping.offset, bytes.Size())) {
                report.cancelled = true;
                break;
            }
            values.offset = ping.offset;
            values.nav = navigation.Decode(ping);
            TakeChannels(ping, map, values);
            more = onPing(values);
        }
        for (const xtf::DamagedStretch& s : reader.Damage()) {
            report.damage.push_back({s.offset, s.bytes, xtf::DamageText(s.damage)});
        }
        if (progress && more && !report.cancelled && !progress(bytes.Size(), bytes.Size())) {
            report.cancelled = true;
        }
        return true;
    }

private:
    static void Note(const xtf::FileDescription& file, svx::ExportReport& report) {
        if (file.navUnits == xtf::NavUnits::Projected) {
            report.notes.push_back(
                "the positions of " + file.fileName +
                " are metres of a projection the file does not name: its pings have no "
                "position");
        }
    }

    // Each port and starboard channel on the slot nearest its frequency; a side already
    // taken in this ping keeps its first channel.
    void TakeChannels(const xtf::Ping& ping, const xtf::DisplayMap& map, PingValues& values) {
        for (SideScanLine& line : values.heads) line.present = false;
        std::array<std::array<bool, 2>, kSideScanSlots> taken{};
        for (const xtf::Channel& channel : ping.channels) {
            const int slot = NearestSlot(channel.frequencyKHz);
            const bool starboard = channel.type == xtf::ChannelType::Starboard;
            bool& side = taken[static_cast<std::size_t>(slot)][starboard ? 1 : 0];
            if (side) continue;
            side = true;
            SideScanLine& line = values.heads[static_cast<std::size_t>(slot)];
            if (!line.present) {
                line.present = true;
                line.port.clear();
                line.starboard.clear();
                line.slantRangeM = 0;
            }
            line.frequencyKHz = channel.frequencyKHz;
            line.slantRangeM = std::max<double>(line.slantRangeM, channel.slantRange);
            std::vector<std::uint8_t>& out = starboard ? line.starboard : line.port;
            out.resize(channel.samples.count);
            map.Map(channel.samples, out.data());
            if (channel.FarthestFirst()) std::reverse(out.begin(), out.end());
        }
    }

    std::string path;
};

}  // namespace

std::optional<xtf::Coordinates> PositionInDegrees(const xtf::Ping& ping, xtf::NavUnits units) {
    if (units != xtf::NavUnits::Degrees) return std::nullopt;
    for (const auto& c : {ping.sensor, ping.ship}) {
        if (c && std::isfinite(c->y) && std::isfinite(c->x) && std::fabs(c->y) <= 90.0 &&
            std::fabs(c->x) <= 180.0) {
            return c;
        }
    }
    return std::nullopt;
}

std::unique_ptr<RecordingReader> OpenXtfRecording(const std::string& path) {
    return std::make_unique<XtfReader>(path);
}

}  // namespace rec
