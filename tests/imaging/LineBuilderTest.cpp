#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>
#include <vector>

#include "imaging/LineBuilder.h"

namespace {

std::array<std::uint8_t, 2001> RandomLine(unsigned seed) {
    std::mt19937 rng(seed);
    std::array<std::uint8_t, 2001> samples{};
    for (int i = 0; i < 2000; ++i) samples[i] = static_cast<std::uint8_t>(rng() % 200);
    samples[2000] = 230;  // one past the head line: must never be read
    return samples;
}

TEST(BuildLineTest, BothSidesCompressTakeTheMaximumOfEachPairAndRunOut) {
    const auto samples = RandomLine(1);
    std::vector<std::uint8_t> row(1000, 99);
    const double step = BuildLine(samples.data(), 3, 1000, 1000, 1.0, row.data());
    EXPECT_DOUBLE_EQ(step, 2.0);
    EXPECT_EQ(row[0], std::max({samples[0], samples[1], samples[2]}));
    for (int k = 1; k <= 998; ++k) {
        ASSERT_EQ(row[k], std::max(samples[2 * k + 1], samples[2 * k + 2])) << k;
    }
    EXPECT_EQ(row[999], 0);  // the samples ran out
}

TEST(BuildLineTest, FarRangeLandsAtTheEdges) {
    std::array<std::uint8_t, 2000> samples{};
    samples[0] = 200;     // far end of the port swath
    samples[1998] = 180;  // far end of the starboard swath (1999 is never read at S = 2)
    std::vector<std::uint8_t> row(1000);
    BuildLine(samples.data(), 3, 1000, 1000, 1.0, row.data());
    EXPECT_EQ(row[0], 200);
    EXPECT_EQ(row[998], 180);
    EXPECT_EQ(std::count(row.begin(), row.end(), 0), 998);
}

TEST(BuildLineTest, SingleSideCompression) {
    const auto samples = RandomLine(2);
    std::vector<std::uint8_t> port(1000), starboard(500);
    // One sample per pixel: the first pixel takes two samples and the last one runs out.
    BuildLine(samples.data(), 1, 1000, 1000, 1.0, port.data());
    EXPECT_EQ(port[0], std::max(samples[0], samples[1]));
    for (int k = 1; k <= 998; ++k) ASSERT_EQ(port[k], samples[k + 1]) << k;
    EXPECT_EQ(port[999], 0);
    // The starboard half starts at sample 1000.
    BuildLine(samples.data(), 2, 1000, 500, 1.0, starboard.data());
    EXPECT_EQ(starboard[0], std::max({samples[1000], samples[1001], samples[1002]}));
    EXPECT_EQ(starboard[10], std::max(samples[1021], samples[1022]));
    EXPECT_EQ(starboard[499], 0);
}

TEST(BuildLineTest, HeadValue255IsShownAs254) {
    std::array<std::uint8_t, 2000> samples;
    samples.fill(255);
    struct Case {
        int sideMode, width;
    };
    for (const Case c : {Case{3, 1000}, Case{1, 1000}, Case{3, 4000}, Case{2, 2000}}) {
        std::vector<std::uint8_t> row(static_cast<std::size_t>(c.width));
        BuildLine(samples.data(), c.sideMode, 1000, c.width, 1.0, row.data());
        // Compression leaves its last pixel empty; everything drawn is 254.
        const int expectEmpty = c.width <= 1000 ? 1 : 0;
        EXPECT_EQ(std::count(row.begin(), row.end(), 254), c.width - expectEmpty) << c.width;
        EXPECT_EQ(std::count(row.begin(), row.end(), 255), 0);
    }
}

TEST(BuildLineTest, ExpansionStopsAtTheLastSampleOfTheLine) {
    const auto samples = RandomLine(3);
    struct Case {
        int sideMode, width;
        double zoom;
        int firstSample, lastSample;
    };
    const Case cases[] = {
        {2, 2000, 1.0, 1000, 1999},  // starboard at 100 %: pixel 1999 would read sample 2000
        {2, 4000, 1.0, 1000, 1999},  // starboard at 200 %
        {3, 4000, 1.0, 0, 1999},     // both sides at 200 %: 2000 samples
        {1, 4000, 1.0, 0, 999},      // port: the last pixel is the port half's last sample
    };
    for (const Case& c : cases) {
        std::vector<std::uint8_t> row(static_cast<std::size_t>(c.width));
        BuildLine(samples.data(), c.sideMode, 1000, c.width, c.zoom, row.data());
        EXPECT_EQ(row.front(), samples[c.firstSample]) << c.sideMode << " " << c.width;
        EXPECT_EQ(row.back(), samples[c.lastSample]) << c.sideMode << " " << c.width;
        EXPECT_EQ(std::count(row.begin(), row.end(), 230), 0);
    }
}

TEST(BuildLineTest, ExpansionRepeatsSamples) {
    // Half a sample per pixel: pixel p shows sample (p + 1) / 2.
    const auto samples = RandomLine(4);
    std::vector<std::uint8_t> row(4000);
    BuildLine(samples.data(), 3, 1000, 4000, 1.0, row.data());
    for (int p = 0; p < 3999; ++p) ASSERT_EQ(row[p], samples[(p + 1) / 2]) << p;
}

// The rules read sample by sample: the running maximum is emitted whenever the samples read
// pass the next boundary; or, expanding, an accumulator steps to the next sample.
std::vector<std::uint8_t> ReadSampleBySample(const std::uint8_t* first, int count, int width) {
    std::vector<std::uint8_t> row(static_cast<std::size_t>(width), 0);
    const double step = static_cast<double>(count) / width;
    if (step >= 1.0) {
        double boundary = step;
        int maximum = 0, pixel = 0;
        for (int d = 1; d <= count && pixel < width; ++d) {
            maximum = std::max<int>(maximum, first[d - 1]);
            if (d > boundary) {
                row[static_cast<std::size_t>(pixel++)] =
                    static_cast<std::uint8_t>(std::min(maximum, 254));
                boundary += step;
                maximum = 0;
            }
        }
        return row;
    }
    double accumulator = 0.0;
    int sample = 0;
    for (int pixel = 0; pixel < width; ++pixel) {
        accumulator += step;
        if (accumulator >= 1.0) {
            ++sample;
            accumulator -= static_cast<int>(accumulator);
        }
        row[static_cast<std::size_t>(pixel)] =
            static_cast<std::uint8_t>(std::min<int>(first[std::min(sample, count - 1)], 254));
    }
    return row;
}

TEST(BuildLineTest, AnyWidthFollowsTheSampleBySampleRule) {
    const auto samples = RandomLine(5);
    LinePlan plan;  // reused across widths and side modes, as an image keeps it
    for (const int width : {4, 100, 332, 640, 996, 1000, 1004, 1236, 1500, 1996, 2000, 2004, 2500,
                            3004, 4000, 4096}) {
        for (const int sideMode : {1, 2, 3}) {
            std::vector<std::uint8_t> row(static_cast<std::size_t>(width));
            BuildLine(samples.data(), sideMode, 1000, width, 1.0, row.data(), plan);
            const int count = sideMode == 3 ? 2000 : 1000;
            const std::uint8_t* first = samples.data() + (sideMode == 2 ? 1000 : 0);
            ASSERT_EQ(row, ReadSampleBySample(first, count, width)) << width << " " << sideMode;
        }
    }
}

TEST(BuildLineTest, ZoomSmoothingValues) {
    struct Case {
        double zoom;
        std::vector<std::uint8_t> samples;
        std::vector<std::uint8_t> expected;
    };
    const Case cases[] = {
        {2.0, {10, 30, 50, 90}, {10, 20, 30, 40, 50, 70, 90, 90}},
        {3.0, {0, 100, 200, 40}, {0, 25, 75, 100, 125, 175, 200, 160, 80, 40, 40, 40}},
        {4.0, {0, 200, 100, 8}, {0, 50, 100, 150, 200, 175, 150, 125, 100, 77, 54, 31, 8, 8, 8, 8}},
        // Any other zoom factor leaves the repeated samples as they are.
        {1.0, {10, 30, 50, 90}, {10, 30, 30, 50, 50, 90, 90, 90}},
    };
    for (const Case& c : cases) {
        const int width = static_cast<int>(c.expected.size());
        std::vector<std::uint8_t> row(static_cast<std::size_t>(width));
        BuildLine(c.samples.data(), 1, 4, width, c.zoom, row.data());
        EXPECT_EQ(row, c.expected) << c.zoom;
    }
}

TEST(BuildLineTest, SmoothingStaysInsideTheRow) {
    // Widths whose last group is cut by the row's end: the last group takes the row's last
    // pixel as its right neighbour and writes nothing past the row (the sentinel after it).
    struct Case {
        double zoom;
        int width;
    };
    for (const Case c : {Case{2.0, 10}, Case{3.0, 8}, Case{4.0, 10}, Case{2.0, 4000}}) {
        const std::uint8_t samples[4] = {240, 240, 240, 240};
        std::vector<std::uint8_t> row(static_cast<std::size_t>(c.width) + 1, 0xAB);
        BuildLine(samples, 1, 4, c.width, c.zoom, row.data());
        EXPECT_EQ(std::count(row.begin(), row.end() - 1, 240), c.width) << c.zoom;
        EXPECT_EQ(row.back(), 0xAB) << c.zoom;
    }
}

TEST(ClipRangeTest, FarRangeBeyondTheHeadsLimitIsBlanked) {
    struct Case {
        int frequencyHz, range, sideMode;
        int blankedLeft, blankedRight;
    };
    const Case cases[] = {
        {540000, 150, 3, 100, 100},  // trunc(30 * 500 / 150)
        {540000, 150, 1, 200, 0},   {540000, 150, 2, 0, 200},
        {540000, 120, 3, 0, 0},      // within the limit
        {675000, 500, 3, 380, 380},  // trunc(380 * 500 / 500)
        {260000, 400, 3, 125, 125},  // 300 m limit: trunc(100 * 500 / 400)
        {260000, 300, 3, 0, 0},     {200000, 301, 3, 1, 1},
        {199999, 500, 3, 0, 0},  // the 120 kHz class is never clipped
        {120000, 500, 1, 0, 0},
    };
    for (const Case& c : cases) {
        std::vector<std::uint8_t> line(1000, 7);
        ClipRange(line.data(), 1000, c.range, ClipMaxRange(c.frequencyHz, c.range), c.sideMode);
        const auto firstKept = std::find(line.begin(), line.end(), 7) - line.begin();
        const auto lastKept = std::find(line.rbegin(), line.rend(), 7) - line.rbegin();
        EXPECT_EQ(firstKept, c.blankedLeft) << c.frequencyHz << " " << c.range;
        EXPECT_EQ(lastKept, c.blankedRight) << c.frequencyHz << " " << c.range;
        EXPECT_EQ(std::count(line.begin(), line.end(), 0), c.blankedLeft + c.blankedRight);
    }
}

TEST(FactorTablesTest, ScaleAndCompositeBytes) {
    const ByteTable unitScale = MakeScaleTable(1.0);
    const ByteTable scale = MakeScaleTable(1.5);
    const ByteTable zero = MakeScaleTable(0.0);
    EXPECT_EQ(unitScale[200], 200);
    EXPECT_EQ(unitScale[255], 254);
    EXPECT_EQ(scale[100], 150);
    EXPECT_EQ(scale[101], 151);  // trunc(151.5)
    EXPECT_EQ(scale[170], 254);
    EXPECT_EQ(zero[200], 0);

    const ByteTable unit = MakeCompositeTable(1.0);
    EXPECT_EQ(unit[0], 0);
    EXPECT_EQ(unit[128], 180);  // trunc(255 * sin(pi / 4))
    EXPECT_EQ(unit[254], 254);
    EXPECT_EQ(unit[1], 1);  // trunc(255 * sin(pi / 512)) = trunc(1.56)
    const ByteTable half = MakeCompositeTable(0.5);
    EXPECT_EQ(half[128], 90);  // trunc(0.5 * 255 * 0.7071)
}

}  // namespace
