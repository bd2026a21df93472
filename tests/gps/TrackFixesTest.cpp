// The fixes of a track export: one per position fix, decoded as the application decodes the
// sentences, repeated fixes once, fixes the receiver calls invalid counted and left out.

#include <gtest/gtest.h>

#include "gps/NmeaTestSupport.h"
#include "gps/TrackFixes.h"

namespace {

std::string Line(const std::string& body) {
    std::string sentence = Nmea(body);
    return sentence.substr(0, sentence.size() - 2);  // without its CR LF
}

// A batch as a record stores it: the recognised sentences in slots 0..9.
void Record(GpsState& gps, const std::vector<std::string>& sentences) {
    std::lock_guard<std::mutex> guard(gps.lock);
    for (std::size_t i = 0; i < gps.recentSentences.size(); ++i) {
        gps.recentSentences[i] = i < sentences.size() ? sentences[i] : std::string();
    }
}

TEST(TrackFixesTest, FixTimeFields) {
    struct Case {
        const char* field;
        const char* time;  // nullptr: no time
    };
    const Case cases[] = {
        {"123519", "12:35:19.000"},
        {"123519.25,A", "12:35:19.250"},
        {"235959.999", "23:59:59.999"},
        {"000000.12345*4F", "00:00:00.123"},
        {"123519.", "12:35:19.000"},
        {"240000", nullptr},
        {"126000", nullptr},
        {"123560", nullptr},
        {"12351", nullptr},
        {"1235190", nullptr},
        {"12:35:19", nullptr},
        {"", nullptr},
    };
    for (const Case& c : cases) {
        const std::optional<std::string> time = FixTimeOfField(c.field);
        if (c.time) {
            EXPECT_EQ(time, std::optional<std::string>(c.time)) << c.field;
        } else {
            EXPECT_FALSE(time) << c.field;
        }
    }
}

TEST(TrackFixesTest, TalkersOfASatelliteReceiver) {
    for (const char* yes : {"$GPRMC,", "$GNGGA,", "$GLGLL,", "$GAGGA,", "$BDGGA,", "$GBRMC"}) {
        EXPECT_TRUE(IsReceiverTalker(yes)) << yes;
    }
    for (const char* no : {"$HEHDT,", "$IIVTG,", "$PGRME,", "GPRMC,", "$G", "", "!AIVDM"}) {
        EXPECT_FALSE(IsReceiverTalker(no)) << no;
    }
}

TEST(TrackFixesTest, LogLinesGiveOneFixPerPositionFix) {
    TrackFixCollector track;
    for (const std::string& line : {
             Line("GPRMC,123519.50,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W"),
             // The same fix in GGA and GLL: no further point.
             Line("GPGGA,123519.50,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,"),
             Line("GPGLL,4807.038,N,01131.000,E,123519.50,A"),
             Line("GPHDT,086.5,T"),
             // One second later, in the other two hemispheres.
             Line("GNGGA,123520.50,4807.028,S,00001.000,W,2,08,0.9,545.4,M,46.9,M,,"),
         }) {
        track.AddLogLine(line);
    }
    ASSERT_EQ(track.Fixes().size(), 2u);
    const TrackFix& first = track.Fixes()[0];
    EXPECT_EQ(first.time, "12:35:19.500");
    EXPECT_EQ(first.date, "1994-03-23");
    EXPECT_NEAR(first.latitude, 48.1173, 1e-9);
    EXPECT_NEAR(first.longitude, 11.516666667, 1e-9);
    EXPECT_EQ(first.speedKnots, 22.4);
    EXPECT_EQ(first.courseDeg, 84.4);
    EXPECT_FALSE(first.headingDeg);  // the HDT came after the last sentence of the fix
    EXPECT_FALSE(first.ping);
    const TrackFix& second = track.Fixes()[1];
    EXPECT_EQ(second.time, "12:35:20.500");
    EXPECT_NEAR(second.latitude, -48.117133333, 1e-9);
    EXPECT_NEAR(second.longitude, -1.0 / 60.0, 1e-12);
    EXPECT_EQ(second.headingDeg, 86.5);
    EXPECT_EQ(second.speedKnots, 22.4);  // kept from the RMC, as the application keeps it
    EXPECT_EQ(track.WithoutFix(), 0);
}

TEST(TrackFixesTest, ADayTheMonthDoesNotHaveGivesNoDate) {
    struct Case {
        const char* date;
        const char* iso;  // "": no date
    };
    const Case cases[] = {
        {"310299", ""},           {"290200", "2000-02-29"}, {"290223", ""},
        {"290224", "2024-02-29"}, {"310401", ""},           {"300401", "2001-04-30"},
        {"311299", "1999-12-31"}, {"001299", ""},
    };
    for (const Case& c : cases) {
        TrackFixCollector track;
        track.AddLogLine(Line(std::string("GPRMC,123519.50,A,4807.038,N,01131.000,E,022.4,084.4,") +
                              c.date + ",003.1,W"));
        ASSERT_EQ(track.Fixes().size(), 1u) << c.date;
        EXPECT_EQ(track.Fixes()[0].date, c.iso) << c.date;
    }
}

TEST(TrackFixesTest, PositionsWithoutAFixAreCountedAndLeftOut) {
    struct Case {
        const char* body;
        bool fixed;
    };
    const Case cases[] = {
        {"GPRMC,123519,V,4807.038,N,01131.000,E,022.4,084.4,230394,,", false},
        {"GPRMC,123520,A,4807.038,N,01131.000,E,022.4,084.4,230394,,", true},
        {"GPGLL,4807.038,N,01131.000,E,123521,V", false},
        {"GPGLL,4807.038,N,01131.000,E,123522,A", true},
        {"GPGLL,4807.038,N,01131.000,E,123523,", true},  // an empty status: taken as a fix
        {"GPGGA,123524,4807.038,N,01131.000,E,0,00,,,M,,M,,", false},
        {"GPGGA,123525,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,", true},
        {"GPGGA,123526,4807.038,N,01131.000,E,6,08,0.9,545.4,M,46.9,M,,", true},
    };
    TrackFixCollector track;
    int fixed = 0, unfixed = 0;
    for (const Case& c : cases) {
        track.AddLogLine(Line(c.body));
        (c.fixed ? fixed : unfixed) += 1;
        EXPECT_EQ(static_cast<int>(track.Fixes().size()), fixed) << c.body;
        EXPECT_EQ(track.WithoutFix(), unfixed) << c.body;
    }
}

TEST(TrackFixesTest, LinesThatAreNoReceiverSentenceAreSkipped) {
    const std::string good = Line("GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,");
    std::string corrupted = good;
    corrupted[20] = '9';  // the checksum no longer matches
    TrackFixCollector track;
    for (const std::string& line :
         {std::string("2026-12-09 12:35:19 logger started"), std::string(""), Line("HEHDT,086.5,T"),
          Line("IIGGA,123518,5000.000,N,00100.000,E,1,08,,,M,,M,,"),
          Line("PGRME,15.0,M,45.0,M,25.0,M"), corrupted, Line("GPGSV,3,1,11,03,03,111,00"),
          "  " + good + " \t"}) {
        track.AddLogLine(line);
    }
    ASSERT_EQ(track.Fixes().size(), 1u);
    EXPECT_EQ(track.Fixes()[0].time, "12:35:19.000");
    EXPECT_NEAR(track.Fixes()[0].latitude, 48.1173, 1e-9);
    EXPECT_FALSE(track.Fixes()[0].headingDeg);
    EXPECT_EQ(track.Fixes()[0].date, "");  // no RMC: no date
}

TEST(TrackFixesTest, RecordsCarryingTheSameSentencesAreOneFixWithTheFirstPing) {
    const std::string rmc1 = Nmea("GPRMC,101500.00,A,5419.2000,N,01009.0000,E,4.0,90.0,091226,,,A");
    const std::string gga1 = Nmea("GPGGA,101500.00,5419.2000,N,01009.0000,E,1,09,0.9,12.0,M,,M,,");
    const std::string rmc2 = Nmea("GPRMC,101501.00,A,5419.2000,N,01009.0037,E,4.0,90.0,091226,,,A");
    GpsState doc;
    TrackFixCollector track;
    const std::vector<std::vector<std::string>> records = {{"$GPS"},     {rmc1, gga1}, {rmc1, gga1},
                                                           {rmc1, gga1}, {rmc2},       {rmc2}};
    std::int64_t ping = 10;
    for (const std::vector<std::string>& sentences : records) {
        Record(doc, sentences);
        doc.ReplayRecordedSentences({});
        track.AddDecodedBatch(doc, ping++);
    }
    ASSERT_EQ(track.Fixes().size(), 2u);
    EXPECT_EQ(track.Fixes()[0].ping, 11);
    EXPECT_EQ(track.Fixes()[0].time, "10:15:00.000");
    EXPECT_EQ(track.Fixes()[0].date, "2026-12-09");
    EXPECT_EQ(track.Fixes()[1].ping, 14);
    EXPECT_NEAR(track.Fixes()[1].longitude, 10.15 + 0.0037 / 60.0, 1e-9);
    // The fixes are the positions the document decoded.
    EXPECT_EQ(track.Fixes()[1].latitude, doc.gpsLatitude);
    EXPECT_EQ(track.Fixes()[1].longitude, doc.gpsLongitude);
}

TEST(TrackFixesTest, ABatchWithoutBothCoordinatesIsNoFix) {
    GpsState doc;
    TrackFixCollector track;
    // The latitude decodes, the longitude field is malformed: the batch end adds no point.
    Record(doc, {Nmea("GPGGA,123519,4807.038,N,0113x.000,E,1,08,0.9,545.4,M,46.9,M,,"),
                 Nmea("GPVTG,054.7,T,034.4,M,005.5,N,010.2,K")});
    doc.ReplayRecordedSentences({});
    track.AddDecodedBatch(doc, 1);
    // Empty position fields (no fix yet) give no point either.
    Record(doc, {Nmea("GPRMC,123520,V,,,,,,,230394,,")});
    doc.ReplayRecordedSentences({});
    track.AddDecodedBatch(doc, 2);
    EXPECT_TRUE(track.Fixes().empty());
    EXPECT_EQ(track.WithoutFix(), 0);
}

TEST(TrackFixesTest, TheTimeOfAFixWithoutItsOwnTimeComesFromItsBatch) {
    GpsState doc;
    TrackFixCollector track;
    // A GLL without a time field after an RMC of a malformed position: the RMC's time.
    Record(doc, {Nmea("GPRMC,081500.5,A,4807.0x8,N,01131.000,E,1.0,2.0,230394,,"),
                 Nmea("GPGLL,4807.038,N,01131.000,E,,A")});
    doc.ReplayRecordedSentences({});
    track.AddDecodedBatch(doc, 1);
    ASSERT_EQ(track.Fixes().size(), 1u);
    EXPECT_EQ(track.Fixes()[0].time, "08:15:00.500");
}

}  // namespace
