#include "imaging/PaletteEditor.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

// How close the pointer must be to a column and to the curve's height to grab it.
constexpr int kGrabColumnReach = 16;
constexpr int kGrabHeightReach = 5;
// A press further than this right of or below the box origin drags the window.
constexpr int kWindowDragRight = 532;
constexpr int kWindowDragBelow = 336;

// Index of the point at column x, or -1.
int PointAt(const Curve& curve, int x) {
    for (int i = 0; i < curve.count; ++i) {
        if (curve.points[i].x == x) return i;
    }
    return -1;
}

}  // namespace

PaletteEditor::PaletteEditor() {
    for (Curve& c : curves) ResetCurve(c);
}

void PaletteEditor::SetCurvesFromPalette(const Palette& source) {
    dragging = false;
    for (int c = 0; c < kCurveCount; ++c) curves[c] = CurveFromPalette(source, c);
    palette = source;
}

void PaletteEditor::SetCurves(const std::int32_t counts[kCurveCount],
                              const CurvePoints points[kCurveCount]) {
    dragging = false;
    for (int c = 0; c < kCurveCount; ++c) {
        Curve& curve = curves[c];
        if (!IsValidCurve(points[c].data(), counts[c])) {
            ResetCurve(curve);
            continue;
        }
        curve = Curve{};
        curve.count = counts[c];
        std::copy_n(points[c].begin(), counts[c], curve.points.begin());
    }
}

void PaletteEditor::SelectCurve(int c) {
    if (c < 0 || c >= kCurveCount || dragging) return;
    selected = c;
}

void PaletteEditor::Reset(int c) {
    if (c < 0 || c >= kCurveCount) return;
    if (c == selected) dragging = false;
    ResetCurve(curves[c]);
}

std::vector<CurvePoint> PaletteEditor::DrawnCurve(int c) const {
    const Curve& curve = curves[c];
    std::vector<CurvePoint> line(curve.points.begin(), curve.points.begin() + curve.count);
    if (dragging && c == selected) {
        const auto at = std::find_if(line.begin(), line.end(),
                                     [&](const CurvePoint& p) { return p.x > spot.x; });
        line.insert(at, spot);
    }
    return line;
}

const Palette& PaletteEditor::Rasterise() {
    for (int c = 0; c < kCurveCount; ++c) {
        const std::vector<CurvePoint> line = DrawnCurve(c);
        RasteriseCurve(palette, c, line.data(), static_cast<int>(line.size()));
    }
    return palette;
}

std::optional<CurvePoint> PaletteEditor::GrabbableSpot(int x, int y) const {
    const Curve& curve = curves[selected];
    for (int n = 0; n < kGridColumns; ++n) {
        const int column = GridColumnX(n);
        if (std::abs(x - column) > kGrabColumnReach) continue;
        const double height = CurveHeightAt(curve, column);
        if (std::abs(y - height) <= kGrabHeightReach) {
            return CurvePoint{static_cast<std::int16_t>(column),
                              static_cast<std::int16_t>(std::lround(height))};
        }
    }
    return std::nullopt;
}

EditorPress PaletteEditor::Press(int x, int y) {
    if (dragging) return EditorPress::GrabSpot;
    if (x - kCurveLeft > kWindowDragRight || y - kCurveTop > kWindowDragBelow) {
        return EditorPress::DragWindow;
    }
    const std::optional<CurvePoint> grabbed = GrabbableSpot(x, y);
    if (!grabbed) return EditorPress::None;
    // The spot leaves the curve while it is held; its point (if it had one) comes back where
    // it is dropped.
    Curve& curve = curves[selected];
    RemoveCurvePoint(curve, PointAt(curve, grabbed->x));
    spot = *grabbed;
    role = spot.x == kCurveLeft    ? SpotRole::First
           : spot.x == kCurveRight ? SpotRole::Last
                                   : SpotRole::Inner;
    // The neighbouring points bound the spot; without one the box edge does.
    lowBound = kCurveLeft;
    highBound = kCurveRight;
    for (int i = 0; i < curve.count; ++i) {
        const int px = curve.points[i].x;
        if (px < spot.x) lowBound = px;
        if (px > spot.x) {
            highBound = px;
            break;
        }
    }
    dragging = true;
    return EditorPress::GrabSpot;
}

CurvePoint PaletteEditor::Drag(int x, int y) {
    if (!dragging) return CurvePoint{static_cast<std::int16_t>(x), static_cast<std::int16_t>(y)};
    if (role == SpotRole::First) lowBound = highBound = kCurveLeft;
    if (role == SpotRole::Last) lowBound = highBound = kCurveRight;
    spot.x = static_cast<std::int16_t>(std::clamp(x, lowBound, highBound));
    spot.y = static_cast<std::int16_t>(std::clamp(y, kCurveTop, kCurveBottom));
    if (role == SpotRole::Inner && (spot.x == kCurveLeft || spot.x == kCurveRight)) {
        // The edge is reached: the spot takes the place of the end point there.
        Curve& curve = curves[selected];
        RemoveCurvePoint(curve, PointAt(curve, spot.x));
        role = spot.x == kCurveLeft ? SpotRole::First : SpotRole::Last;
    }
    return spot;
}

bool PaletteEditor::Release(int x, int y) {
    if (!dragging) return false;
    Drag(x, y);
    dragging = false;
    return InsertCurvePoint(curves[selected], spot.x, spot.y);
}
