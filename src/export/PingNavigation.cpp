#include "export/PingNavigation.h"

#include <array>
#include <cmath>
#include <string>

#include "acquisition/HeadTable.h"
#include "gps/CycleTime.h"
#include "gps/GpsGaps.h"
#include "gps/TrackFixes.h"
#include "sensors/EchoSounder.h"
#include "sensors/OrientationFilter.h"

namespace svx {

namespace {

constexpr double kClockAgreementS = 5.0;

double SecondOfDay(const RecordClock& c) {
    return c.hour * 3600.0 + c.minute * 60.0 + c.second + c.millis / 1000.0;
}

}  // namespace

double PingNavigation::FixTime() const {
    const double recordTime = clock.Seconds();
    if (!fixSecondOfDay) return recordTime;
    const double fixOfDay = *fixSecondOfDay + fixHundredths / 100.0;
    const double late = std::fmod(SecondOfDay(clock) - fixOfDay + 86400.0, 86400.0);
    return late <= kClockAgreementS ? recordTime - late : recordTime;
}

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

// The hundredths of the decoded time, from the last of the record's position sentences whose
// time field carries that time (a sentence whose checksum fails included, as the record
// stores it).
int HundredthsOf(const std::array<std::string, kSentenceSlots>& sentences, const NmeaTime& time) {
    int hundredths = 0;
    for (const std::string& sentence : sentences) {
        const std::optional<NmeaTime> own = PositionSentenceTime(sentence);
        if (!own || own->SecondOfDay() != time.SecondOfDay()) continue;
        hundredths = own->millis / 10;
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

// The record's sentences are decoded in playback's order. Before them the position and the
// time are forgotten (the values stay), so that afterwards they tell whether this record's own
// sentences decoded a position and a time.
void NavigationDecoder::DecodeSentences(const RecordView& record, PingNavigation& out) {
    record.Sentences(sentences);
    gps.ForgetPositionAndTime();
    for (std::size_t i = 0; i < sentences.size(); ++i) {
        values[i] = DecodeNmea(sentences[i]);
        gps.Take(values[i]);
    }
    gps.FinishBatch();
    out.gpsSentences = CarriesGpsSentences(sentences);
    out.newFix = gps.latitudeKnown && gps.longitudeKnown;
    fixSeen = fixSeen || out.newFix;
    if (gps.time) {
        lastFixTime = gps.time->SecondOfDay();
        lastFixHundredths = HundredthsOf(sentences, *gps.time);
    }
    out.hasFix = fixSeen;
    out.latitude = gps.latitude;
    out.longitude = gps.longitude;
    out.fixSecondOfDay = lastFixTime;
    out.fixHundredths = lastFixHundredths;
    out.speedKnots = gps.speedKnots.value_or(0.0);
    out.courseDeg = gps.courseDeg.value_or(0.0);
    out.headingDeg = gps.headingDeg;
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
