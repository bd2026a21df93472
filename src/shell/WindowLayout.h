#pragma once
// Where the windows go: one screen rectangle and a show flag per stored window, the default
// layout computed from the screen size and the bar heights, and the vertical-strip layout.

#include <array>
#include <cstdint>

enum LayoutWindow : int {
    kMenuFrame = 0,  // the main window
    kMainFrame,      // the main sonar (composite) window
    kLFrame,
    kMFrame,
    kHFrame,
    kESFrame,
    kGpsTrackWindow,
    kLayoutWindowCount
};

struct WindowRect {
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const WindowRect&) const = default;
    // A taken rectangle replaces a stored one only when it lies on screen.
    bool IsStorable() const { return left >= 0 && top >= 0 && right > 0 && bottom > 0; }
};

struct LayoutMetrics {
    int screenWidth = 1280;
    int screenHeight = 1024;
    int topBand = 150;  // T: tool bar, menu bars, control bar and status bars
};

struct WindowLayout {
    std::array<WindowRect, kLayoutWindowCount> rects{};
    std::array<std::int32_t, kLayoutWindowCount> show{};
    LayoutMetrics metrics;
};

// A rectangle inside the window area of the main window: x, y, width, height.
struct AreaRect {
    int x = 0, y = 0, width = 0, height = 0;
    bool operator==(const AreaRect&) const = default;
};

// The stored rectangles are screen rectangles of a screen whose top band (height T) holds the
// main window's menus and bars; the windows live in the main window's area below them. A
// screen rectangle maps into an area of the given size by scaling the screen below the band
// onto it, and back.
AreaRect MapToArea(const WindowRect& rect, const LayoutMetrics& metrics, int areaWidth,
                   int areaHeight);
WindowRect MapFromArea(const AreaRect& rect, const LayoutMetrics& metrics, int areaWidth,
                       int areaHeight);

// The settings-file name of a window ("Menu Frame", ..., "GPS Track Window") and its show key
// ("Show Menu Frame", ..., "Show GPS Frame").
const char* LayoutWindowName(int window);
const char* LayoutShowKey(int window);

// The least size a stored window is given, screen pixels: a computed or stored rectangle
// smaller than this (a short screen, a damaged settings file) still shows a usable window.
struct MinimumSize {
    int width = 120, height = 80;
};
MinimumSize WindowMinimumSize(int window);
// Heights below the window's minimum grow downward to it; other rectangles stay as they are.
void EnsureMinimumHeights(WindowLayout& layout);
// An area rectangle brought inside an area of the given size: at least the minimum size, at
// most the area's, moved so that it lies wholly inside (from the top-left when the area is
// smaller than the minimum).
AreaRect FitIntoArea(const AreaRect& rect, int areaWidth, int areaHeight, MinimumSize minimum);

// Every show flag 1 and every rectangle of the default layout for the metrics.
void ComputeDefaultLayout(WindowLayout& layout);
// A layout of the default metrics, before any setting is read.
WindowLayout DefaultWindowLayout();
// The vertical strips of a three-frequency system; in other systems only the echo sounder and
// the track plotter move, beside the 540 kHz window.
void ComputeVerticalLayout(WindowLayout& layout, bool threeFrequencySystem);
