#include <gtest/gtest.h>

#include "acquisition/RangeList.h"
#include "document/CVantrelDoc.h"
#include "support/FakePlatform.h"

namespace {

TEST(RangeListTest, IndexOfStoredRanges) {
    struct Case {
        int metres, index;
    };
    const Case cases[] = {{10, 5},  {50, 9},  {120, 13}, {500, 19}, {45, 15},
                          {7, 15},  {5, 15},  {1, 15},   {0, 15},   {-50, 15}, {501, 15}};
    for (const Case& c : cases) EXPECT_EQ(RangeIndexOf(c.metres), c.index) << c.metres;
}

TEST(DocumentCoreTest, InitialValuesAndTheDocumentPointer) {
    EXPECT_EQ(TheDocument(), nullptr);
    {
        FakePlatform platform;
        CVantrelDoc doc(platform);
        EXPECT_EQ(TheDocument(), &doc);
        const char* addresses[] = {"192.168.0.2", "192.168.0.3", "192.168.0.4", "192.168.0.5"};
        const int freqs[] = {120000, 260000, 675000, 200000};
        for (int h = 0; h < 4; ++h) {
            EXPECT_EQ(doc.heads[h].ipAddress, addresses[h]);
            EXPECT_EQ(doc.heads[h].frequencyHz, freqs[h]);
            EXPECT_EQ(doc.heads[h].gainDb, 6);
            EXPECT_EQ(doc.heads[h].available, 1);
            EXPECT_EQ(doc.heads[h].headerId, "n/a");
            EXPECT_EQ(doc.heads[h].socket->connected, 0);
            EXPECT_EQ(doc.heads[h].socket->headIndex, h);
        }
        EXPECT_EQ(doc.headPort, 4040);
        EXPECT_EQ(doc.range, 50);
        EXPECT_EQ(doc.rangeIndex, 9);
        EXPECT_EQ(doc.displayChannelA, 0);
        EXPECT_EQ(doc.displayChannelB, 2);
        EXPECT_EQ(doc.discoveryMode, 1);
        EXPECT_EQ(doc.noDataFlag, 1);
        EXPECT_EQ(doc.playbackMode, 0);
    }
    EXPECT_EQ(TheDocument(), nullptr);
}

TEST(ConfigureHeadsTest, Configurations) {
    struct Case {
        int present[4];
        int headCount, three, two, channelA, channelB;
    };
    const Case cases[] = {
        {{1, 1, 1, 1}, 4, 1, 0, 0, 2},  // three-frequency with echo sounder
        {{1, 1, 1, 0}, 3, 1, 0, 0, 2},  // three-frequency
        {{0, 1, 1, 1}, 3, 0, 1, 1, 2},  // two-frequency with echo sounder
        {{1, 1, 0, 1}, 3, 0, 1, 0, 1},
        {{1, 0, 1, 1}, 3, 0, 1, 0, 2},
        {{1, 0, 1, 0}, 2, 0, 1, 0, 2},  // two-frequency without echo sounder
        {{0, 1, 1, 0}, 2, 0, 1, 1, 2},
        {{1, 1, 0, 0}, 2, 0, 1, 0, 1},
        {{1, 0, 0, 1}, 2, 0, 0, 0, 0},  // neither: the last side-scan head wins
        {{0, 0, 1, 0}, 1, 0, 0, 2, 2},
        {{0, 0, 0, 1}, 1, 0, 0, 0, 2},  // no side-scan head: channels untouched
        {{0, 0, 0, 0}, 0, 0, 0, 0, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.present[0] << c.present[1] << c.present[2]
                                          << c.present[3]);
        FakePlatform platform;
        CVantrelDoc doc(platform);
        doc.ConfigureHeads(c.present);
        EXPECT_EQ(doc.headCount, c.headCount);
        EXPECT_EQ(doc.threeFrequencySystem, c.three);
        EXPECT_EQ(doc.twoFrequencySystem, c.two);
        EXPECT_EQ(doc.displayChannelA, c.channelA);
        EXPECT_EQ(doc.displayChannelB, c.channelB);
    }
}

TEST(ConfigureHeadsTest, ReconfiguringToThreeFrequenciesClearsTheTwoFrequencyFlag) {
    FakePlatform platform;
    CVantrelDoc doc(platform);
    const int two[4] = {1, 0, 1, 0};
    const int three[4] = {1, 1, 1, 1};
    doc.ConfigureHeads(two);
    ASSERT_EQ(doc.twoFrequencySystem, 1);
    doc.ConfigureHeads(three);
    EXPECT_EQ(doc.threeFrequencySystem, 1);
    EXPECT_EQ(doc.twoFrequencySystem, 0);
}

}  // namespace
