// Polling without a head that stopped answering, step by step on the fake platform: two
// missed rebuilds leave it out, the others complete cycles without it, it is tried again on a
// fresh connection every 3 s and joins the cycle again after it has answered.

#include <gtest/gtest.h>

#include "SimReplies.h"
#include "document/CVantrelDoc.h"
#include "platform/TimerIds.h"
#include "support/FakePlatform.h"

namespace {

class DegradedPollingTest : public ::testing::Test {
protected:
    void SetUp() override { platform.connectAddress = "127.0.0.2"; }

    static std::vector<std::uint8_t> Reply(int head, int half) {
        std::vector<std::uint8_t> samples(kReplyDataLength, static_cast<std::uint8_t>(head + 1));
        return sim::BuildDataReply("HD" + std::to_string(head), 0, static_cast<std::uint8_t>(half),
                                   samples.data());
    }
    void Discover(std::uint8_t presence) {
        sim::SimSystemInfo info;
        info.presence = presence;
        for (int h = 0; h < kHeadCount; ++h) {
            info.heads[h] = {100, 50, 600, "127.0.0." + std::to_string(h + 2)};
        }
        doc.ConnectToSonarHead();
        platform.Socket(0).CompleteConnect();
        platform.Socket(0).Arrive(sim::BuildSystemInfoReply(info));
    }
    void CompleteConnects() {
        for (int h = 0; h < kHeadCount; ++h) {
            if (platform.Socket(h).connectPending) platform.Socket(h).CompleteConnect();
        }
    }
    // Answers the polled head's outstanding request; returns "h/half", then "cycle" when the
    // answer completed an accepted cycle.
    std::string AnswerPolled() {
        const int h = doc.currentHead;
        const int half = platform.Socket(h).sent.back()[10];
        const int accepted = doc.acceptedCycleCount;
        platform.Socket(h).Arrive(Reply(h, half));
        std::string step = std::to_string(h) + "/" + std::to_string(half);
        return doc.acceptedCycleCount != accepted ? step + " cycle" : step;
    }
    std::string AnswerPolled(int replies) {
        std::string trace;
        for (int i = 0; i < replies; ++i) trace += (trace.empty() ? "" : " ") + AnswerPolled();
        return trace;
    }
    // The heads before `silent` answer until its request is the one outstanding.
    void AnswerUntilWaitingFor(int silent) {
        for (int i = 0; i < 2 * kHeadCount && doc.currentHead != silent; ++i) AnswerPolled();
        ASSERT_EQ(doc.currentHead, silent);
    }
    // The silent head misses its reply at `rebuilds` rebuilds by the reply timer.
    void MissAtRebuilds(int silent, int rebuilds) {
        for (int i = 0; i < rebuilds; ++i) {
            AnswerUntilWaitingFor(silent);
            platform.FireTimer(kTimerReply);
            CompleteConnects();
        }
    }
    // One cycle of the heads in `heads`, in HeadChannel order, as the trace shows it.
    static std::string CycleOf(const std::vector<int>& heads) {
        std::string trace;
        for (int h : heads) {
            trace +=
                (trace.empty() ? "" : " ") + std::to_string(h) + "/0 " + std::to_string(h) + "/16";
        }
        return trace + " cycle";
    }
    std::string Links() const { return LinkStatusText(doc.links); }

    FakePlatform platform;
    CVantrelDoc doc{platform};
};

struct SilentHead {
    int head;
    std::vector<int> others;
    const char* degradedPane;
};

void PrintTo(const SilentHead& c, std::ostream* out) {
    *out << HeadLabel(c.head);
}

class SilentHeadTest : public DegradedPollingTest,
                       public ::testing::WithParamInterface<SilentHead> {};

TEST_P(SilentHeadTest, TwoMissedRebuildsLeaveItOutAndAnAnswerBringsItBack) {
    const SilentHead& c = GetParam();
    const int s = c.head;
    Discover(0x0F);
    CompleteConnects();
    EXPECT_EQ(AnswerPolled(2 * kHeadCount), CycleOf({0, 1, 2, 3})) << "all answer at first";
    ASSERT_NE(doc.heads[s].line, decltype(doc.heads[s].line){});
    MissAtRebuilds(s, 1);
    EXPECT_TRUE(doc.polling.InCycle(s)) << "one missed rebuild is not enough";
    AnswerUntilWaitingFor(s);
    const std::string stalled =
        std::string("silent: ") + HeadLabel(s) + "  stalled by " + HeadLabel(s);
    EXPECT_NE(Links().find(stalled), std::string::npos) << Links();

    platform.FireTimer(kTimerReply);
    EXPECT_FALSE(doc.polling.InCycle(s));
    EXPECT_TRUE(platform.TimerRunning(kTimerHeadRetry));
    EXPECT_EQ(platform.TimerPeriod(kTimerHeadRetry), 3000);
    // Every head is connected again; polling starts once the others are, and the silent head
    // is asked on its own connection, outside the cycle.
    const std::size_t sentBefore = platform.Socket(s).sent.size();
    CompleteConnects();
    EXPECT_EQ(doc.State(), EngineState::Polling);
    ASSERT_EQ(platform.Socket(s).sent.size(), sentBefore + 1);
    EXPECT_EQ(platform.Socket(s).sent.back()[1], 0x44);
    EXPECT_EQ(platform.Socket(s).sent.back()[10], 0x00);

    const int accepted = doc.acceptedCycleCount;
    EXPECT_EQ(AnswerPolled(4 * static_cast<int>(c.others.size())),
              CycleOf(c.others) + " " + CycleOf(c.others));
    EXPECT_EQ(doc.acceptedCycleCount, accepted + 2);
    EXPECT_EQ(Links(), c.degradedPane);
    EXPECT_FALSE(doc.HeadHasData(s));
    EXPECT_EQ(doc.heads[s].line, decltype(doc.heads[s].line){}) << "its old line is not shown";

    // Tried again every 3 s on a fresh connection, counted as a reconnection; the others poll
    // on meanwhile.
    const int connects = platform.Socket(s).connectCount;
    const int rebuilds = doc.rebuildCount;
    platform.FireTimer(kTimerHeadRetry);
    EXPECT_EQ(platform.Socket(s).connectCount, connects + 1);
    EXPECT_EQ(doc.rebuildCount, rebuilds + 1);
    platform.Socket(s).CompleteConnect();
    AnswerPolled();

    // It answers: ok at once, and polled again from the next cycle on.
    platform.Socket(s).Arrive(Reply(s, 0));
    EXPECT_EQ(Links(), "ok: L M H ES");
    std::string trace;
    while (trace.find("cycle") == std::string::npos) trace = AnswerPolled();
    EXPECT_TRUE(doc.polling.InCycle(s));
    EXPECT_EQ(AnswerPolled(2 * kHeadCount), CycleOf({0, 1, 2, 3}));
    platform.FireTimer(kTimerHeadRetry);
    EXPECT_FALSE(platform.TimerRunning(kTimerHeadRetry)) << "nothing left to retry";
}

INSTANTIATE_TEST_SUITE_P(
    Heads, SilentHeadTest,
    ::testing::Values(SilentHead{kHeadL, {1, 2, 3}, "ok: M H ES  silent: L  polling without L"},
                      SilentHead{kHeadM, {0, 2, 3}, "ok: L H ES  silent: M  polling without M"},
                      SilentHead{kHeadH, {0, 1, 3}, "ok: L M ES  silent: H  polling without H"},
                      SilentHead{kHeadES, {0, 1, 2}, "ok: L M H  silent: ES  polling without ES"}),
    [](const auto& info) { return std::string(HeadLabel(info.param.head)); });

TEST_F(DegradedPollingTest, MissesMustComeAtRebuildsInARow) {
    Discover(0x0F);
    CompleteConnects();
    MissAtRebuilds(kHeadH, 1);
    EXPECT_EQ(AnswerPolled(2 * kHeadCount), CycleOf({0, 1, 2, 3})) << "H answers this time";
    MissAtRebuilds(kHeadH, 1);
    EXPECT_TRUE(doc.polling.InCycle(kHeadH));
    EXPECT_FALSE(platform.TimerRunning(kTimerHeadRetry));
}

// While every head answers, nothing of the above happens: the calls are those of a healthy
// installation (no retry timer, no request outside the cycle).
TEST_F(DegradedPollingTest, HeadsThatAnswerAreNeverLeftOut) {
    Discover(0x0F);
    CompleteConnects();
    platform.TakeCalls();
    AnswerPolled(8 * kHeadCount);
    for (const std::string& call : platform.TakeCalls()) {
        EXPECT_EQ(call.find("1021"), std::string::npos) << call;
        EXPECT_EQ(call.find("connect"), std::string::npos) << call;
    }
    EXPECT_FALSE(doc.polling.AnyLeftOut());
}

// A head whose connects fail keeps the others from ever starting a cycle until it is left out.
TEST_F(DegradedPollingTest, AHeadThatCannotBeConnectedIsLeftOutToo) {
    platform.Socket(kHeadM).outcome = FakeSocket::Outcome::ErrorReturned;
    Discover(0x0F);
    CompleteConnects();
    for (int rebuild = 0; rebuild < 2; ++rebuild) {
        EXPECT_EQ(doc.State(), EngineState::Connecting) << "polling waits for M";
        platform.FireTimer(kTimerReply);
        CompleteConnects();
    }
    EXPECT_EQ(doc.State(), EngineState::Polling);
    EXPECT_EQ(AnswerPolled(6), CycleOf({0, 2, 3}));
    EXPECT_EQ(Links(), "ok: L H ES  silent: M  polling without M");
}

// The left-out head's connection closing does not rebuild the heads that answer.
TEST_F(DegradedPollingTest, ALeftOutHeadClosingDisturbsNoOtherHead) {
    Discover(0x0F);
    CompleteConnects();
    MissAtRebuilds(kHeadL, 2);
    AnswerPolled(3);
    const int rebuilds = doc.rebuildCount;
    platform.Socket(kHeadL).RemoteClose();
    EXPECT_EQ(doc.rebuildCount, rebuilds);
    EXPECT_EQ(doc.State(), EngineState::Polling);
    EXPECT_EQ(AnswerPolled(3), "2/16 3/0 3/16 cycle");
}

// A head that stalls while another is left out is rebuilt as before, and the left-out head
// is connected with the rest; after answering it is part of the rebuilt cycle at once.
TEST_F(DegradedPollingTest, ARebuildConnectsTheLeftOutHeadAndTakesItBackWhenItAnswered) {
    Discover(0x0F);
    CompleteConnects();
    MissAtRebuilds(kHeadL, 2);
    platform.Socket(kHeadL).Arrive(Reply(kHeadL, 0));
    AnswerPolled(1);
    platform.FireTimer(kTimerReply);  // M's second half never came
    EXPECT_TRUE(doc.polling.InCycle(kHeadL));
    CompleteConnects();
    EXPECT_EQ(AnswerPolled(2 * kHeadCount), CycleOf({0, 1, 2, 3}));
}

// The operator's Reconnect starts afresh: every head is in the cycle again.
TEST_F(DegradedPollingTest, ReconnectPutsEveryHeadBackIntoTheCycle) {
    Discover(0x0F);
    CompleteConnects();
    MissAtRebuilds(kHeadES, 2);
    ASSERT_FALSE(doc.polling.InCycle(kHeadES));
    doc.Reconnect();
    EXPECT_TRUE(doc.polling.InCycle(kHeadES));
    EXPECT_EQ(Links(), "connecting: L M H ES");
}

}  // namespace
