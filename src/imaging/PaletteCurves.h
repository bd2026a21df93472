#pragma once
// The red, green and blue curves of the palette editor: piecewise-linear lists of points in the
// editor's client coordinates, turned into palette values and back.
//
// The curve box spans x 16..528 and y 16..272. Palette index k lies at x = 16 + 2k; a value v
// is placed at y = 272 - v and a height y reads back as 255 - (y - 16), one step lower. Curve
// points sit on the 17 grid columns x = 16, 48, ..., 528, at most one per column, sorted by x,
// the first at 16 and the last at 528, with y within 16..272.

#include <array>
#include <cstdint>

#include "imaging/ColourTables.h"

inline constexpr int kCurveLeft = 16;
inline constexpr int kCurveTop = 16;
inline constexpr int kCurveRight = 528;
inline constexpr int kCurveBottom = 272;
inline constexpr int kGridStep = 32;
inline constexpr int kGridColumns = 17;
// Room for the points of one curve in the document and in a palette file.
inline constexpr int kMaxCurvePoints = 128;
inline constexpr int kCurveCount = 3;  // red, green, blue

struct CurvePoint {
    std::int16_t x = 0;
    std::int16_t y = 0;
    friend bool operator==(const CurvePoint&, const CurvePoint&) = default;
};

using CurvePoints = std::array<CurvePoint, kMaxCurvePoints>;

// One curve: the first `count` points are in use, the others are zero.
struct Curve {
    int count = 0;
    CurvePoints points{};
    friend bool operator==(const Curve&, const Curve&) = default;
};

// x of grid column n (0..16).
constexpr int GridColumnX(int n) {
    return kCurveLeft + kGridStep * n;
}

// The grid column within 16 pixels of x; halfway between two columns goes to the right one.
// x beyond the box goes to the first or last column.
int SnapToGrid(int x);

// Snaps x to the grid and clamps y to 16..272, then inserts the point in x order unless the
// column already has a point or the curve is full. True when a point was inserted.
bool InsertCurvePoint(Curve& curve, int x, int y);

// Removes the point at index i, keeping the unused points zero.
void RemoveCurvePoint(Curve& curve, int i);

// Two points: (16, 272) and (528, 16).
void ResetCurve(Curve& curve);

// The curve's height at x, interpolated between the points on either side.
double CurveHeightAt(const Curve& curve, int x);

// Stores the values of the segment a..b (a.x < b.x; others draw nothing) in the channel's byte
// of the palette, for x = a.x, a.x + 2, ... up to b.x.
void RasteriseSegment(Palette& palette, int channel, CurvePoint a, CurvePoint b);
// All segments of a polyline; consecutive segments share their end entry, the later one wins.
void RasteriseCurve(Palette& palette, int channel, const CurvePoint* points, int count);

// A curve with a point wherever the channel's values change slope by more than one step.
Curve CurveFromPalette(const Palette& palette, int channel);

// True for a curve that keeps every rule above; anything else must not be drawn or stored.
bool IsValidCurve(const CurvePoint* points, int count);
