#pragma once
// Palette-file contents that the decoder takes: each curve with one point added to its reset
// line, a palette of zeros.

#include "imaging/PaletteFile.h"

inline PaletteFileContents ValidPaletteContents() {
    PaletteFileContents contents;
    for (int c = 0; c < kCurveCount; ++c) {
        Curve curve;
        ResetCurve(curve);
        InsertCurvePoint(curve, 48 + 64 * c, 100);
        contents.counts[c] = curve.count;
        contents.points[c] = curve.points;
    }
    return contents;
}
