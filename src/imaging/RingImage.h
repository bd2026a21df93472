#pragma once
// An image whose rows live in a ring: image row r is stored at physical row (top + r) mod rows.
// Scrolling the picture down by a rows is top -= a, so a new ping costs in proportion to the
// width and to the rows it writes, never to the height of the image. Views paint the ring as
// two contiguous pieces (Pieces()).

#include <cstdint>
#include <vector>

#include "common/LargeBuffer.h"

// The two contiguous blocks that make up a ring image, top to bottom: image rows
// 0 .. firstRows - 1 are `first`, rows firstRows .. rows - 1 are `second`. Both have
// bytesPerLine bytes per row. secondRows is 0 when the ring is aligned.
struct RingPieces {
    const std::uint8_t* first = nullptr;
    int firstRows = 0;
    const std::uint8_t* second = nullptr;
    int secondRows = 0;
    int width = 0;
    int bytesPerLine = 0;
};

// Row arithmetic shared by image rings and row-stamp rings.
class RingIndex {
public:
    void Reset(int rowCount) {
        rows = rowCount;
        top = 0;
    }
    int Rows() const { return rows; }
    int Top() const { return top; }
    // Physical row of image row r (0 <= r < rows).
    int Physical(int r) const {
        const int p = top + r;
        return p >= rows ? p - rows : p;
    }
    void ScrollDown(int a) {
        top = (top - a) % rows;
        if (top < 0) top += rows;
    }

private:
    int rows = 0;
    int top = 0;
};

class RingImage {
public:
    // Allocates width x rows pixels of bytesPerPixel bytes, zero-filled, top at physical 0.
    // Reuses the buffer's capacity when it is large enough.
    void Allocate(int width, int rows, int bytesPerPixel);
    void Release();
    bool Exists() const { return index.Rows() > 0; }

    int Width() const { return width; }
    int Rows() const { return index.Rows(); }
    int BytesPerPixel() const { return bytesPerPixel; }
    int BytesPerLine() const { return width * bytesPerPixel; }
    int Top() const { return index.Top(); }

    std::uint8_t* Row(int r) { return pixels.data() + Offset(r); }
    const std::uint8_t* Row(int r) const { return pixels.data() + Offset(r); }

    // Moves the picture down by a rows (0 < a < rows). The rows that enter at the top hold
    // whatever scrolled off the bottom; callers rewrite them, or call RestoreTopRows.
    void ScrollDown(int a) { index.ScrollDown(a); }
    // After ScrollDown(a): gives rows 0 .. a - 1 their contents from before the scroll, as a
    // block move of rows 0 .. rows - 1 - a down by a leaves them.
    void RestoreTopRows(int a);
    void Zero();
    RingPieces Pieces() const;

private:
    std::size_t Offset(int r) const {
        return static_cast<std::size_t>(index.Physical(r)) *
               static_cast<std::size_t>(BytesPerLine());
    }

    std::vector<std::uint8_t, LargeBufferAllocator<std::uint8_t>> pixels;
    RingIndex index;
    int width = 0;
    int bytesPerPixel = 1;
};
