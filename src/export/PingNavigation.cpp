#include "export/PingNavigation.h"

#include <array>
#include <string>

#include "acquisition/HeadTable.h"
#include "gps/CycleTime.h"
#include "gps/GpsGaps.h"
#include "gps/TrackFixes.h"
#include "sensors/EchoSounder.h"
#include "sensors/OrientationFilter.h"

namespace svx {

namespace {

bool IsLeap(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

// Days from 1970-01-01 to the civil date (proleptic Gregorian).
long long DaysFromCivil(int year, int month, int day) {
    year -= month <= 2 ? 1 : 0;
    const long long era = (year >= 0 ? year : year - 399) / 400;
    const long long yoe = year - era * 400;
    const long long doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

// "hh:mm:ss" as seconds of the day, or nothing for "n/a".
std::optional<int> SecondOfDay(const std::string& text) {
    if (text.size() != 8 || text[2] != ':' || text[5] != ':') return std::nullopt;
    return DecimalValue(text.c_str(), 2) * 3600 + DecimalValue(text.c_str() + 3, 2) * 60 +
           DecimalValue(text.c_str() + 6, 2);
}

std::optional<double> EchoSounderAltitude(const RecordView& record) {
    if (!record.Layout().HasHead(kHeadES)) return std::nullopt;
    std::array<std::uint8_t, kEsInputSamples> column{};
    const int range = record.Range(kHeadES);
    ResampleEchoSamples(record.Line(kHeadES), kEsInputSamples, column.data());
    CutBeyondRange(column.data(), kEsInputSamples, range);
    double altitude = 0.0;
    if (!DetectBottom(column.data(), kEsInputSamples, range, altitude)) return std::nullopt;
    return altitude;
}

// The hundredths of the decoded time "hh:mm:ss", from the last of the record's position
// sentences whose time field carries that time (the display text keeps whole seconds only).
int HundredthsOf(const std::array<std::string, kSentenceSlots>& sentences,
                 const std::string& timeText) {
    int hundredths = 0;
    for (const std::string& sentence : sentences) {
        const std::optional<std::string> time = PositionSentenceTime(sentence);
        if (!time || time->compare(0, 8, timeText) != 0) continue;
        hundredths = DecimalValue(time->c_str() + 9, 2);  // "hh:mm:ss.sss"
    }
    return hundredths;
}

}  // namespace

int RecordClock::DayOfYear() const {
    static constexpr int kBefore[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
    if (month < 1 || month > 12) return 0;
    return kBefore[month - 1] + day + (month > 2 && IsLeap(year) ? 1 : 0);
}

double RecordClock::Seconds() const {
    return static_cast<double>(DaysFromCivil(year, month, day)) * 86400.0 + hour * 3600.0 +
           minute * 60.0 + second + millis / 1000.0;
}

RecordClock ClockOf(const RecordView& record) {
    CycleTime time;
    const std::string date(record.DateText()), clock(record.TimeText()),
        millis(record.MillisText());
    ParseRecordTime(date.c_str(), clock.c_str(), time);
    RecordClock out;
    out.year = time.year;
    out.month = time.month;
    out.day = time.day;
    out.hour = time.hour;
    out.minute = time.minute;
    out.second = time.second;
    out.millis = DecimalValue(millis.c_str(), 3);
    return out;
}

// The record's sentences go through the playback's replay. Before it the position and time
// texts are set back to "n/a": they are display texts only (the values stay), so afterwards
// they tell whether this record's own sentences decoded a position and a time.
void NavigationDecoder::DecodeSentences(const RecordView& record, PingNavigation& out) {
    {
        std::lock_guard<std::mutex> guard(gps.lock);
        record.Sentences(gps.recentSentences);
        gps.latitudeText = gps.longitudeText = gps.timeText = "n/a";
    }
    gps.ReplayRecordedSentences({record.SentenceSet(), false});
    std::lock_guard<std::mutex> guard(gps.lock);
    out.gpsSentences = CarriesGpsSentences(gps.recentSentences);
    out.newFix = gps.latitudeText != "n/a" && gps.longitudeText != "n/a";
    fixSeen = fixSeen || out.newFix;
    if (const std::optional<int> time = SecondOfDay(gps.timeText)) {
        lastFixTime = time;
        lastFixHundredths = HundredthsOf(gps.recentSentences, gps.timeText);
    }
    out.hasFix = fixSeen;
    out.latitude = gps.gpsLatitude;
    out.longitude = gps.gpsLongitude;
    out.fixSecondOfDay = lastFixTime;
    out.fixHundredths = lastFixHundredths;
    out.speedKnots = gps.shipSpeedKnots;
    out.courseDeg = gps.gpsCourse;
    if (gps.headingDecoded) out.headingDeg = gps.gpsHeading;
}

PingNavigation NavigationDecoder::Decode(const RecordView& record) {
    PingNavigation out;
    out.ping = record.PingNumber();
    out.clock = ClockOf(record);
    DecodeSentences(record, out);
    const bool echoSounder = record.Layout().HasHead(kHeadES);
    if (echoSounder && record.OrientationPresent()) {
        out.attitude = ConvertRawBlock(record.Line(kHeadES) + kEsInputSamples, declination);
    }
    out.altitudeM = EchoSounderAltitude(record);
    const std::uint16_t mark = record.EventMark();
    if (mark & kEventFlag) out.event = mark & 0xFF;  // the event number as playback reads it
    out.pingIntervalMs = record.PingIntervalMs();
    return out;
}

}  // namespace svx
