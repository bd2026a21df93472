#pragma once
// The decoders of the five NMEA sentences the program reads (GGA, GLL, RMC, VTG, HDT) as pure
// functions: a sentence in, the values it carries out, with no state, lock or text. The GPS
// reader applies the values to GpsState, which makes the display texts from them; the exports
// fold them into GpsValues.
//
// A value is present only where the application takes it: a malformed coordinate ends the
// decoding of its sentence (what came before stays), an empty or non-numeric speed, course or
// heading field is no value, and a position sentence that says the receiver has no fix
// (RMC or GLL status 'V', GGA quality 0) gives no position, speed or course.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

enum class NmeaType : std::uint8_t { Other, Gga, Gll, Rmc, Vtg, Hdt };

// The type named by the three letters after the talker ("$GPGGA" is Gga).
NmeaType NmeaTypeOf(std::string_view sentence);

struct NmeaCoordinate {
    double degrees = 0.0;          // unsigned decimal degrees; the hemisphere gives the sign
    char hemisphere = ' ';         // the character after the field (' ' at the sentence's end)
    std::string_view field;        // the field as received ("4807.038"), a view into the sentence
    std::size_t degreeDigits = 0;  // of the field's leading digits, those of the degrees
};

// A UTC time of day; millis are the first three digits of the fraction (".5" is 500).
struct NmeaTime {
    int hour = 0, minute = 0, second = 0, millis = 0;
    int SecondOfDay() const { return hour * 3600 + minute * 60 + second; }
    bool operator==(const NmeaTime&) const = default;
};

// A ddmmyy date as read: the two-digit year is 1970..2069; the day and month are the leading
// digits of their places (0 where there are none) and need not name a real day.
struct NmeaDate {
    int day = 0, month = 0, year = 0;
    bool operator==(const NmeaDate&) const = default;
};

struct NmeaValues {
    NmeaType type = NmeaType::Other;
    // A sentence of one of the five types, framed by a '$', longer than nine characters and
    // without a checksum that fails. Only such a sentence has values; it counts as decoded even
    // when it carries none.
    bool decoded = false;

    // The character the configuration dialog shows as the quality (GGA field 6, RMC field 2,
    // GLL field 6): present once the sentence has that field, '\0' when the field holds no
    // printable character.
    std::optional<char> quality;
    std::optional<int> satellites;  // GGA field 7, its first two digits (0 without digits)

    // A position sentence that got as far as its status says whether the receiver has a fix.
    std::optional<bool> saysNoFix;
    std::optional<NmeaCoordinate> latitude, longitude;
    std::optional<NmeaTime> time;  // taken as the display takes it
    std::optional<NmeaDate> date;
    std::optional<double> speedKnots, courseDeg, headingDeg;

    // The time field of a position sentence (GGA and RMC field 1, GLL field 5) when it holds a
    // valid time, whatever else the sentence decodes: the time a track export stamps a fix
    // with.
    std::optional<NmeaTime> fieldTime;
    // The latitude and longitude fields of a position sentence as received, whether or not they
    // decode (both empty when either is missing).
    std::string_view latitudeField, longitudeField;
};

// Decodes one sentence ("$GPGGA,...*hh", with or without its line end).
NmeaValues DecodeNmea(std::string_view sentence);

// A time field ("123519.25", anything after the time ignored): six digits of a valid time of
// day not followed by a seventh digit, and up to three digits of a fraction.
std::optional<NmeaTime> TimeOfField(std::string_view field);

// "hh:mm:ss" and "hh:mm:ss.sss".
std::string ClockText(const NmeaTime& time);
std::string ClockTextWithMillis(const NmeaTime& time);

// "yyyy-mm-dd", or empty when the date names no real day (an unknown month, day 0, 31 February).
std::string IsoDate(const NmeaDate& date);
