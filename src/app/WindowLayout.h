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

// The settings-file name of a window ("Menu Frame", ..., "GPS Track Window") and its show key
// ("Show Menu Frame", ..., "Show GPS Frame").
const char* LayoutWindowName(int window);
const char* LayoutShowKey(int window);

// Every show flag 1 and every rectangle of the default layout for the metrics.
void ComputeDefaultLayout(WindowLayout& layout);
// The vertical strips of a three-frequency system; in other systems only the echo sounder and
// the track plotter move, beside the 540 kHz window.
void ComputeVerticalLayout(WindowLayout& layout, bool threeFrequencySystem);
