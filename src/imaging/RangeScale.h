#pragma once
// The range scale under every waterfall image and the texts beside it: where the ticks go for
// each side mode and unit system, what they read, which pen draws them and how far the end
// labels are moved to stay inside the window. Window coordinates throughout; the views only
// draw what this says.

#include <array>
#include <cstdint>
#include <string>

struct ScaleColour {
    std::uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const ScaleColour&, const ScaleColour&) = default;
};

// Pens and text colours of the scale and of the range and frequency labels.
inline constexpr ScaleColour kScalePenA{120, 30, 0};
inline constexpr ScaleColour kScalePenB{200, 200, 0};
inline constexpr ScaleColour kScaleTextColour{200, 200, 0};
inline constexpr ScaleColour kLabelColour{250, 250, 0};

// Cell heights of the "Arial" fonts of the scale labels and of the range/frequency labels.
inline constexpr int kScaleFontHeight = 16;
inline constexpr int kLabelFontHeight = 22;
// Cell height of the notice that a head gives no data.
inline constexpr int kNoticeFontHeight = 26;
// Left edge of the range and frequency labels; their tops are client height - 64 and - 42.
inline constexpr int kLabelLeft = 4;
inline constexpr int kRangeLabelAbove = 64;
inline constexpr int kFrequencyLabelAbove = 42;
// Top of the scale labels above the bottom of the window.
inline constexpr int kScaleLabelAbove = 18;

enum class ScalePen { A, B };

struct ScaleTick {
    int x = 0;        // window x of the tick
    int lineTop = 0;  // the tick's line runs from lineTop down to lineBottom, end excluded
    int lineBottom = 0;
    ScalePen pen = ScalePen::A;
    int label = 0;           // metres, or feet in imperial units
    int labelShift = 0;      // the label is centred on x + labelShift
    bool labelShown = true;  // false when the label would run into a neighbouring one
};

struct RangeScaleInput {
    int imageWidth = 0;
    int clientHeight = 0;
    int scrollX = 0;
    int range = 0;     // metres
    int sideMode = 3;  // 1 port, 2 starboard, 3 both
    int units = 0;     // 0 metric, 1 imperial
    bool grid = true;
};

inline constexpr int kMaxScaleTicks = 11;

struct RangeScale {
    std::array<ScaleTick, kMaxScaleTicks> ticks{};
    int count = 0;  // 6 in side modes 1 and 2, 11 in mode 3, 0 for any other mode
    int labelTop = 0;
    int nadirTick = 0;  // the tick labelled 0: 5 in modes 1 and 3, 0 in mode 2
};

RangeScale ComputeRangeScale(const RangeScaleInput& in);

// Least free space, in pixels, between two scale labels that are both shown.
inline constexpr int kScaleLabelGap = 4;

// Keeps the labels of a narrow scale apart: when the labels, each `widths[i]` pixels wide and
// centred on x + labelShift, would touch or overlap, only every second label counted from the
// nadir is shown, then only the nadir and the two ends, then only the nadir. A scale whose
// labels fit is left as it is. Ticks and lines are never dropped.
void SpaceScaleLabels(RangeScale& scale, const std::array<int, kMaxScaleTicks>& widths);

// "%d m(%d dB)" with the range and gain, or "%d ft(%d dB)" with three times the range.
std::string RangeLabelText(int range, int gainDb, int units);
// "%d kHz" of the frequency in Hz (integer division).
std::string FrequencyLabelText(int frequencyHz);
// What a window shows over its image while its head gives no data: "no data from the 120 kHz
// head" (the head's frequency, else the frequency it starts with), or "no data from the echo
// sounder".
std::string NoDataText(int head, int frequencyHz);
