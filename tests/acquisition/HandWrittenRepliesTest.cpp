// Replies written byte by byte from the layouts of the head protocol, with every offset a
// literal here: not built by the simulator and not placed with the decoder's constants. They
// go through the whole engine on the fake platform (discovery, connects, one polling cycle),
// so a field read from the wrong offset shows as a wrong value. The second half checks the
// simulator's replies against the same literal offsets, so that the simulator and the decoder
// cannot agree on a wrong place.

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "SimReplies.h"
#include "SimScene.h"
#include "document/CVantrelDoc.h"
#include "support/FakePlatform.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// Bytes the layouts leave unused hold this, so that reading one of them shows.
constexpr std::uint8_t kUnused = 0xEE;

void Put(Bytes& reply, std::size_t offset, std::initializer_list<std::uint8_t> bytes) {
    for (std::uint8_t b : bytes) reply.at(offset++) = b;
}

// The installation: L, H and the echo sounder with its orientation sensor; M absent.
Bytes SystemInfoByHand() {
    Bytes r(256, kUnused);
    Put(r, 0, {'I', 'C', 'X'});                   // 0..2 the mark of the reply
    Put(r, 10, {'H', 'W', '0', '9', '2', '3'});   // 10..15 serial number
    Put(r, 50, {0x1D});                           // 50 presence: L, H, ES, orientation (bits 0, 2, 3, 4)
    // Head 0 (L), block at 90.
    Put(r, 90, {0x78, 0x00});                     // 90..91 frequency 120 kHz
    Put(r, 92, {0x6E, 0x00});                     // 92..93 lowest 110 kHz
    Put(r, 94, {0x82, 0x00});                     // 94..95 highest 130 kHz
    Put(r, 100, {0x03, 0x02, 0x01, 0x7F});        // 100..103 address 127.1.2.3 (first number at 103)
    // Head 1 (M), block at 120: absent, its frequencies still apply, its address does not.
    Put(r, 120, {0x04, 0x01});                    // 120..121 frequency 260 kHz
    Put(r, 122, {0xFA, 0x00});                    // 122..123 lowest 250 kHz
    Put(r, 124, {0x0E, 0x01});                    // 124..125 highest 270 kHz
    Put(r, 130, {0x09, 0x09, 0x09, 0x7F});        // 130..133 address 127.9.9.9, not taken
    // Head 2 (H), block at 150: reports a frequency above its highest.
    Put(r, 150, {0x58, 0x02});                    // 150..151 frequency 600 kHz
    Put(r, 152, {0x12, 0x02});                    // 152..153 lowest 530 kHz
    Put(r, 154, {0x26, 0x02});                    // 154..155 highest 550 kHz
    Put(r, 160, {0x14, 0x05, 0x10, 0x7F});        // 160..163 address 127.16.5.20
    // Head 3 (ES), block at 180: reports a frequency below its lowest.
    Put(r, 180, {0xC8, 0x00});                    // 180..181 frequency 200 kHz
    Put(r, 182, {0xFA, 0x00});                    // 182..183 lowest 250 kHz
    Put(r, 184, {0x2C, 0x01});                    // 184..185 highest 300 kHz
    Put(r, 190, {0x2A, 0x00, 0x00, 0x7F});        // 190..193 address 127.0.0.42
    return r;
}

std::uint8_t Sample(int seed, int k) { return static_cast<std::uint8_t>(seed * 31 + k * 7); }

// A data reply of 1128 bytes: header 0..126 (identifier, status, kind, the rest kept as is),
// samples 127..1126, byte 1127 unused.
Bytes DataReplyByHand(char id, std::uint8_t status, std::uint8_t kind, int seed) {
    Bytes r(1128, kUnused);
    for (int i = 0; i < 127; ++i) r[i] = static_cast<std::uint8_t>(0x40 + seed + i);
    Put(r, 0, {static_cast<std::uint8_t>(id), 'S', 'S'});  // 0..2 header identifier
    Put(r, 3, {status});                                    // 3 status
    Put(r, 10, {kind});                                     // 10 kind: 0 first, 0x10 second half
    for (int k = 0; k < 1000; ++k) r[127 + k] = Sample(seed, k);  // 127..1126 samples
    return r;
}

// The echo sounder's second half: its samples begin with the orientation block.
Bytes OrientationReplyByHand() {
    Bytes r = DataReplyByHand('E', 0x00, 0x10, 9);
    Put(r, 127, {0x00, 0x08});  // block 0..1 pitch 2048: 11.25 degrees
    Put(r, 129, {0x00, 0xF8});  // block 2..3 roll 63488, read as 63488 - 65535 = -2047
    Put(r, 131, {0x00, 0xC0});  // block 4..5 heading 49152, read as -16383
    Put(r, 133, {kUnused, kUnused});  // block 6..7 not used
    Put(r, 135, {0x00, 0x20});  // block 8..9 temperature 8192: 12.5 deg C
    Put(r, 137, {0x80, 0x0C});  // block 10..11 depth 3200: 48.828125 m
    return r;
}

class HandWrittenRepliesTest : public ::testing::Test {
protected:
    void SetUp() override { platform.connectAddress = "127.0.0.2"; }

    // The Connect dialog, the discovery request and the hand-written installation.
    void Discover() {
        doc.ConnectToSonarHead();
        platform.Socket(0).CompleteConnect();
        platform.Socket(0).Arrive(SystemInfoByHand());
    }

    FakePlatform platform;
    CVantrelDoc doc{platform};
};

TEST_F(HandWrittenRepliesTest, SystemInformationFieldsComeFromTheirOffsets) {
    const std::string addressOfM = doc.heads[1].ipAddress;
    Discover();
    EXPECT_EQ(doc.systemInfoReceived, 1);
    EXPECT_EQ(doc.serialNumber, "HW0923");
    EXPECT_EQ(doc.orientationPresent, 1);
    struct Expected {
        int available;
        int hz, minHz, maxHz;
        std::string address;
    };
    const Expected expected[4] = {{1, 120000, 110000, 130000, "127.1.2.3"},
                                  {0, 260000, 250000, 270000, addressOfM},
                                  {1, 550000, 530000, 550000, "127.16.5.20"},
                                  {1, 250000, 250000, 300000, "127.0.0.42"}};
    for (int h = 0; h < 4; ++h) {
        SCOPED_TRACE(h);
        const HeadEntry& head = doc.heads[h];
        EXPECT_EQ(head.available, expected[h].available);
        EXPECT_EQ(head.frequencyHz, expected[h].hz);
        EXPECT_EQ(head.minFrequencyHz, expected[h].minHz);
        EXPECT_EQ(head.maxFrequencyHz, expected[h].maxHz);
        EXPECT_EQ(head.ipAddress, expected[h].address);
        EXPECT_EQ(platform.Socket(h).connectPending, expected[h].available == 1);
        if (expected[h].available) {
            EXPECT_EQ(platform.Socket(h).lastAddress, expected[h].address);
        }
    }
}

TEST_F(HandWrittenRepliesTest, OneCycleOfDataRepliesLandsWhereTheLayoutSays) {
    Discover();
    for (int h : {0, 2, 3}) platform.Socket(h).CompleteConnect();
    // Polled in head order, first half then second half; each answer repeats the half.
    struct Answer {
        int head;
        int half;
        Bytes reply;
    };
    const Answer answers[] = {{0, 0x00, DataReplyByHand('L', 0x00, 0x00, 1)},
                              {0, 0x10, DataReplyByHand('L', 0x83, 0x10, 2)},
                              {2, 0x00, DataReplyByHand('H', 0x00, 0x00, 3)},
                              {2, 0x10, DataReplyByHand('H', 0x01, 0x10, 4)},
                              {3, 0x00, DataReplyByHand('E', 0x00, 0x00, 5)},
                              {3, 0x10, OrientationReplyByHand()}};
    for (const Answer& a : answers) {
        const Bytes& request = platform.Socket(a.head).sent.back();
        ASSERT_EQ(request[1], 0x44) << a.head;
        ASSERT_EQ(request[10], a.half) << a.head;
        platform.Socket(a.head).Arrive(a.reply);
    }
    ASSERT_EQ(doc.acceptedCycleCount, 1);

    // Side-scan heads: the first half reversed into 0..999, the second half in order after it,
    // the second half's header kept and read for identifier and status.
    for (int i : {0, 2}) {
        SCOPED_TRACE(i);
        const int h = answers[i].head;
        const HeadEntry& head = doc.heads[h];
        for (int k = 0; k < 1000; ++k) {
            ASSERT_EQ(head.line[999 - k], answers[i].reply[127 + k]) << k;
            ASSERT_EQ(head.line[1000 + k], answers[i + 1].reply[127 + k]) << k;
        }
        const Bytes& second = answers[i + 1].reply;
        EXPECT_TRUE(std::equal(second.begin(), second.begin() + 127, head.replyHeader.begin()));
        EXPECT_EQ(head.headerId, std::string({static_cast<char>(second[0]), 'S', 'S'}));
        EXPECT_EQ(head.headerStatus, second[3]);
    }

    // The echo sounder: samples in the order of arrival, the second header kept twice.
    const HeadEntry& es = doc.heads[3];
    for (int k = 0; k < 1000; ++k) ASSERT_EQ(es.line[k], answers[4].reply[127 + k]) << k;
    const Bytes& block = answers[5].reply;
    EXPECT_TRUE(std::equal(block.begin() + 127, block.begin() + 1127, es.line.begin() + 1000));
    EXPECT_TRUE(std::equal(block.begin(), block.begin() + 127, doc.esSecondHeader.begin()));
    EXPECT_EQ(es.headerId, "ESS");

    // The orientation block, converted with the default declination of 22 degrees.
    const OrientationReadings& o = doc.orientation.readings;
    EXPECT_NEAR(o.pitchDeg, 11.25, 1e-9);
    EXPECT_NEAR(o.rollDeg, -2047 * 360.0 / 65536, 1e-9);                 // -11.2445
    EXPECT_NEAR(o.headingDeg, -16383 * 360.0 / 65536 - 22 + 360, 1e-9);  // 248.0055
    EXPECT_NEAR(o.temperatureC, 12.5, 1e-9);
    EXPECT_NEAR(o.depthM, 48.828125, 1e-9);
}

TEST_F(HandWrittenRepliesTest, AFaultyStatusBitInEitherHalfAtOffset3RejectsTheCycle) {
    Discover();
    for (int h : {0, 2, 3}) platform.Socket(h).CompleteConnect();
    const std::uint8_t status[6] = {0x00, 0x00, 0x04, 0x00, 0x00, 0x00};
    const int heads[6] = {0, 0, 2, 2, 3, 3};
    for (int i = 0; i < 6; ++i) {
        const auto kind = static_cast<std::uint8_t>(i % 2 ? 0x10 : 0x00);
        platform.Socket(heads[i]).Arrive(DataReplyByHand('X', status[i], kind, i));
    }
    EXPECT_EQ(doc.acceptedCycleCount, 0);
    EXPECT_EQ(doc.rejectedCycleCount, 1);
}

// The simulator's replies read at the same literal offsets.
TEST(SimulatorRepliesByTheLayoutTest, SystemInformationFieldsAtTheirOffsets) {
    sim::SimSystemInfo info;
    info.serialNumber = "QZ7781";
    info.presence = 0x1B;
    info.heads[0] = {120, 110, 130, "127.1.2.3"};
    info.heads[1] = {260, 250, 270, "127.4.5.6"};
    info.heads[3] = {600, 530, 650, "127.0.0.42"};
    const Bytes r = sim::BuildSystemInfoReply(info);
    ASSERT_EQ(r.size(), 256u);
    EXPECT_EQ(std::string(r.begin(), r.begin() + 3), "ICX");
    EXPECT_EQ(std::string(r.begin() + 10, r.begin() + 16), "QZ7781");
    EXPECT_EQ(r[50], 0x1B);
    const Bytes heads[4] = {{0x78, 0x00, 0x6E, 0x00, 0x82, 0x00, 0x03, 0x02, 0x01, 0x7F},
                            {0x04, 0x01, 0xFA, 0x00, 0x0E, 0x01, 0x06, 0x05, 0x04, 0x7F},
                            {0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
                            {0x58, 0x02, 0x12, 0x02, 0x8A, 0x02, 0x2A, 0x00, 0x00, 0x7F}};
    for (int h = 0; h < 4; ++h) {
        const int at = 90 + 30 * h;
        const Bytes fields = {r[at], r[at + 1], r[at + 2], r[at + 3], r[at + 4], r[at + 5],
                              r[at + 10], r[at + 11], r[at + 12], r[at + 13]};
        EXPECT_EQ(fields, heads[h]) << h;
    }
}

TEST(SimulatorRepliesByTheLayoutTest, DataReplyAndOrientationBlockAtTheirOffsets) {
    Bytes samples(1000);
    for (int k = 0; k < 1000; ++k) samples[k] = Sample(6, k);
    const Bytes r = sim::BuildDataReply("ABC", 0x5A, 0x10, samples.data());
    ASSERT_EQ(r.size(), 1128u);
    EXPECT_EQ(std::string(r.begin(), r.begin() + 3), "ABC");
    EXPECT_EQ(r[3], 0x5A);
    EXPECT_EQ(r[10], 0x10);
    EXPECT_TRUE(std::equal(samples.begin(), samples.end(), r.begin() + 127));

    // The orientation block the simulated echo sounder sends, decoded here by the table:
    // 16-bit words, low byte first, signed words above 32767 less 65535.
    const sim::Scene scene(1);
    for (std::uint32_t ping : {10u, 45u, 100u}) {
        SCOPED_TRACE(ping);
        Bytes block(1000);
        scene.OrientationBlock(ping, block.data());
        const auto word = [&](int at) { return block[at] + 256 * block[at + 1]; };
        const auto signedWord = [&](int at) { return word(at) > 32767 ? word(at) - 65535 : word(at); };
        const sim::Orientation o = scene.OrientationAt(ping);
        const double heading = signedWord(4) * 360.0 / 65536;
        EXPECT_NEAR(signedWord(0) * 360.0 / 65536, o.pitchDeg, 0.01);
        EXPECT_NEAR(signedWord(2) * 360.0 / 65536, o.rollDeg, 0.01);
        EXPECT_NEAR(heading < 0 ? heading + 360 : heading, o.headingDeg, 0.01);
        EXPECT_NEAR(signedWord(8) * 100.0 / 65536, o.temperatureC, 0.01);
        EXPECT_NEAR(word(10) * 1000.0 / 65536, o.depthM, 0.02);
    }
}

}  // namespace
