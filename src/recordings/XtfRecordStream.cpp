#include "recordings/XtfRecordStream.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstring>

#include "acquisition/HeadTable.h"
#include "acquisition/RangeList.h"
#include "common/TextFormat.h"
#include "export/PingNavigation.h"
#include "gps/CycleTime.h"
#include "recordings/Recording.h"

namespace rec {

namespace {

constexpr int kHalf = 1000;           // samples a side in a record's line
constexpr int kRmcSentenceSet = 2;    // the receiver sends RMC
constexpr std::array<std::uint8_t, 128> kNoBlock{};  // command and reply header

std::string WithChecksum(const std::string& body) {
    unsigned sum = 0;
    for (const char c : body) sum ^= static_cast<unsigned char>(c);
    return "$" + body + Printf("*%02X", sum);
}

// "ddmm.mmmmmm,N" or "dddmm.mmmmmm,E".
std::string NmeaAngle(double degrees, bool latitude) {
    const char hemisphere = latitude ? (degrees < 0 ? 'S' : 'N') : (degrees < 0 ? 'W' : 'E');
    const double a = std::fabs(degrees);
    int whole = static_cast<int>(a);
    double minutes = (a - whole) * 60.0;
    if (minutes >= 59.9999995) {
        whole += 1;
        minutes = 0;
    }
    return Printf(latitude ? "%02d%09.6f,%c" : "%03d%09.6f,%c", whole, minutes, hemisphere);
}

// The shortest decimal text that reads back as the same float: a value the file's writer took
// from a text ("3.7", "92.35") reads back as that text's value, not as the float's binary
// neighbourhood of it (3.70000005).
std::string FloatText(float value) {
    std::array<char, 64> text{};
    const auto end = std::to_chars(text.data(), text.data() + text.size(), value,
                                   std::chars_format::fixed);
    if (end.ec != std::errc()) return "0";
    return std::string(text.data(), end.ptr);
}

// The ping's interval in ms as the recorder gave it in the first channel that gives one; 0
// when none does.
std::uint16_t RecordedInterval(const xtf::Ping& ping) {
    for (const xtf::Channel& c : ping.channels) {
        const double ms = static_cast<double>(c.secondsPerPing) * 1000.0;
        if (std::isfinite(ms) && ms >= 1.0 && ms <= 65535.0) {
            return static_cast<std::uint16_t>(std::lround(ms));
        }
    }
    return 0;
}

// The intervals between the ping times (whole hundredths), the first ping's taken as long as
// the second's.
std::vector<std::uint16_t> TimedIntervals(const std::vector<double>& seconds) {
    std::vector<std::uint16_t> intervals(seconds.size(), 0);
    for (std::size_t k = 1; k < seconds.size(); ++k) {
        intervals[k] = static_cast<std::uint16_t>(
            std::clamp(std::lround((seconds[k] - seconds[k - 1]) * 1000), 0L, 65535L));
    }
    if (intervals.size() > 1) intervals[0] = intervals[1];
    return intervals;
}

double Seconds(const xtf::PingTime& t) {
    return svx::RecordClock{t.year, t.month, t.day, t.hour, t.minute, t.second, t.hundredths * 10}
        .Seconds();
}

// The range of the list at or above the largest slant range (10 .. 500 m).
int RangeFor(double slantRangeM) {
    for (int i = kMinRangeIndex; i <= kMaxRangeIndex; ++i) {
        if (kRangeList[static_cast<std::size_t>(i)] >= slantRangeM) {
            return kRangeList[static_cast<std::size_t>(i)];
        }
    }
    return kRangeList[kMaxRangeIndex];
}

// The side's samples (nearest first, n of them over r metres) at 1000 points over `range`,
// written outward from `nadir` in steps of `step` (-1 port, +1 starboard).
void Resample(const std::vector<std::uint8_t>& side, double r, int range, std::uint8_t* nadir,
              int step) {
    const double n = static_cast<double>(side.size());
    for (int d = 0; d < kHalf; ++d) {
        const double distance = (d + 0.5) * range / kHalf;
        std::uint8_t value = 0;
        if (distance < r && !side.empty()) {
            const auto i = static_cast<std::size_t>(distance / r * n);
            value = side[std::min(i, side.size() - 1)];
        }
        nadir[step * d] = value;
    }
}

}  // namespace

std::unique_ptr<XtfRecordStream> XtfRecordStream::Open(const std::string& path,
                                                       std::string& error) {
    std::unique_ptr<XtfRecordStream> stream(new XtfRecordStream);
    if (!stream->file.Open(path, DataFile::Mode::Read)) {
        error = "cannot open " + path;
        return nullptr;
    }
    stream->bytes = std::make_unique<svx::FileBytes>(stream->file, stream->file.Length());
    stream->reader = std::make_unique<xtf::Reader>(*stream->bytes);
    if (!stream->reader->Open(error)) {
        error = path + ": " + error;
        return nullptr;
    }
    stream->map = xtf::DisplayMapForFile(*stream->bytes, stream->reader->File());
    if (!stream->Index(error)) {
        error = path + ": " + error;
        return nullptr;
    }
    return stream;
}

bool XtfRecordStream::Index(std::string& error) {
    reader->Rewind();
    const xtf::FileDescription& description = reader->File();
    double widest = 0;
    IndexedPing last;
    std::vector<double> times;
    bool recordedIntervals = false;  // some ping gives its interval
    while (reader->NextPing(ping)) {
        IndexedPing entry = last;
        entry.offset = ping.offset;
        if (const auto at = PositionInDegrees(ping, description.navUnits)) {
            entry.latitude = at->y;
            entry.longitude = at->x;
            entry.positioned = true;
        }
        entry.intervalMs = RecordedInterval(ping);
        recordedIntervals = recordedIntervals || entry.intervalMs != 0;
        times.push_back(Seconds(ping.time));
        for (const xtf::Channel& c : ping.channels) {
            widest = std::max<double>(widest, c.slantRange);
            const auto slot = static_cast<std::size_t>(NearestSlot(c.frequencyKHz));
            if (!slots[slot]) slotKHz[slot] = c.frequencyKHz;
            slots[slot] = true;
        }
        pings.push_back(entry);
        last = entry;
    }
    // A recorder that gives the intervals is taken at its word (exact; a ping it gives none
    // for, before its first measurement, has none, as a record without one); the intervals
    // of a file that never gives one come from its ping times.
    if (!recordedIntervals) {
        const std::vector<std::uint16_t> timed = TimedIntervals(times);
        for (std::size_t k = 0; k < pings.size(); ++k) pings[k].intervalMs = timed[k];
    }
    damage = reader->Damage();
    if (pings.empty()) {
        error = "the file holds no side-scan ping";
        if (!damage.empty()) error += ": " + xtf::DamageLine(damage.front());
        return false;
    }
    rangeM = RangeFor(widest);
    if (widest > rangeM) {
        notes.push_back(Printf("slant ranges up to %.1f m are shown to %d m", widest, rangeM));
    }
    if (description.navUnits == xtf::NavUnits::Projected) {
        notes.push_back("positions in projected metres are not shown (no projection is named)");
    }
    recordLength = svx::RecordLength(static_cast<int>(std::count(slots.begin(), slots.end(), true)),
                                     false, {});
    record.assign(svx::kMaxRecordLength, 0);
    return true;
}

std::uint64_t XtfRecordStream::Size() const {
    return static_cast<std::uint64_t>(pings.size()) * recordLength;
}

std::size_t XtfRecordStream::ReadAt(std::uint64_t offset, std::uint8_t* out, std::size_t n) {
    std::size_t done = 0;
    while (done < n && offset + done < Size()) {
        const std::uint64_t at = offset + done;
        const auto k = static_cast<std::size_t>(at / recordLength);
        const auto within = static_cast<std::size_t>(at % recordLength);
        Encode(k);
        const std::size_t take = std::min<std::size_t>(n - done, recordLength - within);
        std::memcpy(out + done, record.data() + within, take);
        done += take;
    }
    for (auto it = written.lower_bound(offset); it != written.end() && it->first < offset + done;
         ++it) {
        out[it->first - offset] = it->second;
    }
    return done;
}

bool XtfRecordStream::WriteAt(std::uint64_t offset, const std::uint8_t* data, std::size_t n) {
    if (offset + n > Size()) return false;
    for (std::size_t i = 0; i < n; ++i) written[offset + i] = data[i];
    return true;
}

void XtfRecordStream::FillLines() {
    for (auto& line : lines) line.fill(0);
    std::array<std::array<bool, 2>, kSideScanSlots> taken{};
    for (const xtf::Channel& c : ping.channels) {
        const auto slot = static_cast<std::size_t>(NearestSlot(c.frequencyKHz));
        const bool starboard = c.type == xtf::ChannelType::Starboard;
        bool& side = taken[slot][starboard ? 1 : 0];
        if (side) continue;
        side = true;
        std::vector<std::uint8_t>& samples = sides[starboard ? 1 : 0];
        samples.resize(c.samples.count);
        map.Map(c.samples, samples.data());
        if (c.FarthestFirst()) std::reverse(samples.begin(), samples.end());
        std::uint8_t* nadir = lines[slot].data() + (starboard ? kHalf : kHalf - 1);
        Resample(samples, c.slantRange, rangeM, nadir, starboard ? 1 : -1);
    }
}

std::array<std::string, 10> XtfRecordStream::Sentences(const IndexedPing& at) const {
    std::array<std::string, 10> sentences;
    if (!at.positioned) return sentences;
    const xtf::PingTime& t = ping.time;
    const xtf::FixTime& f = ping.fixTime;
    const bool fixTimed = f.hour || f.minute || f.second || f.hundredths;
    const std::string time =
        fixTimed ? Printf("%02d%02d%02d.%02d", f.hour, f.minute, f.second, f.hundredths)
                 : Printf("%02d%02d%02d.%02d", t.hour, t.minute, t.second, t.hundredths);
    const float speed = ping.SpeedKnots();
    const float heading = ping.ShipHeading();
    sentences[0] = WithChecksum(Printf("GPRMC,%s,A,%s,%s,%s,%s,%02d%02d%02d,,,A", time.c_str(),
                                       NmeaAngle(at.latitude, true).c_str(),
                                       NmeaAngle(at.longitude, false).c_str(),
                                       FloatText(std::fabs(speed)).c_str(),
                                       FloatText(heading).c_str(), t.day, t.month, t.year % 100));
    sentences[1] = WithChecksum(Printf("GPHDT,%s,T", FloatText(heading).c_str()));
    return sentences;
}

void XtfRecordStream::Encode(std::size_t k) {
    if (k == encoded) return;
    encoded = k;
    reader->MoveTo(pings[k].offset);
    if (!reader->NextPing(ping) || ping.offset != pings[k].offset) ping = xtf::Ping{};
    FillLines();
    const xtf::PingTime& t = ping.time;
    const std::string date = Printf("%02d-%s-%04d", t.day, MonthAbbreviation(t.month), t.year);
    const std::string clock = Printf("%02d:%02d:%02d", t.hour, t.minute, t.second);
    const std::string millis = Printf("%03d", t.hundredths * 10);
    const std::array<std::string, 10> sentences = Sentences(pings[k]);
    svx::CycleSource cycle;
    cycle.pingNumber = ping.pingNumber;
    cycle.samplesPerHalf = kHalf;
    cycle.date = date;
    cycle.time = clock;
    cycle.millis = millis;
    cycle.sentenceSet = kRmcSentenceSet;
    cycle.pingIntervalMs = pings[k].intervalMs;
    cycle.sentences = &sentences;
    for (std::size_t slot = 0; slot < kSideScanSlots; ++slot) {
        if (!slots[slot]) continue;
        svx::HeadSource& head = cycle.heads[slot];
        head.present = true;
        head.frequencyHz = static_cast<std::uint32_t>(std::lround(slotKHz[slot] * 1000.0));
        head.range = static_cast<std::uint16_t>(rangeM);
        head.command = kNoBlock.data();
        head.replyHeader = kNoBlock.data();
        head.line = lines[slot].data();
        ++cycle.headsInSystem;
    }
    svx::EncodeRecord(cycle, record.data());
}

PlayedHeads XtfRecordStream::Heads() const {
    PlayedHeads heads;
    for (std::size_t slot = 0; slot < slots.size(); ++slot) {
        heads.present[slot] = slots[slot];
        if (slots[slot]) heads.frequencyHz[slot] = static_cast<std::int32_t>(std::lround(slotKHz[slot] * 1000.0));
    }
    return heads;
}

}  // namespace rec
