#include "imaging/RangeScale.h"

#include <gtest/gtest.h>

#include <array>
#include <limits>
#include <vector>

#include "imaging/SideGeometry.h"

namespace {

struct ScaleCase {
    const char* name;
    RangeScaleInput in;
    std::vector<int> x;
    std::vector<int> labels;
    std::vector<int> shifts;
};

std::vector<int> Xs(const RangeScale& s) {
    std::vector<int> v;
    for (int i = 0; i < s.count; ++i) v.push_back(s.ticks[i].x);
    return v;
}
std::vector<int> Labels(const RangeScale& s) {
    std::vector<int> v;
    for (int i = 0; i < s.count; ++i) v.push_back(s.ticks[i].label);
    return v;
}
std::vector<int> Shifts(const RangeScale& s) {
    std::vector<int> v;
    for (int i = 0; i < s.count; ++i) v.push_back(s.ticks[i].labelShift);
    return v;
}

RangeScaleInput Input(int w, int c, int r, int mode, int units) {
    RangeScaleInput in;
    in.imageWidth = w;
    in.clientHeight = 600;
    in.scrollX = c;
    in.range = r;
    in.sideMode = mode;
    in.units = units;
    return in;
}

const std::vector<int> kNone6 = {0, 0, 0, 0, 0, 0};
const std::vector<int> kNone11 = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};

}  // namespace

TEST(RangeScale, TicksLabelsAndNudgesForEverySideModeAndUnit) {
    const ScaleCase cases[] = {
        {"both sides, metric",
         Input(1000, 0, 50, 3, 0),
         {0, 100, 200, 300, 400, 500, 600, 700, 800, 900, 1000},
         {50, 40, 30, 20, 10, 0, 10, 20, 30, 40, 50},
         {12, 0, 0, 0, 0, 0, 0, 0, 0, 0, -12}},
        {"port only, metric",
         Input(1000, 0, 50, 1, 0),
         {0, 200, 400, 600, 800, 1000},
         {50, 40, 30, 20, 10, 0},
         {12, 0, 0, 0, 0, -12}},
        {"starboard only, metric",
         Input(1000, 0, 50, 2, 0),
         {0, 200, 400, 600, 800, 1000},
         {0, 10, 20, 30, 40, 50},
         {12, 0, 0, 0, 0, -12}},
        {"both sides, imperial",
         Input(1000, 0, 50, 3, 1),
         {42, 134, 225, 317, 408, 500, 591, 682, 774, 865, 957},
         {150, 120, 90, 60, 30, 0, 30, 60, 90, 120, 150},
         kNone11},
        {"port only, imperial",
         Input(1000, 0, 50, 1, 1),
         {85, 268, 451, 634, 817, 1000},
         {150, 120, 90, 60, 30, 0},
         {0, 0, 0, 0, 0, -12}},
        {"starboard only, imperial",
         Input(1000, 0, 50, 2, 1),
         {0, 182, 365, 548, 731, 914},
         {0, 30, 60, 90, 120, 150},
         {12, 0, 0, 0, 0, 0}},
        {"scrolled: positions move left",
         Input(1024, 37, 50, 3, 0),
         {-37, 65, 167, 270, 372, 475, 577, 679, 782, 884, 987},
         {50, 40, 30, 20, 10, 0, 10, 20, 30, 40, 50},
         {12, 0, 0, 0, 0, 0, 0, 0, 0, 0, -12}},
        {"negative positions truncate toward zero",
         Input(1000, 50, 50, 3, 1),
         {-7, 84, 175, 267, 358, 450, 541, 632, 724, 815, 907},
         {150, 120, 90, 60, 30, 0, 30, 60, 90, 120, 150},
         kNone11},
        {"labels use integer division",
         Input(1000, 0, 7, 3, 0),
         {0, 100, 200, 300, 400, 500, 600, 700, 800, 900, 1000},
         {7, 5, 4, 2, 1, 0, 1, 2, 4, 5, 7},
         {12, 0, 0, 0, 0, 0, 0, 0, 0, 0, -12}},
        {"imperial labels: 3 r in fifths",
         Input(1000, 0, 7, 2, 1),
         {0, 182, 365, 548, 731, 914},
         {0, 4, 8, 12, 16, 21},
         {12, 0, 0, 0, 0, 0}},
    };
    for (const ScaleCase& c : cases) {
        SCOPED_TRACE(c.name);
        const RangeScale s = ComputeRangeScale(c.in);
        EXPECT_EQ(Xs(s), c.x);
        EXPECT_EQ(Labels(s), c.labels);
        EXPECT_EQ(Shifts(s), c.shifts);
        EXPECT_EQ(s.labelTop, 600 - 18);
    }
}

TEST(RangeScale, GridLinesAndShortMarksUseTheirPens) {
    struct PenCase {
        const char* name;
        int mode;
        bool grid;
        int top;
        std::vector<ScalePen> pens;
    };
    using P = ScalePen;
    const PenCase cases[] = {
        {"grid, both sides: nadir line in pen B",
         3,
         true,
         0,
         {P::A, P::A, P::A, P::A, P::A, P::B, P::A, P::A, P::A, P::A, P::A}},
        {"grid, port only", 1, true, 0, {P::A, P::A, P::A, P::A, P::A, P::A}},
        {"marks, both sides",
         3,
         false,
         575,
         {P::A, P::A, P::A, P::A, P::A, P::A, P::A, P::A, P::A, P::A, P::A}},
        {"marks, starboard only", 2, false, 575, {P::B, P::B, P::B, P::B, P::B, P::B}},
    };
    for (const PenCase& c : cases) {
        SCOPED_TRACE(c.name);
        RangeScaleInput in = Input(1000, 0, 50, c.mode, 0);
        in.grid = c.grid;
        const RangeScale s = ComputeRangeScale(in);
        ASSERT_EQ(s.count, static_cast<int>(c.pens.size()));
        for (int i = 0; i < s.count; ++i) {
            EXPECT_EQ(s.ticks[i].pen, c.pens[i]) << "tick " << i;
            EXPECT_EQ(s.ticks[i].lineTop, c.top) << "tick " << i;
            EXPECT_EQ(s.ticks[i].lineBottom, 580) << "tick " << i;
        }
    }
}

TEST(RangeScale, UnknownSideModeDrawsNoTicks) {
    for (const int mode : {0, 4, -1}) {
        EXPECT_EQ(ComputeRangeScale(Input(1000, 0, 50, mode, 0)).count, 0) << mode;
    }
}

TEST(RangeScale, LabelTexts) {
    EXPECT_EQ(RangeLabelText(50, 6, 0), "50 m(6 dB)");
    EXPECT_EQ(RangeLabelText(50, 6, 1), "150 ft(6 dB)");
    EXPECT_EQ(RangeLabelText(300, -3, 0), "300 m(-3 dB)");
    EXPECT_EQ(FrequencyLabelText(540000), "540 kHz");
    EXPECT_EQ(FrequencyLabelText(119999), "119 kHz");
    EXPECT_EQ(FrequencyLabelText(0), "0 kHz");
}

TEST(SideGeometry, PointerRangeAndSide) {
    struct Case {
        int x, w, r, mode;
        double metres;
        bool starboard;
    };
    const Case cases[] = {
        {700, 1000, 50, 3, 20.0, true},  // 50 x 200 / 500
        {300, 1000, 50, 3, 20.0, false},
        {500, 1000, 50, 3, 0.0, true},  // the nadir itself counts as starboard
        {499, 1000, 50, 3, 0.1, false},
        {250, 1000, 50, 1, 37.5, false},            // nadir at the right edge
        {250, 1000, 50, 2, 12.5, true},             // nadir at the left edge
        {1001, 1002, 7, 3, 7.0 * 500 / 501, true},  // odd half: 501 pixels a side
        {10, 0, 50, 3, 0.0, true},                  // no image: no range
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "x " << c.x << " w " << c.w << " mode " << c.mode);
        const AcrossTrack a = PointerAcrossTrack(c.x, c.w, c.r, c.mode);
        EXPECT_DOUBLE_EQ(a.metres, c.metres);
        EXPECT_EQ(a.starboard, c.starboard);
    }
    EXPECT_EQ(NadirColumn(3, 1002), 501);
    EXPECT_EQ(PixelsPerSide(1, 1002), 1002);
}

TEST(RangeScale, NarrowScalesShowFewerLabelsAndNoneTouchesAnother) {
    struct SpacingCase {
        const char* name;
        RangeScaleInput in;
        std::vector<int> shown;  // ticks whose label is drawn
    };
    const SpacingCase cases[] = {
        {"wide: every label", Input(1000, 0, 50, 3, 0), {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}},
        // Ticks 25 px apart: the first label (nudged 12 px right) runs into the second.
        {"both sides, 250 px: every second from the nadir",
         Input(250, 0, 60, 3, 0),
         {1, 3, 5, 7, 9}},
        {"both sides, 100 px: nadir and ends", Input(100, 0, 60, 3, 0), {0, 5, 10}},
        {"both sides, 30 px: the nadir alone", Input(30, 0, 60, 3, 0), {5}},
        {"starboard, 100 px: from the nadir at the left", Input(100, 0, 60, 2, 0), {0, 2, 4}},
        {"port, 100 px: from the nadir at the right", Input(100, 0, 60, 1, 0), {1, 3, 5}},
        {"scrolled at 200 %: wide, every label",
         Input(4000, 1500, 60, 3, 0),
         {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}},
    };
    std::array<int, kMaxScaleTicks> widths{};
    widths.fill(18);  // two digits of the scale font
    for (const SpacingCase& c : cases) {
        SCOPED_TRACE(c.name);
        RangeScale s = ComputeRangeScale(c.in);
        SpaceScaleLabels(s, widths);
        std::vector<int> shown;
        int previousRight = std::numeric_limits<int>::min() / 2;
        for (int i = 0; i < s.count; ++i) {
            if (!s.ticks[i].labelShown) continue;
            shown.push_back(i);
            const int left = s.ticks[i].x + s.ticks[i].labelShift - widths[i] / 2;
            EXPECT_GE(left - previousRight, kScaleLabelGap) << "tick " << i;
            previousRight = left + widths[i];
        }
        EXPECT_EQ(shown, c.shown);
    }
}
