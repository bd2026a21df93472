#include "imaging/MeasureTools.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "common/TextFormat.h"
#include "imaging/RowInfo.h"
#include "imaging/SideGeometry.h"

namespace {

constexpr double kMetresPerFoot = 0.3048;
constexpr int kHeightMarks = 4;  // target, bottom return, shadow start, shadow

std::int32_t& ModeOf(MeasureState& state, MeasureTool tool) {
    switch (tool) {
        case MeasureTool::Distance:
            return state.distanceMode;
        case MeasureTool::Range:
            return state.rangeMode;
        case MeasureTool::Plus:
            return state.plusMode;
        default:
            return state.heightMode;
    }
}

int Nadir(const MeasureGeometry& g) {
    return NadirColumn(g.sideMode, g.imageWidth);
}

// Pixels of one side for a distance: the whole width in modes 1 and 2, half of it (not
// truncated) in mode 3.
double SidePixels(const MeasureGeometry& g) {
    return g.sideMode == 1 || g.sideMode == 2 ? g.imageWidth : g.imageWidth * 0.5;
}

Mark& Store(MeasureState& state, int kind, OverlayPoint from, OverlayPoint to, double value) {
    Mark& mark = state.marks[state.markCount++];
    mark = Mark{from.x, from.y, to.x, to.y, kind, value};
    return mark;
}

const Mark& LastMark(const MeasureState& state) {
    return state.marks[std::max(0, state.markCount - 1)];
}

// The row every later click of a target height is held on: the target's.
int TargetRow(const MeasureState& state) {
    return state.marks[std::clamp(state.heightFirstMark, 0, kMaxMarks - 1)].y2;
}

bool HeightClick(MeasureState& state, const MeasureGeometry& g, int x, int y) {
    if (state.heightStep == 0) {
        if (state.markCount + kHeightMarks > kMaxMarks) return false;
        state.heightFirstMark = state.markCount;
        Store(state, kMarkTarget, {Nadir(g), y}, {x, y}, RangeMetres(g, x));
    } else {
        const int row = TargetRow(state);
        const double range = RangeMetres(g, x);
        if (state.heightStep == 1) {
            state.bottomReturnRange = range;
            Store(state, kMarkBottomReturn, {Nadir(g), row}, {x, row}, range);
        } else if (state.heightStep == 2) {
            state.shadowStartRange = range;
            Store(state, kMarkShadowStart, {Nadir(g), row}, {x, row}, range);
        } else {
            const int start = LastMark(state).x2;
            state.shadowLength = ShadowLengthMetres(g, start, x);
            state.targetHeight = TargetHeightMetres(state.bottomReturnRange, state.shadowStartRange,
                                                    state.shadowLength);
            Store(state, kMarkShadow, {start, row}, {x, row}, state.targetHeight);
        }
    }
    state.heightClickTaken = 1;
    return true;
}

bool DistanceClick(MeasureState& state, const MeasureGeometry& g, int x, int y) {
    Mark& pending = state.marks[state.markCount];
    if (!state.distanceFirstPointSet) {
        pending = Mark{x, y, x, y, kMarkDistance, 0.0};
        state.distanceFirstPointSet = 1;
        return true;
    }
    pending.x2 = x;
    pending.y2 = y;
    pending.kind = kMarkDistance;
    pending.value = DistanceMetres(g, pending.x1, pending.y1, x, y);
    ++state.markCount;
    state.distanceFirstPointSet = 0;
    state.distanceMode = 0;  // one-shot
    return true;
}

void PlanMark(const Mark& mark, int units, OverlayPlan& plan) {
    const OverlayPoint start{mark.x1, mark.y1};
    const OverlayPoint end{mark.x2, mark.y2};
    if (mark.kind == kMarkPlus) {
        plan.crosses.push_back(start);
        return;
    }
    if (mark.kind == kMarkDistance) plan.crosses.push_back(start);
    plan.lines.push_back({start, end});
    if (mark.kind == kMarkRange || mark.kind == kMarkDistance || mark.kind == kMarkShadow) {
        plan.labels.push_back({end, MeasureLabelText(mark.value, units)});
    }
    plan.crosses.push_back(end);
}

void PlanHeightInProgress(const MeasureState& state, const MeasureGeometry& g, int units,
                          OverlayPoint pointer, OverlayPlan& plan) {
    double height = 0.0;
    if (state.heightStep > 0) {
        pointer.y = TargetRow(state);
        plan.lines.push_back({{LastMark(state).x2, pointer.y}, pointer});
        plan.crosses.push_back(pointer);
    }
    if (state.heightStep == 3) {
        const double shadow = ShadowLengthMetres(g, LastMark(state).x2, pointer.x);
        height = TargetHeightMetres(state.bottomReturnRange, state.shadowStartRange, shadow);
    }
    plan.labels.push_back({pointer, HeightPromptText(state.heightStep, height, units)});
}

}  // namespace

bool ToolArmed(const MeasureState& state, MeasureTool tool) {
    switch (tool) {
        case MeasureTool::Distance:
            return state.distanceMode != 0;
        case MeasureTool::Range:
            return state.rangeMode != 0;
        case MeasureTool::Plus:
            return state.plusMode != 0;
        default:
            return state.heightMode != 0;
    }
}

void ToggleTool(MeasureState& state, MeasureTool tool) {
    const bool arm = !ToolArmed(state, tool);
    state.ClearHalfMade();
    state.distanceMode = state.rangeMode = state.plusMode = state.heightMode = 0;
    if (arm) ModeOf(state, tool) = 1;
}

bool MeasureButtonDown(MeasureState& state, const MeasureGeometry& g, int x, int y) {
    if (state.heightMode) return HeightClick(state, g, x, y);
    // The pending distance and every one-click mark take the entry at the count.
    if (state.markCount >= kMaxMarks) return false;
    if (state.distanceMode) return DistanceClick(state, g, x, y);
    if (state.rangeMode) {
        Store(state, kMarkRange, {Nadir(g), y}, {x, y}, RangeMetres(g, x));
        return true;
    }
    if (state.plusMode) {
        Store(state, kMarkPlus, {x, y}, {x, y}, 0.0);
        return true;
    }
    return false;
}

void MeasureButtonUp(MeasureState& state) {
    if (!state.heightMode || !state.heightClickTaken) return;
    state.heightClickTaken = 0;
    if (state.heightStep < 3) {
        ++state.heightStep;
        return;
    }
    state.heightStep = 0;
    state.heightMode = 0;
}

double DistanceMetres(const MeasureGeometry& g, int x1, int y1, int x2, int y2) {
    const double side = SidePixels(g);
    if (side <= 0.0) return 0.0;
    const double dx = x2 - x1;
    double dy = y2 - y1;
    if (!g.speedCorrection && g.rowStamps && g.imageRows > 0) {
        const int last = std::min(g.imageRows, g.rowStamps->Rows()) - 1;
        const int from = std::clamp(std::min(y1, y2), 0, std::max(0, last));
        const int to = std::clamp(std::max(y1, y2), 0, std::max(0, last));
        dy = 0.0;
        for (int r = from; r <= to && last >= 0; ++r) dy += g.rowStamps->Row(r).advance;
    }
    return std::sqrt(dx * dx + dy * dy) * g.range / side;
}

double RangeMetres(const MeasureGeometry& g, int x) {
    return PointerAcrossTrack(x, g.imageWidth, g.range, g.sideMode).metres;
}

double ShadowLengthMetres(const MeasureGeometry& g, int xStart, int xEnd) {
    const double side = SidePixels(g);
    if (side <= 0.0) return 0.0;
    return g.range * std::abs(xEnd - xStart) / side;
}

double TargetHeightMetres(double bottomReturn, double shadowStart, double shadowLength) {
    const double sum = shadowStart + shadowLength;
    return sum != 0.0 ? shadowLength * bottomReturn / sum : 0.0;
}

std::string MeasureLabelText(double metres, int units) {
    return units == 1 ? Printf("%.2f ft", metres / kMetresPerFoot) : Printf("%.2f m", metres);
}

std::string HeightPromptText(int step, double heightMetres, int units) {
    switch (step) {
        case 0:
            return "Click on the Target";
        case 1:
            return "Click on First (Bottom) Return";
        case 2:
            return "Click on Shadow Start";
        default:
            return "Click on Shadow End: H=" + MeasureLabelText(heightMetres, units);
    }
}

OverlayPlan PlanMeasureOverlay(MeasureState& state, const MeasureGeometry& g, int units,
                               bool pointerInside, OverlayPoint pointer) {
    OverlayPlan plan;
    for (int i = 0; i < state.markCount; ++i) PlanMark(state.marks[i], units, plan);
    if (!pointerInside) return plan;
    if (state.distanceMode && state.distanceFirstPointSet && state.markCount < kMaxMarks) {
        Mark& pending = state.marks[state.markCount];
        pending.value = DistanceMetres(g, pending.x1, pending.y1, pointer.x, pointer.y);
        plan.crosses.push_back({pending.x1, pending.y1});
        plan.lines.push_back({{pending.x1, pending.y1}, pointer});
        plan.labels.push_back({pointer, MeasureLabelText(pending.value, units)});
        plan.crosses.push_back(pointer);
    } else if (state.rangeMode) {
        plan.lines.push_back({{Nadir(g), pointer.y}, pointer});
        plan.labels.push_back({pointer, MeasureLabelText(RangeMetres(g, pointer.x), units)});
    } else if (state.heightMode) {
        PlanHeightInProgress(state, g, units, pointer, plan);
    }
    return plan;
}

LabelBox PlaceLabel(int x, int y, int imageRight, int clientWidth, int clientHeight, int textWidth,
                    int textHeight) {
    LabelBox box{x, y - 33};
    if (x >= imageRight - 50) box.left = x - 50;
    if (y < 25) box.top = y + 17;
    // Whatever the zoom and scroll, the whole text stays in the window.
    box.left = std::clamp(box.left, 0, std::max(0, clientWidth - textWidth));
    box.top = std::clamp(box.top, 0, std::max(0, clientHeight - textHeight));
    return box;
}
