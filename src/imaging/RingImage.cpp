#include "imaging/RingImage.h"

#include <algorithm>
#include <cstring>

void RingImage::Allocate(int newWidth, int newRows, int newBytesPerPixel) {
    if (newWidth <= 0 || newRows <= 0) {
        Release();
        return;
    }
    width = newWidth;
    bytesPerPixel = newBytesPerPixel;
    pixels.assign(static_cast<std::size_t>(newWidth) * static_cast<std::size_t>(newRows) *
                      static_cast<std::size_t>(newBytesPerPixel),
                  0);
    index.Reset(newRows);
}

void RingImage::Release() {
    pixels.clear();
    pixels.shrink_to_fit();
    index.Reset(0);
    width = 0;
}

void RingImage::RestoreTopRows(int a) {
    // Old image row r is now row (r + a) mod rows. Going from the bottom of the block up, a
    // source that lies inside the block (only when a > rows / 2) has not been overwritten yet.
    const int rows = Rows();
    const std::size_t bytes = static_cast<std::size_t>(BytesPerLine());
    for (int r = a - 1; r >= 0; --r) {
        const int source = (r + a) % rows;
        std::memcpy(Row(r), Row(source), bytes);
    }
}

void RingImage::Zero() {
    std::fill(pixels.begin(), pixels.end(), std::uint8_t{0});
}

RingPieces RingImage::Pieces() const {
    RingPieces pieces;
    if (!Exists()) return pieces;
    pieces.width = width;
    pieces.bytesPerLine = BytesPerLine();
    pieces.first = Row(0);
    pieces.firstRows = Rows() - Top();
    if (Top() > 0) {
        pieces.second = pixels.data();
        pieces.secondRows = Top();
    }
    return pieces;
}
