#include <gtest/gtest.h>

#include <numeric>

#include "SimReplies.h"
#include "document/CVantrelDoc.h"
#include "support/DocumentBuilder.h"
#include "support/FakePlatform.h"

namespace {

std::vector<std::uint8_t> Ramp() {
    std::vector<std::uint8_t> samples(kReplyDataLength);
    for (int i = 0; i < kReplyDataLength; ++i) samples[i] = static_cast<std::uint8_t>(i % 251);
    return samples;
}

TEST(ClassifyReplyTest, EveryBranch) {
    struct Case {
        const char* name;
        int length;
        const char* mark;
        std::uint8_t kind;
        ReplyClass expected;
    };
    const Case cases[] = {
        {"ICX of 256", 256, "ICX", 0, ReplyClass::SystemInfo},
        {"256 without ICX", 256, "ICY", 0, ReplyClass::Short},
        {"ICX of 257", 257, "ICX", 0, ReplyClass::Short},
        {"ICX of 255", 255, "ICX", 0, ReplyClass::Short},
        {"empty", 0, "", 0, ReplyClass::Short},
        {"1127", 1127, "SSH", 0, ReplyClass::Short},
        {"1128 first half", 1128, "SSH", 0x00, ReplyClass::FirstHalf},
        {"1128 second half", 1128, "SSH", 0x10, ReplyClass::SecondHalf},
        {"1129 first half", 1129, "SSH", 0x00, ReplyClass::FirstHalf},
        {"1129 second half", 1129, "SSH", 0x10, ReplyClass::SecondHalf},
        {"kind 0x01", 1128, "SSH", 0x01, ReplyClass::OtherKind},
        {"kind 0x11", 1128, "SSH", 0x11, ReplyClass::OtherKind},
        {"kind 0xFF", 1128, "SSH", 0xFF, ReplyClass::OtherKind},
        {"ICX of 1128 is data", 1128, "ICX", 0x10, ReplyClass::SecondHalf},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // Exactly the received bytes: ASan catches any read past them.
        std::vector<std::uint8_t> bytes(c.length, 0);
        for (int i = 0; i < 3 && c.mark[i] && i < c.length; ++i) bytes[i] = c.mark[i];
        if (c.length > 10) bytes[10] = c.kind;
        EXPECT_EQ(ClassifyReply(bytes.data(), c.length), c.expected);
    }
}

TEST(HeadReturnTest, DottedAddressTakesTheHighByteFirst) {
    const std::uint8_t field[4] = {5, 0, 168, 192};
    EXPECT_EQ(DottedAddress(field), "192.168.0.5");
    const std::uint8_t zero[4] = {0, 0, 0, 0};
    EXPECT_EQ(DottedAddress(zero), "0.0.0.0");
}

TEST(HeadReturnTest, FrequencyIsClampedAndTheUpperLimitWinsWhenLimitsCross) {
    struct Case {
        int hz, lo, hi, expected;
    };
    const Case cases[] = {{260000, 250000, 270000, 260000},
                          {300000, 250000, 270000, 270000},
                          {200000, 250000, 270000, 250000},
                          {260000, 280000, 250000, 250000},
                          {100000, 0, 0, 0}};
    for (const Case& c : cases) {
        EXPECT_EQ(ClampFrequency(c.hz, c.lo, c.hi), c.expected) << c.hz;
    }
}

class StoreReplyTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (int h = 0; h < kHeadCount; ++h) doc.heads[h].socket->connected = 1;
    }
    FakePlatform platform;
    CVantrelDoc doc{platform};
    std::vector<std::uint8_t> samples = Ramp();
};

TEST_F(StoreReplyTest, PortHalfOfSideScanHeadIsReversed) {
    for (int h = 0; h < 3; ++h) {
        const auto reply = sim::BuildDataReply("ABC", 0, 0x00, samples.data());
        EXPECT_EQ(doc.ReceiveReply(h, reply.data(), kDataReplyLength), ReplyClass::FirstHalf);
        const auto& line = doc.heads[h].line;
        for (int k = 0; k < kReplyDataLength; ++k) ASSERT_EQ(line[999 - k], samples[k]) << k;
        // The header is not kept for a first half.
        EXPECT_EQ(doc.heads[h].replyHeader[0], 0);
        EXPECT_EQ(doc.noDataFlag, 0);
    }
}

TEST_F(StoreReplyTest, SecondHalfKeepsOrderAndHeader) {
    const auto reply = sim::BuildDataReply("XYZ", 0x83, 0x10, samples.data());
    doc.ReceiveReply(1, reply.data(), kDataReplyLength);
    const auto& head = doc.heads[1];
    EXPECT_TRUE(std::equal(samples.begin(), samples.end(), head.line.begin() + 1000));
    EXPECT_TRUE(std::equal(reply.begin(), reply.begin() + 127, head.replyHeader.begin()));
    EXPECT_EQ(head.replyHeader[127], 0) << "only 127 header bytes are kept";
    EXPECT_EQ(doc.esSecondHeader[0], 0) << "only the echo sounder fills esSecondHeader";
}

TEST_F(StoreReplyTest, EchoSounderHalves) {
    const auto first = sim::BuildDataReply("ES1", 0, 0x00, samples.data());
    doc.ReceiveReply(3, first.data(), kDataReplyLength);
    EXPECT_TRUE(std::equal(samples.begin(), samples.end(), doc.heads[3].line.begin()));
    EXPECT_EQ(doc.heads[3].replyHeader[2], '1');

    std::vector<std::uint8_t> orientation(kReplyDataLength, 0x5A);
    const auto second = sim::BuildDataReply("ES2", 0, 0x10, orientation.data());
    doc.ReceiveReply(3, second.data(), kDataReplyLength);
    EXPECT_TRUE(std::equal(orientation.begin(), orientation.end(),
                           doc.heads[3].line.begin() + 1000));
    EXPECT_TRUE(std::equal(second.begin(), second.begin() + 127, doc.esSecondHeader.begin()));
    EXPECT_EQ(doc.heads[3].replyHeader[2], '2');
    // The first half is still there.
    EXPECT_TRUE(std::equal(samples.begin(), samples.end(), doc.heads[3].line.begin()));
}

TEST_F(StoreReplyTest, NothingIsStoredForADisconnectedHeadOrAnOddReply) {
    doc.heads[2].socket->connected = 0;
    const auto reply = sim::BuildDataReply("ABC", 0, 0x10, samples.data());
    doc.ReceiveReply(2, reply.data(), kDataReplyLength);
    EXPECT_EQ(doc.heads[2].line[1001], 0);
    EXPECT_EQ(doc.heads[2].replyHeader[0], 0);

    DocumentBuilder(doc).NoData(false);
    doc.ReceiveReply(0, reply.data(), 1127);
    EXPECT_EQ(doc.noDataFlag, 1);
    EXPECT_EQ(doc.heads[0].line[1001], 0);

    const auto odd = sim::BuildDataReply("ABC", 0, 0x20, samples.data());
    EXPECT_EQ(doc.ReceiveReply(0, odd.data(), kDataReplyLength), ReplyClass::OtherKind);
    EXPECT_EQ(doc.heads[0].line[1001], 0);
}

TEST_F(StoreReplyTest, A1129ByteReplyIsTakenLikeA1128ByteOne) {
    auto reply = sim::BuildDataReply("ABC", 0, 0x10, samples.data());
    reply.push_back(0xEE);
    EXPECT_EQ(doc.ReceiveReply(0, reply.data(), 1129), ReplyClass::SecondHalf);
    EXPECT_TRUE(std::equal(samples.begin(), samples.end(), doc.heads[0].line.begin() + 1000));
}

TEST_F(StoreReplyTest, ValidationRejectsAnyFaultyStatusBitOfAvailableHeads) {
    struct Case {
        std::uint8_t status;
        bool accepted;
    };
    const Case cases[] = {{0x00, true}, {0x83, true}, {0x04, false}, {0x08, false},
                          {0x10, false}, {0x20, false}, {0x40, false}, {0x7C, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.status));
        const int before = doc.acceptedCycleCount;
        for (int h = 0; h < 4; ++h) {
            const auto reply = sim::BuildDataReply("HD" + std::to_string(h),
                                                   h == 2 ? c.status : 0, 0x10, samples.data());
            doc.ReceiveReply(h, reply.data(), kDataReplyLength);
        }
        EXPECT_EQ(doc.ValidateCycle(), c.accepted);
        EXPECT_EQ(doc.acceptedCycleCount, before + (c.accepted ? 1 : 0));
        EXPECT_EQ(doc.heads[2].headerStatus, c.status);
        EXPECT_EQ(doc.heads[2].headerId, "HD2");
    }
    // An absent head's faulty header does not count.
    doc.heads[2].available = 0;
    EXPECT_TRUE(doc.ValidateCycle());
}

class SystemInfoTest : public ::testing::Test {
protected:
    sim::SimSystemInfo Installation() {
        sim::SimSystemInfo info;
        info.serialNumber = "AB1234";
        info.presence = 0x1F;
        const int khz[4] = {120, 260, 540, 200};
        for (int h = 0; h < 4; ++h) {
            info.heads[h] = {khz[h], khz[h] - 10, khz[h] + 10,
                             "10.0.0." + std::to_string(h + 2)};
        }
        return info;
    }
    void Receive(const sim::SimSystemInfo& info) {
        const auto reply = sim::BuildSystemInfoReply(info);
        EXPECT_EQ(doc.ReceiveReply(0, reply.data(), 256), ReplyClass::SystemInfo);
    }
    FakePlatform platform;
    CVantrelDoc doc{platform};
};

TEST_F(SystemInfoTest, DecodesTheInstallationAndConnectsTheHeads) {
    Receive(Installation());
    EXPECT_EQ(doc.discoveryMode, 0);
    EXPECT_EQ(doc.systemInfoReceived, 1);
    EXPECT_EQ(doc.serialNumber, "AB1234");
    EXPECT_EQ(doc.orientationPresent, 1);
    EXPECT_EQ(doc.threeFrequencySystem, 1);
    EXPECT_EQ(doc.heads[2].frequencyHz, 540000);
    EXPECT_EQ(doc.heads[2].minFrequencyHz, 530000);
    EXPECT_EQ(doc.heads[2].maxFrequencyHz, 550000);
    EXPECT_EQ(doc.heads[3].ipAddress, "10.0.0.5");
    for (int h = 0; h < 4; ++h) EXPECT_TRUE(platform.Socket(h).connectPending) << h;
    EXPECT_EQ(platform.Socket(1).lastAddress, "10.0.0.3");
    // The command blocks wait for the next rebuild.
    EXPECT_EQ(doc.heads[2].command[30], 0);
}

TEST_F(SystemInfoTest, AbsentHeadKeepsItsAddressAndIsNotConnected) {
    auto info = Installation();
    info.presence = 0x0B;
    info.heads[2] = {};
    Receive(info);
    EXPECT_EQ(doc.heads[2].available, 0);
    EXPECT_EQ(doc.heads[2].ipAddress, "192.168.0.4");
    EXPECT_EQ(doc.heads[2].frequencyHz, 0);
    EXPECT_EQ(doc.orientationPresent, 0);
    EXPECT_FALSE(platform.Socket(2).connectPending);
    EXPECT_EQ(doc.headCount, 3);
    EXPECT_EQ(doc.twoFrequencySystem, 1);
    EXPECT_EQ(doc.displayChannelA, 0);
    EXPECT_EQ(doc.displayChannelB, 1);
}

TEST_F(SystemInfoTest, ZeroFieldsAndNoHeadsLeaveTheDocumentConsistent) {
    sim::SimSystemInfo info;
    info.serialNumber = "";
    info.presence = 0xE0;  // only bits the system does not use
    Receive(info);
    EXPECT_EQ(doc.headCount, 0);
    EXPECT_EQ(doc.threeFrequencySystem, 0);
    EXPECT_EQ(doc.twoFrequencySystem, 0);
    EXPECT_EQ(doc.serialNumber, "");
    for (int h = 0; h < 4; ++h) EXPECT_FALSE(platform.Socket(h).connectPending) << h;
}

TEST_F(SystemInfoTest, FrequenciesFollowTheReportedLimits) {
    struct Case {
        int khz, lo, hi, expectedHz;
    };
    const Case cases[] = {{260, 250, 270, 260000}, {300, 250, 270, 270000},
                          {200, 250, 270, 250000}};
    for (const Case& c : cases) {
        auto info = Installation();
        info.heads[1] = {c.khz, c.lo, c.hi, "10.0.0.3"};
        Receive(info);
        EXPECT_EQ(doc.heads[1].frequencyHz, c.expectedHz) << c.khz;
    }
}

}  // namespace
