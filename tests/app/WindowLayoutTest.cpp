#include <gtest/gtest.h>

#include "shell/WindowLayout.h"

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

namespace {

struct NamedRect {
    int window;
    WindowRect rect;
};

void ExpectRects(const WindowLayout& layout, std::initializer_list<NamedRect> expected) {
    for (const NamedRect& e : expected) {
        EXPECT_EQ(layout.rects[e.window], e.rect) << LayoutWindowName(e.window);
    }
}

TEST(WindowLayoutTest, EveryDefaultRectangleOnA1280By1024Screen) {
    WindowLayout layout;
    layout.metrics = Screen1280();
    ComputeDefaultLayout(layout);
    ExpectRects(layout, {{kMenuFrame, {0, 0, 1280, 150}},
                         {kMainFrame, {0, 150, 512, 1024}},
                         {kLFrame, {512, 150, 1024, 441}},
                         {kMFrame, {512, 441, 1024, 732}},
                         {kHFrame, {512, 732, 1024, 1024}},
                         {kESFrame, {1024, 150, 1280, 587}},
                         {kGpsTrackWindow, {1024, 587, 1280, 1024}}});
}

TEST(WindowLayoutTest, VerticalStripsOfAThreeFrequencySystem) {
    WindowLayout layout;
    layout.metrics = Screen1280();
    layout.show.fill(0);
    ComputeVerticalLayout(layout, true);
    // The echo sounder and the track plotter split at T + H / 2, as the strips are laid out.
    ExpectRects(layout, {{kMenuFrame, {0, 0, 1280, 150}},
                         {kMainFrame, {0, 150, 256, 1024}},
                         {kLFrame, {256, 150, 512, 1024}},
                         {kMFrame, {512, 150, 768, 1024}},
                         {kHFrame, {768, 150, 1024, 1024}},
                         {kESFrame, {1024, 150, 1280, 662}},
                         {kGpsTrackWindow, {1024, 662, 1280, 1024}}});
    for (int w = 0; w < kLayoutWindowCount; ++w) EXPECT_EQ(layout.show[w], 1) << w;
}

TEST(WindowLayoutTest, OtherSystemsMoveOnlyTheEchoSounderAndTrackPlotter) {
    WindowLayout layout;
    layout.metrics = Screen1280();
    ComputeDefaultLayout(layout);
    // Stored rectangles the operator made, one of them smaller than a window's minimum.
    layout.rects[kLFrame] = {10, 200, 400, 230};
    layout.rects[kMainFrame] = {0, 300, 500, 900};
    layout.rects[kHFrame] = {500, 300, 900, 900};
    layout.show.fill(0);
    const WindowLayout before = layout;
    ComputeVerticalLayout(layout, false);
    for (int w : {kMenuFrame, kMainFrame, kLFrame, kMFrame, kHFrame}) {
        EXPECT_EQ(layout.rects[w], before.rects[w]) << LayoutWindowName(w);
    }
    ExpectRects(layout,
                {{kESFrame, {900, 300, 1280, 512}}, {kGpsTrackWindow, {900, 512, 1280, 900}}});
    EXPECT_EQ(layout.show[kLFrame], 1);
}

TEST(WindowLayoutTest, ShortScreensStillGiveEveryWindowItsMinimumHeight) {
    struct Case {
        const char* name;
        LayoutMetrics metrics;
        int layout;  // 0 default, 1 vertical three-frequency, 2 vertical other systems
    };
    const Case cases[] = {
        {"default, 200 high with a 150 band", {1280, 200, 150}, 0},
        {"vertical, band taller than half the screen", {1280, 400, 250}, 1},
        {"vertical, main window below half the screen", {1280, 300, 200}, 2},
    };
    for (const Case& c : cases) {
        WindowLayout layout;
        layout.metrics = c.metrics;
        ComputeDefaultLayout(layout);
        if (c.layout > 0) ComputeVerticalLayout(layout, c.layout == 1);
        for (int w = kMainFrame; w < kLayoutWindowCount; ++w) {
            const WindowRect& r = layout.rects[w];
            EXPECT_GE(r.bottom - r.top, WindowMinimumSize(w).height)
                << c.name << ": " << LayoutWindowName(w);
        }
    }
}

TEST(WindowLayoutTest, RectanglesAreBroughtInsideTheArea) {
    const MinimumSize least{120, 80};
    struct Case {
        const char* name;
        AreaRect rect;
        int width, height;
        AreaRect fitted;
    };
    const Case cases[] = {
        {"inside stays", {10, 20, 300, 200}, 1000, 700, {10, 20, 300, 200}},
        {"past the right and bottom edges moves in",
         {900, 650, 300, 200},
         1000,
         700,
         {700, 500, 300, 200}},
        {"left of and above the area moves in", {-50, -30, 300, 200}, 1000, 700, {0, 0, 300, 200}},
        {"larger than the area shrinks to it",
         {100, 100, 2000, 1500},
         1000,
         700,
         {0, 0, 1000, 700}},
        {"smaller than the minimum grows", {100, 100, 20, -40}, 1000, 700, {100, 100, 120, 80}},
        {"an area smaller than the minimum keeps the minimum",
         {50, 50, 300, 300},
         100,
         60,
         {0, 0, 120, 80}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FitIntoArea(c.rect, c.width, c.height, least), c.fitted) << c.name;
    }
}

}  // namespace
