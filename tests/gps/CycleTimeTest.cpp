#include <gtest/gtest.h>

#include <string>

#include "document/CVantrelDoc.h"
#include "gps/CycleTime.h"
#include "support/FakePlatform.h"

namespace {

std::string Text(const char* data) {
    return std::string(data);
}

TEST(CycleTimeTest, TextsOfTheStamp) {
    struct Case {
        LocalTime now;
        const char *date, *clock, *millis;
    };
    const Case cases[] = {
        {{2009, 7, 6, 4, 9, 5, 3, 7}, "04-JUL-2009", "09:05:03", ".007"},
        {{1999, 12, 5, 31, 23, 59, 59, 999}, "31-DEC-1999", "23:59:59", ".999"},
        {{2024, 1, 1, 1, 0, 0, 0, 0}, "01-JAN-2024", "00:00:00", ".000"},
        {{2010, 2, 1, 28, 12, 30, 45, 50}, "28-FEB-2010", "12:30:45", ".050"},
        // Out-of-range clock values are cut to the widths the texts have.
        {{12345, 5, 0, 9, 1, 2, 3, 4}, "09-MAY-1234", "01:02:03", ".004"},
        {{2009, 13, 0, 4, 123, 5, 3, 7}, "04--2009", "123:05:0", ".007"},
    };
    for (const Case& c : cases) {
        CycleTime stamp;
        stamp.Stamp(c.now);
        EXPECT_EQ(Text(stamp.cycleDateText.data()), c.date);
        EXPECT_EQ(Text(stamp.cycleClockText.data()), c.clock);
        EXPECT_EQ(Text(stamp.cycleMillisText.data()), c.millis);
    }
}

TEST(CycleTimeTest, MonthAbbreviations) {
    const char* expected[] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                              "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
    for (int month = 1; month <= 12; ++month) {
        EXPECT_STREQ(MonthAbbreviation(month), expected[month - 1]);
    }
    EXPECT_STREQ(MonthAbbreviation(0), "");
    EXPECT_STREQ(MonthAbbreviation(13), "");
}

TEST(CycleTimeTest, ClockFieldsAreKept) {
    CycleTime stamp;
    stamp.Stamp({2009, 7, 6, 4, 9, 5, 3, 7});
    EXPECT_EQ(stamp.year, 2009);
    EXPECT_EQ(stamp.month, 7);
    EXPECT_EQ(stamp.dayOfWeek, 6);
    EXPECT_EQ(stamp.day, 4);
    EXPECT_EQ(stamp.hour, 9);
    EXPECT_EQ(stamp.minute, 5);
    EXPECT_EQ(stamp.second, 3);
    EXPECT_EQ(stamp.milliseconds, 7);
}

TEST(CycleTimeTest, AcceptedCycleStoresTheLocalTimeOfTheCycle) {
    FakePlatform platform;
    CVantrelDoc doc(platform);
    platform.now = {2009, 7, 6, 4, 9, 5, 3, 7};
    doc.CycleComplete();  // all headers clean: the cycle is accepted and stored
    ASSERT_EQ(doc.history.writeIndex, 1);
    const auto& time = doc.history.Record(0).time;
    EXPECT_EQ(std::string(time.begin(), time.end()), "09:05:03.007");
    EXPECT_EQ(Text(doc.cycleTime.cycleDateText.data()), "04-JUL-2009");
    EXPECT_EQ(doc.images.RowStamp(kCompositeSlot, 0).Time(), "09:05:03.007");
}

TEST(CycleTimeTest, RejectedCycleIsStampedButNotStored) {
    FakePlatform platform;
    CVantrelDoc doc(platform);
    platform.now = {2011, 3, 1, 15, 8, 0, 1, 2};
    doc.heads[kHeadM].replyHeader[3] = 0x04;
    doc.CycleComplete();
    EXPECT_EQ(doc.history.writeIndex, 0);
    EXPECT_EQ(Text(doc.cycleTime.cycleClockText.data()), "08:00:01");
}

}  // namespace
