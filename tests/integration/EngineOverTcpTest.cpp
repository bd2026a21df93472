#include <QElapsedTimer>

#include <cmath>

#include "IntegrationSupport.h"
#include "common/ByteOrder.h"

namespace {

// The orientation words as the application reads them (signed: above 32767 subtract 65535).
double SignedDegrees(const std::uint8_t* p) {
    const int v = GetLe16(p);
    return (v > 32767 ? v - 65535 : v) * 360.0 / 65536;
}

TEST(EngineOverTcpTest, DiscoversAndPollsFourHeads) {
    sim::SimConfig config = BlockConfig(10);
    config.installation.serialNumber = "IT0010";
    Rig rig(config);
    ASSERT_TRUE(rig.started);
    CVantrelDoc& doc = *rig.doc;
    rig.Connect(BlockAddress(10, kHeadL));
    ASSERT_TRUE(rig.RunUntil([&] { return doc.acceptedCycleCount >= 20; }, 20000))
        << "accepted " << doc.acceptedCycleCount << " state " << int(doc.State());

    EXPECT_EQ(doc.State(), EngineState::Polling);
    EXPECT_EQ(doc.serialNumber, "IT0010");
    EXPECT_EQ(doc.orientationPresent, 1);
    EXPECT_EQ(doc.threeFrequencySystem, 1);
    EXPECT_EQ(doc.rebuildCount, 0);
    EXPECT_EQ(doc.rejectedCycleCount, 0);
    const char* ids[kHeadCount] = {"SVL", "SVM", "SVH", "SVE"};
    const int frequencies[kHeadCount] = {120000, 260000, 540000, 200000};
    for (int h = 0; h < kHeadCount; ++h) {
        SCOPED_TRACE(h);
        EXPECT_EQ(doc.heads[h].ipAddress, BlockAddress(10, h));
        EXPECT_EQ(doc.heads[h].available, 1);
        EXPECT_EQ(doc.heads[h].frequencyHz, frequencies[h]);
        EXPECT_EQ(doc.heads[h].headerId, ids[h]);
        // Each head was asked twice per cycle (head 0 also for the installation).
        EXPECT_GE(rig.server.Head(h)->RequestCount(), 2u * 20);
        const auto& line = doc.heads[h].line;
        EXPECT_GT(*std::max_element(line.begin(), line.begin() + 1000), 100) << "echoes arrived";
    }
    // The port half is stored far range first: its bottom return lies just below the nadir.
    const auto& m = doc.heads[kHeadM].line;
    const auto nadirPeak = std::max_element(m.begin() + 700, m.begin() + 1000) - m.begin();
    EXPECT_GT(nadirPeak, 700);
    // The echo sounder's second half carried the orientation of the ping in its header.
    const std::uint32_t ping = GetLe32(doc.esSecondHeader.data() + 4);
    const sim::Orientation o = sim::Scene(config.seed).OrientationAt(ping);
    EXPECT_NEAR(SignedDegrees(&doc.heads[kHeadES].line[1000]), o.pitchDeg, 0.01);
    EXPECT_NEAR(SignedDegrees(&doc.heads[kHeadES].line[1002]), o.rollDeg, 0.01);
}

TEST(EngineOverTcpTest, AnInstallationWithoutSomeHeadsPollsOnlyThePresentOnes) {
    sim::SimConfig config = BlockConfig(11);
    config.installation.present = {false, true, true, false};
    config.installation.orientation = false;
    Rig rig(config);
    ASSERT_TRUE(rig.started);
    CVantrelDoc& doc = *rig.doc;
    rig.Connect(BlockAddress(11, kHeadM));  // the installation answers at any head's address
    ASSERT_TRUE(rig.RunUntil([&] { return doc.acceptedCycleCount >= 10; }, 20000));
    EXPECT_EQ(doc.headCount, 2);
    EXPECT_EQ(doc.twoFrequencySystem, 1);
    EXPECT_EQ(doc.orientationPresent, 0);
    EXPECT_FALSE(doc.heads[kHeadL].IsConnected());
    EXPECT_FALSE(doc.heads[kHeadES].IsConnected());
    EXPECT_EQ(doc.rebuildCount, 0);
}

struct ReplyFault {
    const char* name;
    int block;
    int head;
    const char* fault;
    const char* alsoFault = nullptr;
};

// Test names and failure messages show the case by its name.
void PrintTo(const ReplyFault& fault, std::ostream* out) {
    *out << fault.name;
}

sim::SimConfig WithFaults(const ReplyFault& p) {
    sim::SimConfig config = BlockConfig(p.block);
    std::string error;
    for (const char* fault : {p.fault, p.alsoFault}) {
        if (fault) {
            EXPECT_TRUE(sim::ParseFault(fault, config.faults[p.head], error)) << error;
        }
    }
    return config;
}

class ReassemblyTest : public ::testing::TestWithParam<ReplyFault> {};

// Replies that TCP hands over differently from how they were written are still whole replies.
TEST_P(ReassemblyTest, RepliesAreTakenWholeWithoutAReconnection) {
    const ReplyFault& p = GetParam();
    Rig rig(WithFaults(p));
    ASSERT_TRUE(rig.started);
    CVantrelDoc& doc = *rig.doc;
    rig.Connect(BlockAddress(p.block, kHeadL));
    ASSERT_TRUE(rig.RunUntil([&] { return doc.acceptedCycleCount >= 10; }, 20000))
        << "accepted " << doc.acceptedCycleCount << " rebuilds " << doc.rebuildCount;
    EXPECT_EQ(doc.rebuildCount, 0);
    EXPECT_EQ(doc.rejectedCycleCount, 0);
    EXPECT_EQ(doc.heads[p.head].headerId.substr(0, 2), "SV");
}

INSTANTIATE_TEST_SUITE_P(Faults, ReassemblyTest,
                         ::testing::Values(ReplyFault{"SplitReplies", 12, kHeadM, "split=30"},
                                           ReplyFault{"LongReplies", 13, kHeadH, "long"},
                                           ReplyFault{"SplitLongReplies", 14, kHeadES, "split=5",
                                                      "long"}),
                         [](const auto& info) { return std::string(info.param.name); });

class TimeoutRecoveryTest : public ::testing::TestWithParam<ReplyFault> {};

// A request left without a usable answer is rebuilt by the 3 s reply timer, and polling goes on.
TEST_P(TimeoutRecoveryTest, TheReplyTimerRebuildsAndPollingResumes) {
    const ReplyFault& p = GetParam();
    Rig rig(WithFaults(p));
    ASSERT_TRUE(rig.started);
    CVantrelDoc& doc = *rig.doc;
    rig.Connect(BlockAddress(p.block, kHeadL));

    QElapsedTimer clock;
    clock.start();
    int lastAccepted = 0;
    qint64 lastProgressMs = 0, stalledMs = -1;
    int acceptedAtRebuild = -1;
    const bool recovered = rig.RunUntil(
        [&] {
            if (doc.acceptedCycleCount != lastAccepted) {
                lastAccepted = doc.acceptedCycleCount;
                lastProgressMs = clock.elapsed();
            }
            if (doc.rebuildCount >= 1 && acceptedAtRebuild < 0) {
                acceptedAtRebuild = doc.acceptedCycleCount;
                stalledMs = clock.elapsed() - lastProgressMs;
            }
            return acceptedAtRebuild >= 0 && doc.acceptedCycleCount >= acceptedAtRebuild + 2;
        },
        20000);
    ASSERT_TRUE(recovered) << "accepted " << doc.acceptedCycleCount << " rebuilds "
                           << doc.rebuildCount;
    EXPECT_GE(stalledMs, 2990) << "the rebuild came from the 3 s timer, not from a close";
    EXPECT_GE(acceptedAtRebuild, 1) << "polling ran before the fault";
}

INSTANTIATE_TEST_SUITE_P(Faults, TimeoutRecoveryTest,
                         ::testing::Values(ReplyFault{"SilentHead", 15, kHeadH, "silent/7"},
                                           ReplyFault{"ShortReply", 16, kHeadL, "short/7"},
                                           ReplyFault{"WrongKindByte", 17, kHeadES,
                                                      "wrong-kind/7"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(EngineOverTcpTest, AConnectionClosedByAHeadIsRebuiltAtOnce) {
    sim::SimConfig config = BlockConfig(18);
    config.faults[kHeadES].closeAfter = 10;
    Rig rig(config);
    ASSERT_TRUE(rig.started);
    CVantrelDoc& doc = *rig.doc;
    rig.Connect(BlockAddress(18, kHeadL));
    QElapsedTimer clock;
    clock.start();
    // Ten replies per connection: five cycles, then a close and a rebuild, again and again.
    ASSERT_TRUE(
        rig.RunUntil([&] { return doc.rebuildCount >= 3 && doc.acceptedCycleCount >= 15; }, 20000))
        << "accepted " << doc.acceptedCycleCount << " rebuilds " << doc.rebuildCount;
    EXPECT_EQ(doc.rejectedCycleCount, 0);
    // Rebuilt by the close notifications: three rebuilds by the 3 s timer would take 9 s.
    EXPECT_LT(clock.elapsed(), 8000);
}

TEST(EngineOverTcpTest, AFaultyStatusRejectsTheCycleAndPollingGoesOn) {
    sim::SimConfig config = BlockConfig(19);
    // Head 0's requests: 1 the installation, then first and second halves in turn. Every
    // third request includes the second halves 3, 9, 15, ... whose header is validated.
    config.faults[kHeadL].statusEvery = 3;
    Rig rig(config);
    ASSERT_TRUE(rig.started);
    CVantrelDoc& doc = *rig.doc;
    rig.Connect(BlockAddress(19, kHeadL));
    ASSERT_TRUE(rig.RunUntil(
        [&] { return doc.rejectedCycleCount >= 3 && doc.acceptedCycleCount >= 3; }, 20000));
    EXPECT_EQ(doc.rebuildCount, 0);
    EXPECT_EQ(doc.heads[kHeadL].headerId, "SVL");
}

TEST(EngineOverTcpTest, RepliesComeAfterTheTravelTimeOfTheRange) {
    sim::SimConfig config = BlockConfig(20);
    config.fast = false;
    config.installation.present = {false, false, false, true};
    Rig rig(config);
    ASSERT_TRUE(rig.started);
    CVantrelDoc& doc = *rig.doc;
    rig.Connect(BlockAddress(20, kHeadES), 300);  // 400 ms per reply, two replies per cycle
    ASSERT_TRUE(rig.RunUntil([&] { return doc.acceptedCycleCount >= 1; }, 20000));
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(rig.RunUntil([&] { return doc.acceptedCycleCount >= 3; }, 20000));
    EXPECT_GE(clock.elapsed(), 2 * 2 * 400 - 50);
}

}  // namespace
