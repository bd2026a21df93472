// XTF samples to display bytes: 1-byte samples unchanged, wider ones through the logarithmic
// curve with the file's gain, and the gain taken from pings spread over the file.

#include <gtest/gtest.h>

#include <cmath>

#include "XtfTestFile.h"
#include "datafiles/XtfDisplayMap.h"

namespace {

using namespace xtftest;

TEST(XtfDisplayMapTest, OneByteSamplesPassUnchanged) {
    std::vector<std::uint8_t> raw(256);
    for (int v = 0; v < 256; ++v) raw[static_cast<std::size_t>(v)] = static_cast<std::uint8_t>(255 - v);
    for (double top : {1.0, 300.0, 65535.0}) {
        std::vector<std::uint8_t> out(256, 7);
        xtf::DisplayMap(top).Map({raw.data(), 256, xtf::SampleType::UInt8}, out.data());
        EXPECT_EQ(out, raw) << top;
    }
}

// The documented points of the curve: top / 100, top / 10, top / 2 and top.
TEST(XtfDisplayMapTest, CurvePointsAreTheDocumentedOnes) {
    const double top = 20000;
    const xtf::DisplayMap map(top);
    const struct {
        double value;
        int byte;
    } cases[] = {{0, 0},         {-5, 0},        {NAN, 0},     {top / 100, 38}, {top / 10, 132},
                 {top / 2, 216}, {top, 254},     {top * 3, 254}, {INFINITY, 254}, {20, 5}};
    for (const auto& c : cases) EXPECT_EQ(map.Map(c.value), c.byte) << c.value;
    EXPECT_EQ(map.Top(), top);
    EXPECT_EQ(xtf::DisplayMap(0).Top(), 1.0);
    EXPECT_EQ(xtf::DisplayMap(NAN).Top(), 1.0);
}

// Over the whole 16-bit range: never falling, never above 254, the table path equal to the
// value path, and weak returns well above black.
TEST(XtfDisplayMapTest, SixteenBitMapIsMonotonicAndKeepsWeakReturnsVisible) {
    for (double top : {500.0, 12000.0, 65535.0}) {
        const xtf::DisplayMap map(top);
        std::vector<std::uint8_t> raw(2 * 65536);
        for (unsigned v = 0; v < 65536; ++v) Put16(raw, 2 * v, v);
        std::vector<std::uint8_t> out(65536);
        map.Map({raw.data(), 65536, xtf::SampleType::UInt16}, out.data());
        for (unsigned v = 1; v < 65536; ++v) {
            ASSERT_GE(out[v], out[v - 1]) << top << " at " << v;
            ASSERT_LE(out[v], 254) << top;
            ASSERT_EQ(out[v], map.Map(static_cast<double>(v))) << top << " at " << v;
        }
        EXPECT_EQ(out[0], 0);
        EXPECT_GE(out[static_cast<std::size_t>(top / 30)], 60) << top;  // 30 dB below top
        EXPECT_LT(out[static_cast<std::size_t>(top * 0.9)], 254) << top;  // not saturated
    }
}

TEST(XtfDisplayMapTest, WideIntegerAndFloatSamplesGoThroughTheCurve) {
    const xtf::DisplayMap map(1000);
    std::vector<std::uint8_t> raw(16);
    Put32(raw, 0, 10);                               // 4-byte integer top / 100
    Put32(raw, 4, 4000000000u);                      // far above top
    PutF32(raw, 8, 100.0f);                          // float top / 10
    PutF32(raw, 12, -3.0f);                          // a negative float
    std::uint8_t out[2];
    map.Map({raw.data(), 2, xtf::SampleType::UInt32}, out);
    EXPECT_EQ(out[0], 38);
    EXPECT_EQ(out[1], 254);
    map.Map({raw.data() + 8, 2, xtf::SampleType::Float32}, out);
    EXPECT_EQ(out[0], 132);
    EXPECT_EQ(out[1], 0);
}

xtf::Ping PingOf(std::vector<std::uint8_t>& raw, xtf::SampleType type, std::uint32_t count) {
    xtf::Ping ping;
    xtf::Channel channel;
    channel.samples = {raw.data(), count, type};
    ping.channels.push_back(channel);
    return ping;
}

// The gain is the 99.5th percentile of the non-zero samples of wide channels; zeros (water
// column, padding) and 1-byte channels do not lower it.
TEST(XtfDisplayMapTest, GainIsAHighPercentileOfNonZeroSamples) {
    std::vector<std::uint16_t> values;
    for (std::uint16_t v = 1; v <= 1000; ++v) values.push_back(v);
    values.resize(5000, 0);
    std::vector<std::uint8_t> wide = Samples16(values);
    std::vector<std::uint8_t> narrow(5000, 1);
    xtf::GainSampler sampler;
    EXPECT_EQ(sampler.Top(), 1.0);
    sampler.Add(PingOf(narrow, xtf::SampleType::UInt8, 5000));
    EXPECT_EQ(sampler.Values(), 0u);
    sampler.Add(PingOf(wide, xtf::SampleType::UInt16, 5000));
    EXPECT_EQ(sampler.Values(), 1000u);
    EXPECT_NEAR(sampler.Top(), 995, 1);
}

// Channels and pings add a bounded number of values, however many samples they hold.
TEST(XtfDisplayMapTest, GainSamplesAreBounded) {
    std::vector<std::uint8_t> wide(2 * 200000);
    for (std::size_t i = 0; i < wide.size(); i += 2) Put16(wide, i, 1 + (i / 2) % 50000);
    xtf::GainSampler sampler;
    xtf::Ping ping = PingOf(wide, xtf::SampleType::UInt16, 200000);
    for (int k = 0; k < 9; ++k) ping.channels.push_back(ping.channels[0]);
    sampler.Add(ping);
    EXPECT_LE(sampler.Values(), 16384u);
    EXPECT_GE(sampler.Values(), 4096u);
    EXPECT_GT(sampler.Top(), 45000);  // the stride still spans the channel
}

// A file whose first pings are faint and whose later pings are bright: the gain sees both,
// and damage and other packets on the way do not stop it.
TEST(XtfDisplayMapTest, FileGainComesFromPingsSpreadOverTheFile) {
    XtfBytes x;
    x.Header(3, {{1, 2, 3, 100, "P"}, {2, 2, 3, 100, "S"}});
    for (std::uint32_t n = 0; n < 400; ++n) {
        TestPing p;
        p.ping = n;
        const std::uint16_t level = n < 200 ? 100 : 30000;
        p.channels = {Ramp(0, 64, level), Ramp(1, 64, level)};
        x.Ping(p);
        if (n % 50 == 0) x.Other(3, 64);
        if (n == 300) x.bytes.resize(x.bytes.size() + 999, 0x33);
    }
    svx::MemoryBytes source(x.bytes.data(), x.bytes.size());
    xtf::Reader reader(source);
    std::string error;
    ASSERT_TRUE(reader.Open(error)) << error;
    const xtf::DisplayMap map = xtf::DisplayMapForFile(source, reader.File());
    EXPECT_GE(map.Top(), 30000);
    EXPECT_LE(map.Top(), 30063);
}

// A file of 1-byte samples only leaves nothing to choose a gain from; its samples still pass
// unchanged.
TEST(XtfDisplayMapTest, FileOfOneByteSamplesKeepsThem) {
    XtfBytes x;
    x.Header(3, {{1, 1, 8, 100, "P"}, {2, 1, 8, 100, "S"}});
    TestPing p;
    p.channels = {{0, 50, 0, {1, 200, 255}, -1, 1}, {1, 50, 0, {3, 4}, -1, 1}};
    x.Ping(p);
    svx::MemoryBytes source(x.bytes.data(), x.bytes.size());
    xtf::Reader reader(source);
    std::string error;
    ASSERT_TRUE(reader.Open(error)) << error;
    const xtf::DisplayMap map = xtf::DisplayMapForFile(source, reader.File());
    xtf::Ping ping;
    ASSERT_TRUE(reader.NextPing(ping));
    std::uint8_t out[3];
    map.Map(ping.channels[0].samples, out);
    EXPECT_EQ(std::vector<std::uint8_t>(out, out + 3), (std::vector<std::uint8_t>{1, 200, 255}));
}

}  // namespace
