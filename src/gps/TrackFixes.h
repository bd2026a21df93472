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
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "gps/GpsGaps.h"
#include "gps/GpsState.h"

struct TrackFix {
    std::string time;       // UTC "hh:mm:ss.sss" as received; empty when the batch had no time
    std::string date;       // "yyyy-mm-dd" of the last decoded date; empty before one
    double latitude = 0.0;  // signed decimal degrees
    double longitude = 0.0;
    std::optional<double> speedKnots, courseDeg, headingDeg;  // once decoded
    std::optional<std::int64_t> ping;  // the first record that carried the fix
};

class TrackFixCollector {
public:
    // A batch just decoded into `state` (the document's, after a record was played); its
    // sentences are the state's recentSentences. With a ping the batch is a record, and a
    // record without sentences joins the gaps. Takes the state's lock.
    void AddDecodedBatch(const GpsState& state, std::optional<std::int64_t> ping);
    // One line of an NMEA log, decoded in the collector's own state as one batch. Lines that
    // are not a sentence of a satellite receiver's talker are skipped.
    void AddLogLine(std::string_view line);

    const std::vector<TrackFix>& Fixes() const { return fixes; }
    // Distinct positions left out because their sentence said there was no fix.
    int WithoutFix() const { return withoutFix; }
    // The records that carried no sentence at all.
    const GpsGaps& Gaps() const { return gaps; }

private:
    struct Candidate {
        std::string time;
        double latitude = 0.0, longitude = 0.0;
        bool fixed = false;
        std::string unfixedPosition;  // the fields of a position flagged as no fix
        bool operator==(const Candidate& o) const {
            return time == o.time && latitude == o.latitude && longitude == o.longitude &&
                   fixed == o.fixed && unfixedPosition == o.unfixedPosition;
        }
    };
    // Which sentence of the batch gave the position, whether it was a fix, and the time.
    std::optional<Candidate> Examine(const GpsState& state);

    GpsState own;    // the decoding state of an NMEA log
    GpsState probe;  // decodes one sentence at a time to see what it carries
    std::vector<TrackFix> fixes;
    std::optional<Candidate> last;
    int withoutFix = 0;
    GpsGaps gaps;
};

// The UTC time of a time field ("123519.25" as "12:35:19.250"); nothing unless it begins with
// six digits of a valid time of day.
std::optional<std::string> FixTimeOfField(std::string_view field);

// The UTC time of a GGA, GLL or RMC sentence ("hh:mm:ss.sss"); nothing for other sentences or
// without a valid time field.
std::optional<std::string> PositionSentenceTime(std::string_view sentence);

// Whether the two talker letters of a sentence are those of a satellite receiver (GP, GN, GL,
// GA, GB, GQ, GI, BD).
bool IsReceiverTalker(std::string_view sentence);
