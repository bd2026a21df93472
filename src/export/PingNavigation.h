#pragma once
// What the exports take from each record besides its echo lines: the record's time stamp; the
// position, speed, course, heading and fix time decoded from the record's NMEA sentences by the
// same decoder, in the same order, as playback decodes them; the attitude of the orientation
// block; and the altitude of the echo sounder's bottom detection.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "datafiles/RecordCodec.h"
#include "gps/GpsState.h"
#include "gps/GpsValues.h"
#include "gps/NmeaDecode.h"
#include "sensors/OrientationState.h"

namespace svx {

struct RecordClock {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, millis = 0;
    int DayOfYear() const;
    // Seconds since 1970-01-01 of the stamp read as UTC (for time differences).
    double Seconds() const;
};

struct PingNavigation {
    std::uint32_t ping = 0;
    RecordClock clock;
    // A position has been decoded in this record or an earlier one; newFix: in this one.
    bool hasFix = false;
    bool newFix = false;
    // The record carries GPS sentences; a record written while the GPS was lost carries none.
    bool gpsSentences = false;
    double latitude = 0.0, longitude = 0.0;  // signed degrees
    // The time of day of the last decoded fix ("hhmmss" of the sentences), when there is one.
    std::optional<int> fixSecondOfDay;
    int fixHundredths = 0;  // of that time, when its sentence carried them
    double speedKnots = 0.0;
    double courseDeg = 0.0;
    std::optional<double> headingDeg;  // a decoded true heading
    std::optional<OrientationReadings> attitude;
    std::optional<double> altitudeM;  // of this record's echo sounder samples
    std::optional<int> event;         // the record carries this event's mark
    int pingIntervalMs = 0;

    // The heading, or the course when no heading was ever decoded.
    double ShipHeading() const { return headingDeg ? *headingDeg : courseDeg; }
    // When the last fix was taken, in the seconds of RecordClock::Seconds: its own time of day
    // when the record clock agrees with it (the fix lies 0..5 s before the record), else the
    // record's time.
    double FixTime() const;
};

// Decodes record after record; the GPS values carry over from record to record as they do in
// playback, so a record without sentences keeps the last position.
class NavigationDecoder {
public:
    explicit NavigationDecoder(double declinationDeg = OrientationState{}.compassDeclination)
        : declination(declinationDeg) {}
    // The values below refer to the decoder's own copy of the sentences.
    NavigationDecoder(const NavigationDecoder&) = delete;
    NavigationDecoder& operator=(const NavigationDecoder&) = delete;

    PingNavigation Decode(const RecordView& record);
    // The last record's sentences, each decoded alone, and the values after the record.
    std::span<const NmeaValues> SentenceValues() const { return values; }
    const GpsValues& Values() const { return gps; }

private:
    void DecodeSentences(const RecordView& record, PingNavigation& out);

    std::array<std::string, kSentenceSlots> sentences;
    std::array<NmeaValues, kSentenceSlots> values;
    GpsValues gps;
    double declination;
    bool fixSeen = false;
    std::optional<int> lastFixTime;
    int lastFixHundredths = 0;
};

RecordClock ClockOf(const RecordView& record);

}  // namespace svx
