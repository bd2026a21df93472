#pragma once
// The measuring and marking state each waterfall view carries: which tool is armed, the steps
// of the target-height tool and the marks drawn over the image (image coordinates, so they
// scroll with it). The views keep it; zoom changes and "&Restore image" clear the marks.

#include <array>
#include <cstdint>

enum MarkKind : std::int32_t {
    kMarkRange = 0,
    kMarkDistance = 1,
    kMarkPlus = 2,
    kMarkTarget = 3,
    kMarkBottomReturn = 4,
    kMarkShadowStart = 5,
    kMarkShadow = 6,
};

struct Mark {
    std::int32_t x1 = 0, y1 = 0;
    std::int32_t x2 = 0, y2 = 0;
    std::int32_t kind = kMarkRange;
    double value = 0.0;  // metres, shown with range, distance and shadow marks
};

inline constexpr int kMaxMarks = 100;

struct MeasureState {
    std::int32_t distanceMode = 0;
    std::int32_t distanceFirstPointSet = 0;
    std::int32_t rangeMode = 0;
    std::int32_t heightMode = 0;
    std::int32_t plusMode = 0;
    std::int32_t heightStep = 0;  // 0..3
    // A target-height click was taken; the step advances when the button is released.
    std::int32_t heightClickTaken = 0;
    // The first mark the target-height measurement in progress stored.
    std::int32_t heightFirstMark = 0;
    double bottomReturnRange = 0.0;
    double shadowStartRange = 0.0;
    double shadowLength = 0.0;
    double targetHeight = 0.0;
    std::array<Mark, kMaxMarks> marks{};
    std::int32_t markCount = 0;
    // "Show Mark Shadow": marks and their labels get a black drop shadow, so that they stay
    // readable over bright echoes.
    std::int32_t showMarkShadow = 0;

    // A tool takes the left button (no panning) and repaints on every mouse move.
    bool ToolActive() const { return distanceMode || rangeMode || heightMode || plusMode; }
    // A measurement begun and not finished: a distance's first point, or a target height past
    // its first click.
    bool HalfMade() const { return distanceFirstPointSet || heightStep > 0 || heightClickTaken; }
    // A half-made target height takes back the marks it stored.
    void ClearHalfMade() {
        if (heightStep > 0 || heightClickTaken) markCount = heightFirstMark;
        distanceFirstPointSet = 0;
        heightStep = 0;
        heightClickTaken = 0;
    }
    // Every mark goes, and with them a measurement begun on one of them.
    void ClearMarks() {
        ClearHalfMade();
        markCount = 0;
    }
};
