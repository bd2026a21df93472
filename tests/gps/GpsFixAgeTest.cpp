// The age of the last fix and of the last sentences on the window thread's clock, the
// threshold after which the GPS counts as lost, the texts that say so, and the gaps of a
// recording that carries no GPS sentence.

#include <gtest/gtest.h>

#include "gps/CycleTime.h"
#include "gps/GpsFixAge.h"
#include "gps/GpsGaps.h"

namespace {

TEST(GpsFixAgeTest, ThresholdIsTheSettingOrThreeReadsWhicheverIsLonger) {
    struct Case {
        int settingMs, intervalMs;
        std::uint32_t threshold;
    };
    const Case cases[] = {
        {3000, 1000, 3000}, {3000, 200, 3000},  {3000, 2000, 6000}, {1000, 1000, 3000},
        {5000, 1000, 5000}, {50, 200, 600},     {0, 0, kGpsLostAfterMinMs},
        {-7, 0, 100},       {999999999, 200, 600000},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(GpsLostThresholdMs(c.settingMs, c.intervalMs), c.threshold)
            << c.settingMs << " " << c.intervalMs;
    }
}

TEST(GpsFixAgeTest, AgesRunFromTheLookThatSawACounterMove) {
    GpsFixAge age;
    age.Reset(5, 9);  // what the state had counted before: not a fix of this run
    EXPECT_FALSE(age.FixAgeMs(1000));
    EXPECT_FALSE(age.SentenceAgeMs(1000));
    age.Observe(5, 10, 1000);  // sentences without a fix
    EXPECT_FALSE(age.FixAgeMs(1500));
    EXPECT_EQ(age.SentenceAgeMs(1500), 500u);
    age.Observe(6, 11, 2000);
    age.Observe(6, 11, 2900);  // nothing new: the ages grow
    EXPECT_EQ(age.FixAgeMs(2900), 900u);
    EXPECT_EQ(age.SentenceAgeMs(4100), 2100u);
    age.Observe(6, 12, 5000);  // new sentences, no new fix
    EXPECT_EQ(age.FixAgeMs(5000), 3000u);
    EXPECT_EQ(age.SentenceAgeMs(5000), 0u);
    age.Reset(6, 12);
    EXPECT_FALSE(age.FixAgeMs(5000));
}

TEST(GpsFixAgeTest, AgesSurviveTheClockWrapping) {
    GpsFixAge age;
    age.Observe(1, 1, 0xFFFFFF00u);
    EXPECT_EQ(age.FixAgeMs(0x00000100u), 0x200u);
}

TEST(GpsFixAgeTest, StatusIsLostOnlyAfterAFixGrewOlderThanTheThreshold) {
    struct Case {
        std::optional<std::uint32_t> ageMs;
        bool lost;
        const char* ageText;
    };
    const Case cases[] = {
        {std::nullopt, false, "n/a"}, {0, false, "0.0 s"},     {400, false, "0.4 s"},
        {3000, false, "3.0 s"},       {3001, true, "3.0 s"},   {9949, true, "9.9 s"},
        {12000, true, "12 s"},        {125999, true, "125 s"},
    };
    for (const Case& c : cases) {
        GpsFixStatus status;
        status.ageMs = c.ageMs;
        status.thresholdMs = 3000;
        EXPECT_EQ(status.Lost(), c.lost) << (c.ageMs ? *c.ageMs : 0);
        EXPECT_EQ(GpsAgeText(status), c.ageText);
    }
    const std::pair<std::uint32_t, const char*> texts[] = {
        {3001, "GPS lost 3 s"},          {12999, "GPS lost 12 s"},
        {119999, "GPS lost 119 s"},      {120000, "GPS lost 2 min"},
        {7199999, "GPS lost 119 min"},   {7200000, "GPS lost 2 h"},
        {0xFFFFFFFFu, "GPS lost 1193 h"},
    };
    for (const auto& [ms, text] : texts) EXPECT_EQ(GpsLostText(ms), text) << ms;
}

TEST(GpsFixAgeTest, ReasonNamesTheDeviceFirstThenTheReceiver) {
    GpsFixStatus status;
    EXPECT_EQ(GpsLostReason(status), "no position received");
    status.receiverSaysNoFix = true;
    EXPECT_EQ(GpsLostReason(status), "the receiver reports no fix");
    status.deviceLost = true;
    EXPECT_EQ(GpsLostReason(status), "the GPS device is lost");
}

TEST(GpsFixAgeTest, RecordClockCountsAcrossMidnightAndMonths) {
    CycleTime a, b;
    a.year = 2025, a.month = 12, a.day = 31, a.hour = 23, a.minute = 59, a.second = 58;
    a.milliseconds = 500;
    b.year = 2026, b.month = 1, b.day = 1, b.hour = 0, b.minute = 0, b.second = 1;
    b.milliseconds = 250;
    EXPECT_EQ(CycleClockMs(b) - CycleClockMs(a), 2750u);
    CycleTime epoch;
    epoch.year = 1970, epoch.month = 1, epoch.day = 1, epoch.second = 3;
    EXPECT_EQ(CycleClockMs(epoch), 3000u);
    CycleTime noDate;  // a stamp that never was: counts from day 0
    noDate.hour = 1;
    EXPECT_EQ(CycleClockMs(noDate), 3600000u);
}

TEST(GpsGapsTest, RecordsWithoutSentencesAreCountedAsGapsOfPings) {
    using Sentences = std::array<std::string, kSentenceSlots>;
    EXPECT_FALSE(CarriesGpsSentences(Sentences{}));
    EXPECT_FALSE(CarriesGpsSentences(Sentences{"$GPS"}));
    EXPECT_TRUE(CarriesGpsSentences(Sentences{"$GPRMC,1"}));
    EXPECT_TRUE(CarriesGpsSentences(Sentences{"", "", "$GPHDT,1"}));
    EXPECT_TRUE(CarriesGpsSentences(Sentences{"$GPS", "$GPS"}));  // not how an empty block reads

    struct Case {
        const char* pattern;  // one letter a ping from ping 1: '+' with sentences, '-' without
        std::uint64_t records;
        std::size_t gaps;
        const char* note;
    };
    const Case cases[] = {
        {"++++", 0, 0, ""},
        {"+-++", 1, 1, "1 record carries no GPS sentence: ping 2"},
        {"+--+", 2, 1, "2 records carry no GPS sentence: pings 2-3"},
        {"-+-+", 2, 2, "2 records carry no GPS sentence: pings 1 and 3"},
        {"-+-+-+--", 5, 4, "5 records carry no GPS sentence: pings 1, 3, 5 and 7-8"},
        {"-+-+-+-+-+-+-", 7, 7,
         "7 records carry no GPS sentence: pings 1, 3, 5, 7, 9 and 2 more gaps"},
    };
    for (const Case& c : cases) {
        GpsGaps gaps;
        std::int64_t ping = 1;
        for (const char* p = c.pattern; *p; ++p) gaps.Add(ping++, *p == '+');
        EXPECT_EQ(gaps.Records(), c.records) << c.pattern;
        EXPECT_EQ(gaps.Gaps().size(), c.gaps) << c.pattern;
        EXPECT_EQ(gaps.Note(), c.note) << c.pattern;
    }
}

}  // namespace
