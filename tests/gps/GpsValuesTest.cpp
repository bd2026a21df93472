// The values the exports fold from decoded sentences are those GpsState keeps while it makes
// its texts, batch after batch; and the ISO dates the exports write are those the display's
// date texts read back into.

#include <gtest/gtest.h>

#include <vector>

#include "common/TextFormat.h"
#include "gps/CycleTime.h"
#include "gps/GpsValues.h"
#include "gps/NavigationTextParse.h"
#include "gps/NmeaTestSupport.h"

namespace {

using Batch = std::vector<std::string>;

void Replay(GpsState& gps, const Batch& batch) {
    {
        std::lock_guard<std::mutex> guard(gps.lock);
        for (std::size_t i = 0; i < gps.recentSentences.size(); ++i) {
            gps.recentSentences[i] = i < batch.size() ? batch[i] : std::string();
        }
    }
    gps.ReplayRecordedSentences({});
}

bool Fold(GpsValues& values, const Batch& batch) {
    for (const std::string& sentence : batch) values.Take(DecodeNmea(sentence));
    return values.FinishBatch();
}

void ExpectSame(const GpsState& gps, const GpsValues& values, const std::string& where) {
    EXPECT_EQ(values.latitude, gps.gpsLatitude) << where;
    EXPECT_EQ(values.longitude, gps.gpsLongitude) << where;
    EXPECT_EQ(values.speedKnots.value_or(0.0), gps.shipSpeedKnots) << where;
    EXPECT_EQ(values.speedKnots.has_value(), gps.speedDecoded != 0) << where;
    EXPECT_EQ(values.courseDeg.value_or(0.0), gps.gpsCourse) << where;
    EXPECT_EQ(values.headingDeg.value_or(0.0), gps.gpsHeading) << where;
    EXPECT_EQ(values.latitudeKnown, gps.latitudeText != "n/a") << where;
    EXPECT_EQ(values.longitudeKnown, gps.longitudeText != "n/a") << where;
    EXPECT_EQ(values.time ? ClockText(*values.time) : "n/a", gps.timeText) << where;
    EXPECT_EQ(values.date, gps.gpsDate) << where;
}

// Batches that exercise the carrying over: hemispheres signed only once both coordinates are
// known, a latitude without a longitude, fixes and no fixes, corrupted sentences.
const std::vector<Batch> kBatches = {
    {Nmea("GPVTG,054.7,T,034.4,M,005.5,N,010.2,K")},
    {Nmea("GPGGA,123519,4807.038,S,0113x.000,W,1,08,0.9,545.4,M,46.9,M,,")},
    {Nmea("GPGLL,4807.038,S,01131.000,W,123520.5,A"), Nmea("GPHDT,086.5,T")},
    {Nmea("GPRMC,123521,V,4807.038,N,01131.000,E,022.4,084.4,230394,,")},
    {Nmea("GPRMC,123522,A,4807.048,N,01131.010,E,022.4,084.4,230394,,"),
     Nmea("GPGGA,123522,4807.048,N,01131.010,E,1,08,0.9,545.4,M,46.9,M,,")},
    {"$GPRMC,123523,A,4807.058,S,01131.020,W,022.4,084.4,230394,,*00"},
    {Nmea("GPGGA,123524,0000.000,S,00000.000,W,1,08,0.9,545.4,M,46.9,M,,")},
    {Nmea("GPGGA,123525,4807.068,S,,,1,08,0.9,545.4,M,46.9,M,,")},
    {},
    {Nmea("GPRMC,000000,A,8959.999,N,17959.999,W,,,311299,,")},
};

TEST(GpsValuesTest, FoldedValuesAreThoseTheStateKeeps) {
    GpsState gps;
    GpsValues values;
    for (std::size_t i = 0; i < kBatches.size(); ++i) {
        const std::uint32_t before = gps.positionFixes;
        Replay(gps, kBatches[i]);
        const bool fix = Fold(values, kBatches[i]);
        const std::string where = "batch " + std::to_string(i);
        ExpectSame(gps, values, where);
        EXPECT_EQ(fix, gps.positionFixes > before) << where;
    }
}

TEST(GpsValuesTest, ForgettingThePositionIsResettingItsTexts) {
    // The way the exports read a recording record by record: the texts set back to "n/a"
    // before each record, so that the batch end signs only a position this record completed.
    GpsState gps;
    GpsValues values;
    for (std::size_t i = 0; i < kBatches.size(); ++i) {
        {
            std::lock_guard<std::mutex> guard(gps.lock);
            gps.latitudeText = gps.longitudeText = gps.timeText = "n/a";
        }
        values.ForgetPositionAndTime();
        Replay(gps, kBatches[i]);
        Fold(values, kBatches[i]);
        ExpectSame(gps, values, "batch " + std::to_string(i));
    }
}

TEST(GpsValuesTest, IsoDatesAreThoseTheDateTextsReadBackInto) {
    // Every day and month the two digits of a date field can give, in a leap year, a year
    // divisible by 100 and an ordinary one.
    for (const int year : {2000, 2024, 2023, 1999, 2069, 1970}) {
        for (int month = 0; month <= 99; ++month) {
            for (int day = 0; day <= 99; ++day) {
                const std::string text =
                    Printf("%02d-%s-%04d", day, MonthAbbreviation(month), year);
                const std::string iso = IsoDate(NmeaDate{day, month, year});
                EXPECT_EQ(iso, IsoDateOfText(text).value_or("")) << text;
            }
        }
    }
    EXPECT_EQ(IsoDate(NmeaDate{29, 2, 2024}), "2024-02-29");
    EXPECT_EQ(IsoDate(NmeaDate{29, 2, 2023}), "");
}

}  // namespace
