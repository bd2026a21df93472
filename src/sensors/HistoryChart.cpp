#include "sensors/HistoryChart.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int kNoRow = -1;

int Trunc(double value) {
    return static_cast<int>(value);
}

}  // namespace

int HistBandHeight(int height) {
    return (height - 2 * kHistTopMargin) / kHistBandCount;
}

std::array<int, kHistBandCount> TraceRows(int height, const OrientationReadings& v) {
    const int m = kHistTopMargin;
    const int e = HistBandHeight(height);
    return {Trunc(m + e * v.depthM / 100.0), Trunc(m + 2 * e - e * (v.temperatureC + 5.0) / 40.0),
            Trunc(m + 2 * e + e / 2 - e * (v.pitchDeg / 5.0) * 0.5),
            Trunc(m + 3 * e + e / 2 - e * (v.rollDeg / 5.0) * 0.5),
            Trunc(m + 4 * e + e * v.headingDeg / 360.0)};
}

ColourTable HistoryPalette(const ColourTable& table) {
    ColourTable palette = table;
    palette[251] = {0, 0, 255};
    palette[252] = {0, 255, 0};
    palette[255] = {255, 0, 0};
    return palette;
}

std::vector<HistLabel> HistoryLabels(int rowLength, int height) {
    const int m = kHistTopMargin;
    const int e = HistBandHeight(height);
    const int column = rowLength - kHistRightMargin;
    static const char* const kNames[kHistBandCount] = {"D", "T", "P", "R", "H"};
    static const char* const kSpans[kHistBandCount][2] = {
        {"0", "100"}, {"35", "-5"}, {"5", "-5"}, {"5", "-5"}, {"0", "360"}};
    std::vector<HistLabel> labels;
    for (int band = 0; band < kHistBandCount; ++band) {
        const int top = m + band * e;
        labels.push_back({column + 10, top + e / 2, kNames[band], true});
        labels.push_back({column + 5, top + 9, kSpans[band][0], false});
        labels.push_back({column + 5, top + e - 9, kSpans[band][1], false});
    }
    return labels;
}

void HistoryChart::Resize(int clientWidth, int clientHeight) {
    open = true;
    rowLength = clientWidth <= 0 ? 0 : (clientWidth + 3) / 4 * 4;
    height = std::max(clientHeight, 0);
    bandHeight = HistBandHeight(height);
    pixels.assign(static_cast<std::size_t>(rowLength) * height, 0);
    previous.fill(kNoRow);
}

void HistoryChart::Set(int y, std::uint8_t index) {
    pixels[static_cast<std::size_t>(y) * rowLength + PlotColumn()] = index;
}

void HistoryChart::Plot(int trace, int y) {
    // Inside the chart: from the top margin to the row above the last.
    if (y < kHistTopMargin || y >= height - 1) return;
    int from =
        previous[trace] == kNoRow ? y : std::clamp(previous[trace], kHistTopMargin, height - 2);
    int to = y;
    if (from > to) std::swap(from, to);
    for (int row = from; row <= to; ++row) Set(row, kTraceIndex[trace]);
    previous[trace] = y;
}

void HistoryChart::AddSample(const OrientationReadings& values) {
    if (!open || !Drawable()) return;
    const int column = PlotColumn();
    // The plotting column takes its right neighbour, which is never drawn into (black).
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = pixels.data() + static_cast<std::size_t>(y) * rowLength;
        std::memmove(row, row + 1, static_cast<std::size_t>(column) + 1);
    }
    const std::array<int, kHistBandCount> rows = TraceRows(height, values);
    const int m = kHistTopMargin;
    const int e = bandHeight;
    Plot(kDepthTrace, rows[kDepthTrace]);
    Plot(kTemperatureTrace, rows[kTemperatureTrace]);
    Set(m + 2 * e + e / 2, kCentreDotIndex);
    Plot(kPitchTrace, rows[kPitchTrace]);
    Set(m + 3 * e + e / 2, kCentreDotIndex);
    Plot(kRollTrace, rows[kRollTrace]);
    Plot(kHeadingTrace, rows[kHeadingTrace]);
}
