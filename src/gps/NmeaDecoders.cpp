// The five sentence decoders. Each reads currentSentence; a missing comma or a malformed field
// ends the decoding of the sentence, and whatever was stored before stays.

#include <string_view>

#include "common/TextFormat.h"
#include "gps/CycleTime.h"
#include "gps/GpsState.h"
#include "gps/NmeaFields.h"

namespace {

constexpr std::string_view kKnots = " Knots";
constexpr std::string_view kDegrees = " Deg.";

// A field of digits with one decimal point and at least two digits (the minutes) before it.
bool IsCoordinateField(std::string_view field, std::size_t point) {
    if (point == std::string_view::npos || point < 2) return false;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (i != point && !IsDigit(field[i])) return false;
    }
    return true;
}

}  // namespace

// A coordinate field between the commas at open and close, hemisphere letter after close.
// Returns false when the sentence's decoding must stop. An empty field (no fix) changes
// nothing and lets the decoding go on.
bool GpsState::DecodeCoordinate(std::size_t open, std::size_t close, bool latitude) {
    const std::string_view sentence = currentSentence;
    const std::string_view field = FieldBetween(sentence, open, close);
    if (field.empty()) return true;
    const std::size_t point = field.find('.');
    if (!IsCoordinateField(field, point)) return false;
    const std::size_t degreeDigits = point - 2;
    if (degreeDigits > (latitude ? 2u : 3u)) return false;
    double minutes = 0.0;
    ReadDecimal(field.substr(degreeDigits), minutes);
    const double value = LeadingDigits(field, degreeDigits) + minutes / 60.0;
    if (minutes >= 60.0 || value > (latitude ? 90.0 : 180.0)) return false;

    const char letter = close + 1 < sentence.size() ? sentence[close + 1] : ' ';
    // Two minute digits, the point and four decimals; fewer decimals are shown as they are.
    const std::size_t decimals = field.size() - point - 1;
    const std::string_view minutesText = field.substr(degreeDigits, decimals > 3 ? 7 : field.npos);
    std::string text;
    text.reserve(field.size() + 4);
    text.append(field.substr(0, degreeDigits)).append(".").append(minutesText);
    text.append(" ").push_back(letter);
    if (latitude) {
        gpsLatitude = value;
        gpsLatHemisphere = letter;
        latitudeText = std::move(text);
        latitudeDecoded = 1;
    } else {
        gpsLongitude = value;
        gpsLonHemisphere = letter;
        longitudeText = std::move(text);
        longitudeDecoded = 1;
    }
    return true;
}

// hhmmss at the comma open, any fraction after it ignored. A field that does not begin with
// six digits, or an hour, minute or second out of range, leaves the time text as it was.
void GpsState::DecodeTime(std::size_t open) {
    const std::string_view sentence = currentSentence;
    if (open + 6 >= sentence.size()) return;
    const std::string_view digits = sentence.substr(open + 1, 6);
    for (char c : digits) {
        if (!IsDigit(c)) return;
    }
    if (open + 7 < sentence.size() && IsDigit(sentence[open + 7])) return;
    const int hours = LeadingDigits(digits, 2);
    const int minutes = LeadingDigits(digits.substr(2), 2);
    const int seconds = LeadingDigits(digits.substr(4), 2);
    if (hours > 23 || minutes > 59 || seconds > 59) return;
    timeText = Printf("%02d:%02d:%02d", hours, minutes, seconds);
}

// An empty (or non-numeric) speed or course field leaves the value as it was.
void GpsState::DecodeSpeedField(std::size_t open, std::size_t close) {
    if (!ReadDecimal(FieldBetween(currentSentence, open, close), shipSpeedKnots)) return;
    speedText = OneDecimal(shipSpeedKnots, kKnots);
    speedDecoded = 1;
}

void GpsState::DecodeCourseField(std::size_t open, std::size_t close) {
    if (!ReadDecimal(FieldBetween(currentSentence, open, close), gpsCourse)) return;
    courseText = OneDecimal(gpsCourse, kDegrees);
    courseDecoded = 1;
}

// ddmmyy after the comma open.
void GpsState::DecodeDate(std::size_t open, std::size_t close) {
    const std::string_view field = FieldBetween(currentSentence, open, close);
    const int day = LeadingDigits(field, 2);
    const int month = LeadingDigits(field.substr(2), 2);
    const int yy = LeadingDigits(field.substr(4), 2);
    const int year = yy >= 70 ? 1900 + yy : 2000 + yy;
    dateText = Printf("%02d-%s-%04d", day, MonthAbbreviation(month), year);
}

// A position sentence that says the receiver has no fix (RMC or GLL status 'V', GGA quality
// 0) is remembered as such; any other position sentence clears that.
bool GpsState::ReportsNoFix(std::string_view sentence) {
    receiverSaysNoFix = SaysNoFix(sentence) ? 1 : 0;
    return receiverSaysNoFix != 0;
}

// The prefix followed by the first character of the field after the comma at fieldOpen.
void GpsState::SetQuality(const char* prefix, std::size_t fieldOpen) {
    qualityText = prefix;
    const std::size_t at = fieldOpen + 1;
    if (at < currentSentence.size()) {
        const char c = currentSentence[at];
        if (c > ' ' && c != ',' && c != '*' && c < 127) qualityText.push_back(c);
    }
}

// Fields: 1 time, 2 latitude, 3 N/S, 4 longitude, 5 E/W, 6 fix quality, 7 satellites.
void GpsState::DecodeGga(const GpsDecodeContext& context) {
    const std::string_view sentence = currentSentence;
    const CommaPositions comma(sentence);
    if (!comma.Has(7)) return;
    if (context.dialogVisible) {
        if (context.sentenceSet == 1 || context.sentenceSet == 3) {
            SetQuality("From GGA:  ", comma[6]);
        }
        satellitesInUse = LeadingDigits(sentence.substr(comma[7] + 1), 2);
    }
    if (sentence.find('.', comma[1]) == std::string_view::npos) return;
    DecodeTime(comma[1]);
    if (ReportsNoFix(sentence)) return;
    if (!DecodeCoordinate(comma[2], comma[3], true)) return;
    DecodeCoordinate(comma[4], comma[5], false);
}

// Fields: 1 time, 2 status, 3 latitude, 4 N/S, 5 longitude, 6 E/W, 7 speed in knots, 8 course,
// 9 date. With status 'V' only the time and the date are taken: the position, speed and
// course of a receiver without a fix are not current.
void GpsState::DecodeRmc(const GpsDecodeContext& context) {
    const std::string_view sentence = currentSentence;
    const CommaPositions comma(sentence);
    if (!comma.Has(2)) return;
    if (context.dialogVisible && context.sentenceSet == 2) SetQuality("From RMC:  ", comma[2]);
    if (sentence.find('.', comma[1]) == std::string_view::npos) return;
    DecodeTime(comma[1]);
    if (ReportsNoFix(sentence)) {
        if (comma.Has(10) && comma[10] >= comma[9] + 6) DecodeDate(comma[9], comma[10]);
        return;
    }
    if (!comma.Has(4) || !DecodeCoordinate(comma[3], comma[4], true)) return;
    if (!comma.Has(6) || !DecodeCoordinate(comma[5], comma[6], false)) return;
    if (comma.Has(8)) DecodeSpeedField(comma[7], comma[8]);
    if (comma.Has(9)) DecodeCourseField(comma[8], comma[9]);
    if (comma.Has(10) && comma[10] >= comma[9] + 6) DecodeDate(comma[9], comma[10]);
}

// Fields: 1 latitude, 2 N/S, 3 longitude, 4 E/W, 5 time, 6 status. With status 'V' only the
// time is taken.
void GpsState::DecodeGll(const GpsDecodeContext& context) {
    const std::string_view sentence = currentSentence;
    const CommaPositions comma(sentence);
    if (!comma.Has(6)) return;
    if (context.dialogVisible && context.sentenceSet == 0) SetQuality("From GLL:  ", comma[6]);
    if (!ReportsNoFix(sentence)) {
        if (!DecodeCoordinate(comma[1], comma[2], true)) return;
        if (!DecodeCoordinate(comma[3], comma[4], false)) return;
    }
    if (sentence.find('.', comma[5]) != std::string_view::npos) DecodeTime(comma[5]);
}

// Fields: 1 true course, 2 "T", 3 magnetic course, 4 "M", 5 knots, 6 "N", 7 km/h, 8 "K".
// Fields of one or two characters are ignored.
void GpsState::DecodeVtg() {
    const CommaPositions comma(currentSentence);
    if (comma.Has(2) && comma[2] - comma[1] - 1 > 2) DecodeCourseField(comma[1], comma[2]);
    if (comma.Has(6) && comma[6] - comma[5] - 1 > 2) DecodeSpeedField(comma[5], comma[6]);
}

// Field 1: true heading. An empty field is no heading: it neither changes the value nor
// counts as seen.
void GpsState::DecodeHdt() {
    const CommaPositions comma(currentSentence);
    if (!comma.Has(2)) return;
    if (!ReadDecimal(FieldBetween(currentSentence, comma[1], comma[2]), gpsHeading)) return;
    headingText = OneDecimal(gpsHeading, kDegrees);
    headingSeen = 1;
    readsWithoutHeading = 0;
    headingDecoded = 1;
}
