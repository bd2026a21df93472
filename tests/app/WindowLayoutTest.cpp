#include <gtest/gtest.h>

#include "app/WindowLayout.h"

namespace {

LayoutMetrics Screen1280() { return LayoutMetrics{1280, 1024, 150}; }

TEST(WindowLayoutTest, DefaultLayoutOfA1280By1024Screen) {
    WindowLayout layout;
    layout.metrics = Screen1280();
    layout.show.fill(0);
    ComputeDefaultLayout(layout);
    EXPECT_EQ(layout.rects[kLFrame], (WindowRect{512, 150, 1024, 441}));
    EXPECT_EQ(layout.rects[kESFrame], (WindowRect{1024, 150, 1280, 587}));
    EXPECT_EQ(layout.rects[kMenuFrame], (WindowRect{0, 0, 1280, 150}));
    EXPECT_EQ(layout.rects[kMainFrame], (WindowRect{0, 150, 512, 1024}));
    EXPECT_EQ(layout.rects[kHFrame], (WindowRect{512, 732, 1024, 1024}));
    EXPECT_EQ(layout.rects[kGpsTrackWindow], (WindowRect{1024, 587, 1280, 1024}));
    for (int w = 0; w < kLayoutWindowCount; ++w) EXPECT_EQ(layout.show[w], 1);
}

TEST(WindowLayoutTest, VerticalStripsOnlyInAThreeFrequencySystem) {
    WindowLayout layout;
    layout.metrics = Screen1280();
    ComputeDefaultLayout(layout);
    const WindowLayout before = layout;
    ComputeVerticalLayout(layout, false);
    for (int w : {kLFrame, kMFrame, kHFrame, kMainFrame}) {
        EXPECT_EQ(layout.rects[w], before.rects[w]) << w;
    }
    EXPECT_EQ(layout.rects[kESFrame], (WindowRect{1024, 150, 1280, 512}));
    EXPECT_EQ(layout.rects[kGpsTrackWindow], (WindowRect{1024, 512, 1280, 1024}));
    ComputeVerticalLayout(layout, true);
    EXPECT_EQ(layout.rects[kLFrame], (WindowRect{256, 150, 512, 1024}));
    EXPECT_EQ(layout.rects[kHFrame], (WindowRect{768, 150, 1024, 1024}));
}

TEST(WindowLayoutTest, ScreenRectanglesMapIntoTheWindowAreaAndBack) {
    const LayoutMetrics m = Screen1280();
    struct Case {
        WindowRect screen;
        int areaWidth, areaHeight;
        AreaRect area;
    };
    const Case cases[] = {
        {{512, 150, 1024, 441}, 1280, 874, {512, 0, 512, 291}},
        {{512, 150, 1024, 441}, 640, 437, {256, 0, 256, 146}},
        {{0, 150, 1280, 1024}, 1000, 700, {0, 0, 1000, 700}},
    };
    for (const Case& c : cases) {
        const AreaRect area = MapToArea(c.screen, m, c.areaWidth, c.areaHeight);
        EXPECT_EQ(area, c.area);
        const WindowRect back = MapFromArea(area, m, c.areaWidth, c.areaHeight);
        EXPECT_NEAR(back.left, c.screen.left, 2);
        EXPECT_NEAR(back.top, c.screen.top, 2);
        EXPECT_NEAR(back.right, c.screen.right, 2);
        EXPECT_NEAR(back.bottom, c.screen.bottom, 2);
    }
}

}  // namespace
