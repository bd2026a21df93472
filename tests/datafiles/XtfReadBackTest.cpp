// Our own XTF export read back by the XTF reader: every record comes back as a ping with its
// number, time, position, heads, ranges and the very bytes of its echo lines.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "SimGps.h"
#include "datafiles/XtfDisplayMap.h"
#include "datafiles/XtfReader.h"
#include "export/ExportTestSupport.h"
#include "export/XtfExport.h"

namespace {

constexpr std::uint32_t kHalf = 1000;  // samples a side in a record's echo line

TEST(XtfReadBackTest, ExportedRecordingReadsBackByteForByte) {
    TempDir dir;
    const std::string svx = Recording(dir, "four.svx", {.records = 20});
    ASSERT_TRUE(svx::ExportXtf(svx, dir.File("out.xtf")).Ok());
    const auto records = RecordsOf(svx);
    const std::vector<std::uint8_t> bytes = TempDir::ReadBytes(dir.File("out.xtf"));
    svx::MemoryBytes source(bytes.data(), bytes.size());
    xtf::Reader reader(source);
    std::string error;
    ASSERT_TRUE(reader.Open(error)) << error;
    EXPECT_EQ(reader.File().navUnits, xtf::NavUnits::Degrees);
    const xtf::DisplayMap map = xtf::DisplayMapForFile(source, reader.File());

    xtf::Ping ping;
    std::vector<std::uint8_t> port(kHalf), starboard(kHalf);
    std::size_t k = 0;
    for (; reader.NextPing(ping); ++k) {
        ASSERT_LT(k, records.size());
        SCOPED_TRACE(k);
        const svx::DecodedRecord decoded = svx::DecodeRecord(records[k].data(), records[k].size());
        ASSERT_TRUE(decoded.Ok());
        const svx::RecordView record(records[k].data(), decoded.layout, {});
        EXPECT_EQ(ping.pingNumber, record.PingNumber());
        EXPECT_EQ(ping.time.year, 2026);
        const double t = 0.5 * static_cast<double>(k);
        EXPECT_EQ(ping.time.second * 100 + ping.time.hundredths, static_cast<int>(t * 100));
        const sim::VesselFix fix = sim::VesselAt(std::floor(t), 4.0);
        ASSERT_TRUE(ping.sensor.has_value());
        EXPECT_NEAR(ping.sensor->y, fix.latitude, 2e-6);
        EXPECT_NEAR(ping.sensor->x, fix.longitude, 2e-6);
        ASSERT_EQ(ping.channels.size(), 6u);  // L, M, H; the echo sounder has no channel
        for (int head = 0; head < 3; ++head) {
            const xtf::Channel& p = ping.channels[static_cast<std::size_t>(2 * head)];
            const xtf::Channel& s = ping.channels[static_cast<std::size_t>(2 * head + 1)];
            EXPECT_EQ(p.type, xtf::ChannelType::Port);
            EXPECT_EQ(s.type, xtf::ChannelType::Starboard);
            EXPECT_EQ(p.frequencyKHz, static_cast<float>(record.Frequency(head) / 1000));
            EXPECT_EQ(p.slantRange, static_cast<float>(record.Range(head)));
            ASSERT_EQ(p.samples.type, xtf::SampleType::UInt8);
            ASSERT_EQ(p.samples.count, kHalf);
            ASSERT_EQ(s.samples.count, kHalf);
            map.Map(p.samples, port.data());
            map.Map(s.samples, starboard.data());
            // The line holds the port half far range first, then the starboard half nearest first.
            const std::uint8_t* line = record.Line(head);
            EXPECT_TRUE(std::equal(starboard.begin(), starboard.end(), line + kHalf));
            EXPECT_TRUE(std::equal(port.begin(), port.end(), line));
        }
    }
    EXPECT_EQ(k, records.size());
    EXPECT_TRUE(reader.Damage().empty());
}

}  // namespace
