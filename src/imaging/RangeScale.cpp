#include "imaging/RangeScale.h"

#include <cstdio>
#include <cstdlib>

#include "acquisition/HeadTable.h"

namespace {

// End labels are moved this far towards the middle so that they stay inside the window.
constexpr int kLabelNudge = 12;
// The grid runs from the top of the window to this far above the bottom; without grid a short
// mark of kMarkLength ends there.
constexpr int kScaleBottomGap = 20;
constexpr int kMarkLength = 5;
// Imperial scales leave a margin of this share of the width at each edge.
constexpr double kImperialMarginShare = 0.0428;

struct ModeLayout {
    int ticks;
    double step;  // share of the (usable) width between two ticks
};

ModeLayout LayoutOf(int sideMode) {
    return sideMode == 3 ? ModeLayout{11, 0.1} : ModeLayout{6, 0.2};
}

// Window x of tick i before truncation.
double TickX(const RangeScaleInput& in, int i, double step) {
    const double w = in.imageWidth;
    if (in.units == 0) return i * step * w - in.scrollX;
    const double margin = kImperialMarginShare * w;
    const double usable = w - 2 * margin;
    switch (in.sideMode) {
        case 1:
            return i * step * usable + 2 * margin - in.scrollX;
        case 2:
            return i * step * usable - in.scrollX;
        default:
            return i * step * usable + margin - in.scrollX;
    }
}

// Distance from the nadir in fifths of the range: the nadir is at the right edge in mode 1,
// at the left edge in mode 2 and in the middle in mode 3.
int FifthsFromNadir(int sideMode, int i) {
    switch (sideMode) {
        case 1:
            return 5 - i;
        case 2:
            return i;
        default:
            return std::abs(i - 5);
    }
}

int LabelShift(const RangeScaleInput& in, int i, int last) {
    const bool first = i == 0;
    const bool isLast = i == last;
    if (in.units == 0) return first ? kLabelNudge : isLast ? -kLabelNudge : 0;
    if (in.sideMode == 1) return isLast ? -kLabelNudge : 0;
    if (in.sideMode == 2) return first ? kLabelNudge : 0;
    return 0;
}

}  // namespace

RangeScale ComputeRangeScale(const RangeScaleInput& in) {
    RangeScale scale;
    scale.labelTop = in.clientHeight - kScaleLabelAbove;
    if (in.sideMode < 1 || in.sideMode > 3) return scale;
    const ModeLayout layout = LayoutOf(in.sideMode);
    const int perFifth = in.units == 0 ? in.range : 3 * in.range;
    const int bottom = in.clientHeight - kScaleBottomGap;
    for (int i = 0; i < layout.ticks; ++i) {
        ScaleTick& tick = scale.ticks[i];
        tick.x = static_cast<int>(TickX(in, i, layout.step));
        tick.label = FifthsFromNadir(in.sideMode, i) * perFifth / 5;
        tick.labelShift = LabelShift(in, i, layout.ticks - 1);
        tick.lineBottom = bottom;
        if (in.grid) {
            tick.lineTop = 0;
            const bool nadirLine = in.sideMode == 3 && i == 5;
            tick.pen = nadirLine ? ScalePen::B : ScalePen::A;
        } else {
            tick.lineTop = bottom - kMarkLength;
            tick.pen = in.sideMode == 3 ? ScalePen::A : ScalePen::B;
        }
    }
    scale.count = layout.ticks;
    scale.nadirTick = in.sideMode == 2 ? 0 : 5;
    return scale;
}

namespace {

// Shows the labels whose distance from the nadir tick is a multiple of `stride`; stride 0
// shows the nadir alone.
void ShowEvery(RangeScale& scale, int stride) {
    for (int i = 0; i < scale.count; ++i) {
        const int fromNadir = std::abs(i - scale.nadirTick);
        scale.ticks[i].labelShown = stride == 0 ? fromNadir == 0 : fromNadir % stride == 0;
    }
}

bool ShownLabelsApart(const RangeScale& scale, const std::array<int, kMaxScaleTicks>& widths) {
    // Ticks run left to right, so the shown labels are checked against their left neighbour.
    bool havePrevious = false;
    int previousRight = 0;
    for (int i = 0; i < scale.count; ++i) {
        const ScaleTick& tick = scale.ticks[i];
        if (!tick.labelShown) continue;
        // The same rounding as the drawing: the label's left edge is centre - width / 2.
        const int left = tick.x + tick.labelShift - widths[i] / 2;
        if (havePrevious && left < previousRight + kScaleLabelGap) return false;
        previousRight = left + widths[i];
        havePrevious = true;
    }
    return true;
}

}  // namespace

void SpaceScaleLabels(RangeScale& scale, const std::array<int, kMaxScaleTicks>& widths) {
    // Every second label from the nadir, then the nadir and the ends (five fifths away).
    for (const int stride : {1, 2, 5}) {
        ShowEvery(scale, stride);
        if (ShownLabelsApart(scale, widths)) return;
    }
    ShowEvery(scale, 0);
}

std::string RangeLabelText(int range, int gainDb, int units) {
    char text[48];
    if (units == 0) {
        std::snprintf(text, sizeof text, "%d m(%d dB)", range, gainDb);
    } else {
        std::snprintf(text, sizeof text, "%d ft(%d dB)", 3 * range, gainDb);
    }
    return text;
}

std::string FrequencyLabelText(int frequencyHz) {
    char text[24];
    std::snprintf(text, sizeof text, "%d kHz", frequencyHz / 1000);
    return text;
}

std::string NoDataText(int head, int frequencyHz) {
    if (head == kHeadES) return "no data from the echo sounder";
    if (frequencyHz < 1000) frequencyHz = InitialHeadFrequencyHz(head);
    return "no data from the " + FrequencyLabelText(frequencyHz) + " head";
}
