#include <gtest/gtest.h>

#include "SimReplies.h"
#include "document/CVantrelDoc.h"
#include "platform/TimerIds.h"
#include "support/DocumentBuilder.h"
#include "support/FakePlatform.h"

namespace {

// Drives the engine on the fake platform: completes connects and answers each request the way
// a head would, and writes down what happened in order.
class EngineTest : public ::testing::Test {
protected:
    void SetUp() override { platform.connectAddress = "127.0.0.2"; }

    std::vector<std::uint8_t> Reply(int head, std::uint8_t kind, std::uint8_t status = 0) {
        std::vector<std::uint8_t> samples(kReplyDataLength, static_cast<std::uint8_t>(head + 1));
        return sim::BuildDataReply("HD" + std::to_string(head), status, kind, samples.data());
    }

    sim::SimSystemInfo Installation(std::uint8_t presence) {
        sim::SimSystemInfo info;
        info.presence = presence;
        for (int h = 0; h < 4; ++h) {
            info.heads[h] = {100, 50, 600, "127.0.0." + std::to_string(h + 2)};
        }
        return info;
    }

    // Runs the Connect dialog (YES), discovery and the connects of the heads in `presence`.
    void StartPolling(std::uint8_t presence) {
        doc.ConnectToSonarHead();
        platform.Socket(0).CompleteConnect();
        const auto info = sim::BuildSystemInfoReply(Installation(presence));
        platform.Socket(0).Arrive(info);
        for (int h = 0; h < 4; ++h) {
            if (platform.Socket(h).connectPending) platform.Socket(h).CompleteConnect();
        }
        ASSERT_EQ(doc.State(), EngineState::Polling);
    }

    // The last request sent to a head: (command byte, half select).
    std::pair<int, int> LastRequest(int head) {
        const auto& sent = platform.Socket(head).sent;
        if (sent.empty()) return {-1, -1};
        return {sent.back()[1], sent.back()[10]};
    }

    // Answers the outstanding request of the polled head, `replies` times, and returns the
    // trace "h/half" for each answered request with "cycle" where a cycle completed.
    std::vector<std::string> Answer(int replies, std::uint8_t status = 0) {
        std::vector<std::string> trace;
        for (int i = 0; i < replies; ++i) {
            const int h = doc.currentHead;
            const int half = LastRequest(h).second;
            trace.push_back(std::to_string(h) + "/" + std::to_string(half));
            const int before = doc.acceptedCycleCount + doc.rejectedCycleCount;
            platform.Socket(h).Arrive(Reply(h, static_cast<std::uint8_t>(half), status));
            if (doc.acceptedCycleCount + doc.rejectedCycleCount != before) {
                trace.push_back("cycle");
            }
        }
        return trace;
    }

    FakePlatform platform;
    CVantrelDoc doc{platform};
};

TEST_F(EngineTest, DiscoveryRequestIsHeadZerosBlockWithCommand0x99) {
    doc.BuildSwitchCommands();
    doc.ConnectToSonarHead();
    EXPECT_EQ(doc.State(), EngineState::Discovering);
    EXPECT_EQ(platform.Socket(0).lastAddress, "127.0.0.2");
    EXPECT_EQ(doc.heads[0].ipAddress, "127.0.0.2");
    EXPECT_TRUE(platform.TimerRunning(kTimerReply));
    platform.Socket(0).CompleteConnect();
    ASSERT_EQ(platform.Socket(0).sent.size(), 1u);
    auto expected = doc.heads[0].command;
    EXPECT_EQ(expected[1], 0x99);
    EXPECT_EQ(platform.Socket(0).sent[0],
              std::vector<std::uint8_t>(expected.begin(), expected.end()));
    EXPECT_EQ(platform.TimerPeriod(kTimerReply), 3000);
}

TEST_F(EngineTest, NoInTheConnectDialogStaysIdle) {
    platform.connectAnswer = false;
    doc.ConnectToSonarHead();
    EXPECT_EQ(doc.State(), EngineState::Idle);
    EXPECT_FALSE(platform.Socket(0).connectPending);
}

TEST_F(EngineTest, PollingOrderForEachInstallation) {
    struct Case {
        std::uint8_t presence;
        std::vector<std::string> trace;
    };
    const Case cases[] = {
        {0x05, {"0/0", "0/16", "2/0", "2/16", "cycle", "0/0", "0/16", "2/0", "2/16", "cycle"}},
        {0x08, {"3/0", "3/16", "cycle", "3/0", "3/16", "cycle", "3/0", "3/16", "cycle", "3/0",
                "3/16", "cycle", "3/0", "3/16", "cycle"}},
        {0x06, {"1/0", "1/16", "2/0", "2/16", "cycle", "1/0", "1/16", "2/0", "2/16", "cycle"}},
        {0x0F, {"0/0", "0/16", "1/0", "1/16", "2/0", "2/16", "3/0", "3/16", "cycle", "0/0"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.presence));
        FakePlatform p;
        p.connectAddress = "127.0.0.2";
        CVantrelDoc d(p);
        d.ConnectToSonarHead();
        p.Socket(0).CompleteConnect();
        p.Socket(0).Arrive(sim::BuildSystemInfoReply(Installation(c.presence)));
        for (int h = 0; h < 4; ++h) {
            if (p.Socket(h).connectPending) p.Socket(h).CompleteConnect();
        }
        std::vector<std::string> trace;
        while (trace.size() < c.trace.size()) {
            const int h = d.currentHead;
            const int half = p.Socket(h).sent.back()[10];
            EXPECT_EQ(p.Socket(h).sent.back()[1], 0x44);
            trace.push_back(std::to_string(h) + "/" + std::to_string(half));
            const int before = d.acceptedCycleCount;
            std::vector<std::uint8_t> samples(kReplyDataLength, 7);
            p.Socket(h).Arrive(sim::BuildDataReply("HDR", 0, static_cast<std::uint8_t>(half),
                                                   samples.data()));
            if (d.acceptedCycleCount != before) trace.push_back("cycle");
        }
        trace.resize(c.trace.size());
        EXPECT_EQ(trace, c.trace);
    }
}

TEST_F(EngineTest, ConnectsCompleteBeforePollingStarts) {
    doc.ConnectToSonarHead();
    platform.Socket(0).CompleteConnect();
    platform.Socket(0).Arrive(sim::BuildSystemInfoReply(Installation(0x0F)));
    EXPECT_EQ(doc.State(), EngineState::Connecting);
    for (int h = 3; h >= 1; --h) {
        platform.Socket(h).CompleteConnect();
        EXPECT_EQ(doc.State(), EngineState::Connecting);
    }
    platform.Socket(0).CompleteConnect();
    EXPECT_EQ(doc.State(), EngineState::Polling);
    EXPECT_EQ(LastRequest(0), std::make_pair(0x44, 0));
}

TEST_F(EngineTest, FaultyStatusRejectsTheCycleAndPollingGoesOn) {
    StartPolling(0x05);
    EXPECT_EQ(Answer(4, 0x08), (std::vector<std::string>{"0/0", "0/16", "2/0", "2/16", "cycle"}));
    EXPECT_EQ(doc.acceptedCycleCount, 0);
    EXPECT_EQ(doc.rejectedCycleCount, 1);
    Answer(4);
    EXPECT_EQ(doc.acceptedCycleCount, 1);
    EXPECT_EQ(doc.noDataFlag, 0);
}

TEST_F(EngineTest, TimeoutInDiscoveryReconnectsHeadZero) {
    doc.ConnectToSonarHead();
    platform.Socket(0).CompleteConnect();
    platform.TakeCalls();
    platform.FireTimer(kTimerReply);
    EXPECT_EQ(platform.TakeCalls(),
              (std::vector<std::string>{"timer 1020 stopped", "close 0", "connect 0 127.0.0.2:4040",
                                        "timer 1020 started at 3000 ms"}));
    EXPECT_EQ(doc.noDataFlag, 1);
    EXPECT_EQ(doc.State(), EngineState::Discovering);
    // The request is repeated when the connect completes.
    platform.Socket(0).CompleteConnect();
    EXPECT_EQ(LastRequest(0), std::make_pair(0x99, 0));
}

TEST_F(EngineTest, TimeoutInPollingRebuildsEveryConnection) {
    StartPolling(0x0F);
    Answer(3);  // head 1's second half is outstanding
    platform.TakeCalls();
    platform.FireTimer(kTimerReply);
    EXPECT_EQ(platform.TakeCalls(),
              (std::vector<std::string>{
                  "timer 1020 stopped", "close 0", "close 1", "close 2", "close 3", "close 0",
                  "connect 0 127.0.0.2:4040", "close 1", "connect 1 127.0.0.3:4040", "close 2",
                  "connect 2 127.0.0.4:4040", "close 3", "connect 3 127.0.0.5:4040",
                  "timer 1020 started at 3000 ms"}));
    EXPECT_EQ(doc.State(), EngineState::Connecting);
    EXPECT_EQ(doc.noDataFlag, 1);
    for (int h = 0; h < 4; ++h) platform.Socket(h).CompleteConnect();
    EXPECT_EQ(doc.State(), EngineState::Polling);
    EXPECT_EQ(Answer(8).back(), "cycle");
}

TEST_F(EngineTest, RemoteCloseDuringPollingRebuildsAllHeads) {
    StartPolling(0x0F);
    Answer(2);
    platform.TakeCalls();
    platform.Socket(2).RemoteClose();
    const auto calls = platform.TakeCalls();
    for (int h = 0; h < 4; ++h) {
        const std::string connect =
            "connect " + std::to_string(h) + " 127.0.0." + std::to_string(h + 2) + ":4040";
        EXPECT_NE(std::find(calls.begin(), calls.end(), connect), calls.end()) << h;
    }
    EXPECT_EQ(doc.State(), EngineState::Connecting);
}

TEST_F(EngineTest, CloseNotificationsDoNotReconnectWhileTheDocumentCloses) {
    StartPolling(0x0F);
    doc.CloseDocument();
    platform.TakeCalls();
    platform.Socket(1).RemoteClose();
    EXPECT_TRUE(platform.TakeCalls().empty());
    EXPECT_FALSE(platform.TimerRunning(kTimerReply));
}

TEST_F(EngineTest, SecondHalfFromADisconnectedHeadStillAdvances) {
    StartPolling(0x05);
    Answer(1);  // head 0 first half; its second half is outstanding
    doc.heads[0].socket->connected = 0;
    const auto lineBefore = doc.heads[0].line;
    platform.Socket(0).Arrive(Reply(0, 0x10));
    EXPECT_EQ(doc.heads[0].line, lineBefore) << "not stored";
    EXPECT_EQ(doc.currentHead, 2);
    EXPECT_EQ(LastRequest(2), std::make_pair(0x44, 0));
}

TEST_F(EngineTest, FirstHalfFromADisconnectedHeadIsNotFollowedByARequest) {
    StartPolling(0x05);
    doc.heads[0].socket->connected = 0;
    const auto sentBefore = platform.Socket(0).sent.size();
    platform.Socket(0).Arrive(Reply(0, 0x00));
    EXPECT_EQ(platform.Socket(0).sent.size(), sentBefore);
    EXPECT_TRUE(platform.TimerRunning(kTimerReply));
}

TEST_F(EngineTest, NoConnectedHeadLeavesTheTimerToRebuild) {
    StartPolling(0x04);
    Answer(1);
    doc.heads[2].socket->connected = 0;
    platform.TakeCalls();
    platform.Socket(2).Arrive(Reply(2, 0x10));
    EXPECT_TRUE(platform.TakeCalls().empty()) << "nothing is sent";
    EXPECT_TRUE(platform.TimerRunning(kTimerReply));
}

TEST_F(EngineTest, PlaybackStopsTheReplyTimerAtItsNextExpiry) {
    StartPolling(0x0F);
    DocumentBuilder(doc).PlaybackFlag(true);
    platform.TakeCalls();
    platform.FireTimer(kTimerReply);
    EXPECT_EQ(platform.TakeCalls(), (std::vector<std::string>{"timer 1020 stopped"}));
    EXPECT_FALSE(platform.TimerRunning(kTimerReply));
}

TEST_F(EngineTest, ShortOrOddRepliesLeaveTheRequestOutstanding) {
    StartPolling(0x01);
    platform.TakeCalls();
    auto odd = Reply(0, 0x33);
    platform.Socket(0).Arrive(odd);
    EXPECT_TRUE(platform.TakeCalls().empty());
    EXPECT_EQ(doc.currentHead, 0);
    platform.FireTimer(kTimerReply);
    EXPECT_EQ(doc.noDataFlag, 1);
    EXPECT_EQ(doc.State(), EngineState::Connecting);
}

TEST_F(EngineTest, SplitReplyIsReassembled) {
    StartPolling(0x01);
    const auto reply = Reply(0, 0x00);
    for (int cut : {1, 3, 11, 127, 700, 1127}) {
        SCOPED_TRACE(cut);
        const std::size_t sentBefore = platform.Socket(0).sent.size();
        const int half = LastRequest(0).second;
        const auto r = Reply(0, static_cast<std::uint8_t>(half));
        platform.Socket(0).Arrive({r.begin(), r.begin() + cut});
        EXPECT_EQ(platform.Socket(0).sent.size(), sentBefore) << "not yet whole";
        platform.Socket(0).Arrive({r.begin() + cut, r.end()});
        EXPECT_EQ(platform.Socket(0).sent.size(), sentBefore + 1);
    }
    EXPECT_EQ(doc.rebuildCount, 0);
    EXPECT_EQ(doc.acceptedCycleCount, 3);
}

TEST_F(EngineTest, ExtraByteAfterAWholeReplyIsDiscardedAtTheNextRequest) {
    StartPolling(0x01);
    auto first = Reply(0, 0x00);
    first.push_back(0xAB);
    first.push_back(0xCD);  // even two stray bytes must not shift the next reply
    platform.Socket(0).Arrive(first);
    EXPECT_EQ(LastRequest(0), std::make_pair(0x44, 0x10));
    platform.Socket(0).Arrive(Reply(0, 0x10));
    EXPECT_EQ(doc.acceptedCycleCount, 1);
    EXPECT_EQ(doc.heads[0].line[1000], 1);
}

TEST_F(EngineTest, SystemInfoArrivingInPiecesIsDecoded) {
    doc.ConnectToSonarHead();
    platform.Socket(0).CompleteConnect();
    const auto info = sim::BuildSystemInfoReply(Installation(0x0F));
    platform.Socket(0).Arrive({info.begin(), info.begin() + 2});
    EXPECT_EQ(doc.discoveryMode, 1);
    platform.Socket(0).Arrive({info.begin() + 2, info.end()});
    EXPECT_EQ(doc.discoveryMode, 0);
    EXPECT_EQ(doc.State(), EngineState::Connecting);
}

TEST_F(EngineTest, ReceiveErrorShowsTheMessageAndChangesNothing) {
    StartPolling(0x01);
    platform.expectedMessages.push_back("system error! ");
    const int head = doc.currentHead;
    platform.Socket(0).Arrive({}, 10054);
    EXPECT_EQ(platform.messages, (std::vector<std::string>{"system error! "}));
    EXPECT_EQ(doc.currentHead, head);
}

TEST_F(EngineTest, FailedConnectLeavesTheHeadUnconnectedUntilTheTimerRebuilds) {
    doc.ConnectToSonarHead();
    platform.Socket(0).CompleteConnect();
    platform.Socket(0).Arrive(sim::BuildSystemInfoReply(Installation(0x03)));
    platform.Socket(0).CompleteConnect();
    platform.Socket(1).CompleteConnect(10061);
    EXPECT_EQ(doc.heads[1].socket->connected, 0);
    EXPECT_EQ(doc.State(), EngineState::Connecting);
    platform.FireTimer(kTimerReply);
    platform.Socket(0).CompleteConnect();
    platform.Socket(1).CompleteConnect();
    EXPECT_EQ(doc.State(), EngineState::Polling);
}

TEST_F(EngineTest, ReconnectRebuildsOnlyInRealTime) {
    StartPolling(0x01);
    platform.TakeCalls();
    DocumentBuilder(doc).PlaybackFlag(true);
    doc.Reconnect();
    EXPECT_TRUE(platform.TakeCalls().empty());
    DocumentBuilder(doc).PlaybackFlag(false);
    doc.Reconnect();
    EXPECT_EQ(platform.TakeCalls(),
              (std::vector<std::string>{"close 0", "close 1", "close 2", "close 3", "close 0",
                                        "connect 0 127.0.0.2:4040"}));
}

TEST_F(EngineTest, ChoosingRealTimeAgainWhilePollingDisconnectsEveryHead) {
    StartPolling(0x0F);
    Answer(5);  // head 2's second half is outstanding
    platform.TakeCalls();
    doc.ConnectToSonarHead();
    const auto calls = platform.TakeCalls();
    const auto connect = std::find(calls.begin(), calls.end(), "connect 0 127.0.0.2:4040");
    ASSERT_NE(connect, calls.end());
    for (int h = 0; h < 4; ++h) {
        SCOPED_TRACE(h);
        EXPECT_NE(std::find(calls.begin(), connect, "close " + std::to_string(h)), connect);
        EXPECT_FALSE(doc.heads[h].IsConnected());
        EXPECT_EQ(platform.Socket(h).connectPending, h == 0);
    }
    EXPECT_EQ(doc.State(), EngineState::Discovering);
}

TEST_F(EngineTest, RebuildDuringDiscoveryConnectsOnlyHeadZero) {
    // Before the installation is known the other heads' addresses are stale defaults.
    struct Case {
        const char* name;
        void (*rebuild)(CVantrelDoc&, FakePlatform&);
    };
    const Case cases[] = {
        {"remote close", [](CVantrelDoc&, FakePlatform& p) { p.Socket(0).RemoteClose(); }},
        {"reconnect command", [](CVantrelDoc& d, FakePlatform&) { d.Reconnect(); }},
        {"reply timeout", [](CVantrelDoc&, FakePlatform& p) { p.FireTimer(kTimerReply); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakePlatform p;
        p.connectAddress = "127.0.0.9";
        CVantrelDoc d(p);
        d.ConnectToSonarHead();
        p.Socket(0).CompleteConnect();
        p.TakeCalls();
        c.rebuild(d, p);
        for (const std::string& call : p.TakeCalls()) {
            if (call.rfind("connect ", 0) == 0) {
                EXPECT_EQ(call, "connect 0 127.0.0.9:4040");
            }
        }
        for (int h = 1; h < 4; ++h) EXPECT_FALSE(p.Socket(h).connectPending) << h;
        ASSERT_TRUE(p.Socket(0).connectPending);
        EXPECT_EQ(d.State(), EngineState::Discovering);
        p.Socket(0).CompleteConnect();
        EXPECT_EQ(p.Socket(0).sent.back()[1], 0x99) << "the request is repeated";
    }
}

}  // namespace
