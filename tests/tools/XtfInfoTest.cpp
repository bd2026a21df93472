// sonvara-cli info of an XTF file made byte by byte: what the pings hold, summed over the
// file, with the packets and channels stepped over and a damaged stretch; files that are no
// XTF give one line naming the file.

#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>

#include "XtfInfo.h"
#include "datafiles/XtfTestFile.h"
#include "support/TempDir.h"

namespace {

using xtftest::TestPing;

void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

TestPing PingAt(std::uint32_t number, double lat, double lon, float range, std::uint16_t count) {
    TestPing p;
    p.ping = number;
    p.second = static_cast<int>(number);
    p.sensorY = lat;
    p.sensorX = lon;
    p.channels = {xtftest::Ramp(0, count, 100), xtftest::Ramp(1, count, 200),
                  xtftest::Ramp(2, 16, 1)};
    for (auto& c : p.channels) c.slantRange = range;
    p.channels[0].kHz = p.channels[1].kHz = 100;
    return p;
}

// Three pings (the first without a position), a notes packet, and garbage between the second
// and the third.
std::vector<std::uint8_t> MixedFile(std::uint64_t& damageAt) {
    xtftest::XtfBytes f;
    f.Header(3, {{.type = 1, .kHz = 100, .name = "port"},
                 {.type = 2, .kHz = 100, .name = "stbd"},
                 {.type = 0, .kHz = 4, .name = "sub"}});
    f.Ping(PingAt(7, 0, 0, 50, 512));
    f.Other(1, 128);  // notes
    f.Ping(PingAt(8, 54.5, 10.25, 75, 1024));
    damageAt = f.bytes.size();
    f.bytes.insert(f.bytes.end(), 300, 0x33);
    f.Ping(PingAt(9, 54.25, 10.75, 75, 1024));
    return f.bytes;
}

TEST(XtfInfoTest, PingsChannelsPositionsAndDamageAreSummed) {
    TempDir dir;
    std::uint64_t damageAt = 0;
    WriteBytes(dir.File("mixed.xtf"), MixedFile(damageAt));
    cli::XtfSummary s;
    std::string error;
    ASSERT_TRUE(cli::ScanXtfFile(dir.File("mixed.xtf"), s, error)) << error;
    EXPECT_EQ(s.counts.pings, 3u);
    EXPECT_EQ(s.counts.otherPackets, 1u);
    EXPECT_EQ(s.counts.steppedChannels, 3u);  // the sub-bottom channel of every ping
    EXPECT_EQ(s.firstPing, 7u);
    EXPECT_EQ(s.lastPing, 9u);
    EXPECT_EQ(s.positioned, 2u);
    EXPECT_EQ(s.y.min, 54.25);
    EXPECT_EQ(s.x.max, 10.75);
    ASSERT_EQ(s.damage.size(), 1u);
    EXPECT_EQ(s.damage[0].offset, damageAt);
    EXPECT_EQ(s.damage[0].bytes, 300u);
    ASSERT_EQ(s.channels.size(), 3u);
    EXPECT_EQ(s.channels[0].pings, 3u);
    EXPECT_EQ(s.channels[0].samples.min, 512);
    EXPECT_EQ(s.channels[0].samples.max, 1024);
    EXPECT_EQ(s.channels[1].slantRangeM.min, 50);
    EXPECT_EQ(s.channels[1].slantRangeM.max, 75);
    EXPECT_EQ(s.channels[2].pings, 0u);  // stepped over, never read

    const auto json = nlohmann::json::parse(cli::FormatXtfInfoJson("mixed.xtf", s));
    EXPECT_EQ(json["format"], "xtf");
    EXPECT_EQ(json["pings"], 3);
    EXPECT_EQ(json["nav_units"], "degrees");
    EXPECT_EQ(json["positions"]["pings"], 2);
    EXPECT_EQ(json["positions"]["north"], 54.5);
    EXPECT_EQ(json["channels"][0]["samples"], nlohmann::json::array({512, 1024}));
    EXPECT_EQ(json["channels"][2]["type"], "sub-bottom");
    EXPECT_TRUE(json["channels"][2]["range_m"].is_null());
    EXPECT_EQ(json["damaged"][0]["offset"], damageAt);
    EXPECT_EQ(json["start"], "2024-05-17T09:30:07.42Z");
    const std::string text = cli::FormatXtfInfoText("mixed.xtf", s);
    EXPECT_NE(text.find("pings 3 (numbers 7..9)"), std::string::npos) << text;
    EXPECT_NE(text.find("range 50..75 m, 512..1024 samples"), std::string::npos) << text;
}

TEST(XtfInfoTest, FilesThatAreNoXtfGiveOneLineNamingThem) {
    TempDir dir;
    xtftest::XtfBytes huge;
    huge.Header(3, {{.type = 1, .kHz = 100, .name = "p"}}, 60000);
    const struct {
        const char* name;
        std::vector<std::uint8_t> bytes;
    } cases[] = {
        {"zeros.xtf", std::vector<std::uint8_t>(4096, 0)},
        {"text.xtf", std::vector<std::uint8_t>(4096, 'a')},
        {"short.xtf", std::vector<std::uint8_t>(10, 0x7B)},
        {"huge.xtf", huge.bytes},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteBytes(dir.File(c.name), c.bytes);
        cli::XtfSummary s;
        std::string error;
        EXPECT_FALSE(cli::ScanXtfFile(dir.File(c.name), s, error));
        EXPECT_NE(error.find(c.name), std::string::npos) << error;
        EXPECT_EQ(error.find('\n'), std::string::npos) << error;
    }
}

}  // namespace
