// An XTF file shown as records: a recording's own XTF export comes back as records with the
// same pings, heads, ranges, echo lines and navigation; other files' ranges and sample counts
// are resampled onto a range of the list with the far end left empty; what playback writes
// stays in memory.

#include <gtest/gtest.h>

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

TEST(XtfRecordStreamTest, ARecordingsXtfExportComesBackAsItsRecords) {
    TempDir dir;
    const std::string svxPath =
        Recording(dir, "three.svx", {.records = 30, .heads = {true, true, true, false}});
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
