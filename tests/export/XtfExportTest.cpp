// XTF written from recordings of the simulator and read back at the byte offsets of the
// format, by a reader of this test's own (not the writer's structures).

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <filesystem>
#include <map>

#include "ExportTestSupport.h"
#include "SimGps.h"
#include "SimScene.h"
#include "common/ByteOrder.h"
#include "export/XtfExport.h"

namespace {

float F32(const std::uint8_t* p) {
    return std::bit_cast<float>(GetLe32(p));
}

struct XtfChannel {
    int number = 0, frequency = 0, gain = 0;
    float slantRange = 0, secondsPerPing = 0;
    std::vector<std::uint8_t> samples;
};

struct XtfPacket {
    const std::uint8_t* header = nullptr;
    std::uint32_t length = 0;
    std::vector<XtfChannel> channels;
};

struct XtfFile {
    std::vector<std::uint8_t> bytes;
    std::vector<XtfPacket> packets;
    const std::uint8_t* Header() const { return bytes.data(); }
};

// Reads packets after the 1024-byte header by their own lengths; fails the test on bytes that
// do not make a packet.
XtfFile ReadXtf(const std::string& path) {
    XtfFile file;
    file.bytes = TempDir::ReadBytes(path);
    std::size_t at = 1024;
    while (at + 256 <= file.bytes.size()) {
        const std::uint8_t* p = file.bytes.data() + at;
        EXPECT_EQ(GetLe16(p), 0xFACE) << "at " << at;
        if (GetLe16(p) != 0xFACE) break;
        XtfPacket packet;
        packet.header = p;
        packet.length = GetLe32(p + 10);
        const int channels = GetLe16(p + 4);
        const std::uint8_t* c = p + 256;
        for (int k = 0; k < channels; ++k) {
            XtfChannel ch;
            ch.number = GetLe16(c);
            ch.slantRange = F32(c + 4);
            ch.secondsPerPing = F32(c + 20);
            ch.frequency = GetLe16(c + 26);
            ch.gain = GetLe16(c + 30);
            const std::uint32_t n = GetLe32(c + 42);
            ch.samples.assign(c + 64, c + 64 + n);
            c += 64 + n;
            packet.channels.push_back(ch);
        }
        EXPECT_LE(static_cast<std::size_t>(c - p), packet.length);
        file.packets.push_back(packet);
        if (packet.length == 0) break;
        at += packet.length;
    }
    EXPECT_EQ(at, file.bytes.size()) << "bytes after the last packet";
    return file;
}

TEST(XtfExportTest, FileHeaderDescribesTwoChannelsPerSideScanHead) {
    TempDir dir;
    const std::string svx = Recording(dir, "four.svx", {.records = 8});
    const svx::ExportReport report = svx::ExportXtf(svx, dir.File("out.xtf"));
    ASSERT_TRUE(report.Ok()) << report.error;
    const XtfFile xtf = ReadXtf(dir.File("out.xtf"));
    const std::uint8_t* h = xtf.Header();
    EXPECT_EQ(h[0], 123);
    EXPECT_EQ(h[1], 1);
    EXPECT_GE(std::atoi(reinterpret_cast<const char*>(h + 10)), 500);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(h + 100)), "out.xtf");
    EXPECT_EQ(GetLe16(h + 164), 3);  // latitude/longitude
    EXPECT_EQ(GetLe16(h + 166), 6);
    EXPECT_EQ(GetLe16(h + 168), 0);
    const float kHz[3] = {120, 260, 540};
    for (int k = 0; k < 6; ++k) {
        const std::uint8_t* c = h + 256 + 128 * k;
        SCOPED_TRACE(k);
        EXPECT_EQ(c[0], k % 2 == 0 ? 1 : 2);  // port, starboard
        EXPECT_EQ(c[1], k);
        EXPECT_EQ(GetLe16(c + 2), 1);
        EXPECT_EQ(GetLe16(c + 4), 1);
        EXPECT_EQ(GetLe16(c + 6), 1);
        EXPECT_EQ(GetLe32(c + 8), 1000u);
        EXPECT_FLOAT_EQ(F32(c + 32), kHz[k / 2]);
        EXPECT_EQ(c[74], 8);
    }
    EXPECT_EQ(xtf.packets.size(), 8u);
}

TEST(XtfExportTest, EveryPacketCarriesTheRecordFieldByField) {
    TempDir dir;
    const std::string svx = Recording(dir, "four.svx", {.records = 12});
    ASSERT_TRUE(svx::ExportXtf(svx, dir.File("out.xtf")).Ok());
    const XtfFile xtf = ReadXtf(dir.File("out.xtf"));
    const auto records = RecordsOf(svx);
    ASSERT_EQ(xtf.packets.size(), records.size());
    const sim::Scene scene;
    for (std::size_t k = 0; k < records.size(); ++k) {
        SCOPED_TRACE(k);
        const XtfPacket& packet = xtf.packets[k];
        const std::uint8_t* p = packet.header;
        const std::uint32_t ping = static_cast<std::uint32_t>(k + 1);
        EXPECT_EQ(p[2], 0);
        EXPECT_EQ(packet.length % 64, 0u);
        EXPECT_EQ(packet.length, 256u + 6 * (64 + 1000) + 16);  // padded to 6656
        // 10:00:00 plus half a second a ping on 9 December 2026 (day 343).
        const double t = 0.5 * static_cast<double>(k);
        EXPECT_EQ(GetLe16(p + 14), 2026);
        EXPECT_EQ(p[16], 12);
        EXPECT_EQ(p[17], 9);
        EXPECT_EQ(p[18], 10);
        EXPECT_EQ(p[20], static_cast<int>(t));
        EXPECT_EQ(p[21], static_cast<int>(std::lround((t - std::floor(t)) * 100)));
        EXPECT_EQ(GetLe16(p + 22), 343);
        EXPECT_EQ(GetLe32(p + 28), ping);
        EXPECT_TRUE(F32(p + 32) == 750.0f || F32(p + 32) == 1500.0f);
        // The GPS batch of the last whole second.
        const sim::VesselFix fix = sim::VesselAt(std::floor(t), 4.0);
        EXPECT_NEAR(GetLeDouble(p + 128), fix.latitude, 2e-6);
        EXPECT_NEAR(GetLeDouble(p + 136), fix.longitude, 2e-6);
        EXPECT_NEAR(GetLeDouble(p + 160), fix.latitude, 2e-6);
        EXPECT_NEAR(F32(p + 120), 4.0f, 1e-4);
        EXPECT_NEAR(F32(p + 124), 92.0f, 1e-4);  // the true heading, not the course
        EXPECT_EQ(p[148], 10);
        EXPECT_EQ(p[150], static_cast<int>(t));
        // Orientation block (heading less the default declination of 22 degrees) and altitude.
        const sim::Orientation o = scene.OrientationAt(ping);
        EXPECT_NEAR(F32(p + 204), o.pitchDeg, 0.01);
        EXPECT_NEAR(F32(p + 208), o.rollDeg, 0.01);
        EXPECT_NEAR(F32(p + 212), o.headingDeg - 22.0, 0.01);
        EXPECT_NEAR(F32(p + 192), o.depthM, 0.02);
        EXPECT_NEAR(F32(p + 64), o.temperatureC, 0.01);
        EXPECT_NEAR(F32(p + 196), scene.AltitudeM(ping), 0.25);

        const svx::RecordView record(
            records[k].data(), svx::DecodeRecord(records[k].data(), records[k].size()).layout, {});
        ASSERT_EQ(packet.channels.size(), 6u);
        for (int c = 0; c < 6; ++c) {
            SCOPED_TRACE(c);
            const XtfChannel& ch = packet.channels[static_cast<std::size_t>(c)];
            const int head = c / 2;
            EXPECT_EQ(ch.number, c);
            EXPECT_FLOAT_EQ(ch.slantRange, 50.0f);
            EXPECT_FLOAT_EQ(ch.secondsPerPing, 0.5f);
            EXPECT_EQ(ch.frequency, static_cast<int>(record.Frequency(head) / 1000));
            EXPECT_EQ(ch.gain, record.Gain(head));
            ASSERT_EQ(ch.samples.size(), 1000u);
            // The line's halves as they lie: port far range first, starboard nearest first.
            const std::uint8_t* half = record.Line(head) + (c % 2 == 0 ? 0 : 1000);
            EXPECT_EQ(ch.samples, std::vector<std::uint8_t>(half, half + 1000));
        }
    }
}

// Another program lays the port channel and then the starboard channel side by side without
// reversing either. That must read far port ... nadir ... far starboard: the water column
// (slant ranges below the altitude) in the middle, flanked on both sides by the first bottom
// return, and no water column at either outer edge.
TEST(XtfExportTest, PortThenStarboardSideBySideHasTheWaterColumnInTheMiddle) {
    TempDir dir;
    const std::string svx = Recording(dir, "four.svx", {.records = 10});
    ASSERT_TRUE(svx::ExportXtf(svx, dir.File("out.xtf")).Ok());
    const XtfFile xtf = ReadXtf(dir.File("out.xtf"));
    ASSERT_EQ(xtf.packets.size(), 10u);
    const sim::Scene scene;
    const auto maxOf = [](const std::vector<std::uint8_t>& v, int from, int to) {
        return *std::max_element(v.begin() + from, v.begin() + to);
    };
    for (std::size_t k = 0; k < xtf.packets.size(); ++k) {
        const std::uint32_t ping = GetLe32(xtf.packets[k].header + 28);
        // Samples a side below the altitude at 50 m over 1000 samples.
        const int water = static_cast<int>(scene.AltitudeM(ping) / 50.0 * 1000.0);
        for (std::size_t pair = 0; pair < 3; ++pair) {
            SCOPED_TRACE(testing::Message() << "ping " << ping << " pair " << pair);
            const XtfChannel& port = xtf.packets[k].channels[2 * pair];
            const XtfChannel& starboard = xtf.packets[k].channels[2 * pair + 1];
            ASSERT_EQ(xtf.Header()[256 + 128 * port.number], 1);  // CHANINFO: port
            ASSERT_EQ(xtf.Header()[256 + 128 * starboard.number], 2);
            std::vector<std::uint8_t> laid = port.samples;
            laid.insert(laid.end(), starboard.samples.begin(), starboard.samples.end());
            ASSERT_EQ(laid.size(), 2000u);
            EXPECT_LE(maxOf(laid, 1000 - water + 3, 1000 + water - 3), sim::kNoiseCeiling)
                << "the water column is not in the middle";
            EXPECT_GT(maxOf(laid, 1000 - water - 20, 1000 - water + 3), sim::kNoiseCeiling)
                << "no bottom return left of the nadir";
            EXPECT_GT(maxOf(laid, 1000 + water - 3, 1000 + water + 20), sim::kNoiseCeiling)
                << "no bottom return right of the nadir";
            EXPECT_GT(maxOf(laid, 0, water), sim::kNoiseCeiling) << "water column at far port";
        }
    }
}

TEST(XtfExportTest, AHeadMissingLaterKeepsItsChannelsWithZeroSamples) {
    TempDir dir;
    const std::string first = Recording(dir, "a.svx", {.records = 3});
    const std::string second =
        Recording(dir, "b.svx", {.records = 3, .heads = {true, false, false, true}});
    std::vector<std::uint8_t> joined = TempDir::ReadBytes(first);
    const std::vector<std::uint8_t> more = TempDir::ReadBytes(second);
    joined.insert(joined.end(), more.begin(), more.end());
    TempDir::WriteBytes(dir.File("joined.svx"), joined);
    ASSERT_TRUE(svx::ExportXtf(dir.File("joined.svx"), dir.File("out.xtf")).Ok());
    const XtfFile xtf = ReadXtf(dir.File("out.xtf"));
    ASSERT_EQ(xtf.packets.size(), 6u);
    const XtfPacket& later = xtf.packets[4];
    ASSERT_EQ(later.channels.size(), 6u);
    EXPECT_NE(later.channels[1].samples, std::vector<std::uint8_t>(1000, 0));
    for (int c = 2; c < 6; ++c) {
        EXPECT_EQ(later.channels[static_cast<std::size_t>(c)].samples,
                  std::vector<std::uint8_t>(1000, 0))
            << c;
        EXPECT_EQ(later.channels[static_cast<std::size_t>(c)].number, c);
    }
}

TEST(XtfExportTest, ChannelsFollowTheHeadsOfTheFirstRecord) {
    TempDir dir;
    const std::string svx =
        Recording(dir, "mh.svx", {.records = 2, .heads = {false, true, true, false}});
    ASSERT_TRUE(svx::ExportXtf(svx, dir.File("out.xtf")).Ok());
    const XtfFile xtf = ReadXtf(dir.File("out.xtf"));
    EXPECT_EQ(GetLe16(xtf.Header() + 166), 4);
    EXPECT_FLOAT_EQ(F32(xtf.Header() + 256 + 32), 260.0f);  // M is the first frequency
    EXPECT_FLOAT_EQ(F32(xtf.Header() + 256 + 128 * 2 + 32), 540.0f);
    ASSERT_EQ(xtf.packets.size(), 2u);
    EXPECT_EQ(xtf.packets[0].channels.size(), 4u);
    // No echo sounder: no altitude, no attitude.
    EXPECT_EQ(F32(xtf.packets[0].header + 196), 0.0f);
    EXPECT_EQ(F32(xtf.packets[0].header + 204), 0.0f);
}

TEST(XtfExportTest, EventNumberIsTheLastMarkSeen) {
    TempDir dir;
    const std::string svx = Recording(dir, "four.svx", {.records = 4});
    std::vector<std::uint8_t> bytes = TempDir::ReadBytes(svx);
    const std::size_t length = GetLe32(bytes.data() + 8);
    PutLe16(bytes.data() + length + 64, 0x8000 | 7);  // the second record marks event 7
    TempDir::WriteBytes(svx, bytes);
    ASSERT_TRUE(svx::ExportXtf(svx, dir.File("out.xtf")).Ok());
    const XtfFile xtf = ReadXtf(dir.File("out.xtf"));
    ASSERT_EQ(xtf.packets.size(), 4u);
    const std::uint32_t expected[4] = {0, 7, 7, 7};
    for (std::size_t k = 0; k < 4; ++k) EXPECT_EQ(GetLe32(xtf.packets[k].header + 24), expected[k]);
}

TEST(XtfExportTest, TheFixTimeKeepsItsHundredths) {
    TempDir dir;
    // Fixes at 10:00:00.25, 10:00:01.25, ... and a record every half second.
    const std::string svx = Recording(dir, "late.svx", {.records = 6, .startUtcS = 36000.25});
    ASSERT_TRUE(svx::ExportXtf(svx, dir.File("out.xtf")).Ok());
    const XtfFile xtf = ReadXtf(dir.File("out.xtf"));
    ASSERT_EQ(xtf.packets.size(), 6u);
    for (std::size_t k = 0; k < 6; ++k) {
        const std::uint8_t* p = xtf.packets[k].header;
        EXPECT_EQ(p[148], 10) << k;
        EXPECT_EQ(p[149], 0) << k;
        EXPECT_EQ(p[150], static_cast<int>(k / 2)) << k;
        EXPECT_EQ(p[151], 25) << k;
    }
}

TEST(XtfExportTest, RecordsWithoutSentencesAreCounted) {
    TempDir dir;
    const std::string svx = Recording(dir, "nogps.svx", {.records = 5, .gps = false});
    const svx::ExportReport report = svx::ExportXtf(svx, dir.File("out.xtf"));
    ASSERT_TRUE(report.Ok()) << report.error;
    EXPECT_EQ(report.records, 5u);
    EXPECT_EQ(report.withoutFix, 5u);
}

struct BadInputCase {
    const char* name;
    std::function<std::string(const TempDir&)> input;  // the data file to export
    std::string output;                                // relative to the directory
    std::string errorHas;
};

class XtfBadInputTest : public ::testing::TestWithParam<BadInputCase> {};

TEST_P(XtfBadInputTest, FailsWithAReasonAndLeavesNoOutput) {
    TempDir dir;
    const BadInputCase& c = GetParam();
    const std::string output = dir.File(c.output);
    const svx::ExportReport report = svx::ExportXtf(c.input(dir), output);
    EXPECT_FALSE(report.Ok());
    EXPECT_NE(report.error.find(c.errorHas), std::string::npos) << report.error;
    EXPECT_FALSE(std::filesystem::is_regular_file(output));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, XtfBadInputTest,
    ::testing::Values(BadInputCase{"Empty",
                                   [](const TempDir& d) {
                                       TempDir::WriteBytes(d.File("empty.svx"), {});
                                       return d.File("empty.svx");
                                   },
                                   "out.xtf", "holds no record"},
                      BadInputCase{"Missing", [](const TempDir& d) { return d.File("none.svx"); },
                                   "out.xtf", "No such file or directory"},
                      BadInputCase{
                          "NoOutputDirectory",
                          [](const TempDir& d) { return Recording(d, "a.svx", {.records = 2}); },
                          "no/such/dir/out.xtf", "cannot write "},
                      BadInputCase{"OutputIsADirectory",
                                   [](const TempDir& d) {
                                       std::filesystem::create_directory(d.File("taken"));
                                       return Recording(d, "a.svx", {.records = 2});
                                   },
                                   "taken/", "Is a directory"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(XtfExportTest, TheDataFileIsNeverOverwrittenByItsExport) {
    TempDir dir;
    const std::string svx = Recording(dir, "a.svx", {.records = 3});
    const std::vector<std::uint8_t> before = TempDir::ReadBytes(svx);
    std::filesystem::create_hard_link(svx, dir.File("other-name.xtf"));
    for (const std::string& output : {svx, dir.File("./a.svx"), dir.File("other-name.xtf")}) {
        const svx::ExportReport report = svx::ExportXtf(svx, output);
        EXPECT_NE(report.error.find("it is the data file being exported"), std::string::npos)
            << output;
    }
    EXPECT_EQ(TempDir::ReadBytes(svx), before);
}

TEST(XtfExportTest, DamagedRecordIsSteppedOverWithItsOffset) {
    TempDir dir;
    const std::string svx = Recording(dir, "four.svx", {.records = 5});
    std::vector<std::uint8_t> bytes = TempDir::ReadBytes(svx);
    const std::size_t length = GetLe32(bytes.data() + 8);
    bytes[2 * length] = 'X';  // the third record loses its magic
    TempDir::WriteBytes(svx, bytes);
    const svx::ExportReport report = svx::ExportXtf(svx, dir.File("out.xtf"));
    ASSERT_TRUE(report.Ok()) << report.error;
    EXPECT_EQ(report.records, 4u);
    ASSERT_EQ(report.damage.size(), 1u);
    EXPECT_EQ(report.damage[0].offset, 2 * length);
    const XtfFile xtf = ReadXtf(dir.File("out.xtf"));
    ASSERT_EQ(xtf.packets.size(), 4u);
    EXPECT_EQ(GetLe32(xtf.packets[2].header + 28), 4u);  // ping 3 is missing
}

TEST(XtfExportTest, ACancelledExportLeavesNoOutput) {
    TempDir dir;
    const std::string svx = Recording(dir, "four.svx", {.records = 200});
    const svx::ExportReport report = svx::ExportXtf(
        svx, dir.File("out.xtf"), [](std::uint64_t, std::uint64_t) { return false; });
    EXPECT_TRUE(report.cancelled);
    EXPECT_FALSE(std::filesystem::exists(dir.File("out.xtf")));
}

}  // namespace
