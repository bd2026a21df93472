#include "imaging/PaletteCurves.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

int SnapToGrid(int x) {
    const int clamped = std::clamp(x, kCurveLeft, kCurveRight);
    return GridColumnX((clamped - kCurveLeft + kGridStep / 2) / kGridStep);
}

bool InsertCurvePoint(Curve& curve, int x, int y) {
    const CurvePoint p{static_cast<std::int16_t>(SnapToGrid(x)),
                       static_cast<std::int16_t>(std::clamp(y, kCurveTop, kCurveBottom))};
    int at = 0;
    while (at < curve.count && curve.points[at].x < p.x) ++at;
    if (at < curve.count && curve.points[at].x == p.x) return false;
    if (curve.count >= kMaxCurvePoints) return false;
    std::copy_backward(curve.points.begin() + at, curve.points.begin() + curve.count,
                       curve.points.begin() + curve.count + 1);
    curve.points[at] = p;
    ++curve.count;
    return true;
}

void RemoveCurvePoint(Curve& curve, int i) {
    if (i < 0 || i >= curve.count) return;
    std::copy(curve.points.begin() + i + 1, curve.points.begin() + curve.count,
              curve.points.begin() + i);
    --curve.count;
    curve.points[curve.count] = CurvePoint{};
}

void ResetCurve(Curve& curve) {
    curve = Curve{};
    curve.points[0] = {kCurveLeft, kCurveBottom};
    curve.points[1] = {kCurveRight, kCurveTop};
    curve.count = 2;
}

double CurveHeightAt(const Curve& curve, int x) {
    if (curve.count == 0) return kCurveBottom;
    const CurvePoint* p = curve.points.data();
    if (x <= p[0].x) return p[0].y;
    for (int i = 1; i < curve.count; ++i) {
        if (x <= p[i].x) {
            const CurvePoint a = p[i - 1], b = p[i];
            if (b.x == a.x) return b.y;
            return a.y + static_cast<double>(b.y - a.y) * (x - a.x) / (b.x - a.x);
        }
    }
    return p[curve.count - 1].y;
}

void RasteriseSegment(Palette& palette, int channel, CurvePoint a, CurvePoint b) {
    if (a.x >= b.x) return;
    const int byte = PaletteByteOf(channel);
    for (int x = a.x; x <= b.x; x += 2) {
        const double y = a.y + static_cast<double>(b.y - a.y) * (x - a.x) / (b.x - a.x);
        const double value = std::trunc(std::clamp(255.0 - (y - kCurveTop), 0.0, 255.0));
        const int index = std::clamp((x - kCurveLeft) / 2, 0, kPaletteEntries - 1);
        palette[4 * index + byte] = static_cast<std::uint8_t>(value);
    }
}

void RasteriseCurve(Palette& palette, int channel, const CurvePoint* points, int count) {
    for (int i = 1; i < count; ++i) RasteriseSegment(palette, channel, points[i - 1], points[i]);
}

Curve CurveFromPalette(const Palette& palette, int channel) {
    const int byte = PaletteByteOf(channel);
    const auto yOf = [&](int k) {
        return kCurveBottom - palette[4 * std::min(k, kPaletteEntries - 1) + byte];
    };
    Curve curve;
    CurvePoint previous{kCurveLeft, static_cast<std::int16_t>(yOf(0))};
    int previousSlope = 10;
    for (int k = 1; k <= kPaletteEntries; ++k) {
        const CurvePoint point{static_cast<std::int16_t>(kCurveLeft + 2 * k),
                               static_cast<std::int16_t>(yOf(k))};
        const int slope = point.y - previous.y;
        if (std::abs(slope - previousSlope) > 1) {
            InsertCurvePoint(curve, previous.x, previous.y);
            previousSlope = slope;
        }
        previous = point;
    }
    InsertCurvePoint(curve, kCurveRight, previous.y);
    // A first step of 9 to 11 looks like the starting slope and adds no point at entry 0, yet a
    // curve must begin at the first column; the entry-0 point fills the gap (and nothing else,
    // since a column holds one point).
    InsertCurvePoint(curve, kCurveLeft, yOf(0));
    return curve;
}

bool IsValidCurve(const CurvePoint* points, int count) {
    if (count < 2 || count > kGridColumns) return false;
    if (points[0].x != kCurveLeft || points[count - 1].x != kCurveRight) return false;
    for (int i = 0; i < count; ++i) {
        const CurvePoint p = points[i];
        if ((p.x - kCurveLeft) % kGridStep != 0) return false;
        if (p.y < kCurveTop || p.y > kCurveBottom) return false;
        if (i > 0 && p.x <= points[i - 1].x) return false;
    }
    return true;
}
