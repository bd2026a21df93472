// The decoders' display texts read back into numbers: every coordinate text the decoders write
// gives back their signed value, other forms give nothing, and the C library's locale plays
// no part.

#include <gtest/gtest.h>

#include "gps/NavigationTextParse.h"
#include "gps/NmeaTestSupport.h"

namespace {

TEST(NavigationTextParseTest, TextsOfTheDecodersGiveBackTheirSignedValues) {
    struct Case {
        const char* latitude;
        const char* north;
        const char* longitude;
        const char* east;
    };
    const Case cases[] = {
        {"4807.038", "N", "01131.000", "E"},    {"4807.038", "S", "01131.000", "W"},
        {"5419.2000", "n", "01009.0000", "w"},  {"0000.5", "s", "00000.00001", "e"},
        {"8959.9999", "N", "17959.99999", "W"}, {"4807.", "S", "01131.", "E"},
        {"0700.25", "N", "12311.123456", "W"},  {"07.5", "S", "07.5", "W"},
    };
    for (const Case& c : cases) {
        GpsState gps;
        Read(gps, Nmea(std::string("GPGGA,123519,") + c.latitude + "," + c.north + "," +
                       c.longitude + "," + c.east + ",1,08,0.9,545.4,M,46.9,M,,") +
                      "$");
        const std::optional<double> lat = ParseCoordinateText(gps.latitudeText, true);
        const std::optional<double> lon = ParseCoordinateText(gps.longitudeText, false);
        ASSERT_TRUE(lat && lon) << gps.latitudeText << " / " << gps.longitudeText;
        // The texts keep four decimals of the minutes: 1e-4 / 60 degrees at most.
        EXPECT_NEAR(*lat, gps.gpsLatitude, 1.7e-6) << gps.latitudeText;
        EXPECT_NEAR(*lon, gps.gpsLongitude, 1.7e-6) << gps.longitudeText;
        // As an event file stores them, with their line end.
        EXPECT_EQ(ParseCoordinateText(gps.latitudeText + "\n", true), lat);
        EXPECT_EQ(ParseCoordinateText(gps.longitudeText + "\r\n", false), lon);
    }
}

TEST(NavigationTextParseTest, ExactValuesAndHemispheres) {
    struct Case {
        const char* text;
        bool latitude;
        double value;
    };
    const Case cases[] = {
        {"48.07.038 N", true, 48.1173},
        {"48.07.038 S\n", true, -48.1173},
        {"011.31.000 W", false, -11.516666667},
        {"011.31.000 w", false, -11.516666667},
        // A latitude's W and a longitude's S are no hemisphere of theirs: positive, as the
        // batch end leaves them.
        {"48.07.038 W", true, 48.1173},
        {"011.31.000 S", false, 11.516666667},
        {"48.07.038  ", true, 48.1173},
        {"48.07.038", true, 48.1173},
        {".30.0 S", true, -0.5},
        {"90.00.0000 N", true, 90.0},
        {"180.00.0000 E", false, 180.0},
    };
    for (const Case& c : cases) {
        const std::optional<double> value = ParseCoordinateText(c.text, c.latitude);
        ASSERT_TRUE(value) << c.text;
        EXPECT_NEAR(*value, c.value, 1e-9) << c.text;
    }
}

TEST(NavigationTextParseTest, OtherFormsGiveNothing) {
    const char* const latitudes[] = {
        "n/a",
        "",
        "\n",
        "48.07.038 NN",
        "48.07.038N",
        "48.7.038 N",
        "480.07.038 N",
        "48,07,038 N",
        "48.60.000 N",
        "90.00.0001 N",
        "48.07.0e3 N",
        "-48.07.038 N",
        "48.07 N",
        "inf",
        "48.07.038 N x",
        "4807.038 N",
    };
    for (const char* text : latitudes) {
        EXPECT_FALSE(ParseCoordinateText(text, true)) << "'" << text << "'";
    }
    EXPECT_FALSE(ParseCoordinateText("1234.00.0 E", false));
    EXPECT_FALSE(ParseCoordinateText("180.00.0001 E", false));
}

TEST(NavigationTextParseTest, ADecimalCommaLocaleChangesNothing) {
    TempDirForLocale locale;
    ASSERT_TRUE(locale.Install()) << "localedef could not build a decimal-comma locale";
    const std::optional<double> value = ParseCoordinateText("48.07.038 S", true);
    ASSERT_TRUE(value);
    EXPECT_NEAR(*value, -48.1173, 1e-9);
}

TEST(NavigationTextParseTest, DateTexts) {
    struct Case {
        const char* text;
        const char* iso;  // nullptr: nothing
    };
    const Case cases[] = {
        {"23-MAR-1994", "1994-03-23"},
        {"05-JAN-2009\n", "2009-01-05"},
        {"31-DEC-2069\r\n", "2069-12-31"},
        {"09-Dec-2026", nullptr},
        {"23--1994", nullptr},  // the decoders' text of month 13
        {"00-MAR-1994", nullptr},
        {"n/a", nullptr},
        {"", nullptr},
        {"23-MAR-94", nullptr},
        {"2x-MAR-1994", nullptr},
        // Days the month does not have; leap years by the Gregorian rule.
        {"31-FEB-1999", nullptr},
        {"29-FEB-2023", nullptr},
        {"29-FEB-2024", "2024-02-29"},
        {"29-FEB-2000", "2000-02-29"},
        {"31-JUN-2010", nullptr},
        {"30-JUN-2010", "2010-06-30"},
        {"32-JAN-2010", nullptr},
    };
    for (const Case& c : cases) {
        const std::optional<std::string> iso = IsoDateOfText(c.text);
        if (c.iso) {
            EXPECT_EQ(iso, std::optional<std::string>(c.iso)) << c.text;
        } else {
            EXPECT_FALSE(iso) << c.text;
        }
    }
}

}  // namespace
