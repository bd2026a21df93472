// The echogram keeps its columns in a ring. Whatever the number of pings, the picture read
// through At() and CopyRow() must be the one that moving every column one to the left per ping
// gives, which the model below does the slow way.

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "imaging/PingHistory.h"
#include "sensors/EchoSounder.h"

namespace {

// The echogram as a plain picture: each new column moves all others of the scrolling part one
// to the left, row by row.
class ShiftedEchogram {
public:
    ShiftedEchogram(int width, int height)
        : width(width), height(height), pixels(static_cast<std::size_t>(width * height), 0) {}
    void Add(const std::vector<std::uint8_t>& column) {
        const int newest = width - kEsScaleWidth - 1;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < newest; ++x) Set(x, y, Get(x + 1, y));
        }
        Write(newest, column);
    }
    void Write(int x, const std::vector<std::uint8_t>& column) {
        for (std::size_t k = 0; k < column.size(); ++k)
            Set(x, kEsMargin + static_cast<int>(k), column[k]);
    }
    std::uint8_t Get(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }

private:
    void Set(int x, int y, std::uint8_t v) { pixels[static_cast<std::size_t>(y * width + x)] = v; }
    int width;
    int height;
    std::vector<std::uint8_t> pixels;
};

std::vector<std::uint8_t> RandomColumn(std::mt19937& rng, int n) {
    std::vector<std::uint8_t> column(static_cast<std::size_t>(n));
    for (auto& v : column) v = static_cast<std::uint8_t>(1 + rng() % 254);
    return column;
}

// Every pixel, through At() and through CopyRow(), against the model.
void ExpectSamePicture(const EchoSounderImage& image, const ShiftedEchogram& model) {
    std::vector<std::uint8_t> row(static_cast<std::size_t>(image.Width()) + 1, 0xEE);
    for (int y = 0; y < image.Height(); ++y) {
        image.CopyRow(y, row.data());
        ASSERT_EQ(row.back(), 0xEE) << "CopyRow wrote past the row";
        for (int x = 0; x < image.Width(); ++x) {
            ASSERT_EQ(image.At(x, y), model.Get(x, y)) << "At " << x << "," << y;
            ASSERT_EQ(row[static_cast<std::size_t>(x)], model.Get(x, y)) << "row " << x << "," << y;
        }
    }
}

TEST(EchogramRingTest, PictureEqualsTheBlockMoveAfterAnyNumberOfPings) {
    struct Case {
        int width, height;
        int pings;
    };
    // Scrolling columns: 74 for 104 wide, 2 for 32 wide, 970 for 1000 wide.
    const Case cases[] = {
        {104, 204, 0},  {104, 204, 1},   {104, 204, 73}, {104, 204, 74},
        {104, 204, 75}, {104, 204, 229}, {32, 64, 5},    {1000, 68, 2500},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << ", " << c.pings);
        std::mt19937 rng(static_cast<unsigned>(c.pings * 31 + c.width));
        EchoSounderImage image;
        image.Resize(c.width, c.height);
        ShiftedEchogram model(c.width, c.height);
        for (int p = 0; p < c.pings; ++p) {
            const auto column = RandomColumn(rng, image.OutputSamples());
            image.AddColumn(column.data());
            model.Add(column);
        }
        ExpectSamePicture(image, model);
    }
}

TEST(EchogramRingTest, RebuildAndResizeOfAWrappedRing) {
    std::mt19937 rng(5);
    EchoSounderImage image;
    image.Resize(104, 100);  // n = 40, 74 scrolling columns
    ShiftedEchogram model(104, 100);
    for (int p = 0; p < 100; ++p) {  // the ring's start is 26 columns in
        const auto column = RandomColumn(rng, 40);
        image.AddColumn(column.data());
        model.Add(column);
    }
    // A rebuild from ten pings rewrites the ten newest columns and leaves the others.
    PingHistory history;
    std::vector<std::vector<std::uint8_t>> expected;
    for (int p = 0; p < 10; ++p) {
        history.Record(history.writeIndex).esSamples.fill(static_cast<std::uint8_t>(100 + p));
        history.Advance();
    }
    image.Rebuild(history);
    for (int i = 1; i <= 10; ++i) {
        model.Write(104 - kEsScaleWidth - i,
                    std::vector<std::uint8_t>(40, static_cast<std::uint8_t>(110 - i)));
    }
    ExpectSamePicture(image, model);
    // Pings after the rebuild scroll the rebuilt columns on.
    for (int p = 0; p < 30; ++p) {
        const auto column = RandomColumn(rng, 40);
        image.AddColumn(column.data());
        model.Add(column);
    }
    ExpectSamePicture(image, model);
    // A resize starts a clear picture whose newest column is again at the right.
    image.Resize(104, 100);
    ShiftedEchogram cleared(104, 100);
    const auto column = RandomColumn(rng, 40);
    image.AddColumn(column.data());
    cleared.Add(column);
    ExpectSamePicture(image, cleared);
}

}  // namespace
