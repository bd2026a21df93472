#include "shell/WindowLayout.h"

#include <algorithm>

namespace {
constexpr const char* kNames[kLayoutWindowCount] = {"Menu Frame", "Main Frame",      "L Frame",
                                                    "M Frame",    "H Frame",         "ES Frame",
                                                    "GPS Track Window"};
constexpr const char* kShowKeys[kLayoutWindowCount] = {
    "Show Menu Frame", "Show Main Frame", "Show L Frame",  "Show M Frame",
    "Show H Frame",    "Show ES Frame",   "Show GPS Frame"};

WindowRect Rect(double left, double top, double right, double bottom) {
    return {static_cast<std::int32_t>(left), static_cast<std::int32_t>(top),
            static_cast<std::int32_t>(right), static_cast<std::int32_t>(bottom)};
}
}  // namespace

const char* LayoutWindowName(int window) { return kNames[window]; }
const char* LayoutShowKey(int window) { return kShowKeys[window]; }

void ComputeDefaultLayout(WindowLayout& layout) {
    const double w = layout.metrics.screenWidth;
    const double h = layout.metrics.screenHeight;
    const double t = layout.metrics.topBand;
    const double third = (h - t) / 3;
    auto& r = layout.rects;
    r[kMenuFrame] = Rect(0, 0, w, t);
    r[kMainFrame] = Rect(0, t, 0.4 * w, h);
    r[kLFrame] = Rect(0.4 * w, t, 0.8 * w, t + third);
    r[kMFrame] = Rect(0.4 * w, t + third, 0.8 * w, t + 2 * third);
    r[kHFrame] = Rect(0.4 * w, t + 2 * third, 0.8 * w, h);
    r[kESFrame] = Rect(0.8 * w, t, w, t + (h - t) / 2);
    r[kGpsTrackWindow] = Rect(0.8 * w, t + (h - t) / 2, w, h);
    layout.show.fill(1);
    EnsureMinimumHeights(layout);
}

MinimumSize WindowMinimumSize(int window) {
    if (window == kESFrame || window == kGpsTrackWindow) return {120, 120};
    return {120, 80};
}

namespace {
void EnsureMinimumHeight(WindowRect& r, int window) {
    const int least = window == kMenuFrame ? 0 : WindowMinimumSize(window).height;
    if (r.bottom - r.top < least) r.bottom = r.top + least;
}
}  // namespace

void EnsureMinimumHeights(WindowLayout& layout) {
    for (int w = 0; w < kLayoutWindowCount; ++w) EnsureMinimumHeight(layout.rects[w], w);
}

namespace {
void FitSpan(int& start, int& length, int extent, int least) {
    // At most the area, at least the minimum (the minimum wins in an area smaller than it).
    length = std::max(least, std::min(length, extent));
    start = std::max(0, std::min(start, extent - length));
}
}  // namespace

AreaRect FitIntoArea(const AreaRect& rect, int areaWidth, int areaHeight, MinimumSize minimum) {
    AreaRect fitted = rect;
    FitSpan(fitted.x, fitted.width, areaWidth, minimum.width);
    FitSpan(fitted.y, fitted.height, areaHeight, minimum.height);
    return fitted;
}

WindowLayout DefaultWindowLayout() {
    WindowLayout layout;
    ComputeDefaultLayout(layout);
    return layout;
}

void ComputeVerticalLayout(WindowLayout& layout, bool threeFrequencySystem) {
    const double w = layout.metrics.screenWidth;
    const double h = layout.metrics.screenHeight;
    const double t = layout.metrics.topBand;
    auto& r = layout.rects;
    if (threeFrequencySystem) {
        r[kMenuFrame] = Rect(0, 0, w, t);
        r[kMainFrame] = Rect(0, t, 0.2 * w, h);
        r[kLFrame] = Rect(0.2 * w, t, 0.4 * w, h);
        r[kMFrame] = Rect(0.4 * w, t, 0.6 * w, h);
        r[kHFrame] = Rect(0.6 * w, t, 0.8 * w, h);
        r[kESFrame] = Rect(0.8 * w, t, w, t + h / 2);
        r[kGpsTrackWindow] = Rect(0.8 * w, t + h / 2, w, h);
    } else {
        const WindowRect main = r[kMainFrame];
        const std::int32_t left = r[kHFrame].right;
        r[kESFrame] = Rect(left, main.top, w, h / 2);
        r[kGpsTrackWindow] = Rect(left, h / 2, w, main.bottom);
        // Only these two move: the channel windows keep their rectangles as they are.
        EnsureMinimumHeight(r[kESFrame], kESFrame);
        EnsureMinimumHeight(r[kGpsTrackWindow], kGpsTrackWindow);
        layout.show.fill(1);
        return;
    }
    layout.show.fill(1);
    EnsureMinimumHeights(layout);
}

namespace {
struct Scale {
    double x, y;
    int band;
};
Scale ScaleOf(const LayoutMetrics& m, int areaWidth, int areaHeight) {
    const int below = m.screenHeight - m.topBand;
    return {m.screenWidth > 0 ? static_cast<double>(areaWidth) / m.screenWidth : 1.0,
            below > 0 ? static_cast<double>(areaHeight) / below : 1.0, m.topBand};
}
int Round(double v) { return static_cast<int>(v < 0 ? v - 0.5 : v + 0.5); }
}  // namespace

AreaRect MapToArea(const WindowRect& rect, const LayoutMetrics& metrics, int areaWidth,
                   int areaHeight) {
    const Scale s = ScaleOf(metrics, areaWidth, areaHeight);
    const int left = Round(rect.left * s.x);
    const int top = Round((rect.top - s.band) * s.y);
    const int right = Round(rect.right * s.x);
    const int bottom = Round((rect.bottom - s.band) * s.y);
    return {left, top, right - left, bottom - top};
}

WindowRect MapFromArea(const AreaRect& rect, const LayoutMetrics& metrics, int areaWidth,
                       int areaHeight) {
    const Scale s = ScaleOf(metrics, areaWidth, areaHeight);
    return {Round(rect.x / s.x), Round(rect.y / s.y) + s.band,
            Round((rect.x + rect.width) / s.x), Round((rect.y + rect.height) / s.y) + s.band};
}
