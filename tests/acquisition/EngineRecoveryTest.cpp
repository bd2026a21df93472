// Recovery of the engine over time on the fake platform: connects that fail at once, the link
// states the operator sees, the Reconnect command, and faulty statuses in either half.

#include <gtest/gtest.h>

#include "SimReplies.h"
#include "document/CVantrelDoc.h"
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
    // Answers the outstanding request of the polled head; first and second halves may carry
    // statuses of their own.
    void AnswerRequest(std::uint8_t firstStatus = 0, std::uint8_t secondStatus = 0) {
        const int h = doc.currentHead;
        const int half = platform.Socket(h).sent.back()[10];
        platform.Socket(h).Arrive(Reply(h, half, half == 0 ? firstStatus : secondStatus));
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

struct HalfStatus {
    int head;
    std::uint8_t first, second;
    bool accepted;
};

// Each half of a ping carries its own status: either one with a bit of 0x7C rejects the cycle,
// while the header that is kept (and shown, and recorded) is the second half's.
TEST_F(EngineRecoveryTest, AFaultyStatusInEitherHalfRejectsTheCycle) {
    const HalfStatus cases[] = {
        {kHeadL, 0x7C, 0x00, false},  {kHeadL, 0x04, 0x00, false}, {kHeadM, 0x40, 0x00, false},
        {kHeadES, 0x10, 0x00, false}, {kHeadH, 0x00, 0x08, false}, {kHeadM, 0x83, 0x00, true},
        {kHeadH, 0x00, 0x81, true},   {kHeadL, 0x00, 0x00, true},
    };
    Discover(0x0F);
    CompleteConnects();
    for (const HalfStatus& c : cases) {
        SCOPED_TRACE(::testing::Message() << "head " << c.head << " first " << int(c.first)
                                          << " second " << int(c.second));
        ASSERT_EQ(doc.currentHead, kHeadL);
        const int accepted = doc.acceptedCycleCount, rejected = doc.rejectedCycleCount;
        for (int i = 0; i < 2 * kHeadCount; ++i) {
            const bool faulty = doc.currentHead == c.head;
            AnswerRequest(faulty ? c.first : 0, faulty ? c.second : 0);
        }
        EXPECT_EQ(doc.acceptedCycleCount - accepted, c.accepted ? 1 : 0);
        EXPECT_EQ(doc.rejectedCycleCount - rejected, c.accepted ? 0 : 1);
        EXPECT_EQ(doc.heads[c.head].headerStatus, c.second) << "the second half's header";
        EXPECT_EQ(doc.heads[c.head].replyHeader[3], c.second);
    }
    // A first half's fault belongs to its own cycle: the next clean one is accepted.
    const int accepted = doc.acceptedCycleCount;
    for (int i = 0; i < 2 * kHeadCount; ++i) AnswerRequest();
    EXPECT_EQ(doc.acceptedCycleCount, accepted + 1);
}

// A first half whose second half never came must not reject what is validated after the
// connections were dropped (a rebuild, or a file opened for playback).
TEST_F(EngineRecoveryTest, AFirstHalfFaultDoesNotOutliveItsConnections) {
    Discover(0x05);
    CompleteConnects();
    for (int i = 0; i < 2; ++i) AnswerRequest();
    AnswerRequest(0x7C, 0);  // head 2's first half is faulty; its second half never comes
    ASSERT_EQ(doc.heads[kHeadH].firstHalfStatus, 0x7C);
    doc.DisconnectAll();
    EXPECT_TRUE(doc.ValidateCycle());
}

}  // namespace
