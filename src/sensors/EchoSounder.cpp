#include "sensors/EchoSounder.h"

#include <algorithm>
#include <cstring>

#include "common/TextFormat.h"
#include "imaging/LineBuilder.h"
#include "imaging/PingHistory.h"

namespace {

int RoundUpTo4(int value) {
    return value <= 0 ? 0 : (value + 3) / 4 * 4;
}

}  // namespace

namespace {

// n <= 1000: each output is the maximum of its bin of input samples.
double ResampleByBins(const std::uint8_t* samples, int n, std::uint8_t* out) {
    std::fill(out, out + n, std::uint8_t{0});
    const double step = static_cast<double>(kEsInputSamples) / n;
    // Sample i belongs to the bin whose accumulated boundary it has not reached yet.
    double boundary = step;
    int k = 0;
    int maximum = 0;
    for (int i = 0; i < kEsInputSamples; ++i) {
        while (i >= boundary) {
            out[k] = static_cast<std::uint8_t>(std::min(maximum, int{kMaxEchoPixel}));
            maximum = 0;
            boundary += step;
            if (++k == n) return step;
        }
        maximum = std::max<int>(maximum, samples[i]);
    }
    out[k] = static_cast<std::uint8_t>(std::min(maximum, int{kMaxEchoPixel}));
    return step;
}

}  // namespace

double ResampleEchoSamples(const std::uint8_t* samples, int n, std::uint8_t* out,
                           LinePlan& plan) {
    if (n <= 0) return 0.0;
    if (n <= kEsInputSamples) return ResampleByBins(samples, n, out);
    BuildLine(samples, 1, kEsInputSamples, n, 1.0, out, plan);
    // A line is at most kMaxImageWidth long; outputs beyond it stay empty.
    if (n > kMaxImageWidth) std::fill(out + kMaxImageWidth, out + n, std::uint8_t{0});
    return static_cast<double>(kEsInputSamples) / n;
}

double ResampleEchoSamples(const std::uint8_t* samples, int n, std::uint8_t* out) {
    if (n <= 0) return 0.0;
    if (n <= kEsInputSamples) return ResampleByBins(samples, n, out);
    LinePlan plan;
    return ResampleEchoSamples(samples, n, out, plan);
}

void CutBeyondRange(std::uint8_t* out, int n, int esRange) {
    if (esRange < kEsShownRangeM || n <= 0) return;
    const auto count =
        static_cast<int>(static_cast<double>(n) * (esRange - kEsShownRangeM) / esRange);
    std::fill(out + (n - std::clamp(count, 0, n)), out + n, std::uint8_t{0});
}

bool DetectBottom(const std::uint8_t* column, int n, int esRange, double& altitudeM) {
    long sum = 0;
    int count = 0;
    for (int k = 0; k < n; ++k) {
        if (column[k] > kEsNoiseLevel) {
            sum += column[k];
            ++count;
        }
    }
    if (count == 0) return false;
    const long threshold = sum / count;
    for (int k = 0; k < n; ++k) {
        if (column[k] > threshold) {
            altitudeM = static_cast<double>(esRange) * k / n;
            return true;
        }
    }
    return false;
}

EchoSounderImage::EchoSounderImage() : scratch(kEsInputSamples) {}

void EchoSounderImage::Resize(int clientWidth, int clientHeight) {
    open = true;
    width = RoundUpTo4(clientWidth);
    height = RoundUpTo4(clientHeight);
    pixels.assign(static_cast<std::size_t>(width) * height, 0);
    oldest = 0;
    const int n = OutputSamples();
    resampleStep = n > 0 ? static_cast<double>(kEsInputSamples) / n : 0.0;
    scratch.assign(static_cast<std::size_t>(std::max(n, kEsInputSamples)), 0);
}

void EchoSounderImage::Close() {
    open = false;
}

void EchoSounderImage::WriteColumn(int x, const std::uint8_t* column) {
    const int n = OutputSamples();
    std::uint8_t* out =
        pixels.data() + static_cast<std::size_t>(kEsMargin) * width + StoredColumn(x);
    for (int k = 0; k < n; ++k, out += width) *out = column[k];
}

void EchoSounderImage::AddColumn(const std::uint8_t* column) {
    if (!open || !Drawable()) return;
    // The oldest column leaves at the left and its storage takes the newest at the right.
    if (++oldest == RingColumns()) oldest = 0;
    WriteColumn(RingColumns() - 1, column);
}

void EchoSounderImage::CopyRow(int y, std::uint8_t* out) const {
    const std::uint8_t* row = StoredRow(y);
    const int ring = std::max(RingColumns(), 0);
    std::memcpy(out, row + oldest, static_cast<std::size_t>(ring - oldest));
    std::memcpy(out + (ring - oldest), row, static_cast<std::size_t>(oldest));
    std::memcpy(out + ring, row + ring, static_cast<std::size_t>(width - ring));
}

void EchoSounderImage::Rebuild(const PingHistory& history) {
    if (!open || !Drawable()) return;
    const int n = OutputSamples();
    std::vector<std::uint8_t>& column = scratch;
    for (int i = 1; i < width - kEsScaleWidth - 2 && i < kHistoryLength; ++i) {
        const int slot = history.IndexBack(i);
        if (slot < 0) break;
        ResampleEchoSamples(history.Record(slot).esSamples.data(), n, column.data(),
                            stretchPlan);
        WriteColumn(width - kEsScaleWidth - i, column.data());
    }
}

EchoSounderOverlay MakeEchoSounderOverlay(int imageWidth, int imageHeight, int esRange, int gainDb,
                                          int units, bool showGrid, double altitudeShown,
                                          double zoom) {
    const bool imperial = units == 1;
    EchoSounderOverlay overlay;
    const int usable = imageHeight - (2 * kEsMargin + 2);
    const double spacing = usable * zoom * 0.2 * (imperial ? 0.9144 : 1.0);
    const int labelX = imageWidth - kEsScaleWidth;
    for (int i = 0; i <= 5; ++i) {
        const int y = kEsMargin + static_cast<int>(i * spacing);
        if (i == 0 || showGrid) overlay.gridLines.push_back(y);
        const int value = imperial ? i * esRange * 3 / 5 : i * esRange / 5;
        overlay.scaleLabels.push_back({labelX + 4, y - 10, Printf("%d", value)});
    }
    overlay.bottomLineY = imageHeight - 32;
    overlay.frameX = labelX;
    overlay.rangeText = {2, 0,
                         imperial ? Printf("%d ft(%d dB)", esRange * 3, gainDb)
                                  : Printf("%d m(%d dB)", esRange, gainDb)};
    overlay.altitudeText = {2, imageHeight - 26,
                            imperial ? Printf("Altitude:%5.1f ft", altitudeShown / 0.3048)
                                     : Printf("Altitude:%5.1f m", altitudeShown)};
    return overlay;
}
