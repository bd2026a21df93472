// Recovery of the engine over time on the fake platform: connects that fail at once, the link
// states the operator sees and the Reconnect command.

#include <gtest/gtest.h>

#include "SimReplies.h"
#include "acquisition/CVantrelDoc.h"
#include "platform/TimerIds.h"
#include "support/FakePlatform.h"

namespace {

using Outcome = FakeSocket::Outcome;

class EngineRecoveryTest : public ::testing::Test {
protected:
    void SetUp() override { platform.connectAddress = "127.0.0.2"; }

    static sim::SimSystemInfo Installation(std::uint8_t presence) {
        sim::SimSystemInfo info;
        info.presence = presence;
        for (int h = 0; h < kHeadCount; ++h) {
            info.heads[h] = {100, 50, 600, "127.0.0." + std::to_string(h + 2)};
        }
        return info;
    }
    static std::vector<std::uint8_t> Reply(int head, int half, std::uint8_t status = 0) {
        std::vector<std::uint8_t> samples(kReplyDataLength, static_cast<std::uint8_t>(head + 1));
        return sim::BuildDataReply("HD" + std::to_string(head), status,
                                   static_cast<std::uint8_t>(half), samples.data());
    }
    // "YES", head 0 connects and reports the installation; the heads then start connecting.
    void Discover(std::uint8_t presence) {
        doc.ConnectToSonarHead();
        platform.Socket(0).CompleteConnect();
        platform.Socket(0).Arrive(sim::BuildSystemInfoReply(Installation(presence)));
    }
    void CompleteConnects() {
        for (int h = 0; h < kHeadCount; ++h) {
            if (platform.Socket(h).connectPending) platform.Socket(h).CompleteConnect();
        }
    }
    // Answers the outstanding request of the polled head.
    void AnswerRequest() {
        const int h = doc.currentHead;
        const int half = platform.Socket(h).sent.back()[10];
        platform.Socket(h).Arrive(Reply(h, half));
    }
    std::string Links() const { return LinkStatusText(doc.links); }

    FakePlatform platform;
    CVantrelDoc doc{platform};
};

struct FailingConnect {
    const char* name;
    Outcome outcome;
    bool discovering;  // else the heads fail after the installation has answered
};

void PrintTo(const FailingConnect& c, std::ostream* out) {
    *out << c.name;
}

class FailingConnectTest : public EngineRecoveryTest,
                           public ::testing::WithParamInterface<FailingConnect> {};

// A head without a route to it (or one that drops every connection) is tried again once per
// reply period, not as fast as the failures come, and every try is counted as a reconnect.
TEST_P(FailingConnectTest, ConnectsThatFailAtOnceAreRetriedOncePerReplyPeriod) {
    const FailingConnect& c = GetParam();
    const int watched = c.discovering ? 1 : kHeadCount;
    for (int h = 0; h < kHeadCount; ++h) platform.Socket(h).outcome = c.outcome;
    if (c.discovering) {
        doc.ConnectToSonarHead();
    } else {
        platform.Socket(0).outcome = Outcome::Pending;
        doc.ConnectToSonarHead();
        platform.Socket(0).CompleteConnect();
        platform.Socket(0).outcome = c.outcome;
        for (int h = 0; h < kHeadCount; ++h) platform.Socket(h).connectCount = 0;
        platform.Socket(0).Arrive(sim::BuildSystemInfoReply(Installation(0x0F)));
    }
    const int rebuildsBefore = doc.rebuildCount;
    ASSERT_TRUE(platform.RunFor(10000)) << "a storm of notifications";
    for (int h = 0; h < watched; ++h) {
        SCOPED_TRACE(h);
        EXPECT_GE(platform.Socket(h).connectCount, 4) << "retried every 3 s";
        EXPECT_LE(platform.Socket(h).connectCount, 5);
        EXPECT_EQ(doc.rebuildCount - rebuildsBefore, platform.Socket(h).connectCount - 1)
            << "each retry is one reconnect";
    }
    EXPECT_EQ(Links(), c.discovering ? "silent: L" : "silent: L M H ES");
    if (c.discovering) {
        EXPECT_EQ(doc.State(), EngineState::Discovering);
    }

    // Once the heads answer again, the next retry finds them and polling starts.
    for (int h = 0; h < kHeadCount; ++h) platform.Socket(h).outcome = Outcome::Pending;
    ASSERT_TRUE(platform.RunFor(3000));
    ASSERT_TRUE(platform.Socket(0).connectPending);
    if (c.discovering) {
        platform.Socket(0).CompleteConnect();
        platform.Socket(0).Arrive(sim::BuildSystemInfoReply(Installation(0x0F)));
    }
    CompleteConnects();
    EXPECT_EQ(doc.State(), EngineState::Polling);
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, FailingConnectTest,
    ::testing::Values(
        FailingConnect{"DiscoveryErrorReturned", Outcome::ErrorReturned, true},
        FailingConnect{"DiscoveryErrorNotified", Outcome::ErrorNotified, true},
        FailingConnect{"DiscoveryCloseNotified", Outcome::CloseNotified, true},
        FailingConnect{"DiscoveryAcceptedThenClosed", Outcome::AcceptedThenClosed, true},
        FailingConnect{"HeadsErrorReturned", Outcome::ErrorReturned, false},
        FailingConnect{"HeadsErrorNotified", Outcome::ErrorNotified, false},
        FailingConnect{"HeadsCloseNotified", Outcome::CloseNotified, false},
        FailingConnect{"HeadsAcceptedThenClosed", Outcome::AcceptedThenClosed, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(EngineRecoveryTest, AHeadThatAnsweredAndThenClosedIsReconnectedAtOnce) {
    Discover(0x01);
    CompleteConnects();
    AnswerRequest();
    const int rebuilds = doc.rebuildCount;
    platform.Socket(0).RemoteClose();
    EXPECT_EQ(doc.rebuildCount, rebuilds + 1);
    EXPECT_TRUE(platform.Socket(0).connectPending);
    EXPECT_EQ(Links(), "silent: L") << "until it answers again";
    platform.Socket(0).CompleteConnect();
    AnswerRequest();
    EXPECT_EQ(Links(), "ok: L");
}

TEST_F(EngineRecoveryTest, LinkStatesFollowTheEngine) {
    EXPECT_EQ(Links(), "") << "nothing chosen yet";
    doc.ConnectToSonarHead();
    EXPECT_EQ(Links(), "connecting: L") << "discovery knows head 0 only";
    platform.Socket(0).CompleteConnect();
    platform.Socket(0).Arrive(sim::BuildSystemInfoReply(Installation(0x0D)));
    EXPECT_EQ(Links(), "connecting: L H ES") << "the installation's heads";
    CompleteConnects();
    for (int i = 0; i < 6; ++i) AnswerRequest();
    EXPECT_EQ(Links(), "ok: L H ES");
    // Head 2 is asked and never answers: at the timeout it is silent, the others reconnect.
    AnswerRequest();
    AnswerRequest();
    ASSERT_EQ(doc.currentHead, kHeadH);
    platform.FireTimer(kTimerReply);
    EXPECT_EQ(Links(), "connecting: L ES  silent: H");
    CompleteConnects();
    for (int i = 0; i < 6; ++i) AnswerRequest();
    EXPECT_EQ(Links(), "ok: L H ES");
}

TEST_F(EngineRecoveryTest, ReconnectShowsEveryHeadConnectingAndIsCounted) {
    Discover(0x0F);
    CompleteConnects();
    for (int i = 0; i < 8; ++i) AnswerRequest();
    ASSERT_EQ(Links(), "ok: L M H ES");
    const int rebuilds = doc.rebuildCount;
    doc.Reconnect();
    EXPECT_EQ(doc.rebuildCount, rebuilds + 1);
    EXPECT_EQ(Links(), "connecting: L M H ES");
    CompleteConnects();
    EXPECT_EQ(doc.State(), EngineState::Polling);
}

}  // namespace
