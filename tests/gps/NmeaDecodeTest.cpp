// The sentence decoders: fields, display texts, and what malformed or empty fields leave.

#include <gtest/gtest.h>

#include "gps/NmeaTestSupport.h"

namespace {

constexpr GpsDecodeContext kDialogGga{1, true};

TEST(NmeaDecodeTest, GgaExample) {
    GpsState gps;
    Read(gps, std::string(kExampleGga) + "$", kDialogGga);
    EXPECT_NEAR(gps.gpsLatitude, 48.1173, 5e-6);
    EXPECT_NEAR(gps.gpsLongitude, 11.51667, 5e-6);
    EXPECT_EQ(gps.timeText, "12:35:19");
    EXPECT_EQ(gps.latitudeText, "48.07.038 N");
    EXPECT_EQ(gps.longitudeText, "011.31.000 E");
    EXPECT_EQ(gps.satellitesInUse, 8);
    EXPECT_EQ(gps.qualityText, "From GGA:  1");
    EXPECT_EQ(gps.gpsLatHemisphere, 'N');
    EXPECT_EQ(gps.gpsLonHemisphere, 'E');
}

TEST(NmeaDecodeTest, CoordinateTexts) {
    struct Case {
        const char* latitude;
        const char* longitude;
        const char* latitudeText;
        const char* longitudeText;
        double lat, lon;
    };
    const Case cases[] = {
        {"4807.038", "12311.123456", "48.07.038 N", "123.11.1234 W", 48.1173, 123.185391},
        {"0000.5", "00000.00001", "00.00.5 N", "000.00.0000 W", 0.0083333, 0.0000002},
        {"8959.9999", "17959.99999", "89.59.9999 N", "179.59.9999 W", 89.9999983, 179.9999998},
        {"4807.", "01131.", "48.07. N", "011.31. W", 48.1166667, 11.5166667},
    };
    for (const Case& c : cases) {
        GpsState gps;
        Parse(gps, Nmea(std::string("GPGGA,123519,") + c.latitude + ",N," + c.longitude +
                        ",W,1,08,0.9,545.4,M,46.9,M,,"));
        EXPECT_EQ(gps.latitudeText, c.latitudeText) << c.latitude;
        EXPECT_EQ(gps.longitudeText, c.longitudeText) << c.longitude;
        EXPECT_NEAR(gps.gpsLatitude, c.lat, 1e-6) << c.latitude;
        EXPECT_NEAR(gps.gpsLongitude, c.lon, 1e-6) << c.longitude;  // unsigned until batch end
    }
}

TEST(NmeaDecodeTest, SouthAndWestAreSignedOnlyAtTheBatchEnd) {
    GpsState gps;
    Parse(gps, "$GPGGA,123519,4807.038,S,01131.000,W,1,08,0.9,545.4,M,46.9,M,,");
    EXPECT_NEAR(gps.gpsLatitude, 48.1173, 5e-6);
    EXPECT_NEAR(gps.gpsLongitude, 11.51667, 5e-6);
    EXPECT_EQ(gps.latitudeText, "48.07.038 S");
    gps.FinishGpsBatch();
    EXPECT_NEAR(gps.gpsLatitude, -48.1173, 5e-6);
    EXPECT_NEAR(gps.gpsLongitude, -11.51667, 5e-6);
    // Lower-case letters count too; a second batch end keeps the sign.
    Parse(gps, "$GPGLL,4807.038,s,01131.000,w,123520,A");
    gps.FinishGpsBatch();
    gps.anyDecoded = 1;
    gps.FinishGpsBatch();
    EXPECT_LT(gps.gpsLatitude, 0.0);
    EXPECT_LT(gps.gpsLongitude, 0.0);
}

TEST(NmeaDecodeTest, RmcFieldsAndDates) {
    struct Case {
        const char* date;
        const char* dateText;
    };
    const Case cases[] = {
        {"230394", "23-MAR-1994"}, {"050109", "05-JAN-2009"}, {"231394", "23--1994"},
        {"311269", "31-DEC-2069"}, {"010170", "01-JAN-1970"},
    };
    for (const Case& c : cases) {
        GpsState gps;
        Parse(gps,
              Nmea(std::string("GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,") + c.date +
                   ",003.1,W"),
              {2, true});
        EXPECT_EQ(gps.dateText, c.dateText) << c.date;
        EXPECT_EQ(gps.timeText, "12:35:19");
        EXPECT_EQ(gps.speedText, "22.4 Knots");
        EXPECT_DOUBLE_EQ(gps.shipSpeedKnots, 22.4);
        EXPECT_EQ(gps.courseText, "84.4 Deg.");
        EXPECT_DOUBLE_EQ(gps.gpsCourse, 84.4);
        EXPECT_EQ(gps.qualityText, "From RMC:  A");
        EXPECT_EQ(gps.latitudeText, "48.07.038 N");
    }
}

TEST(NmeaDecodeTest, RmcStatusVoidGivesOnlyTheTimeAndShortDateIgnored) {
    GpsState gps;
    Parse(gps, "$GPRMC,010203,V,4807.038,N,01131.000,E,1.5,10.0,2303,,");
    EXPECT_EQ(gps.timeText, "01:02:03");
    EXPECT_EQ(gps.speedText, "n/a");  // a receiver without a fix: its speed is not current
    EXPECT_EQ(gps.latitudeText, "n/a");
    EXPECT_EQ(gps.dateText, "n/a");  // a date field of 4 characters
    EXPECT_EQ(gps.receiverSaysNoFix, 1);
}

// A receiver that flags its fix as invalid (RMC or GLL status V, GGA quality 0) may still
// send the last position, speed and course: none of it is shown, tracked or counted as a fix;
// the time and date still count. A valid sentence afterwards is a fix again.
TEST(NmeaDecodeTest, PositionsFlaggedAsNoFixAreNeverTakenAsCurrent) {
    GpsState gps;
    Read(gps, Nmea("GPRMC,120000,A,4807.038,S,01131.000,W,022.4,084.4,230394,,") + "$");
    ASSERT_EQ(gps.positionFixes, 1u);
    const double latitude = gps.gpsLatitude;
    struct Case {
        const char* body;
        const char* time;
        const char* date;
    };
    const Case cases[] = {
        {"GPRMC,120001,V,5000.000,N,00200.000,E,009.9,100.0,240394,,", "12:00:01", "24-MAR-1994"},
        {"GNRMC,120002.00,v,5000.000,N,00200.000,E,009.9,100.0,250394,,,N", "12:00:02",
         "25-MAR-1994"},
        {"GPGLL,5000.000,N,00200.000,E,120003.00,V", "12:00:03", "25-MAR-1994"},
        {"GPGLL,5000.000,N,00200.000,E,120004.00,V,N", "12:00:04", "25-MAR-1994"},
        {"GPGGA,120005,5000.000,N,00200.000,E,0,00,,,M,,M,,", "12:00:05", "25-MAR-1994"},
    };
    for (const Case& c : cases) {
        Read(gps, Nmea(c.body) + "$");
        SCOPED_TRACE(c.body);
        EXPECT_EQ(gps.latitudeText, "48.07.038 S");
        EXPECT_EQ(gps.longitudeText, "011.31.000 W");
        EXPECT_EQ(gps.gpsLatitude, latitude);
        EXPECT_EQ(gps.speedText, "22.4 Knots");
        EXPECT_EQ(gps.courseText, "84.4 Deg.");
        EXPECT_EQ(gps.positionFixes, 1u);
        EXPECT_TRUE(gps.track.trackPath.empty());
        EXPECT_EQ(gps.receiverSaysNoFix, 1);
        EXPECT_EQ(gps.timeText, c.time);
        EXPECT_EQ(gps.dateText, c.date);
    }
    Read(gps, Nmea("GPGGA,120006,4807.040,S,01131.000,W,1,08,0.9,545.4,M,46.9,M,,") + "$");
    EXPECT_EQ(gps.positionFixes, 2u);
    EXPECT_EQ(gps.receiverSaysNoFix, 0);
    EXPECT_EQ(gps.latitudeText, "48.07.040 S");
    EXPECT_EQ(gps.track.trackPath.size(), 1u);
}

TEST(NmeaDecodeTest, QualityTextFollowsTheSelection) {
    const std::string gga = Nmea("GPGGA,123519,4807.038,N,01131.000,E,2,11,0.9,545.4,M,46.9,M,,");
    const std::string rmc = Nmea("GPRMC,123519,V,4807.038,N,01131.000,E,022.4,084.4,230394,,");
    const std::string gll = Nmea("GPGLL,4807.038,N,01131.000,E,123519,A");
    struct Case {
        GpsDecodeContext context;
        const char* quality;
        int satellites;
    };
    const Case cases[] = {
        {{0, true}, "From GLL:  A", 11}, {{1, true}, "From GGA:  2", 11},
        {{2, true}, "From RMC:  V", 11}, {{3, true}, "From GGA:  2", 11},
        {{1, false}, "n/a", 0},  // the dialog is hidden: its boxes are not fed
    };
    for (const Case& c : cases) {
        GpsState gps;
        Read(gps, gga + rmc + gll + "$", c.context);
        EXPECT_EQ(gps.qualityText, c.quality) << c.context.sentenceSet;
        EXPECT_EQ(gps.satellitesInUse, c.satellites) << c.context.sentenceSet;
    }
}

TEST(NmeaDecodeTest, VtgIgnoresFieldsShorterThanThreeCharacters) {
    struct Case {
        const char* sentence;
        double course, knots;
    };
    const Case cases[] = {
        {"$GPVTG,054.7,T,034.4,M,005.5,N,010.2,K", 54.7, 5.5},
        {"$GPVTG,5,T,034.4,M,7,N,010.2,K", 1.0, 2.0},
        {"$GPVTG,12,T,034.4,M,12,N,010.2,K", 1.0, 2.0},
        {"$GPVTG,123,T,,M,0.5,N,,K", 123.0, 0.5},
    };
    for (const Case& c : cases) {
        GpsState gps;
        gps.gpsCourse = 1.0;
        gps.shipSpeedKnots = 2.0;
        Parse(gps, c.sentence);
        EXPECT_DOUBLE_EQ(gps.gpsCourse, c.course) << c.sentence;
        EXPECT_DOUBLE_EQ(gps.shipSpeedKnots, c.knots) << c.sentence;
    }
}

TEST(NmeaDecodeTest, TimeOnlyFromSixDigitsInRange) {
    struct Case {
        const char* time;
        const char* text;
    };
    const Case cases[] = {
        {"235959", "23:59:59"},
        {"235959.123", "23:59:59"},
        {"000000.00", "00:00:00"},
        {"240000", "old"},
        {"236000", "old"},
        {"235960", "old"},
        {"", "old"},
        {"12351", "old"},
        {"1235190", "old"},
        {"-12345", "old"},
        {" 12345", "old"},
        {"12a519", "old"},
    };
    for (const Case& c : cases) {
        GpsState gps;
        gps.timeText = "old";
        Parse(gps, std::string("$GPGGA,") + c.time + ",4807.038,N,01131.000,E,1,08,0.9,,,,,,");
        EXPECT_EQ(gps.timeText, c.text) << "GGA " << c.time;
        gps.timeText = "old";
        Parse(gps, std::string("$GPRMC,") + c.time + ",A,4807.038,N,01131.000,E,,,,,");
        EXPECT_EQ(gps.timeText, c.text) << "RMC " << c.time;
        gps.timeText = "old";
        // GLL decodes a time only with a '.' somewhere after it.
        Parse(gps, std::string("$GPGLL,4807.038,N,01131.000,E,") + c.time + ".0,A,");
        EXPECT_EQ(gps.timeText, c.text) << "GLL " << c.time;
    }
}

TEST(NmeaDecodeTest, GllTimeNeedsADecimalPointAfterItsComma) {
    GpsState gps;
    gps.latitudeText = "old";
    Parse(gps, "$GPGLL,,,,,123519,A");  // no fix, no '.' anywhere: nothing decoded
    EXPECT_EQ(gps.timeText, "n/a");
    EXPECT_EQ(gps.latitudeText, "old");
    Parse(gps, "$GPGLL,,,,,123519.00,V");
    EXPECT_EQ(gps.timeText, "12:35:19");
}

TEST(NmeaDecodeTest, HdtHeadingAndNineCharacterSentences) {
    GpsState gps;
    Parse(gps, "$GPHDT,274.07,T*03");
    EXPECT_DOUBLE_EQ(gps.gpsHeading, 274.07);
    EXPECT_EQ(gps.headingText, "274.1 Deg.");
    EXPECT_EQ(gps.headingSeen, 1);
    EXPECT_EQ(gps.anyDecoded, 1);

    GpsState nine;
    Parse(nine, "$GPHDT,5,");  // exactly nine characters
    EXPECT_EQ(nine.headingSeen, 0);
    EXPECT_EQ(nine.anyDecoded, 0);
    EXPECT_EQ(nine.gpsDataChanged, 1);  // handed to the decoder all the same
    Parse(nine, "$GPHDT,5,T");
    EXPECT_EQ(nine.headingText, "5.0 Deg.");
}

TEST(NmeaDecodeTest, EmptyFieldsLeaveValuesAsTheyWere) {
    GpsState gps;
    Read(gps, Nmea("GPRMC,123519,A,4807.038,S,01131.000,W,022.4,084.4,230394,,") +
                  Nmea("GPHDT,274.07,T") + "$");
    const double latitude = gps.gpsLatitude, longitude = gps.gpsLongitude;
    ASSERT_LT(latitude, 0.0);
    const std::string noFix[] = {
        Nmea("GPGGA,123520,,,,,0,00,99.9,,M,,M,,"),  // '.' only in the dilution field
        Nmea("GPRMC,123521,V,,,,,,,230394,,"),       // no decimal point after the time
        Nmea("GPRMC,123522.00,V,,,,,,,230394,,"),    // empty position, speed and course
        Nmea("GPGLL,,,,,123523.00,V"),
        Nmea("GPVTG,,T,,M,,N,,K"),
        Nmea("GPHDT,,T"),
    };
    for (const std::string& sentence : noFix) {
        Read(gps, sentence + "$");
        SCOPED_TRACE(sentence);
        EXPECT_EQ(gps.gpsLatitude, latitude);
        EXPECT_EQ(gps.gpsLongitude, longitude);
        EXPECT_EQ(gps.latitudeText, "48.07.038 S");
        EXPECT_EQ(gps.longitudeText, "011.31.000 W");
        EXPECT_EQ(gps.speedText, "22.4 Knots");
        EXPECT_DOUBLE_EQ(gps.shipSpeedKnots, 22.4);
        EXPECT_EQ(gps.courseText, "84.4 Deg.");
        EXPECT_DOUBLE_EQ(gps.gpsHeading, 274.07);
        EXPECT_EQ(gps.headingSeen, 0);  // an empty HDT is no heading
    }
    EXPECT_EQ(gps.timeText, "12:35:23");  // the times of the no-fix sentences still count
}

TEST(NmeaDecodeTest, MalformedCoordinatesAreNotDecoded) {
    const char* fields[] = {"4807",    "48O7.038", "-4807.038", "4807.03.8", "7.5",
                            "12345.0", "4860.000", "9100.000",  "4807.0e3",  " 4807.038"};
    for (const char* field : fields) {
        GpsState gps;
        Parse(gps, std::string("$GPGGA,123519,") + field + ",N,01131.000,E,1,08,0.9,,,,,,");
        EXPECT_EQ(gps.latitudeText, "n/a") << field;
        EXPECT_EQ(gps.gpsLatitude, 0.0) << field;
        EXPECT_EQ(gps.longitudeText, "n/a") << field;  // decoding stops at the bad field
    }
    GpsState gps;
    Parse(gps, "$GPGGA,123519,4807.038,N,18100.000,E,1,08,0.9,,,,,,");
    EXPECT_EQ(gps.longitudeText, "n/a");  // beyond 180 degrees
    EXPECT_EQ(gps.latitudeText, "48.07.038 N");
}

TEST(NmeaDecodeTest, NumbersAreDecimalDigitsOnly) {
    struct Case {
        const char* field;
        bool decoded;
        double knots;
    };
    const Case cases[] = {
        {"inf", false, 0},  {"nan", false, 0},    {"infinity", false, 0}, {"-5.0", false, 0},
        {"+5.0", false, 0}, {"1e300", true, 1.0}, {"0x1A", true, 0.0},    {"12.5kn", true, 12.5},
        {".5", true, 0.5},  {"7.", true, 7.0},    {" 3.25", true, 3.25},  {"1,5", true, 1.0},
    };
    for (const Case& c : cases) {
        GpsState gps;
        gps.shipSpeedKnots = 9.0;
        Parse(gps,
              std::string("$GPRMC,123519,A,4807.038,N,01131.000,E,") + c.field + ",084.4,230394,,");
        EXPECT_EQ(gps.shipSpeedKnots, c.decoded ? c.knots : 9.0) << c.field;
        EXPECT_EQ(gps.speedText == "n/a", !c.decoded) << c.field;
    }
}

TEST(NmeaDecodeTest, ChecksumsAreVerified) {
    struct Case {
        std::string sentence;
        bool decoded;
    };
    const Case cases[] = {
        {kExampleGga, true},
        {"$GPHDT,274.07,T*03\r\n", true},
        {"$GPHDT,274.07,T*3\r\n", false},
        {"$GPHDT,274.07,T*04\r\n", false},
        {"$GPHDT,274.07,T*\r\n", false},
        {"$GPHDT,274.07,T*G3\r\n", false},
        {"$GPHDT,274.07,T\r\n", true},  // no checksum: decoded as before
        {"$GPVTG,054.7,T,034.4,M,005.5,N,010.2,K*48\r\n", true},
        {"$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6a\r\n", true},
        {"$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A\r\n", true},
        {"$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6B\r\n", false},
        {"$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230395,003.1,W*6A\r\n", false},
    };
    for (const Case& c : cases) {
        GpsState gps;
        Read(gps, c.sentence + "$");
        EXPECT_EQ(gps.anyDecoded == 1 || gps.latitudeText != "n/a", c.decoded) << c.sentence;
        // Corrupted or not, the sentence is kept as received in both lists.
        std::string received = c.sentence;
        received.pop_back();  // the line feed before the next '$'
        EXPECT_EQ(gps.sentenceRing[0], received);
        EXPECT_EQ(gps.recentSentences[0], received);
    }
}

TEST(NmeaDecodeTest, DisplayTextsIgnoreTheLocale) {
    TempDirForLocale dir;
    if (!dir.Install()) GTEST_SKIP() << "localedef could not build a decimal-comma locale";
    ASSERT_EQ(std::strtod("1.5", nullptr), 1.0) << "the test locale does not use a comma";
    GpsState gps;
    Read(gps, std::string(kExampleGga) + Nmea("GPVTG,054.7,T,034.4,M,005.5,N,010.2,K") +
                  Nmea("GPHDT,274.07,T") + "$");
    dir.Restore();
    EXPECT_NEAR(gps.gpsLatitude, 48.1173, 5e-6);
    EXPECT_DOUBLE_EQ(gps.shipSpeedKnots, 5.5);
    EXPECT_EQ(gps.speedText, "5.5 Knots");
    EXPECT_EQ(gps.courseText, "54.7 Deg.");
    EXPECT_EQ(gps.headingText, "274.1 Deg.");
}

}  // namespace
