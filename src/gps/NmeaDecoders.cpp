// What a decoded sentence changes in GpsState: its values, and the display texts made from
// them. Whatever a sentence does not carry stays as it was.

#include <string_view>

#include "gps/CycleTime.h"
#include "gps/GpsState.h"
#include "gps/NmeaDecode.h"
#include "gps/NmeaFields.h"

namespace {

constexpr std::string_view kKnots = " Knots";
constexpr std::string_view kDegrees = " Deg.";

// The degree digits, ".", two minute digits, the point and at most four decimals (fewer are
// shown as they are), a blank and the hemisphere letter: "48.07.038 N".
std::string CoordinateText(const NmeaCoordinate& c) {
    const std::string_view field = c.field;
    const std::size_t decimals = field.size() - c.degreeDigits - 3;
    const std::string_view minutes = field.substr(c.degreeDigits, decimals > 3 ? 7 : field.npos);
    std::string text;
    text.reserve(field.size() + 4);
    text.append(field.substr(0, c.degreeDigits)).append(".").append(minutes);
    text.append(" ").push_back(c.hemisphere);
    return text;
}

// "23-MAR-1994"; a month out of range leaves its place empty.
std::string DateText(const NmeaDate& date) {
    std::string text;
    text.reserve(11);
    text.push_back(static_cast<char>('0' + date.day / 10 % 10));
    text.push_back(static_cast<char>('0' + date.day % 10));
    text.append("-").append(MonthAbbreviation(date.month)).append("-");
    for (int scale = 1000; scale > 0; scale /= 10) {
        text.push_back(static_cast<char>('0' + date.year / scale % 10));
    }
    return text;
}

// The sentence whose status the dialog shows as the quality, for each sentence selection:
// GLL + VTG (0), GGA + VTG (1), RMC (2), VTG (3: from GGA).
const char* QualityPrefix(NmeaType type, std::int32_t sentenceSet) {
    switch (type) {
        case NmeaType::Gga:
            return sentenceSet == 1 || sentenceSet == 3 ? "From GGA:  " : nullptr;
        case NmeaType::Rmc:
            return sentenceSet == 2 ? "From RMC:  " : nullptr;
        case NmeaType::Gll:
            return sentenceSet == 0 ? "From GLL:  " : nullptr;
        default:
            return nullptr;
    }
}

}  // namespace

// A sentence whose checksum does not match is corrupted and not decoded.
void GpsState::ParseGpsSentence(const GpsDecodeContext& context) {
    gpsDataChanged = 1;
    const NmeaValues values = DecodeNmea(currentSentence);
    if (!values.decoded) return;
    TakeValues(values, context);
    anyDecoded = 1;
}

void GpsState::TakeValues(const NmeaValues& v, const GpsDecodeContext& context) {
    if (context.dialogVisible) TakeDialogValues(v, context);
    if (v.time) {
        gpsTime = v.time;
        timeText = ClockText(*v.time);
    }
    if (v.saysNoFix) receiverSaysNoFix = *v.saysNoFix ? 1 : 0;
    if (v.latitude) {
        gpsLatitude = v.latitude->degrees;
        gpsLatHemisphere = v.latitude->hemisphere;
        latitudeText = CoordinateText(*v.latitude);
        latitudeDecoded = 1;
    }
    if (v.longitude) {
        gpsLongitude = v.longitude->degrees;
        gpsLonHemisphere = v.longitude->hemisphere;
        longitudeText = CoordinateText(*v.longitude);
        longitudeDecoded = 1;
    }
    if (v.speedKnots) {
        shipSpeedKnots = *v.speedKnots;
        speedText = OneDecimal(shipSpeedKnots, kKnots);
        speedDecoded = 1;
    }
    if (v.courseDeg) {
        gpsCourse = *v.courseDeg;
        courseText = OneDecimal(gpsCourse, kDegrees);
        courseDecoded = 1;
    }
    if (v.date) {
        gpsDate = v.date;
        dateText = DateText(*v.date);
    }
    if (v.headingDeg) {
        gpsHeading = *v.headingDeg;
        headingText = OneDecimal(gpsHeading, kDegrees);
        headingSeen = 1;
        readsWithoutHeading = 0;
        headingDecoded = 1;
    }
}

// The quality box shows the status of the selection's sentence; the satellites box always
// takes GGA's count.
void GpsState::TakeDialogValues(const NmeaValues& v, const GpsDecodeContext& context) {
    if (v.quality) {
        if (const char* prefix = QualityPrefix(v.type, context.sentenceSet)) {
            qualityText = prefix;
            if (*v.quality != 0) qualityText.push_back(*v.quality);
        }
    }
    if (v.satellites) satellitesInUse = *v.satellites;
}
