#pragma once
// The position fixes of a recording or of an NMEA log, for the track exports. Each batch of
// sentences is decoded exactly as the application decodes it (the playback sequence of a
// record, or one log line as a batch of its own); a batch that decodes a position gives a fix.
// A fix repeated by later batches (the same time and position: records stored between two
// reads of the receiver carry the same sentences) is one fix. Positions whose sentence says
// there is no fix (RMC or GLL status 'V', GGA quality 0) are not decoded; they are only
// counted. Records that carry no sentence at all (the GPS was lost while they were recorded)
// are counted as well, with the pings that begin and end each such gap.

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "gps/GpsGaps.h"
#include "gps/GpsState.h"
#include "gps/GpsValues.h"
#include "gps/NmeaDecode.h"

struct TrackFix {
    std::string time;       // UTC "hh:mm:ss.sss" as received; empty when the batch had no time
    std::string date;       // "yyyy-mm-dd" of the last decoded date; empty before one
    double latitude = 0.0;  // signed decimal degrees
    double longitude = 0.0;
    std::optional<double> speedKnots, courseDeg, headingDeg;  // once decoded
    std::optional<std::int64_t> ping;  // the first record that carried the fix
};

// Where a batch came from: a record of a recording (its ping, and whether it carried any
// sentence), or nothing for a line of a log.
struct BatchRecord {
    std::int64_t ping = 0;
    bool carriesSentences = true;
};

class TrackFixCollector {
public:
    // Takes each fix once it is final (no later batch can change it). Without a sink the
    // collector keeps every fix in Fixes().
    using FixSink = std::function<void(const TrackFix&)>;
    TrackFixCollector() = default;
    explicit TrackFixCollector(FixSink sink) : sink(std::move(sink)) {}

    // One batch: the values of each of its sentences decoded alone, and the values the batch
    // left behind (after its batch end). With a record the batch joins the gaps when the
    // record carried no sentence.
    void AddBatch(std::span<const NmeaValues> sentences, const GpsValues& after,
                  std::optional<BatchRecord> record = std::nullopt);
    // A batch just decoded into `state` (after a record was played); its sentences are the
    // state's recentSentences. Takes the state's lock.
    void AddDecodedBatch(const GpsState& state, std::optional<std::int64_t> ping);
    // One line of an NMEA log, decoded in the collector's own values as one batch. Lines that
    // are not a sentence of a satellite receiver's talker are skipped.
    void AddLogLine(std::string_view line);
    // The same for a line already trimmed and cut to a sentence's length (LogSentenceOfLine).
    void AddLogSentence(std::string_view sentence);
    // Hands the last fix to the sink; nothing more may be added.
    void Finish();

    // Without a sink every fix; with one, at most the last fix, not yet handed over.
    const std::vector<TrackFix>& Fixes() const { return fixes; }
    // Every fix found so far.
    std::uint64_t FixCount() const { return fixCount; }
    // Distinct positions left out because their sentence said there was no fix.
    int WithoutFix() const { return withoutFix; }
    // The records that carried no sentence at all.
    const GpsGaps& Gaps() const { return gaps; }

private:
    struct Candidate {
        std::optional<NmeaTime> time;
        double latitude = 0.0, longitude = 0.0;
        bool fixed = false;
        std::string unfixedPosition;  // the fields of a position flagged as no fix
        bool operator==(const Candidate& o) const {
            return time == o.time && latitude == o.latitude && longitude == o.longitude &&
                   fixed == o.fixed && unfixedPosition == o.unfixedPosition;
        }
    };
    // Which sentence of the batch gave the position, whether it was a fix, and the time.
    static std::optional<Candidate> Examine(std::span<const NmeaValues> sentences,
                                            const GpsValues& after);
    void Emit(TrackFix fix);

    FixSink sink;
    GpsValues log;  // the values of an NMEA log
    std::vector<TrackFix> fixes;
    std::uint64_t fixCount = 0;
    std::optional<Candidate> last;
    int withoutFix = 0;
    GpsGaps gaps;
};

// What of a log line is decoded: the line without the blanks at its ends, cut to the length
// of a record's sentence slot.
std::string_view LogSentenceOfLine(std::string_view line);

// The UTC time of a time field ("123519.25" as "12:35:19.250"); nothing unless it begins with
// six digits of a valid time of day.
std::optional<std::string> FixTimeOfField(std::string_view field);

// The time field of a GGA, GLL or RMC sentence, whether or not the sentence's checksum holds;
// nothing for other sentences or without a valid time field.
std::optional<NmeaTime> PositionSentenceTime(std::string_view sentence);

// Whether the two talker letters of a sentence are those of a satellite receiver (GP, GN, GL,
// GA, GB, GQ, GI, BD).
bool IsReceiverTalker(std::string_view sentence);
