// An XTF file shown as records: a recording's own XTF export comes back as records with the
// same pings, heads, ranges, echo lines and navigation; other files' ranges and sample counts
// are resampled onto a range of the list with the far end left empty; what playback writes
// stays in memory.

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>

#include "datafiles/RecordIndex.h"
#include "datafiles/XtfTestFile.h"
#include "export/ExportTestSupport.h"
#include "export/PingNavigation.h"
#include "export/XtfExport.h"
#include "recordings/XtfRecordStream.h"

namespace {

void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

// The stream's records, through a file of the test's own folder.
std::vector<std::vector<std::uint8_t>> StreamRecords(rec::XtfRecordStream& stream,
                                                     const TempDir& dir) {
    std::vector<std::uint8_t> bytes(stream.Size());
    EXPECT_EQ(stream.ReadAt(0, bytes.data(), bytes.size()), bytes.size());
    const std::string path = dir.File("stream.svx");
    WriteBytes(path, bytes);
    return RecordsOf(path);
}

// Recordings of the simulator: pings at whole hundredths of a second and a speed a float holds
// exactly, and pings a third of a second apart at a speed a float does not hold.
class XtfExportStreamTest : public ::testing::TestWithParam<sim::RecordingPlan> {};

TEST_P(XtfExportStreamTest, ARecordingsXtfExportComesBackAsItsRecords) {
    TempDir dir;
    const std::string svxPath = Recording(dir, "three.svx", GetParam());
    const std::string xtfPath = dir.File("three.xtf");
    ASSERT_TRUE(svx::ExportXtf(svxPath, xtfPath).Ok());
    std::string error;
    const auto stream = rec::XtfRecordStream::Open(xtfPath, error);
    ASSERT_NE(stream, nullptr) << error;
    EXPECT_EQ(stream->RangeM(), 50);
    const auto original = RecordsOf(svxPath);
    const auto played = StreamRecords(*stream, dir);
    ASSERT_EQ(played.size(), original.size());
    svx::NavigationDecoder fromSvx, fromXtf;
    for (std::size_t k = 0; k < played.size(); ++k) {
        SCOPED_TRACE(k);
        const auto a = svx::DecodeRecord(original[k].data(), original[k].size());
        const auto b = svx::DecodeRecord(played[k].data(), played[k].size());
        ASSERT_TRUE(a.Ok() && b.Ok());
        const svx::RecordView x(original[k].data(), a.layout, {}), y(played[k].data(), b.layout, {});
        EXPECT_EQ(y.PingNumber(), x.PingNumber());
        EXPECT_EQ(y.DateText(), x.DateText());
        EXPECT_EQ(y.TimeText(), x.TimeText());
        EXPECT_EQ(y.PingIntervalMs(), x.PingIntervalMs());
        for (int head = 0; head < 3; ++head) {
            ASSERT_TRUE(y.Layout().HasHead(head));
            EXPECT_EQ(y.Frequency(head), x.Frequency(head));
            EXPECT_EQ(y.Range(head), x.Range(head));
            EXPECT_TRUE(std::equal(y.Line(head), y.Line(head) + 2000, x.Line(head))) << head;
        }
        EXPECT_FALSE(y.Layout().HasHead(3));
        const svx::PingNavigation p = fromSvx.Decode(x), q = fromXtf.Decode(y);
        EXPECT_EQ(q.hasFix, p.hasFix);
        EXPECT_NEAR(q.latitude, p.latitude, 1e-7);
        EXPECT_NEAR(q.longitude, p.longitude, 1e-7);
        EXPECT_EQ(q.speedKnots, p.speedKnots);
        EXPECT_EQ(q.ShipHeading(), p.ShipHeading());
        EXPECT_EQ(q.fixSecondOfDay, p.fixSecondOfDay);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Plans, XtfExportStreamTest,
    ::testing::Values(sim::RecordingPlan{.records = 30, .heads = {true, true, true, false}},
                      sim::RecordingPlan{.records = 30,
                                         .pingIntervalS = 0.333,
                                         .speedKnots = 3.7,
                                         .heads = {true, true, true, false}}));

xtftest::TestChannel OneByte(std::uint16_t number, std::vector<std::uint8_t> v, float range) {
    xtftest::TestChannel c;
    c.number = number;
    c.kHz = 500;
    c.samples = std::move(v);
    c.bytesPerSample = 1;
    c.slantRange = range;
    return c;
}

TEST(XtfRecordStreamTest, RangesOffTheListAreShownOnTheNextWithTheFarEndEmpty) {
    TempDir dir;
    xtftest::XtfBytes f;
    f.Header(3, {{.type = 1, .bytesPerSample = 1, .kHz = 500, .name = "P"},
                 {.type = 2, .bytesPerSample = 1, .kHz = 500, .name = "S"}});
    xtftest::TestPing p;
    p.sensorY = 54.5;
    p.sensorX = 10.25;
    // 35 m in 7 samples of 5 m: port far first, starboard near first.
    p.channels = {OneByte(0, {70, 60, 50, 40, 30, 20, 10}, 35), OneByte(1, {1, 2, 3, 4, 5, 6, 7}, 35)};
    f.Ping(p);
    WriteBytes(dir.File("odd.xtf"), f.bytes);
    std::string error;
    const auto stream = rec::XtfRecordStream::Open(dir.File("odd.xtf"), error);
    ASSERT_NE(stream, nullptr) << error;
    EXPECT_EQ(stream->RangeM(), 40);
    const auto records = StreamRecords(*stream, dir);
    ASSERT_EQ(records.size(), 1u);
    const auto decoded = svx::DecodeRecord(records[0].data(), records[0].size());
    const svx::RecordView r(records[0].data(), decoded.layout, {});
    ASSERT_TRUE(r.Layout().HasHead(2));  // 500 kHz is nearest the H head
    EXPECT_FALSE(r.Layout().HasHead(0));
    EXPECT_EQ(r.Range(2), 40);
    EXPECT_EQ(r.Frequency(2), 500000u);
    const std::uint8_t* line = r.Line(2);
    // Sample d of a side lies at (d + 0.5) 40 / 1000 m: 5 m a file sample, 125 line samples.
    const struct {
        int d;
        std::uint8_t port, starboard;
    } cases[] = {{0, 10, 1}, {124, 10, 1}, {125, 20, 2}, {874, 70, 7}, {875, 0, 0}, {999, 0, 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(line[999 - c.d], c.port) << c.d;
        EXPECT_EQ(line[1000 + c.d], c.starboard) << c.d;
    }
    EXPECT_EQ(stream->Notes().size(), 0u);
}

// The intervals of the records: a recorder that gives SecondsPerPing is taken at its word (a
// ping without one has none, as a record before the first measurement); a file that never
// gives one has the intervals of its ping times, the first ping as long as the second.
TEST(XtfRecordStreamTest, PingIntervalsAreTheRecordedOnesElseThoseOfThePingTimes) {
    struct Case {
        const char* name;
        std::vector<float> secondsPerPing;  // a ping each, 0.41 s apart by their times
        std::vector<int> intervalsMs;
    };
    const Case cases[] = {
        {"recorded", {0.333f, 0.3334f, 1.5f}, {333, 333, 1500}},
        {"recorded after the first pings", {0, 0, 0.4123f}, {0, 0, 412}},
        {"never recorded", {0, 0, 0}, {410, 410, 410}},
        {"none that can be", {-1.0f, 1e9f, std::nanf("")}, {410, 410, 410}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        xtftest::XtfBytes f;
        f.Header(3, {{.type = 1, .bytesPerSample = 1, .kHz = 120, .name = "P"},
                     {.type = 2, .bytesPerSample = 1, .kHz = 120, .name = "S"}});
        for (std::size_t k = 0; k < c.secondsPerPing.size(); ++k) {
            xtftest::TestPing p;
            p.ping = static_cast<std::uint32_t>(k + 1);
            p.second = 10;
            p.hundredths = static_cast<int>(41 * k);
            p.channels = {OneByte(0, {1, 2, 3}, 50), OneByte(1, {4, 5, 6}, 50)};
            p.channels[0].secondsPerPing = c.secondsPerPing[k];
            f.Ping(p);
        }
        WriteBytes(dir.File("t.xtf"), f.bytes);
        std::string error;
        const auto stream = rec::XtfRecordStream::Open(dir.File("t.xtf"), error);
        ASSERT_NE(stream, nullptr) << error;
        const auto records = StreamRecords(*stream, dir);
        ASSERT_EQ(records.size(), c.intervalsMs.size());
        for (std::size_t k = 0; k < records.size(); ++k) {
            const auto decoded = svx::DecodeRecord(records[k].data(), records[k].size());
            const svx::RecordView r(records[k].data(), decoded.layout, {});
            EXPECT_EQ(r.PingIntervalMs(), c.intervalsMs[k]) << k;
        }
    }
}

// A speed and heading written from a receiver's texts read back as those texts' values, not
// cut to hundredths nor widened to the float's binary neighbourhood.
TEST(XtfRecordStreamTest, SpeedAndHeadingReadBackAsTheTextsTheyCameFrom) {
    const struct {
        float speed, gyro;
        double knots, heading;
    } cases[] = {{4.123f, 92.345f, 4.123, 92.345}, {3.7f, 0.5f, 3.7, 0.5}, {12.0f, 359.99f, 12.0, 359.99}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.knots);
        TempDir dir;
        xtftest::XtfBytes f;
        f.Header(3, {{.type = 1, .bytesPerSample = 1, .kHz = 120, .name = "P"},
                     {.type = 2, .bytesPerSample = 1, .kHz = 120, .name = "S"}});
        xtftest::TestPing p;
        p.sensorY = 54.5;
        p.sensorX = 10.25;
        p.shipSpeed = c.speed;
        p.shipGyro = c.gyro;
        p.channels = {OneByte(0, {1, 2, 3}, 50), OneByte(1, {4, 5, 6}, 50)};
        f.Ping(p);
        WriteBytes(dir.File("s.xtf"), f.bytes);
        std::string error;
        const auto stream = rec::XtfRecordStream::Open(dir.File("s.xtf"), error);
        ASSERT_NE(stream, nullptr) << error;
        const auto records = StreamRecords(*stream, dir);
        ASSERT_EQ(records.size(), 1u);
        const auto decoded = svx::DecodeRecord(records[0].data(), records[0].size());
        const svx::RecordView r(records[0].data(), decoded.layout, {});
        svx::NavigationDecoder navigation;
        const svx::PingNavigation nav = navigation.Decode(r);
        EXPECT_EQ(nav.speedKnots, c.knots);
        EXPECT_EQ(nav.ShipHeading(), c.heading);
    }
}

TEST(XtfRecordStreamTest, WhatPlaybackWritesStaysInMemory) {
    TempDir dir;
    const std::string svxPath =
        Recording(dir, "one.svx", {.records = 4, .heads = {true, false, false, false}});
    const std::string xtfPath = dir.File("one.xtf");
    ASSERT_TRUE(svx::ExportXtf(svxPath, xtfPath).Ok());
    const auto before = TempDir::ReadBytes(xtfPath);
    std::string error;
    const auto stream = rec::XtfRecordStream::Open(xtfPath, error);
    ASSERT_NE(stream, nullptr) << error;
    const std::uint8_t mark[2] = {0x07, 0x80};
    const std::uint64_t at = stream->RecordLength() + 64;
    ASSERT_TRUE(stream->WriteAt(at, mark, 2));
    EXPECT_FALSE(stream->WriteAt(stream->Size() - 1, mark, 2));  // past the end
    std::uint8_t back[2] = {};
    ASSERT_EQ(stream->ReadAt(at, back, 2), 2u);
    EXPECT_EQ(back[0], 0x07);
    EXPECT_EQ(back[1], 0x80);
    EXPECT_EQ(TempDir::ReadBytes(xtfPath), before);
}

TEST(XtfRecordStreamTest, AFileWithoutSideScanPingsIsRefusedNamingIt) {
    TempDir dir;
    xtftest::XtfBytes f;
    f.Header(3, {{.type = 0, .bytesPerSample = 1, .kHz = 4, .name = "sub"}});
    WriteBytes(dir.File("sub.xtf"), f.bytes);
    WriteBytes(dir.File("zero.xtf"), std::vector<std::uint8_t>(4096, 0));
    for (const char* name : {"sub.xtf", "zero.xtf", "missing.xtf"}) {
        std::string error;
        EXPECT_EQ(rec::XtfRecordStream::Open(dir.File(name), error), nullptr) << name;
        EXPECT_NE(error.find(name), std::string::npos) << error;
    }
}

}  // namespace
