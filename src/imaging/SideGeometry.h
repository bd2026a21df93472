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

// Where an event sits across the track, as a fraction of the full line (0 the port end, 1 the
// starboard end), from the column clicked in an image of the given width: in side mode 1 the
// image shows the port half of the line, in mode 2 the starboard half. An image without
// width gives 0.
double AcrossFraction(int x, int imageWidth, int sideMode);
// The image column of an across-track fraction, the inverse of AcrossFraction (truncated).
int AcrossColumn(double fraction, int imageWidth, int sideMode);
