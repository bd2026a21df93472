#pragma once
// Across-track geometry of a waterfall image: where the transducer track (the nadir) runs and
// how far from it a pixel column lies. The pointer read-out and the measuring tools use it.

// Image x of the nadir for an image of width w: the right edge in side mode 1 (port only), the
// left edge in mode 2 (starboard only), the middle in mode 3 (both).
int NadirColumn(int sideMode, int imageWidth);
// Pixels across one side: the whole width in modes 1 and 2, half of it in mode 3.
int PixelsPerSide(int sideMode, int imageWidth);

struct AcrossTrack {
    double metres = 0.0;
    bool starboard = false;
};

// The across-track range of image column x for range r (metres): r * |x - nadir| / pixels per
// side, the product taken in integers and divided in floating point; starboard is mode 2, or
// mode 3 at or right of the nadir. An image without width reads 0 m.
AcrossTrack PointerAcrossTrack(int imageX, int imageWidth, int range, int sideMode);
