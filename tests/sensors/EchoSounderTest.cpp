// The echogram: resampling, the range cut, bottom detection, scrolling and the rebuild from the
// ping history, and what the window draws over it.

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "imaging/LineBuilder.h"
#include "imaging/PingHistory.h"
#include "sensors/EchoSounder.h"

namespace {

std::vector<std::uint8_t> Resampled(const std::vector<std::uint8_t>& in, int n) {
    std::vector<std::uint8_t> out(static_cast<std::size_t>(n) + 8, 0xAB);
    ResampleEchoSamples(in.data(), n, out.data());
    for (int g = n; g < n + 8; ++g) EXPECT_EQ(out[g], 0xAB) << "written past " << n;
    out.resize(static_cast<std::size_t>(n));
    return out;
}

TEST(EchoSounderTest, BinMaximumWithBoundariesByIndex) {
    std::vector<std::uint8_t> in(1000, 5);
    in[251] = 90;  // bin 100 of 400 (2.5 samples a bin)
    in[2] = 70;    // bin 0 of 400, bin 1 of 500
    in[999] = 255;
    auto out = Resampled(in, 400);
    EXPECT_EQ(out[0], 70);
    EXPECT_EQ(out[100], 90);
    EXPECT_EQ(out[99], 5);
    EXPECT_EQ(out[399], 254);  // 255 is kept for lines
    out = Resampled(in, 500);
    EXPECT_EQ(out[0], 5);
    EXPECT_EQ(out[1], 70);
    out = Resampled(in, 1000);
    for (int i = 0; i < 999; ++i) ASSERT_EQ(out[i], in[i]) << i;
    EXPECT_EQ(out[999], 254);
}

TEST(EchoSounderTest, EveryBinGetsInputAndNothingPastN) {
    const std::vector<std::uint8_t> in(1000, 255);
    for (int n = 1; n <= 1000; ++n) {
        const auto out = Resampled(in, n);
        for (int k = 0; k < n; ++k) ASSERT_EQ(out[k], 254) << n << " " << k;
    }
}

TEST(EchoSounderTest, MoreOutputsThanSamplesStretchLikeASideScanLine) {
    std::vector<std::uint8_t> in(1000);
    for (int i = 0; i < 1000; ++i) in[i] = static_cast<std::uint8_t>(i % 251);
    for (int n : {1001, 1500, 2000, 5000}) {
        const auto out = Resampled(in, n);
        std::vector<std::uint8_t> line(static_cast<std::size_t>(n), 0);
        BuildLine(in.data(), 1, 1000, n, 1.0, line.data());
        EXPECT_EQ(out, line) << n;
    }
}

TEST(EchoSounderTest, RangeCutBlanksBeyond300Metres) {
    const struct {
        int range, n, blank;
    } cases[] = {{500, 400, 160}, {300, 400, 0},    {299, 400, 0},
                 {50, 400, 0},    {600, 1000, 500}, {1000, 7, 4}};
    for (const auto& c : cases) {
        std::vector<std::uint8_t> column(static_cast<std::size_t>(c.n), 100);
        CutBeyondRange(column.data(), c.n, c.range);
        int blank = 0;
        for (int k = 0; k < c.n; ++k) {
            if (column[k] == 0) {
                ++blank;
                EXPECT_GE(k, c.n - c.blank) << c.range;  // only the far end
            }
        }
        EXPECT_EQ(blank, c.blank) << c.range << " " << c.n;
    }
}

TEST(EchoSounderTest, BottomDetection) {
    std::vector<std::uint8_t> column(400, 30);  // weak background
    for (int k = 100; k < 106; ++k) column[k] = 200;
    double altitude = -1;
    ASSERT_TRUE(DetectBottom(column.data(), 400, 50, altitude));
    EXPECT_DOUBLE_EQ(altitude, 12.5);

    // Nothing above 20: the altitude keeps its value.
    std::vector<std::uint8_t> quiet(400, 20);
    altitude = 3.0;
    EXPECT_FALSE(DetectBottom(quiet.data(), 400, 50, altitude));
    EXPECT_EQ(altitude, 3.0);
    // Every echo equal: none exceeds their mean.
    std::vector<std::uint8_t> flat(400, 40);
    EXPECT_FALSE(DetectBottom(flat.data(), 400, 50, altitude));
    EXPECT_EQ(altitude, 3.0);
    // Noise at or below 20 does not count into the mean.
    std::vector<std::uint8_t> noisy(1000, 0);
    for (int k = 0; k < 1000; k += 2) noisy[k] = 20;
    noisy[300] = 30;  // counts into the mean (60), but is below it
    noisy[640] = 90;
    ASSERT_TRUE(DetectBottom(noisy.data(), 1000, 100, altitude));
    EXPECT_DOUBLE_EQ(altitude, 64.0);
}

// A window's plan, kept from column to column, stretches as a fresh one does, also when the
// window changes its size in between.
TEST(EchoSounderTest, KeptStretchPlanGivesTheSameColumns) {
    std::vector<std::uint8_t> in(1000);
    for (int i = 0; i < 1000; ++i)
        in[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i * 7);
    LinePlan plan;
    for (const int n : {1940, 1940, 1001, 3000, 400, 1940}) {
        std::vector<std::uint8_t> kept(static_cast<std::size_t>(n), 0xAB);
        const double step = ResampleEchoSamples(in.data(), n, kept.data(), plan);
        EXPECT_EQ(kept, Resampled(in, n)) << n;
        EXPECT_DOUBLE_EQ(step, 1000.0 / n);
    }
}

TEST(EchoSounderTest, ImageSizeScrollAndNewestColumn) {
    EchoSounderImage image;
    EXPECT_FALSE(image.IsOpen());
    image.Resize(101, 203);
    EXPECT_EQ(image.Width(), 104);
    EXPECT_EQ(image.Height(), 204);
    EXPECT_EQ(image.OutputSamples(), 144);
    EXPECT_DOUBLE_EQ(image.ResampleStep(), 1000.0 / 144);
    std::vector<std::uint8_t> first(144), second(144);
    for (int k = 0; k < 144; ++k) {
        first[k] = static_cast<std::uint8_t>(k + 1);
        second[k] = static_cast<std::uint8_t>(200 - k);
    }
    image.AddColumn(first.data());
    image.AddColumn(second.data());
    const int newest = 104 - 31;
    for (int k = 0; k < 144; ++k) {
        EXPECT_EQ(image.At(newest, 30 + k), second[k]);
        EXPECT_EQ(image.At(newest - 1, 30 + k), first[k]);
    }
    for (int y = 0; y < 204; ++y) {
        if (y < 30 || y >= 174) {
            for (int x = 0; x < 104; ++x) ASSERT_EQ(image.At(x, y), 0) << x << " " << y;
        }
        for (int x = newest + 1; x < 104; ++x) ASSERT_EQ(image.At(x, y), 0);  // label column
    }
}

TEST(EchoSounderTest, SmallImagesTakeNothing) {
    const std::array<std::uint8_t, 1000> column{};
    for (auto [w, h] : {std::pair{0, 0}, {10, 300}, {28, 300}, {300, 60}, {300, 20}, {-5, -5}}) {
        EchoSounderImage image;
        image.Resize(w, h);
        EXPECT_FALSE(image.Drawable()) << w << "x" << h;
        image.AddColumn(column.data());  // must not touch memory outside the image
        PingHistory history;
        image.Rebuild(history);
    }
    EchoSounderImage image;
    image.Resize(32, 61);
    EXPECT_TRUE(image.Drawable());
    EXPECT_EQ(image.OutputSamples(), 4);
}

TEST(EchoSounderTest, RebuildFromTheHistoryNewestAtTheRight) {
    PingHistory history;
    for (int p = 0; p < 5; ++p) {
        history.Record(history.writeIndex).esSamples.fill(static_cast<std::uint8_t>(10 + p));
        history.Advance();
    }
    EchoSounderImage image;
    image.Resize(200, 160);  // n = 100
    image.Rebuild(history);
    const int newest = 200 - 31;
    for (int i = 0; i < 5; ++i) EXPECT_EQ(image.At(newest - i, 80), 14 - i) << i;
    EXPECT_EQ(image.At(newest - 5, 80), 0);
    EXPECT_EQ(image.At(newest, 29), 0);
    EXPECT_EQ(image.At(newest, 130), 0);
    EXPECT_EQ(image.At(newest, 129), 14);
}

TEST(EchoSounderTest, OverlayScaleAndTexts) {
    // Imperial, range 50: labels in feet, the range read-out in feet.
    EchoSounderOverlay o = MakeEchoSounderOverlay(300, 400, 50, 12, 1, true, 12.5);
    std::vector<std::string> labels;
    for (const EsText& t : o.scaleLabels) labels.push_back(t.text);
    EXPECT_EQ(labels, (std::vector<std::string>{"0", "30", "60", "90", "120", "150"}));
    EXPECT_EQ(o.rangeText.text, "150 ft(12 dB)");
    EXPECT_EQ(o.altitudeText.text, "Altitude: 41.0 ft");
    EXPECT_EQ(o.gridLines.size(), 6u);
    const double s = (400 - 62) * 0.2 * 0.9144;
    EXPECT_EQ(o.gridLines[3], 30 + static_cast<int>(3 * s));
    EXPECT_EQ(o.scaleLabels[2].x, 300 - 30 + 4);
    EXPECT_EQ(o.scaleLabels[2].y, 30 + static_cast<int>(2 * s) - 10);

    o = MakeEchoSounderOverlay(300, 400, 50, 6, 0, false, 12.5);
    labels.clear();
    for (const EsText& t : o.scaleLabels) labels.push_back(t.text);
    EXPECT_EQ(labels, (std::vector<std::string>{"0", "10", "20", "30", "40", "50"}));
    EXPECT_EQ(o.rangeText.text, "50 m(6 dB)");
    EXPECT_EQ(o.altitudeText.text, "Altitude: 12.5 m");
    EXPECT_EQ(o.altitudeText.y, 400 - 26);
    // Grid off: the top line only, besides the frame.
    EXPECT_EQ(o.gridLines, std::vector<int>{30});
    EXPECT_EQ(o.bottomLineY, 368);
    EXPECT_EQ(o.frameX, 270);
    EXPECT_EQ(o.scaleLabels[5].y, 30 + static_cast<int>(5 * 338 * 0.2) - 10);
}

}  // namespace
