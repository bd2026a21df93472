#pragma once
// One ping's samples to one row of pixels, and the per-pixel tables of image formation.
// Pixel values 0..254 are colour-table indices; 255 is kept for marker lines, so echo data is
// never stored as 255.

#include <array>
#include <cstdint>

inline constexpr int kMaxImageWidth = 4096;
inline constexpr std::uint8_t kMaxEchoPixel = 254;
inline constexpr std::uint8_t kLinePixel = 255;

// Samples per pixel for a line of `width` pixels: samplesPerSide samples, twice as many when
// both sides are shown.
double SamplesPerPixel(int sideMode, int samplesPerSide, int width);

// Builds one row from a head line (port half reversed in 0..n-1, starboard half in n..2n-1).
// Side mode 2 starts at the starboard half, side mode 3 takes both halves. With more samples
// than pixels each pixel is the maximum of its samples; with fewer, samples repeat, and at a
// zoom factor of exactly 2, 3 or 4 the repeated pixels are smoothed between their neighbours.
// Returns the samples per pixel. The width is at most 4096.
double BuildLine(const std::uint8_t* samples, int sideMode, int samplesPerSide, int width,
                 double zoomFactor, std::uint8_t* out);

// Which samples make each pixel of a line of `width` pixels from `count` samples. Kept per
// image so that a ping only gathers samples; rebuilt when the count or the width changes.
struct LinePlan {
    void Prepare(int sampleCount, int pixelCount);

    int count = 0;
    int width = 0;
    bool compress = false;
    int filled = 0;  // pixels that receive samples; the rest of a compressed row is empty
    // Compressing: pixel p takes samples bound[p] .. bound[p + 1] - 1.
    // Expanding: pixel p shows sample bound[p].
    std::array<std::uint16_t, kMaxImageWidth + 1> bound{};
};
double BuildLine(const std::uint8_t* samples, int sideMode, int samplesPerSide, int width,
                 double zoomFactor, std::uint8_t* out, LinePlan& plan);

// The usable range of a head: 120 m at 500 kHz and above, 300 m from 200 kHz, unlimited below
// (0 is returned when the range is within the limit and nothing is to be blanked).
int ClipMaxRange(int frequencyHz, int range);
// Blanks the far range beyond maxRange (no-op when maxRange is 0 or range is within it).
void ClipRange(std::uint8_t* line, int width, int range, int maxRange, int sideMode);

// A 256-entry lookup for one intensity factor.
using ByteTable = std::array<std::uint8_t, 256>;
// min(254, trunc(factor * v)).
ByteTable MakeScaleTable(double factor);
// min(254, trunc(factor * 255 * sin(v * pi/2 / 256))): a composite colour byte.
ByteTable MakeCompositeTable(double factor);

// Both tables for one channel, rebuilt only when its factor changes.
struct FactorTables {
    void Update(double factor);
    double factor = -1.0;
    ByteTable scale{};
    ByteTable composite{};
};
