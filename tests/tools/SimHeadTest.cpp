#include <gtest/gtest.h>

#include "SimHead.h"
#include "acquisition/HeadReturn.h"
#include "acquisition/SwitchCommand.h"
#include "common/ByteOrder.h"

namespace {

// A request as the application builds it for a head.
std::vector<std::uint8_t> Request(int head, std::uint8_t command, std::uint8_t half = 0,
                                  int range = 50, int gain = 6) {
    HeadArray heads;
    InitSwitchCommands(heads);
    for (auto& h : heads) h.gainDb = gain;
    BuildSwitchCommands(heads, range, range);
    SetCommandByte(heads[head], command);
    SetHalfSelect(heads[head], half);
    return {heads[head].command.begin(), heads[head].command.end()};
}

class SimHeadTest : public ::testing::Test {
protected:
    sim::SimHead Head(int head, sim::HeadFaults faults = {}, bool fast = false) {
        return sim::SimHead(head, installation, scene, faults, fast);
    }
    std::vector<sim::HeadResponse> Send(sim::SimHead& head, const std::vector<std::uint8_t>& r) {
        return head.Receive(connection, r.data(), static_cast<int>(r.size()));
    }
    // The bytes of a response put together.
    static std::vector<std::uint8_t> Bytes(const sim::HeadResponse& response) {
        std::vector<std::uint8_t> all;
        for (const auto& segment : response.segments) {
            all.insert(all.end(), segment.bytes.begin(), segment.bytes.end());
        }
        return all;
    }

    sim::Installation installation;
    sim::Scene scene;
    sim::SimConnection connection;
};

TEST_F(SimHeadTest, SystemInformationDescribesTheInstallation) {
    struct Case {
        std::array<bool, 4> present;
        bool orientation;
        std::uint8_t presence;
    };
    const Case cases[] = {
        {{true, true, true, true}, true, 0x1F},
        {{true, false, true, true}, true, 0x1D},
        {{false, true, true, false}, false, 0x06},
        {{true, true, true, false}, true, 0x07},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.presence));
        installation.present = c.present;
        installation.orientation = c.orientation;
        installation.addresses = {"127.0.7.2", "127.0.7.3", "127.0.7.4", "127.0.7.5"};
        installation.serialNumber = "AB1234";
        // Any head answers the request: the installation is asked at the typed address.
        sim::SimHead head = Head(kHeadH);
        const auto responses = Send(head, Request(kHeadL, switchcmd::kSystemInfoRequest));
        ASSERT_EQ(responses.size(), 1u);
        const auto reply = Bytes(responses[0]);
        ASSERT_TRUE(IsSystemInfoReply(reply.data(), static_cast<int>(reply.size())));
        EXPECT_EQ(responses[0].segments[0].delayMs, 0) << "answered at once";
        EXPECT_EQ(reply[headreturn::kPresence], c.presence);
        const SystemInfoFields info = ParseSystemInfo(reply.data());
        EXPECT_EQ(info.serialNumber, "AB1234");
        for (int h = 0; h < 4; ++h) {
            SCOPED_TRACE(h);
            if (!c.present[h]) {
                EXPECT_EQ(info.heads[h].frequencyKHz, 0);
                EXPECT_EQ(info.heads[h].address, "0.0.0.0");
                continue;
            }
            EXPECT_EQ(info.heads[h].address, installation.addresses[h]);
            EXPECT_LE(info.heads[h].lowestKHz, info.heads[h].frequencyKHz);
            EXPECT_GE(info.heads[h].highestKHz, info.heads[h].frequencyKHz);
        }
    }
}

TEST_F(SimHeadTest, DataReplyRepeatsTheHalfSelectAfterTheTravelTime) {
    struct Case {
        int head;
        std::uint8_t half;
        int range;
        bool fast;
        int delayMs;
    };
    const Case cases[] = {
        {kHeadL, 0x00, 50, false, 67},    {kHeadM, 0x10, 150, false, 200},
        {kHeadES, 0x00, 300, false, 400}, {kHeadH, 0x10, 500, true, 0},
        {kHeadM, 0x05, 10, false, 13},  // an odd half select is repeated as it is
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "head " << c.head << " half " << int(c.half));
        connection = {};
        sim::SimHead head = Head(c.head, {}, c.fast);
        const auto responses = Send(head, Request(c.head, 0x44, c.half, c.range));
        ASSERT_EQ(responses.size(), 1u);
        ASSERT_EQ(responses[0].segments.size(), 1u);
        EXPECT_EQ(responses[0].segments[0].delayMs, c.delayMs);
        EXPECT_FALSE(responses[0].close);
        const auto reply = Bytes(responses[0]);
        ASSERT_EQ(reply.size(), static_cast<std::size_t>(kDataReplyLength));
        EXPECT_EQ(reply[headreturn::kKind], c.half);
        EXPECT_EQ(reply[headreturn::kStatus], 0);
        EXPECT_EQ(std::string(reply.begin(), reply.begin() + 3),
                  std::string("SV") + "LMHE"[c.head]);
    }
}

TEST_F(SimHeadTest, BothHalvesOfAPingCarryTheSamePingNumber) {
    sim::SimHead head = Head(kHeadES, {}, true);
    std::vector<std::uint32_t> numbers;
    for (std::uint8_t half : {0x00, 0x10, 0x00, 0x10, 0x10}) {
        const auto reply = Bytes(Send(head, Request(kHeadES, 0x44, half))[0]);
        numbers.push_back(GetLe32(reply.data() + 4));
    }
    EXPECT_EQ(numbers, (std::vector<std::uint32_t>{1, 1, 2, 2, 2}));
}

TEST_F(SimHeadTest, EchoSounderSecondHalfIsTheOrientationBlock) {
    sim::SimHead head = Head(kHeadES, {}, true);
    Send(head, Request(kHeadES, 0x44, 0x00));
    const auto reply = Bytes(Send(head, Request(kHeadES, 0x44, 0x10))[0]);
    std::uint8_t expected[sim::kSamples];
    scene.OrientationBlock(head.Ping(), expected);
    EXPECT_TRUE(std::equal(expected, expected + sim::kSamples, reply.begin() + 127));
}

TEST_F(SimHeadTest, RequestsAreFramedAcrossAndWithinReceives) {
    sim::SimHead head = Head(kHeadL, {}, true);
    const auto r = Request(kHeadL, 0x44);
    for (int cut : {1, 64, 127}) {
        SCOPED_TRACE(cut);
        EXPECT_TRUE(head.Receive(connection, r.data(), cut).empty());
        const auto responses = head.Receive(connection, r.data() + cut, 128 - cut);
        ASSERT_EQ(responses.size(), 1u);
        EXPECT_NE(responses[0].log.find("arrived in a piece of " + std::to_string(cut) + " bytes"),
                  std::string::npos)
            << responses[0].log;
    }
    std::vector<std::uint8_t> two = r;
    two.insert(two.end(), r.begin(), r.end());
    EXPECT_EQ(Send(head, two).size(), 2u);
    EXPECT_TRUE(connection.pending.empty());
}

TEST_F(SimHeadTest, FaultsChangeTheRepliesTheyHit) {
    using Check = void (*)(const std::vector<sim::HeadResponse>&);
    struct Case {
        const char* name;
        sim::HeadFaults faults;
        Check check;
    };
    sim::HeadFaults split, shortReply, longReply, wrongKind, status, silent, close, delay;
    split.splitEvery = 1;
    split.splitPauseMs = 35;
    shortReply.shortEvery = 1;
    longReply.longEvery = 1;
    wrongKind.wrongKindEvery = 1;
    status.statusEvery = 1;
    silent.silentEvery = 1;
    close.closeAfter = 1;
    delay.delayMs = 500;
    const Case cases[] = {
        {"split", split,
         [](const auto& r) {
             ASSERT_EQ(r[0].segments.size(), 2u);
             EXPECT_EQ(r[0].segments[1].delayMs, 35);
             EXPECT_EQ(Bytes(r[0]).size(), 1128u);
             EXPECT_GT(r[0].segments[0].bytes.size(), 11u) << "the kind byte is in the first";
         }},
        {"short", shortReply, [](const auto& r) { EXPECT_EQ(Bytes(r[0]).size(), 1000u); }},
        {"long", longReply, [](const auto& r) { EXPECT_EQ(Bytes(r[0]).size(), 1129u); }},
        {"wrong kind", wrongKind, [](const auto& r) { EXPECT_EQ(Bytes(r[0])[10], 0x33); }},
        {"status", status, [](const auto& r) { EXPECT_EQ(Bytes(r[0])[3], 0x7C); }},
        {"silent", silent, [](const auto& r) { EXPECT_TRUE(r[0].segments.empty()); }},
        {"close", close,
         [](const auto& r) {
             EXPECT_TRUE(r[0].close);
             EXPECT_EQ(Bytes(r[0]).size(), 1128u) << "the reply goes out before the close";
         }},
        {"delay", delay, [](const auto& r) { EXPECT_EQ(r[0].segments[0].delayMs, 567); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        connection = {};
        sim::SimHead head = Head(kHeadM, c.faults);
        c.check(Send(head, Request(kHeadM, 0x44, 0x00, 50)));
    }
}

TEST_F(SimHeadTest, PeriodicFaultsHitEveryNthRequestAndCloseCountsPerConnection) {
    sim::HeadFaults faults;
    faults.silentEvery = 3;
    faults.closeAfter = 2;
    sim::SimHead head = Head(kHeadH, faults, true);
    std::string pattern;
    for (int i = 0; i < 7; ++i) {
        const auto r = Send(head, Request(kHeadH, 0x44));
        pattern += r[0].segments.empty() ? 's' : (r[0].close ? 'c' : 'a');
        if (r[0].close) connection = {};  // the application connects again
    }
    EXPECT_EQ(pattern, "acsacsa");
}

// Every kind of fault stops when the faults end: the same request is then answered whole.
TEST_F(SimHeadTest, AfterTheFaultsEndTheHeadAnswersNormally) {
    sim::HeadFaults faults;
    faults.silentEvery = 1;
    faults.delayMs = 3000;
    faults.statusEvery = 1;
    faults.closeAfter = 1;
    sim::SimHead head = Head(kHeadM, faults, true);
    EXPECT_TRUE(Send(head, Request(kHeadM, 0x44))[0].segments.empty());
    head.EndFaults();
    const auto r = Send(head, Request(kHeadM, 0x44));
    ASSERT_EQ(r[0].segments.size(), 1u);
    EXPECT_EQ(r[0].segments[0].delayMs, 0);
    EXPECT_EQ(Bytes(r[0]).size(), 1128u);
    EXPECT_EQ(Bytes(r[0])[3], 0) << "no faulty status";
    EXPECT_FALSE(r[0].close);
}

TEST_F(SimHeadTest, UnknownCommandsAreIgnored) {
    sim::SimHead head = Head(kHeadL);
    const auto responses = Send(head, Request(kHeadL, 0x12));
    ASSERT_EQ(responses.size(), 1u);
    EXPECT_TRUE(responses[0].segments.empty());
    EXPECT_NE(responses[0].log.find("unknown command"), std::string::npos);
}

TEST(DescribeRequestTest, NamesEveryDeviationFromTheRequestForm) {
    struct Case {
        int head;
        int offset;  // -1: none
        std::uint8_t value;
        const char* expected;  // nullptr: no deviation
    };
    const Case cases[] = {
        {kHeadL, -1, 0, nullptr},
        {kHeadES, -1, 0, nullptr},  // the echo sounder's own kind byte 0x80
        {kHeadL, 0, 0xFF, "start byte 0xFF"},
        {kHeadM, 127, 0x00, "end byte 0x00"},
        {kHeadH, 15, 0x80, "kind byte at 15 0x80"},
        {kHeadES, 15, 0x00, "kind byte at 15 0x00"},
        {kHeadL, 50, 0x11, "byte 50 0x11"},
        {kHeadL, 52, 0x00, "byte 52 0x00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "head " << c.head << " offset " << c.offset);
        auto r = Request(c.head, 0x44, 0x10, 120, 33);
        if (c.offset >= 0) r[c.offset] = c.value;
        const std::string line = sim::DescribeRequest(c.head, r.data(), 128);
        EXPECT_EQ(
            line.rfind(std::string(HeadLabel(c.head)) + " cmd 0x44 half 0x10 range 120 gain 33", 0),
            0u)
            << line;
        if (c.expected) {
            EXPECT_NE(line.find(c.expected), std::string::npos) << line;
        } else {
            EXPECT_EQ(line.find("DEVIATES"), std::string::npos) << line;
        }
    }
}

}  // namespace
