#pragma once
// The echogram of the echo sounder: one column per ping, newest at the right, depth growing
// downward, and the bottom detection that gives the altitude.
//
// Image layout (8-bit colour indices, rows top-down, width and height rounded up to multiples
// of 4): rows 30 .. height - 31 hold the n = height - 60 output samples of each column; columns
// 0 .. width - 32 scroll, column width - 31 takes the newest ping, the 30 columns right of it
// hold the scale labels.
//
// The scrolling columns live in a ring: image column x < width - 30 is stored at column
// (oldest + x) mod (width - 30) of the buffer, so a ping writes one column and moves the ring's
// start instead of moving the whole picture. Readers take the picture through At() or
// CopyRow(), which undo the ring.

#include <cstdint>
#include <string>
#include <vector>

#include "common/LargeBuffer.h"
#include "imaging/LineBuilder.h"

class PingHistory;

inline constexpr int kEsMargin = 30;          // top and bottom margin, rows
inline constexpr int kEsScaleWidth = 30;      // label column right of the newest column
inline constexpr int kEsInputSamples = 1000;  // echo-sounder samples per ping
inline constexpr int kEsNoiseLevel = 20;      // samples at or below this are not echoes
inline constexpr int kEsShownRangeM = 300;    // nothing beyond this range is shown

// The 1000 samples to n output samples: with n <= 1000 each output is the maximum of the
// samples whose index falls into its bin (bins 1000 / n samples wide, boundaries accumulated),
// 255 written as 254; with n > 1000 the samples are stretched as a side-scan line is. Writes
// exactly n values (0 where the input ran out). Returns the input samples per output sample.
double ResampleEchoSamples(const std::uint8_t* samples, int n, std::uint8_t* out);
// The same, keeping the stretch's sample choice in `plan` for the next column of that size.
double ResampleEchoSamples(const std::uint8_t* samples, int n, std::uint8_t* out,
                           LinePlan& plan);

// Blanks the output samples beyond 300 m: with esRange >= 300 the last
// trunc(n * (esRange - 300) / esRange) samples become 0.
void CutBeyondRange(std::uint8_t* out, int n, int esRange);

// The bottom in a column of n output samples: t is the integer mean of the samples above 20,
// the bottom the first sample above t, the altitude esRange * k / n. False (no altitude) when
// no sample exceeds 20 or none exceeds t.
bool DetectBottom(const std::uint8_t* column, int n, int esRange, double& altitudeM);

class EchoSounderImage {
public:
    EchoSounderImage();

    // The view's client size: width and height rounded up to multiples of 4, the image
    // reallocated and cleared. The image exists until Close().
    void Resize(int clientWidth, int clientHeight);
    void Close();
    bool IsOpen() const { return open; }
    // Large enough for its margins and its scale: smaller images take and draw nothing.
    bool Drawable() const { return width > kEsScaleWidth + 1 && height > 2 * kEsMargin; }
    int OutputSamples() const { return height - 2 * kEsMargin; }

    // Scrolls the echogram one column to the left and writes column (n samples) as the
    // newest. Nothing when the image is not drawable.
    void AddColumn(const std::uint8_t* column);
    // Fills the echogram from the stored pings, newest at the right (no range cut).
    void Rebuild(const PingHistory& history);

    int Width() const { return width; }
    int Height() const { return height; }
    double ResampleStep() const { return resampleStep; }
    // Pixel (x, y) of the picture as it is shown.
    std::uint8_t At(int x, int y) const { return StoredRow(y)[StoredColumn(x)]; }
    // Row y of the picture as it is shown, Width() bytes, into out.
    void CopyRow(int y, std::uint8_t* out) const;
    // Room for one column of output samples, at least 1000 (bottom detection without a
    // window works on the samples as they are).
    std::uint8_t* Scratch() { return scratch.data(); }
    // The stretch of the window's columns (ResampleEchoSamples with more than 1000 outputs).
    LinePlan& StretchPlan() { return stretchPlan; }

private:
    // The columns that scroll: all but the scale's.
    int RingColumns() const { return width - kEsScaleWidth; }
    int StoredColumn(int x) const {
        if (x >= RingColumns()) return x;
        const int stored = oldest + x;
        return stored >= RingColumns() ? stored - RingColumns() : stored;
    }
    const std::uint8_t* StoredRow(int y) const {
        return pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
    }
    void WriteColumn(int x, const std::uint8_t* column);

    bool open = false;
    int width = 0;
    int height = 0;
    int oldest = 0;  // stored column of image column 0
    double resampleStep = 0.0;
    std::vector<std::uint8_t, LargeBufferAllocator<std::uint8_t>> pixels;
    std::vector<std::uint8_t> scratch;
    LinePlan stretchPlan;
};

// What the echo-sounder window draws over the echogram.
struct EsText {
    int x = 0;
    int y = 0;
    std::string text;
};
struct EchoSounderOverlay {
    std::vector<int> gridLines;  // horizontal lines from x 0 to the label column
    std::vector<EsText> scaleLabels;
    int bottomLineY = 0;  // horizontal line across the image
    int frameX = 0;       // vertical line from y 30 down to bottomLineY
    EsText rangeText;     // "%d m(%d dB)"
    EsText altitudeText;  // "Altitude:%5.1f m"
};
EchoSounderOverlay MakeEchoSounderOverlay(int imageWidth, int imageHeight, int esRange, int gainDb,
                                          int units, bool showGrid, double altitudeShown,
                                          double zoom = 1.0);
