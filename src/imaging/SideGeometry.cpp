#include "imaging/SideGeometry.h"

#include <cstdint>
#include <cstdlib>

int NadirColumn(int sideMode, int imageWidth) {
    switch (sideMode) {
        case 1:
            return imageWidth;
        case 2:
            return 0;
        default:
            return static_cast<int>(imageWidth * 0.5);
    }
}

int PixelsPerSide(int sideMode, int imageWidth) {
    return sideMode == 1 || sideMode == 2 ? imageWidth : static_cast<int>(imageWidth * 0.5);
}

AcrossTrack PointerAcrossTrack(int imageX, int imageWidth, int range, int sideMode) {
    AcrossTrack result;
    const int nadir = NadirColumn(sideMode, imageWidth);
    result.starboard = sideMode == 2 || (sideMode != 1 && imageX >= nadir);
    const int perSide = PixelsPerSide(sideMode, imageWidth);
    if (perSide <= 0) return result;
    // In 64 bits: a pointer far outside a 4000-pixel image must not overflow the product.
    const std::int64_t product =
        static_cast<std::int64_t>(range) * std::llabs(static_cast<std::int64_t>(imageX) - nadir);
    result.metres = static_cast<double>(product) / perSide;
    return result;
}

double AcrossFraction(int x, int imageWidth, int sideMode) {
    if (imageWidth <= 0) return 0.0;
    // A side shown alone fills the whole width: its columns are halved onto the full line (in
    // whole pixels, so a fraction names a column of the full line).
    int column = x;
    if (sideMode == 1) column = x / 2;
    if (sideMode == 2) column = x / 2 + imageWidth / 2;
    return static_cast<double>(column) / imageWidth;
}

int AcrossColumn(double fraction, int imageWidth, int sideMode) {
    // A fraction read back from its six decimals may land a hair below the column it came
    // from; the nudge keeps the truncation on that column.
    const int x = static_cast<int>(imageWidth * fraction + 1e-6);
    if (sideMode == 1) return x * 2;
    if (sideMode == 2) return (x - imageWidth / 2) * 2;
    return x;
}
