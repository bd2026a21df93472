// The pure decoders: what each sentence gives, sentence by sentence, with no state behind it.

#include <gtest/gtest.h>

#include <limits>
#include <optional>

#include "gps/NmeaDecode.h"
#include "gps/NmeaTestSupport.h"

namespace {

// What a case expects; a NaN or a negative number means "no value".
struct Expected {
    bool decoded;
    double latitude, longitude;  // unsigned degrees
    char latHemisphere, lonHemisphere;
    int noFix;  // -1: not said, 0: has a fix, 1: no fix
    int secondOfDay, millis;  // -1: no time
    double speed, course, heading;
    int day, month, year;  // day -1: no date
};

constexpr double kNone = std::numeric_limits<double>::quiet_NaN();

void ExpectOptional(const std::optional<double>& value, double expected, const char* what,
                    const std::string& sentence) {
    if (expected != expected) {
        EXPECT_FALSE(value) << what << " of " << sentence;
    } else {
        ASSERT_TRUE(value) << what << " of " << sentence;
        EXPECT_NEAR(*value, expected, 1e-9) << what << " of " << sentence;
    }
}

void ExpectCoordinate(const std::optional<NmeaCoordinate>& c, double degrees, char hemisphere,
                      const char* what, const std::string& sentence) {
    if (degrees != degrees) {
        EXPECT_FALSE(c) << what << " of " << sentence;
        return;
    }
    ASSERT_TRUE(c) << what << " of " << sentence;
    EXPECT_NEAR(c->degrees, degrees, 1e-9) << what << " of " << sentence;
    EXPECT_EQ(c->hemisphere, hemisphere) << what << " of " << sentence;
}

void Check(const std::string& sentence, const Expected& e) {
    const NmeaValues v = DecodeNmea(sentence);
    EXPECT_EQ(v.decoded, e.decoded) << sentence;
    ExpectCoordinate(v.latitude, e.latitude, e.latHemisphere, "latitude", sentence);
    ExpectCoordinate(v.longitude, e.longitude, e.lonHemisphere, "longitude", sentence);
    EXPECT_EQ(v.saysNoFix ? (*v.saysNoFix ? 1 : 0) : -1, e.noFix) << sentence;
    EXPECT_EQ(v.time.has_value(), e.secondOfDay >= 0) << sentence;
    if (v.time && e.secondOfDay >= 0) {
        EXPECT_EQ(v.time->SecondOfDay(), e.secondOfDay) << sentence;
        EXPECT_EQ(v.time->millis, e.millis) << sentence;
    }
    ExpectOptional(v.speedKnots, e.speed, "speed", sentence);
    ExpectOptional(v.courseDeg, e.course, "course", sentence);
    ExpectOptional(v.headingDeg, e.heading, "heading", sentence);
    if (e.day < 0) {
        EXPECT_FALSE(v.date) << sentence;
    } else {
        EXPECT_EQ(v.date, (std::optional<NmeaDate>(NmeaDate{e.day, e.month, e.year}))) << sentence;
    }
}

constexpr double kLat = 48.0 + 7.038 / 60.0;
constexpr double kLon = 11.0 + 31.0 / 60.0;
constexpr int kT = 12 * 3600 + 35 * 60 + 19;

TEST(NmeaValuesTest, EachSentenceGivesItsValues) {
    struct Case {
        std::string body;
        Expected e;
    };
    const Case cases[] = {
        {"GPGGA,123519.25,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,",
         {true, kLat, kLon, 'N', 'E', 0, kT, 250, kNone, kNone, kNone, -1, 0, 0}},
        {"GPRMC,123519,A,4807.038,S,01131.000,W,022.4,084.4,230394,003.1,W",
         {true, kLat, kLon, 'S', 'W', 0, kT, 0, 22.4, 84.4, kNone, 23, 3, 1994}},
        {"GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,010170,,",
         {true, kLat, kLon, 'N', 'E', 0, kT, 0, 22.4, 84.4, kNone, 1, 1, 1970}},
        {"GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,311269,,",
         {true, kLat, kLon, 'N', 'E', 0, kT, 0, 22.4, 84.4, kNone, 31, 12, 2069}},
        {"GPGLL,4807.038,N,01131.000,E,123519.5,A",
         {true, kLat, kLon, 'N', 'E', 0, kT, 500, kNone, kNone, kNone, -1, 0, 0}},
        {"GPVTG,054.7,T,034.4,M,005.5,N,010.2,K",
         {true, kNone, kNone, 0, 0, -1, -1, 0, 5.5, 54.7, kNone, -1, 0, 0}},
        {"HEHDT,274.07,T", {true, kNone, kNone, 0, 0, -1, -1, 0, kNone, kNone, 274.07, -1, 0, 0}},
        // Sentences the program does not read carry nothing.
        {"GPGSV,3,1,11,03,03,111,00,04,15,270,00", {false, kNone, kNone, 0, 0, -1, -1, 0, kNone,
                                                    kNone, kNone, -1, 0, 0}},
    };
    for (const Case& c : cases) Check(Nmea(c.body), c.e);
}

TEST(NmeaValuesTest, TheChecksumDecidesWhetherASentenceIsDecoded) {
    const std::string good = Nmea("GPHDT,086.5,T");
    std::string corrupted = good;
    corrupted[8] = '7';
    std::string lowerCase = good;  // hex digits in lower case
    for (std::size_t i = lowerCase.find('*'); i < lowerCase.size(); ++i) {
        lowerCase[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(lowerCase[i])));
    }
    struct Case {
        std::string sentence;
        bool decoded;
    };
    const Case cases[] = {
        {good, true},
        {corrupted, false},
        {lowerCase, true},
        {"$GPHDT,086.5,T", true},  // no checksum at all
        {"$GPHDT,086.5,T*", false},
        {"$GPHDT,086.5,T*4", false},
        {"$GPHDT,086.5,T*ZZ", false},
        {"GPHDT,086.5,T*" + good.substr(good.find('*') + 1), false},  // no '$'
        {"$GPHDT,1", false},                                         // nine characters
    };
    for (const Case& c : cases) {
        const NmeaValues v = DecodeNmea(c.sentence);
        EXPECT_EQ(v.decoded, c.decoded) << c.sentence;
        EXPECT_EQ(v.headingDeg.has_value(), c.decoded) << c.sentence;
    }
}

TEST(NmeaValuesTest, EmptyAndMalformedFieldsGiveNothingAndMayEndTheSentence) {
    struct Case {
        std::string body;
        Expected e;
    };
    const Case cases[] = {
        // Empty position fields of a receiver without a fix: the time and the date only.
        {"GPRMC,123519.00,A,,,,,,,230394,,",
         {true, kNone, kNone, 0, 0, 0, kT, 0, kNone, kNone, kNone, 23, 3, 1994}},
        // A malformed latitude ends the sentence: no longitude, speed, course or date.
        {"GPRMC,123519,A,48x7.038,N,01131.000,E,022.4,084.4,230394,,",
         {true, kNone, kNone, 0, 0, 0, kT, 0, kNone, kNone, kNone, -1, 0, 0}},
        // A malformed longitude ends it after the latitude.
        {"GPGGA,123519,4807.038,N,0113x.000,E,1,08,0.9,545.4,M,46.9,M,,",
         {true, kLat, kNone, 'N', 0, 0, kT, 0, kNone, kNone, kNone, -1, 0, 0}},
        // Minutes of 60 and more than 90 degrees are malformed.
        {"GPGLL,4860.000,N,01131.000,E,123519.5,A",
         {true, kNone, kNone, 0, 0, 0, -1, 0, kNone, kNone, kNone, -1, 0, 0}},
        {"GPGLL,9100.000,N,01131.000,E,123519.5,A",
         {true, kNone, kNone, 0, 0, 0, -1, 0, kNone, kNone, kNone, -1, 0, 0}},
        // Empty speed and course fields; a date of four characters is no date.
        {"GPRMC,123519,A,4807.038,N,01131.000,E,,,2303,,",
         {true, kLat, kLon, 'N', 'E', 0, kT, 0, kNone, kNone, kNone, -1, 0, 0}},
        // VTG fields of one or two characters are no values.
        {"GPVTG,54,T,034.4,M,5,N,010.2,K",
         {true, kNone, kNone, 0, 0, -1, -1, 0, kNone, kNone, kNone, -1, 0, 0}},
        {"GPHDT,,T", {true, kNone, kNone, 0, 0, -1, -1, 0, kNone, kNone, kNone, -1, 0, 0}},
        // A GGA without any decimal point after its time field takes nothing further.
        {"GPGGA,123519,4807,N,01131,E,1,08,,,M,,M,,",
         {true, kNone, kNone, 0, 0, -1, -1, 0, kNone, kNone, kNone, -1, 0, 0}},
    };
    for (const Case& c : cases) Check(Nmea(c.body), c.e);
}

TEST(NmeaValuesTest, SentencesThatSayTheReceiverHasNoFixGiveNoPosition) {
    struct Case {
        std::string body;
        Expected e;
    };
    const Case cases[] = {
        // RMC 'V': time and date, nothing else.
        {"GPRMC,123519,V,4807.038,N,01131.000,E,022.4,084.4,230394,,",
         {true, kNone, kNone, 0, 0, 1, kT, 0, kNone, kNone, kNone, 23, 3, 1994}},
        {"GPRMC,123519,v,4807.038,N,01131.000,E,022.4,084.4,230394,,",
         {true, kNone, kNone, 0, 0, 1, kT, 0, kNone, kNone, kNone, 23, 3, 1994}},
        // GLL 'V': the time only.
        {"GPGLL,4807.038,N,01131.000,E,123519.5,V",
         {true, kNone, kNone, 0, 0, 1, kT, 500, kNone, kNone, kNone, -1, 0, 0}},
        // An empty GLL status is taken as a fix.
        {"GPGLL,4807.038,N,01131.000,E,123519.5,",
         {true, kLat, kLon, 'N', 'E', 0, kT, 500, kNone, kNone, kNone, -1, 0, 0}},
        // GGA quality 0 (no fix) and 6 (dead reckoning, a fix).
        {"GPGGA,123519,4807.038,N,01131.000,E,0,00,,,M,,M,,",
         {true, kNone, kNone, 0, 0, 1, kT, 0, kNone, kNone, kNone, -1, 0, 0}},
        {"GPGGA,123519,4807.038,N,01131.000,E,6,08,0.9,545.4,M,46.9,M,,",
         {true, kLat, kLon, 'N', 'E', 0, kT, 0, kNone, kNone, kNone, -1, 0, 0}},
    };
    for (const Case& c : cases) Check(Nmea(c.body), c.e);
    // The flagged position's fields are still there for counting.
    // The values' fields point into the sentence, which must outlive them.
    const std::string sentence = Nmea(cases[0].body);
    const NmeaValues v = DecodeNmea(sentence);
    EXPECT_EQ(v.latitudeField, "4807.038");
    EXPECT_EQ(v.longitudeField, "01131.000");
}

TEST(NmeaValuesTest, OverflowingNumbersAreNoValues) {
    const std::string huge(400, '9');
    struct Case {
        std::string body;
        Expected e;
    };
    const Case cases[] = {
        {"GPHDT," + huge + ",T", {true, kNone, kNone, 0, 0, -1, -1, 0, kNone, kNone, kNone, -1,
                                  0, 0}},
        // A speed too large for a double; the position before it stays.
        {"GPRMC,123519,A,4807.038,N,01131.000,E," + huge + ",084.4,230394,,",
         {true, kLat, kLon, 'N', 'E', 0, kT, 0, kNone, 84.4, kNone, 23, 3, 1994}},
        // Degrees of four digits, a time of 99:99:99, a time of seven digits.
        {"GPGGA,123519,14807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,",
         {true, kNone, kNone, 0, 0, 0, kT, 0, kNone, kNone, kNone, -1, 0, 0}},
        {"GPGGA,999999,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,",
         {true, kLat, kLon, 'N', 'E', 0, -1, 0, kNone, kNone, kNone, -1, 0, 0}},
        {"GPGGA,1235190,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,",
         {true, kLat, kLon, 'N', 'E', 0, -1, 0, kNone, kNone, kNone, -1, 0, 0}},
        // Signs, exponents and "inf" are not numbers here.
        {"GPVTG,-54.7,T,034.4,M,5.5e3,N,010.2,K",
         {true, kNone, kNone, 0, 0, -1, -1, 0, 5.5, kNone, kNone, -1, 0, 0}},
        {"GPHDT,inf,T", {true, kNone, kNone, 0, 0, -1, -1, 0, kNone, kNone, kNone, -1, 0, 0}},
    };
    for (const Case& c : cases) Check(Nmea(c.body), c.e);
}

TEST(NmeaValuesTest, TruncatedSentencesGiveWhatTheyHold) {
    const std::string full = "$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W";
    // Every cut of the sentence decodes without reading past its end; the longer the cut, the
    // more it gives, and no value differs from the whole sentence's.
    const NmeaValues whole = DecodeNmea(full);
    for (std::size_t n = 0; n <= full.size(); ++n) {
        const std::string cut = full.substr(0, n);
        const NmeaValues v = DecodeNmea(cut);
        EXPECT_EQ(v.decoded, n > 9) << cut;
        if (v.latitude) {
            EXPECT_EQ(v.latitude->degrees, whole.latitude->degrees) << cut;
        }
        if (v.speedKnots) {
            EXPECT_EQ(*v.speedKnots, *whole.speedKnots) << cut;
        }
        if (v.time) {
            EXPECT_EQ(v.time, whole.time) << cut;
        }
    }
    struct Case {
        std::size_t length;  // of the cut sentence
        bool time, latitude, longitude, speed, date;
    };
    const Case cases[] = {
        {13, false, false, false, false, false},  // "$GPRMC,123519"
        {16, false, false, false, false, false},  // no decimal point yet: nothing
        {21, true, false, false, false, false},   // "...,4807.": the time
        {24, true, false, false, false, false},   // the latitude without its closing comma
        {26, true, true, false, false, false},
        {39, true, true, true, false, false},
        {51, true, true, true, true, false},
        {57, true, true, true, true, false},  // "230394" without its closing comma
        {58, true, true, true, true, true},
    };
    for (const Case& c : cases) {
        const std::string cut = full.substr(0, c.length);
        const NmeaValues v = DecodeNmea(cut);
        EXPECT_EQ(v.time.has_value(), c.time) << cut;
        EXPECT_EQ(v.latitude.has_value(), c.latitude) << cut;
        EXPECT_EQ(v.longitude.has_value(), c.longitude) << cut;
        EXPECT_EQ(v.speedKnots.has_value(), c.speed) << cut;
        EXPECT_EQ(v.date.has_value(), c.date) << cut;
    }
}

TEST(NmeaValuesTest, TimeFieldsAndTheirFractions) {
    struct Case {
        const char* field;
        const char* clock;  // nullptr: no time
    };
    const Case cases[] = {
        {"123519", "12:35:19.000"},   {"123519.25,A", "12:35:19.250"},
        {"235959.999", "23:59:59.999"}, {"000000.12345", "00:00:00.123"},
        {"123519.", "12:35:19.000"},   {"123519.5*7A", "12:35:19.500"},
        {"240000", nullptr},           {"126000", nullptr},
        {"123560", nullptr},           {"12351", nullptr},
        {"1235190", nullptr},          {"12:35:19", nullptr},
        {"", nullptr},
    };
    for (const Case& c : cases) {
        const std::optional<NmeaTime> time = TimeOfField(c.field);
        EXPECT_EQ(time.has_value(), c.clock != nullptr) << c.field;
        if (time && c.clock) {
            EXPECT_EQ(ClockTextWithMillis(*time), c.clock) << c.field;
            EXPECT_EQ(ClockText(*time), std::string(c.clock, 8)) << c.field;
        }
    }
}

TEST(NmeaValuesTest, QualityAndSatellitesForTheDialog) {
    struct Case {
        std::string sentence;
        std::optional<char> quality;
        std::optional<int> satellites;
    };
    const Case cases[] = {
        {Nmea("GPGGA,123519,4807.038,N,01131.000,E,2,08,0.9,545.4,M,46.9,M,,"), '2', 8},
        {Nmea("GPGGA,123519,4807.038,N,01131.000,E,,x,0.9,545.4,M,46.9,M,,"), '\0', 0},
        {Nmea("GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,,"), 'A', std::nullopt},
        {Nmea("GPGLL,4807.038,N,01131.000,E,123519,D"), 'D', std::nullopt},
        {Nmea("GPGGA,123519,4807.038,N,01131.000,E,1"), std::nullopt, std::nullopt},
        {Nmea("GPVTG,054.7,T,034.4,M,005.5,N,010.2,K"), std::nullopt, std::nullopt},
    };
    for (const Case& c : cases) {
        const NmeaValues v = DecodeNmea(c.sentence);
        EXPECT_EQ(v.quality, c.quality) << c.sentence;
        EXPECT_EQ(v.satellites, c.satellites) << c.sentence;
    }
}

}  // namespace
