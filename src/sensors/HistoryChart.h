#pragma once
// The orientation history chart: five bands (depth, temperature, pitch, roll, heading) that
// scroll left by one column per ping, newest values in the plotting column 30 pixels from the
// right end of each row. The pixels are colour indices of an 8-bit image, rows top-down.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "imaging/ColourTables.h"
#include "sensors/OrientationState.h"

inline constexpr int kHistTopMargin = 10;
inline constexpr int kHistRightMargin = 30;
inline constexpr int kHistBandCount = 5;

enum HistTrace : int { kDepthTrace = 0, kTemperatureTrace, kPitchTrace, kRollTrace, kHeadingTrace };

// Palette indices of the traces and of the centre dots of the pitch and roll bands.
inline constexpr std::array<std::uint8_t, kHistBandCount> kTraceIndex = {240, 150, 251, 252, 255};
inline constexpr std::uint8_t kCentreDotIndex = 50;

// Band height e = (H - 2m) / 5 of a chart of height H.
int HistBandHeight(int height);
// The y of each trace for these values in a chart of height H (may lie outside the chart).
std::array<int, kHistBandCount> TraceRows(int height, const OrientationReadings& values);

// The chart's palette: the colour table, except 251 pure blue, 252 pure green, 255 pure red.
ColourTable HistoryPalette(const ColourTable& table);

struct HistLabel {
    int x = 0;
    int y = 0;  // vertical centre of the text
    std::string text;
    bool bandName = false;  // "D", "T", ... (else a span label)
};
// The band names at the middle of each band and the span labels near their top and bottom.
std::vector<HistLabel> HistoryLabels(int rowLength, int height);

class HistoryChart {
public:
    // Reallocates for the client size (row length rounded up to a multiple of 4), black; the
    // previous trace positions are forgotten. The chart takes samples until Close().
    void Resize(int clientWidth, int clientHeight);
    void Close() { open = false; }
    bool IsOpen() const { return open; }
    // Room for the bands and the plotting column; a smaller chart takes and draws nothing.
    bool Drawable() const { return bandHeight >= 1 && PlotColumn() >= 1; }

    // Scrolls one column left and plots the values in the plotting column.
    void AddSample(const OrientationReadings& values);

    int RowLength() const { return rowLength; }
    int Height() const { return height; }
    int BandHeight() const { return bandHeight; }
    int PlotColumn() const { return rowLength - kHistRightMargin; }
    const std::uint8_t* Row(int y) const {
        return pixels.data() + static_cast<std::size_t>(y) * rowLength;
    }
    std::uint8_t At(int x, int y) const { return Row(y)[x]; }

private:
    void Plot(int trace, int y);
    void Set(int y, std::uint8_t index);

    bool open = false;
    int rowLength = 0;
    int height = 0;
    int bandHeight = 0;
    std::array<int, kHistBandCount> previous{};  // -1: nothing plotted since the resize
    std::vector<std::uint8_t> pixels;
};
