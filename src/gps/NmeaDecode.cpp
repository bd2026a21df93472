#include "gps/NmeaDecode.h"

#include "gps/NmeaFields.h"

namespace {

// A field of digits with one decimal point and at least two digits (the minutes) before it.
bool IsCoordinateField(std::string_view field, std::size_t point) {
    if (point == std::string_view::npos || point < 2) return false;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (i != point && !IsDigit(field[i])) return false;
    }
    return true;
}

// What one sentence's fields give; each step says whether the decoding goes on.
class SentenceReader {
public:
    SentenceReader(std::string_view text, NmeaValues& out) : sentence(text), comma(text), v(out) {}

    void Gga();
    void Gll();
    void Rmc();
    void Vtg();
    void Hdt();

private:
    std::string_view Field(int k) const { return FieldBetween(sentence, comma[k], comma[k + 1]); }
    // A coordinate field k, its hemisphere after it. False when the sentence's decoding must
    // stop; an empty field (no fix) gives nothing and lets the decoding go on.
    bool Coordinate(int k, bool latitude);
    void Time(int k) { v.time = TimeOfField(sentence.substr(comma[k] + 1)); }
    void Quality(int k);
    bool DotAfter(int k) const { return sentence.find('.', comma[k]) != std::string_view::npos; }
    // Field k is a date of at least five characters.
    void Date(int k);
    void PositionFields(int k);
    // The status character of field k is one of the two that say "no fix".
    bool StatusIs(int k, char upper, char lower) const {
        const std::size_t at = comma[k] + 1;
        const char c = at < sentence.size() ? sentence[at] : ',';
        return c == upper || c == lower;
    }
    void FieldTime(int k) {
        if (comma.Has(k)) v.fieldTime = TimeOfField(sentence.substr(comma[k] + 1));
    }

    std::string_view sentence;
    CommaPositions comma;
    NmeaValues& v;
};

bool SentenceReader::Coordinate(int k, bool latitude) {
    const std::string_view field = Field(k);
    if (field.empty()) return true;
    const std::size_t point = field.find('.');
    if (!IsCoordinateField(field, point)) return false;
    const std::size_t degreeDigits = point - 2;
    if (degreeDigits > (latitude ? 2u : 3u)) return false;
    double minutes = 0.0;
    ReadDecimal(field.substr(degreeDigits), minutes);
    const double value = LeadingDigits(field, degreeDigits) + minutes / 60.0;
    if (minutes >= 60.0 || value > (latitude ? 90.0 : 180.0)) return false;
    const std::size_t close = comma[k + 1];
    NmeaCoordinate c;
    c.degrees = value;
    c.hemisphere = close + 1 < sentence.size() ? sentence[close + 1] : ' ';
    c.field = field;
    c.degreeDigits = degreeDigits;
    (latitude ? v.latitude : v.longitude) = c;
    return true;
}

void SentenceReader::Quality(int k) {
    const std::size_t at = comma[k] + 1;
    char letter = 0;
    if (at < sentence.size()) {
        const char c = sentence[at];
        if (c > ' ' && c != ',' && c != '*' && c < 127) letter = c;
    }
    v.quality = letter;
}

void SentenceReader::Date(int k) {
    if (!comma.Has(k + 1) || comma[k + 1] < comma[k] + 6) return;
    const std::string_view field = Field(k);
    NmeaDate date;
    date.day = LeadingDigits(field, 2);
    date.month = LeadingDigits(field.substr(2), 2);
    const int yy = LeadingDigits(field.substr(4), 2);
    date.year = yy >= 70 ? 1900 + yy : 2000 + yy;
    v.date = date;
}

void SentenceReader::PositionFields(int k) {
    if (!comma.Has(k + 3)) return;
    v.latitudeField = Field(k);
    v.longitudeField = Field(k + 2);
    if (v.latitudeField.empty() || v.longitudeField.empty()) v.latitudeField = v.longitudeField = {};
}

// Fields: 1 time, 2 latitude, 3 N/S, 4 longitude, 5 E/W, 6 fix quality, 7 satellites.
void SentenceReader::Gga() {
    FieldTime(1);
    PositionFields(2);
    if (!comma.Has(7)) return;
    Quality(6);
    v.satellites = LeadingDigits(sentence.substr(comma[7] + 1), 2);
    if (!DotAfter(1)) return;
    Time(1);
    v.saysNoFix = StatusIs(6, '0', '0');
    if (*v.saysNoFix || !Coordinate(2, true)) return;
    Coordinate(4, false);
}

// Fields: 1 latitude, 2 N/S, 3 longitude, 4 E/W, 5 time, 6 status. With status 'V' only the
// time is taken.
void SentenceReader::Gll() {
    FieldTime(5);
    PositionFields(1);
    if (!comma.Has(6)) return;
    Quality(6);
    v.saysNoFix = StatusIs(6, 'V', 'v');
    if (!*v.saysNoFix && (!Coordinate(1, true) || !Coordinate(3, false))) return;
    if (DotAfter(5)) Time(5);
}

// Fields: 1 time, 2 status, 3 latitude, 4 N/S, 5 longitude, 6 E/W, 7 speed in knots, 8 course,
// 9 date. With status 'V' only the time and the date are taken.
void SentenceReader::Rmc() {
    FieldTime(1);
    PositionFields(3);
    if (!comma.Has(2)) return;
    Quality(2);
    if (!DotAfter(1)) return;
    Time(1);
    v.saysNoFix = StatusIs(2, 'V', 'v');
    if (*v.saysNoFix) return Date(9);
    if (!comma.Has(4) || !Coordinate(3, true)) return;
    if (!comma.Has(6) || !Coordinate(5, false)) return;
    double value = 0.0;
    if (comma.Has(8) && ReadDecimal(Field(7), value)) v.speedKnots = value;
    if (comma.Has(9) && ReadDecimal(Field(8), value)) v.courseDeg = value;
    Date(9);
}

// Fields: 1 true course, 2 "T", 3 magnetic course, 4 "M", 5 knots, 6 "N", 7 km/h, 8 "K".
// Fields of one or two characters are ignored.
void SentenceReader::Vtg() {
    double value = 0.0;
    if (comma.Has(2) && Field(1).size() > 2 && ReadDecimal(Field(1), value)) v.courseDeg = value;
    if (comma.Has(6) && Field(5).size() > 2 && ReadDecimal(Field(5), value)) v.speedKnots = value;
}

// Field 1: true heading.
void SentenceReader::Hdt() {
    double value = 0.0;
    if (comma.Has(2) && ReadDecimal(Field(1), value)) v.headingDeg = value;
}

void TwoDigits(std::string& out, int value) {
    out.push_back(static_cast<char>('0' + value / 10 % 10));
    out.push_back(static_cast<char>('0' + value % 10));
}

}  // namespace

NmeaType NmeaTypeOf(std::string_view sentence) {
    if (sentence.size() < 6) return NmeaType::Other;
    const std::string_view type = sentence.substr(3, 3);
    if (type == "GGA") return NmeaType::Gga;
    if (type == "GLL") return NmeaType::Gll;
    if (type == "RMC") return NmeaType::Rmc;
    if (type == "VTG") return NmeaType::Vtg;
    if (type == "HDT") return NmeaType::Hdt;
    return NmeaType::Other;
}

NmeaValues DecodeNmea(std::string_view sentence) {
    NmeaValues v;
    v.type = NmeaTypeOf(sentence);
    if (v.type == NmeaType::Other || sentence.size() <= 9 || sentence[0] != '$') return v;
    if (CheckSentence(sentence) == Checksum::Invalid) return v;
    v.decoded = true;
    SentenceReader reader(sentence, v);
    switch (v.type) {
        case NmeaType::Gga: reader.Gga(); break;
        case NmeaType::Gll: reader.Gll(); break;
        case NmeaType::Rmc: reader.Rmc(); break;
        case NmeaType::Vtg: reader.Vtg(); break;
        case NmeaType::Hdt: reader.Hdt(); break;
        case NmeaType::Other: break;
    }
    return v;
}

std::optional<NmeaTime> TimeOfField(std::string_view field) {
    if (field.size() < 6) return std::nullopt;
    for (std::size_t i = 0; i < 6; ++i) {
        if (!IsDigit(field[i])) return std::nullopt;
    }
    if (field.size() > 6 && IsDigit(field[6])) return std::nullopt;
    NmeaTime time;
    time.hour = LeadingDigits(field, 2);
    time.minute = LeadingDigits(field.substr(2), 2);
    time.second = LeadingDigits(field.substr(4), 2);
    if (time.hour > 23 || time.minute > 59 || time.second > 59) return std::nullopt;
    if (field.size() > 6 && field[6] == '.') {
        int scale = 100;
        for (std::size_t i = 7; i < 10 && i < field.size() && IsDigit(field[i]); ++i) {
            time.millis += (field[i] - '0') * scale;
            scale /= 10;
        }
    }
    return time;
}

std::string ClockText(const NmeaTime& time) {
    std::string text;
    text.reserve(8);
    TwoDigits(text, time.hour);
    text.push_back(':');
    TwoDigits(text, time.minute);
    text.push_back(':');
    TwoDigits(text, time.second);
    return text;
}

std::string ClockTextWithMillis(const NmeaTime& time) {
    std::string text = ClockText(time);
    text.push_back('.');
    text.push_back(static_cast<char>('0' + time.millis / 100));
    TwoDigits(text, time.millis);
    return text;
}

std::string IsoDate(const NmeaDate& date) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (date.month < 1 || date.month > 12) return {};
    const int year = date.year;
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    const int days = date.month == 2 && leap ? 29 : kDays[date.month - 1];
    if (date.day < 1 || date.day > days || year < 0 || year > 9999) return {};
    std::string iso;
    iso.reserve(10);
    TwoDigits(iso, year / 100);
    TwoDigits(iso, year % 100);
    iso.push_back('-');
    TwoDigits(iso, date.month);
    iso.push_back('-');
    TwoDigits(iso, date.day);
    return iso;
}
