#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <vector>

#include "imaging/PaletteFile.h"
#include "support/TempDir.h"

namespace {

PaletteFileContents SampleContents() {
    PaletteFileContents contents;
    for (int i = 0; i < kPaletteBytes; ++i) contents.palette[i] = static_cast<std::uint8_t>(i * 7);
    const CurvePoint red[] = {{16, 272}, {240, 100}, {528, 16}};
    const CurvePoint green[] = {{16, 16}, {528, 272}};
    const CurvePoint blue[] = {{16, 200}, {48, 20}, {80, 30}, {528, 40}};
    contents.counts[0] = 3;
    contents.counts[1] = 2;
    contents.counts[2] = 4;
    std::copy(std::begin(red), std::end(red), contents.points[0].begin());
    std::copy(std::begin(green), std::end(green), contents.points[1].begin());
    std::copy(std::begin(blue), std::end(blue), contents.points[2].begin());
    return contents;
}

std::vector<std::uint8_t> SampleBytes() {
    const PaletteFileBytes bytes = EncodePaletteFile(SampleContents());
    return {bytes.begin(), bytes.end()};
}

TEST(PaletteFileTest, LayoutByteForByte) {
    const std::vector<std::uint8_t> bytes = SampleBytes();
    ASSERT_EQ(bytes.size(), 2816u);
    std::vector<std::uint8_t> expected(2816, 0);
    expected[0] = 'R';
    expected[1] = 'G';
    expected[2] = 'B';
    expected[10] = 3;
    expected[12] = 2;
    expected[14] = 4;
    for (int i = 0; i < 1024; ++i) expected[256 + i] = static_cast<std::uint8_t>(i * 7);
    const auto put = [&](int offset, int x, int y) {
        expected[offset] = static_cast<std::uint8_t>(x & 0xFF);
        expected[offset + 1] = static_cast<std::uint8_t>(x >> 8);
        expected[offset + 2] = static_cast<std::uint8_t>(y & 0xFF);
        expected[offset + 3] = static_cast<std::uint8_t>(y >> 8);
    };
    put(1280, 16, 272);
    put(1284, 240, 100);
    put(1288, 528, 16);
    put(1792, 16, 16);
    put(1796, 528, 272);
    put(2304, 16, 200);
    put(2308, 48, 20);
    put(2312, 80, 30);
    put(2316, 528, 40);
    for (std::size_t i = 0; i < expected.size(); ++i) ASSERT_EQ(bytes[i], expected[i]) << i;
}

TEST(PaletteFileTest, DecodeGivesBackWhatWasEncoded) {
    const std::vector<std::uint8_t> bytes = SampleBytes();
    const std::optional<PaletteFileContents> decoded =
        DecodePaletteFile(bytes.data(), bytes.size());
    ASSERT_TRUE(decoded);
    const PaletteFileContents expected = SampleContents();
    EXPECT_EQ(decoded->palette, expected.palette);
    for (int c = 0; c < kCurveCount; ++c) {
        EXPECT_EQ(decoded->counts[c], expected.counts[c]);
        EXPECT_EQ(decoded->points[c], expected.points[c]);
    }
    // The header's other bytes and anything after the file are not looked at.
    std::vector<std::uint8_t> loose = bytes;
    loose[0] = 'X';
    loose[11] = 0xFF;
    loose[100] = 1;
    loose.push_back(0x42);
    EXPECT_TRUE(DecodePaletteFile(loose.data(), loose.size()));
}

TEST(PaletteFileTest, CountsBeyondTheBlocksAreNeverWritten) {
    PaletteFileContents contents = SampleContents();
    contents.counts[0] = 500;
    contents.counts[1] = -3;
    const PaletteFileBytes bytes = EncodePaletteFile(contents);
    EXPECT_EQ(bytes[10], 128);
    EXPECT_EQ(bytes[12], 0);
}

// Every damaged file is refused as a whole; the buffers are exactly the file's size so that
// the address sanitizer sees any read past them.
TEST(PaletteFileTest, DamagedFilesAreRefused) {
    struct Case {
        const char* name;
        std::size_t size;
        int offset;  // -1: no change
        std::uint8_t value;
    };
    const Case cases[] = {
        {"empty", 0, -1, 0},
        {"one byte", 1, -1, 0},
        {"header only", 256, -1, 0},
        {"one byte short", 2815, -1, 0},
        {"red count 129", 2816, 10, 129},
        {"green count 200", 2816, 12, 200},
        {"blue count 255", 2816, 14, 255},
        {"red count 18", 2816, 10, 18},
        {"red count 1", 2816, 10, 1},
        {"green count 0", 2816, 12, 0},
        {"red count past its points", 2816, 10, 4},
        {"red point off the grid", 2816, 1284, 241},
        {"red point above the box", 2816, 1286, 15},
        {"green first point not at 16", 2816, 1792, 48},
        {"blue points out of order", 2816, 2312, 40},
        {"blue last point not at 528", 2816, 2317, 0},
        {"red height high byte", 2816, 1287, 1},
    };
    for (const Case& c : cases) {
        std::vector<std::uint8_t> bytes = SampleBytes();
        if (c.offset >= 0) bytes[c.offset] = c.value;
        bytes.resize(c.size);
        bytes.shrink_to_fit();
        EXPECT_FALSE(DecodePaletteFile(bytes.data(), bytes.size())) << c.name;
    }
    EXPECT_FALSE(DecodePaletteFile(nullptr, 2816));
}

TEST(PaletteFileTest, ReadAndWriteFiles) {
    TempDir dir;
    const std::string name = dir.File("a.pal");
    ASSERT_TRUE(WritePaletteFile(name, SampleContents()));
    EXPECT_EQ(TempDir::ReadBytes(name), SampleBytes());
    const std::optional<PaletteFileContents> read = ReadPaletteFile(name);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->points[2], SampleContents().points[2]);

    std::vector<std::uint8_t> shortFile = SampleBytes();
    shortFile.resize(2000);
    TempDir::WriteBytes(dir.File("short.pal"), shortFile);
    EXPECT_FALSE(ReadPaletteFile(dir.File("short.pal")));
    EXPECT_FALSE(ReadPaletteFile(dir.File("missing.pal")));
    EXPECT_FALSE(ReadPaletteFile(dir.path));  // a directory
    EXPECT_FALSE(ReadPaletteFile(""));
    EXPECT_FALSE(WritePaletteFile(dir.File("no/such/dir.pal"), SampleContents()));
    EXPECT_FALSE(WritePaletteFile("", SampleContents()));
    // A FIFO is neither waited on nor written into.
    const std::string fifo = dir.File("fifo.pal");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_FALSE(ReadPaletteFile(fifo));
    EXPECT_FALSE(WritePaletteFile(fifo, SampleContents()));
    EXPECT_FALSE(WritePaletteFile(dir.path, SampleContents()));
    EXPECT_FALSE(std::filesystem::is_regular_file(fifo));
}

}  // namespace
