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
