#include "gps/TrackFixes.h"

#include <array>

#include "gps/NavigationTextParse.h"
#include "gps/NmeaFields.h"

namespace {

bool IsPositionType(NmeaType type) {
    return type == NmeaType::Gga || type == NmeaType::Gll || type == NmeaType::Rmc;
}

// The navigation values as they stand after the batch.
void TakeValues(TrackFix& fix, const GpsValues& after) {
    fix.date = after.date ? IsoDate(*after.date) : std::string();
    fix.speedKnots = after.speedKnots;
    fix.courseDeg = after.courseDeg;
    fix.headingDeg = after.headingDeg;
}

constexpr std::array<std::string_view, 8> kReceiverTalkers = {"GP", "GN", "GL", "GA",
                                                              "GB", "GQ", "GI", "BD"};

}  // namespace

std::optional<std::string> FixTimeOfField(std::string_view field) {
    const std::optional<NmeaTime> time = TimeOfField(field);
    if (!time) return std::nullopt;
    return ClockTextWithMillis(*time);
}

std::optional<NmeaTime> PositionSentenceTime(std::string_view sentence) {
    const NmeaType type = NmeaTypeOf(sentence);
    if (!IsPositionType(type)) return std::nullopt;
    const int k = type == NmeaType::Gll ? 5 : 1;
    const CommaPositions comma(sentence);
    if (!comma.Has(k)) return std::nullopt;
    return TimeOfField(sentence.substr(comma[k] + 1));
}

bool IsReceiverTalker(std::string_view sentence) {
    if (sentence.size() < 3 || sentence[0] != '$') return false;
    for (const std::string_view talker : kReceiverTalkers) {
        if (sentence.substr(1, 2) == talker) return true;
    }
    return false;
}

std::string_view LogSentenceOfLine(std::string_view line) {
    return TrimmedText(line).substr(0, kSentenceMaxLength);
}

// Whether a sentence decodes a latitude or a longitude depends on that sentence only, so the
// values of each sentence read alone tell which sentences the batch took its position from.
// The position itself is the batch's, signed by its batch end. A batch whose only position is
// one its sentence flags as no fix (which the decoders do not take) gives an unfixed
// candidate, so that it is counted.
std::optional<TrackFixCollector::Candidate> TrackFixCollector::Examine(
    std::span<const NmeaValues> sentences, const GpsValues& after) {
    const NmeaValues* latitudeFrom = nullptr;
    const NmeaValues* noFixFrom = nullptr;
    bool longitude = false;
    std::optional<NmeaTime> batchTime;
    for (const NmeaValues& v : sentences) {
        if (!IsPositionType(v.type) || !v.decoded) continue;  // a corrupted sentence: no values
        if (v.fieldTime) batchTime = v.fieldTime;
        if (v.latitude) latitudeFrom = &v;
        if (v.longitude) longitude = true;
        if (v.saysNoFix.value_or(false) && !v.latitudeField.empty()) noFixFrom = &v;
    }
    Candidate candidate;
    if (latitudeFrom && longitude) {
        candidate.latitude = after.latitude;
        candidate.longitude = after.longitude;
        candidate.fixed = true;
        candidate.time = latitudeFrom->fieldTime ? latitudeFrom->fieldTime : batchTime;
        return candidate;
    }
    if (!noFixFrom) return std::nullopt;
    candidate.unfixedPosition = std::string(noFixFrom->latitudeField) + "," +
                                std::string(noFixFrom->longitudeField);
    candidate.time = noFixFrom->fieldTime ? noFixFrom->fieldTime : batchTime;
    return candidate;
}

void TrackFixCollector::AddBatch(std::span<const NmeaValues> sentences, const GpsValues& after,
                                 std::optional<BatchRecord> record) {
    if (record) gaps.Add(record->ping, record->carriesSentences);
    std::optional<Candidate> candidate = Examine(sentences, after);
    if (!candidate) return;
    if (last && *last == *candidate) {
        // The same fix again: a later sentence of it may have brought its speed or date.
        if (last->fixed && !fixes.empty()) TakeValues(fixes.back(), after);
        return;
    }
    last = std::move(candidate);
    if (!last->fixed) {
        ++withoutFix;
        return;
    }
    TrackFix fix;
    if (last->time) fix.time = ClockTextWithMillis(*last->time);
    fix.latitude = last->latitude;
    fix.longitude = last->longitude;
    if (record) fix.ping = record->ping;
    TakeValues(fix, after);
    Emit(std::move(fix));
}

void TrackFixCollector::Emit(TrackFix fix) {
    if (sink && !fixes.empty()) {
        sink(fixes.back());
        fixes.clear();
    }
    fixes.push_back(std::move(fix));
    ++fixCount;
}

void TrackFixCollector::Finish() {
    if (sink && !fixes.empty()) {
        sink(fixes.back());
        fixes.clear();
    }
}

void TrackFixCollector::AddDecodedBatch(const GpsState& state, std::optional<std::int64_t> ping) {
    std::lock_guard<std::mutex> guard(state.lock);
    std::array<NmeaValues, kSentenceSlots> sentences;
    for (std::size_t i = 0; i < sentences.size(); ++i) {
        sentences[i] = DecodeNmea(state.recentSentences[i]);
    }
    GpsValues after;
    after.latitude = state.gpsLatitude;
    after.longitude = state.gpsLongitude;
    if (state.speedDecoded) after.speedKnots = state.shipSpeedKnots;
    if (state.courseDecoded) after.courseDeg = state.gpsCourse;
    if (state.headingDecoded) after.headingDeg = state.gpsHeading;
    after.date = state.gpsDate;
    std::optional<BatchRecord> record;
    if (ping) record = BatchRecord{*ping, CarriesGpsSentences(state.recentSentences)};
    AddBatch(sentences, after, record);
}

void TrackFixCollector::AddLogLine(std::string_view line) {
    AddLogSentence(LogSentenceOfLine(line));
}

void TrackFixCollector::AddLogSentence(std::string_view sentence) {
    if (!IsReceiverTalker(sentence)) return;
    const NmeaValues values = DecodeNmea(sentence);
    log.Take(values);
    log.FinishBatch();
    AddBatch({&values, 1}, log);
}
