#include "gps/TrackFixes.h"

#include <array>

#include "common/TextFormat.h"
#include "gps/NavigationTextParse.h"
#include "gps/NmeaFields.h"

namespace {

enum class PositionKind { Other, Gga, Gll, Rmc };

PositionKind KindOf(std::string_view sentence) {
    if (sentence.size() < 6) return PositionKind::Other;
    const std::string_view type = sentence.substr(3, 3);
    if (type == "GGA") return PositionKind::Gga;
    if (type == "GLL") return PositionKind::Gll;
    if (type == "RMC") return PositionKind::Rmc;
    return PositionKind::Other;
}

// The latitude and longitude fields of a position sentence: fields 1 and 3 of GLL, 2 and 4
// of GGA, 3 and 5 of RMC. Empty when either is missing or empty.
std::string PositionFields(std::string_view sentence, PositionKind kind) {
    const int k = kind == PositionKind::Gll ? 1 : kind == PositionKind::Gga ? 2 : 3;
    const CommaPositions comma(sentence);
    if (kind == PositionKind::Other || !comma.Has(k + 3)) return {};
    const std::string_view latitude = FieldBetween(sentence, comma[k], comma[k + 1]);
    const std::string_view longitude = FieldBetween(sentence, comma[k + 2], comma[k + 3]);
    if (latitude.empty() || longitude.empty()) return {};
    return std::string(latitude) + "," + std::string(longitude);
}

// The time field: field 5 of GLL, field 1 of GGA and RMC.
std::optional<std::string> TimeOf(std::string_view sentence, PositionKind kind) {
    const int k = kind == PositionKind::Gll ? 5 : 1;
    const CommaPositions comma(sentence);
    if (kind == PositionKind::Other || !comma.Has(k)) return std::nullopt;
    return FixTimeOfField(sentence.substr(comma[k] + 1));
}

constexpr std::array<std::string_view, 8> kReceiverTalkers = {"GP", "GN", "GL", "GA",
                                                              "GB", "GQ", "GI", "BD"};

}  // namespace

std::optional<std::string> FixTimeOfField(std::string_view field) {
    if (field.size() < 6) return std::nullopt;
    for (std::size_t i = 0; i < 6; ++i) {
        if (!IsDigit(field[i])) return std::nullopt;
    }
    const int hours = LeadingDigits(field, 2);
    const int minutes = LeadingDigits(field.substr(2), 2);
    const int seconds = LeadingDigits(field.substr(4), 2);
    if (hours > 23 || minutes > 59 || seconds > 59) return std::nullopt;
    if (field.size() > 6 && IsDigit(field[6])) return std::nullopt;
    char fraction[4] = {'0', '0', '0', 0};
    if (field.size() > 6 && field[6] == '.') {
        for (std::size_t i = 0; i < 3 && 7 + i < field.size() && IsDigit(field[7 + i]); ++i) {
            fraction[i] = field[7 + i];
        }
    }
    return Printf("%02d:%02d:%02d.%s", hours, minutes, seconds, fraction);
}

std::optional<std::string> PositionSentenceTime(std::string_view sentence) {
    return TimeOf(sentence, KindOf(sentence));
}

bool IsReceiverTalker(std::string_view sentence) {
    if (sentence.size() < 3 || sentence[0] != '$') return false;
    for (const std::string_view talker : kReceiverTalkers) {
        if (sentence.substr(1, 2) == talker) return true;
    }
    return false;
}

// Each sentence is decoded alone in the probe: whether a sentence decodes a latitude or a
// longitude depends on that sentence only, so the probe finds the sentences the batch took its
// position from. The position itself is the state's, signed by its batch end. A batch whose
// only position is one its sentence flags as no fix (which the decoders do not take) gives an
// unfixed candidate, so that it is counted.
std::optional<TrackFixCollector::Candidate> TrackFixCollector::Examine(const GpsState& state) {
    std::lock_guard<std::mutex> guard(probe.lock);
    int latitudeFrom = -1, noFixFrom = -1;
    bool longitude = false;
    std::optional<std::string> batchTime;
    for (int i = 0; i < kSentenceSlots; ++i) {
        const std::string& sentence = state.recentSentences[static_cast<std::size_t>(i)];
        const PositionKind kind = KindOf(sentence);
        if (kind == PositionKind::Other) continue;
        probe.Reset(false);
        probe.currentSentence = sentence;
        probe.ParseGpsSentence({});
        if (!probe.anyDecoded) continue;  // a corrupted sentence is not decoded
        if (auto time = TimeOf(sentence, kind)) batchTime = std::move(time);
        if (probe.latitudeDecoded) latitudeFrom = i;
        if (probe.longitudeDecoded) longitude = true;
        if (probe.receiverSaysNoFix && !PositionFields(sentence, kind).empty()) noFixFrom = i;
    }
    Candidate candidate;
    if (latitudeFrom >= 0 && longitude) {
        const std::string& source = state.recentSentences[static_cast<std::size_t>(latitudeFrom)];
        candidate.latitude = state.gpsLatitude;
        candidate.longitude = state.gpsLongitude;
        candidate.fixed = true;
        candidate.time = TimeOf(source, KindOf(source)).value_or(batchTime.value_or(""));
        return candidate;
    }
    if (noFixFrom < 0) return std::nullopt;
    const std::string& source = state.recentSentences[static_cast<std::size_t>(noFixFrom)];
    candidate.unfixedPosition = PositionFields(source, KindOf(source));
    candidate.time = TimeOf(source, KindOf(source)).value_or(batchTime.value_or(""));
    return candidate;
}

namespace {

// The navigation values of the state as they stand after the batch.
void TakeValues(TrackFix& fix, const GpsState& state) {
    fix.date = IsoDateOfText(state.dateText).value_or("");
    fix.speedKnots =
        state.speedDecoded ? std::optional<double>(state.shipSpeedKnots) : std::nullopt;
    fix.courseDeg = state.courseDecoded ? std::optional<double>(state.gpsCourse) : std::nullopt;
    fix.headingDeg = state.headingDecoded ? std::optional<double>(state.gpsHeading) : std::nullopt;
}

}  // namespace

void TrackFixCollector::AddDecodedBatch(const GpsState& state, std::optional<std::int64_t> ping) {
    std::lock_guard<std::mutex> guard(state.lock);
    if (ping) gaps.Add(*ping, CarriesGpsSentences(state.recentSentences));
    std::optional<Candidate> candidate = Examine(state);
    if (!candidate) return;
    if (last && *last == *candidate) {
        // The same fix again: a later sentence of it may have brought its speed or date.
        if (last->fixed && !fixes.empty()) TakeValues(fixes.back(), state);
        return;
    }
    last = candidate;
    if (!candidate->fixed) {
        ++withoutFix;
        return;
    }
    TrackFix fix;
    fix.time = candidate->time;
    fix.latitude = candidate->latitude;
    fix.longitude = candidate->longitude;
    fix.ping = ping;
    TakeValues(fix, state);
    fixes.push_back(std::move(fix));
}

void TrackFixCollector::AddLogLine(std::string_view line) {
    line = TrimmedText(line);
    if (!IsReceiverTalker(line)) return;
    {
        std::lock_guard<std::mutex> guard(own.lock);
        for (std::string& slot : own.recentSentences) slot.clear();
        // Cut like a received sentence, to the slot a record would store it in.
        own.recentSentences[0].assign(line.substr(0, kSentenceMaxLength));
    }
    own.ReplayRecordedSentences({});
    AddDecodedBatch(own, std::nullopt);
}
