// The readers of recordings: the format chosen for a file, a data file and its own XTF export
// read as the same pings, XTF channels on the head of the nearest frequency, and a mosaic made
// from an XTF file.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>

#include "datafiles/XtfTestFile.h"
#include "export/ExportTestSupport.h"
#include "export/Mosaic.h"
#include "export/XtfExport.h"
#include "recordings/Recording.h"

namespace {

struct Walked {
    std::vector<rec::PingValues> pings;
    svx::ExportReport report;
    bool read = false;
};

Walked WalkAll(const std::string& path) {
    Walked out;
    const auto reader = rec::OpenRecording(path, out.report.error);
    if (!reader) return out;
    out.read = reader->Walk(
        [&](const rec::PingValues& ping) {
            out.pings.push_back(ping);
            return true;
        },
        {}, out.report);
    return out;
}

void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

TEST(RecordingReaderTest, ADataFileAndItsXtfExportGiveTheSamePings) {
    TempDir dir;
    const std::string svxPath = Recording(dir, "three.svx", {.records = 24, .heads = {true, true, true, false}});
    const std::string xtfPath = dir.File("three.xtf");
    ASSERT_TRUE(svx::ExportXtf(svxPath, xtfPath).Ok());
    const Walked a = WalkAll(svxPath), b = WalkAll(xtfPath);
    ASSERT_TRUE(a.read && b.read) << a.report.error << b.report.error;
    ASSERT_EQ(a.pings.size(), 24u);
    ASSERT_EQ(b.pings.size(), a.pings.size());
    for (std::size_t k = 0; k < a.pings.size(); ++k) {
        SCOPED_TRACE(k);
        const rec::PingValues &p = a.pings[k], &q = b.pings[k];
        EXPECT_EQ(q.nav.ping, p.nav.ping);
        EXPECT_EQ(q.nav.clock.Seconds(), p.nav.clock.Seconds());
        EXPECT_EQ(q.nav.hasFix, p.nav.hasFix);
        EXPECT_NEAR(q.nav.latitude, p.nav.latitude, 2e-6);
        EXPECT_NEAR(q.nav.longitude, p.nav.longitude, 2e-6);
        EXPECT_EQ(q.nav.fixSecondOfDay, p.nav.fixSecondOfDay);
        EXPECT_NEAR(q.nav.speedKnots, p.nav.speedKnots, 1e-4);
        for (std::size_t slot = 0; slot < rec::kSideScanSlots; ++slot) {
            const rec::SideScanLine &l = p.heads[slot], &m = q.heads[slot];
            ASSERT_TRUE(l.present && m.present) << slot;
            EXPECT_EQ(m.slantRangeM, l.slantRangeM);
            EXPECT_EQ(m.frequencyKHz, std::floor(l.frequencyKHz));
            EXPECT_EQ(m.port, l.port) << slot;
            EXPECT_EQ(m.starboard, l.starboard) << slot;
        }
    }
}

TEST(RecordingReaderTest, TheFormatIsChosenByTheFirstBytesThenByTheName) {
    TempDir dir;
    const std::string svxPath = Recording(dir, "a.svx", {.records = 3});
    xtftest::XtfBytes xtfFile;
    xtfFile.Header(3, {{.type = 1, .bytesPerSample = 1, .kHz = 100, .name = "P"}});
    const auto svxBytes = TempDir::ReadBytes(svxPath);
    WriteBytes(dir.File("svx-named.dat"), svxBytes);
    WriteBytes(dir.File("xtf-named.bin"), xtfFile.bytes);
    WriteBytes(dir.File("garbage.xtf"), std::vector<std::uint8_t>(2000, 0x41));
    WriteBytes(dir.File("garbage.txt"), std::vector<std::uint8_t>(2000, 0x41));
    struct Case {
        std::string name;
        const char* format;  // nullptr: no reader
        const char* error;   // part of the error of opening or walking
    } cases[] = {
        {"a.svx", "svx", ""},
        {"svx-named.dat", "svx", ""},
        {"xtf-named.bin", "xtf", ""},
        {"garbage.xtf", "xtf", "garbage.xtf"},
        {"garbage.txt", nullptr, "neither a data file (.svx) nor an XTF file (.xtf)"},
        {"missing.svx", nullptr, "missing.svx"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string error;
        const auto reader = rec::OpenRecording(dir.File(c.name), error);
        if (!c.format) {
            EXPECT_EQ(reader, nullptr);
            EXPECT_NE(error.find(c.error), std::string::npos) << error;
            continue;
        }
        ASSERT_NE(reader, nullptr) << error;
        EXPECT_STREQ(reader->Format(), c.format);
        svx::ExportReport report;
        const bool read = reader->Walk([](const rec::PingValues&) { return true; }, {}, report);
        EXPECT_EQ(read, std::string(c.error).empty()) << report.error;
        EXPECT_NE(report.error.find(c.error), std::string::npos) << report.error;
    }
}

TEST(RecordingReaderTest, AChannelGoesToTheHeadOfTheNearestFrequency) {
    const struct {
        double kHz;
        int slot;
    } cases[] = {{0, 0}, {50, 0}, {100, 0}, {120, 0}, {175, 0}, {180, 1}, {260, 1},
                 {400, 1}, {430, 2}, {540, 2}, {675, 2}, {1600, 2}};
    for (const auto& c : cases) EXPECT_EQ(rec::NearestSlot(c.kHz), c.slot) << c.kHz;
}

xtftest::TestChannel Bytes(std::uint16_t number, std::uint16_t kHz, std::vector<std::uint8_t> v,
                           float range) {
    xtftest::TestChannel c;
    c.number = number;
    c.kHz = kHz;
    c.samples = std::move(v);
    c.bytesPerSample = 1;
    c.slantRange = range;
    return c;
}

// A file of two pairs (100 and 500 kHz) with 1-byte samples.
std::vector<std::uint8_t> TwoPairFile(int navUnits, double y, double x, float shipGyro = 0,
                                      float altitude = 7.5f) {
    xtftest::XtfBytes f;
    f.Header(navUnits, {{.type = 1, .bytesPerSample = 1, .kHz = 100, .name = "P lo"},
                        {.type = 2, .bytesPerSample = 1, .kHz = 100, .name = "S lo"},
                        {.type = 1, .bytesPerSample = 1, .kHz = 500, .name = "P hi"},
                        {.type = 2, .bytesPerSample = 1, .kHz = 500, .name = "S hi"}});
    xtftest::TestPing p;
    p.sensorY = y;
    p.sensorX = x;
    p.altitude = altitude;
    p.heading = 91.5f;
    p.shipGyro = shipGyro;
    p.channels = {Bytes(0, 100, {1, 2, 3, 4}, 75), Bytes(1, 100, {5, 6, 7, 8}, 75),
                  Bytes(2, 500, {9, 10}, 30), Bytes(3, 500, {11, 12}, 30)};
    f.Ping(p);
    return f.bytes;
}

TEST(RecordingReaderTest, XtfPairsFillTheirHeadsNearestSampleFirst) {
    TempDir dir;
    WriteBytes(dir.File("two.xtf"), TwoPairFile(3, 54.25, 10.5));
    const Walked w = WalkAll(dir.File("two.xtf"));
    ASSERT_TRUE(w.read) << w.report.error;
    ASSERT_EQ(w.pings.size(), 1u);
    const rec::PingValues& p = w.pings[0];
    const rec::SideScanLine &low = p.heads[0], &mid = p.heads[1], &high = p.heads[2];
    ASSERT_TRUE(low.present && high.present);
    EXPECT_FALSE(mid.present);
    EXPECT_EQ(low.port, (std::vector<std::uint8_t>{4, 3, 2, 1}));  // stored farthest first
    EXPECT_EQ(low.starboard, (std::vector<std::uint8_t>{5, 6, 7, 8}));
    EXPECT_EQ(high.port, (std::vector<std::uint8_t>{10, 9}));
    EXPECT_EQ(low.slantRangeM, 75);
    EXPECT_EQ(high.slantRangeM, 30);
    EXPECT_EQ(high.frequencyKHz, 500);
    EXPECT_TRUE(p.nav.hasFix && p.nav.newFix);
    EXPECT_EQ(p.nav.latitude, 54.25);
    EXPECT_EQ(p.nav.longitude, 10.5);
    EXPECT_EQ(p.nav.altitudeM, 7.5);
    EXPECT_NEAR(p.nav.ShipHeading(), 91.5, 1e-6);  // no gyro heading: the sensor's
}

TEST(RecordingReaderTest, SwathsAreLaidAlongTheGyroHeadingWhenTheFileHasOne) {
    TempDir dir;
    WriteBytes(dir.File("gyro.xtf"), TwoPairFile(3, 54.25, 10.5, 95.25f));
    const Walked w = WalkAll(dir.File("gyro.xtf"));
    ASSERT_EQ(w.pings.size(), 1u);
    EXPECT_NEAR(w.pings[0].nav.ShipHeading(), 95.25, 1e-6);
    ASSERT_TRUE(w.pings[0].nav.attitude.has_value());
    EXPECT_NEAR(w.pings[0].nav.attitude->headingDeg, 91.5, 1e-6);  // the sensor's stays
}

TEST(RecordingReaderTest, PositionsThatAreNoneOrProjectedPlaceNoPing) {
    TempDir dir;
    const struct {
        int navUnits;
        double y, x;
        bool note;
    } cases[] = {{3, 0, 0, false}, {0, 6012345.5, 512345.5, true}, {3, 95, 10, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.y);
        WriteBytes(dir.File("n.xtf"), TwoPairFile(c.navUnits, c.y, c.x));
        const Walked w = WalkAll(dir.File("n.xtf"));
        ASSERT_TRUE(w.read) << w.report.error;
        ASSERT_EQ(w.pings.size(), 1u);
        EXPECT_FALSE(w.pings[0].nav.hasFix);
        EXPECT_EQ(w.report.notes.size(), c.note ? 1u : 0u);
    }
}

// A file without any altitude is laid at its slant ranges, and the mosaic says so.
TEST(RecordingReaderTest, AMosaicWithoutAltitudeSaysItIsNotSlantCorrected) {
    TempDir dir;
    for (const float altitude : {0.0f, 7.5f}) {
        SCOPED_TRACE(altitude);
        WriteBytes(dir.File("a.xtf"), TwoPairFile(3, 54.25, 10.5, 0, altitude));
        svx::Mosaic mosaic;
        const svx::ExportReport report = svx::BuildMosaic(dir.File("a.xtf"), {}, mosaic);
        ASSERT_TRUE(report.Ok()) << report.error;
        const std::string note = "no altitude in " + dir.File("a.xtf") +
                                 ": laid without slant-range correction";
        EXPECT_EQ(report.notes, altitude > 0 ? std::vector<std::string>{}
                                             : std::vector<std::string>{note});
    }
}

// The pings after the last fix are carried on along the track whether the record clocks
// repeat the fix's time to the last bit (hundredths of an XTF file) or not (milliseconds).
TEST(RecordingReaderTest, PingsAfterTheLastFixGoOnAlongTheTrackWhateverTheClock) {
    const char* source = std::getenv("SONVARA_SOURCE_DIR");
    ASSERT_NE(source, nullptr) << "SONVARA_SOURCE_DIR is not set (ctest sets it)";
    const std::string svxPath = std::string(source) + "/tests/golden/two-heads/two-heads.svx";
    TempDir dir;
    const std::string xtfPath = dir.File("two.xtf");
    ASSERT_TRUE(svx::ExportXtf(svxPath, xtfPath).Ok());
    svx::Mosaic a, b;
    ASSERT_TRUE(svx::BuildMosaic(svxPath, {.resolutionM = 0.1}, a).Ok());
    ASSERT_TRUE(svx::BuildMosaic(xtfPath, {.resolutionM = 0.1}, b).Ok());
    EXPECT_EQ(b.pings, a.pings);
    EXPECT_EQ(b.Width(), a.Width());
    EXPECT_EQ(b.Height(), a.Height());
}

TEST(RecordingReaderTest, AnXtfExportMosaicsLikeItsDataFile) {
    TempDir dir;
    const std::string svxPath =
        Recording(dir, "line.svx", {.records = 120, .heads = {true, false, false, false}});
    const std::string xtfPath = dir.File("line.xtf");
    ASSERT_TRUE(svx::ExportXtf(svxPath, xtfPath).Ok());
    svx::Mosaic a, b;
    ASSERT_TRUE(svx::BuildMosaic(svxPath, {.resolutionM = 0.5}, a).Ok());
    const svx::ExportReport report = svx::BuildMosaic(xtfPath, {.resolutionM = 0.5}, b);
    ASSERT_TRUE(report.Ok()) << report.error;
    EXPECT_EQ(b.pings, a.pings);
    EXPECT_EQ(b.Epsg(), a.Epsg());
    ASSERT_EQ(b.Width(), a.Width());
    ASSERT_EQ(b.Height(), a.Height());
    std::int64_t same = 0, total = 0;
    for (std::int64_t row = a.raster.MinRow(); row <= a.raster.MaxRow(); ++row) {
        for (std::int64_t col = a.raster.MinCol(); col <= a.raster.MaxCol(); ++col) {
            ++total;
            same += a.raster.At(col, row) == b.raster.At(col, row);
        }
    }
    EXPECT_EQ(same, total);
}

}  // namespace
