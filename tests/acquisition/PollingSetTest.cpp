// Which heads the polling cycle leaves out, rebuild by rebuild.

#include <gtest/gtest.h>

#include "acquisition/PollingSet.h"

namespace {

using Heads = std::array<bool, kHeadCount>;

struct RebuildCase {
    const char* name;
    Heads inUse;
    std::vector<Heads> missed;  // one entry per rebuild
    Heads leftOut;              // after the last rebuild
};

TEST(PollingSetTest, HeadsThatMissTwiceInARowAreLeftOutWhileOthersRemain) {
    const Heads all{true, true, true, true};
    const Heads none{};
    const RebuildCase cases[] = {
        {"one miss is not enough", all, {{true, false, false, false}}, none},
        {"two in a row",
         all,
         {{true, false, false, false}, {true, false, false, false}},
         {true, false, false, false}},
        {"an answer between breaks the row",
         all,
         {{false, false, true, false}, {false, false, false, false}, {false, false, true, false}},
         none},
        {"two heads at once",
         all,
         {{true, true, false, false}, {true, true, false, false}},
         {true, true, false, false}},
        {"every head missing leaves none out",
         all,
         {{true, true, true, true}, {true, true, true, true}, {true, true, true, true}},
         none},
        {"the last head in use is never left out",
         {false, true, false, false},
         {{false, true, false, false}, {false, true, false, false}},
         none},
        {"a head not in use is not counted",
         {false, true, true, false},
         {{true, false, true, false}, {true, false, true, false}},
         {false, false, true, false}},
        {"once left out, the others missing together stay in",
         all,
         {{true, false, false, false},
          {true, false, false, false},
          {false, true, true, true},
          {false, true, true, true}},
         {true, false, false, false}},
    };
    for (const RebuildCase& c : cases) {
        SCOPED_TRACE(c.name);
        PollingSet polling;
        for (const Heads& missed : c.missed) polling.Rebuilt(missed, c.inUse);
        EXPECT_EQ(polling.leftOut, c.leftOut);
        for (int h = 0; h < kHeadCount; ++h) EXPECT_EQ(polling.InCycle(h), !c.leftOut[h]) << h;
    }
}

TEST(PollingSetTest, RebuiltTellsWhenAHeadIsNewlyLeftOut) {
    PollingSet polling;
    const Heads all{true, true, true, true};
    const Heads l{true, false, false, false};
    EXPECT_FALSE(polling.Rebuilt(l, all));
    EXPECT_TRUE(polling.Rebuilt(l, all));
    EXPECT_FALSE(polling.Rebuilt(l, all)) << "already out";
    EXPECT_EQ(polling.LeftOutCount(), 1);
}

TEST(PollingSetTest, AnAnswerRejoinsAtTheNextBoundaryWhenTheHeadIsConnected) {
    const Heads all{true, true, true, true};
    const Heads h{false, false, true, false};
    PollingSet polling;
    polling.Rebuilt(h, all);
    polling.Rebuilt(h, all);
    ASSERT_TRUE(polling.ToRetry(kHeadH));

    EXPECT_FALSE(polling.Rejoin(all)) << "it has not answered";
    polling.Answered(kHeadH);
    EXPECT_FALSE(polling.ToRetry(kHeadH)) << "answering: not retried";
    EXPECT_FALSE(polling.InCycle(kHeadH)) << "not before the boundary";

    // Its connection closed after the answer: it stays out and is tried again.
    EXPECT_FALSE(polling.Rejoin({true, true, false, true}));
    EXPECT_TRUE(polling.ToRetry(kHeadH));

    polling.Answered(kHeadH);
    EXPECT_TRUE(polling.Rejoin(all));
    EXPECT_TRUE(polling.InCycle(kHeadH));
    EXPECT_FALSE(polling.AnyLeftOut());

    // Back in the cycle, it needs two misses in a row again.
    EXPECT_FALSE(polling.Rebuilt(h, all));
    EXPECT_TRUE(polling.Rebuilt(h, all));
    polling.Restart();
    EXPECT_FALSE(polling.AnyLeftOut());
    EXPECT_FALSE(polling.Rebuilt(h, all)) << "the count starts afresh";
}

}  // namespace
