// The orientation history chart: trace positions, scrolling, runs and small charts.

#include <gtest/gtest.h>

#include "sensors/HistoryChart.h"

namespace {

OrientationReadings Values(double depth, double temperature, double pitch, double roll,
                           double heading) {
    OrientationReadings v;
    v.depthM = depth;
    v.temperatureC = temperature;
    v.pitchDeg = pitch;
    v.rollDeg = roll;
    v.headingDeg = heading;
    return v;
}

TEST(HistoryChartTest, TracePositionsInAChartOf520) {
    EXPECT_EQ(HistBandHeight(520), 100);
    auto rows = TraceRows(520, Values(50, 15, 0, 0, 180));
    EXPECT_EQ(rows, (std::array<int, 5>{60, 160, 260, 360, 460}));
    rows = TraceRows(520, Values(0, 35, 5, -5, 0));
    EXPECT_EQ(rows, (std::array<int, 5>{10, 110, 210, 410, 410}));
    rows = TraceRows(520, Values(100, -5, -5, 5, 360));
    EXPECT_EQ(rows, (std::array<int, 5>{110, 210, 310, 310, 510}));
}

int Column(const HistoryChart& chart, int y) {
    return chart.At(chart.PlotColumn(), y);
}

TEST(HistoryChartTest, SampleIsPlottedAndScrollsLeft) {
    HistoryChart chart;
    chart.Resize(399, 520);
    EXPECT_EQ(chart.RowLength(), 400);
    EXPECT_EQ(chart.PlotColumn(), 370);
    chart.AddSample(Values(50, 15, 0, 0, 180));
    const int x = chart.PlotColumn();
    EXPECT_EQ(Column(chart, 60), 240);
    EXPECT_EQ(Column(chart, 160), 150);
    EXPECT_EQ(Column(chart, 260), 251);  // the pitch trace over its centre dot
    EXPECT_EQ(Column(chart, 360), 252);
    EXPECT_EQ(Column(chart, 460), 255);
    EXPECT_EQ(Column(chart, 61), 0);
    chart.AddSample(Values(50, 15, 5, 0, 180));
    EXPECT_EQ(chart.At(x - 1, 60), 240);  // the previous column moved left
    EXPECT_EQ(chart.At(x - 1, 460), 255);
    // Pitch +5 runs from the previous 260 up to 210; the centre dot is under it.
    for (int y = 210; y <= 260; ++y) EXPECT_EQ(Column(chart, y), 251) << y;
    EXPECT_EQ(Column(chart, 209), 0);
    EXPECT_EQ(chart.At(x - 1, 230), 0);
    // Nothing right of the plotting column.
    for (int y = 0; y < 520; ++y) {
        for (int c = x + 1; c < 400; ++c) ASSERT_EQ(chart.At(c, y), 0);
    }
}

TEST(HistoryChartTest, CentreDotsOfPitchAndRoll) {
    HistoryChart chart;
    chart.Resize(400, 520);
    chart.AddSample(Values(50, 15, 4, -4, 180));
    EXPECT_EQ(Column(chart, 260), 50);
    EXPECT_EQ(Column(chart, 360), 50);
}

TEST(HistoryChartTest, HeadingThroughNorthIsOneRunThroughTheBand) {
    HistoryChart chart;
    chart.Resize(400, 520);
    chart.AddSample(Values(50, 15, 0, 0, 359));
    const int bottom = TraceRows(520, Values(0, 0, 0, 0, 359))[kHeadingTrace];
    EXPECT_EQ(bottom, 509);
    EXPECT_EQ(Column(chart, 509), 255);
    chart.AddSample(Values(50, 15, 0, 0, 1));
    for (int y = 410; y <= 509; ++y) EXPECT_EQ(Column(chart, y), 255) << y;
}

TEST(HistoryChartTest, OutsideTheChartDrawsNothingAndKeepsThePreviousRow) {
    HistoryChart chart;
    chart.Resize(400, 520);
    chart.AddSample(Values(50, 15, 0, 0, 180));
    chart.AddSample(Values(1000, 15, 0, 0, 180));  // y 1010: below the chart
    for (int y = 0; y < 160; ++y) EXPECT_NE(Column(chart, y), 240) << y;
    chart.AddSample(Values(60, 15, 0, 0, 180));  // runs from the kept 60 to 70
    for (int y = 60; y <= 70; ++y) EXPECT_EQ(Column(chart, y), 240) << y;
    // Values beyond a band's span draw into the neighbouring band.
    chart.AddSample(Values(150, 15, 0, 0, 180));
    EXPECT_EQ(Column(chart, 160), 150);  // the temperature trace drawn after the depth run
    EXPECT_EQ(Column(chart, 150), 240);
}

TEST(HistoryChartTest, ResizeClearsAndForgetsThePreviousRows) {
    HistoryChart chart;
    chart.Resize(400, 520);
    chart.AddSample(Values(90, 15, 0, 0, 180));
    chart.Resize(300, 270);  // e = 50
    for (int y = 0; y < 270; ++y) {
        for (int x = 0; x < 300; ++x) ASSERT_EQ(chart.At(x, y), 0);
    }
    chart.AddSample(Values(10, 15, 0, 0, 180));
    // A single point: no run from the old chart's 100.
    EXPECT_EQ(Column(chart, 15), 240);
    EXPECT_EQ(Column(chart, 16), 0);
    EXPECT_EQ(Column(chart, 14), 0);
}

TEST(HistoryChartTest, SmallChartsDrawNothing) {
    for (auto [w, h] : {std::pair{0, 0}, {20, 520}, {400, 24}, {400, 10}, {-3, -3}, {28, 100}}) {
        HistoryChart chart;
        chart.Resize(w, h);
        EXPECT_FALSE(chart.Drawable()) << w << "x" << h;
        chart.AddSample(Values(50, 15, 0, 0, 180));
    }
    HistoryChart chart;
    chart.Resize(32, 25);
    EXPECT_TRUE(chart.Drawable());
    chart.AddSample(Values(1, 15, 0, 0, 359));
}

TEST(HistoryChartTest, PaletteAndLabels) {
    ColourTable table{};
    for (int i = 0; i < 256; ++i) table[i] = {std::uint8_t(i), std::uint8_t(i), std::uint8_t(i)};
    const ColourTable p = HistoryPalette(table);
    EXPECT_EQ(p[240], table[240]);
    EXPECT_EQ(p[251], (Rgb{0, 0, 255}));
    EXPECT_EQ(p[252], (Rgb{0, 255, 0}));
    EXPECT_EQ(p[255], (Rgb{255, 0, 0}));
    const auto labels = HistoryLabels(400, 520);
    std::string names, spans;
    for (const HistLabel& l : labels) (l.bandName ? names : spans) += l.text + " ";
    EXPECT_EQ(names, "D T P R H ");
    EXPECT_EQ(spans, "0 100 35 -5 5 -5 5 -5 0 360 ");
    EXPECT_EQ(labels[0].x, 380);
    EXPECT_EQ(labels[0].y, 60);
    EXPECT_EQ(labels[1].x, 375);
}

}  // namespace
