#include "imaging/LineBuilder.h"

#include <algorithm>
#include <cmath>

namespace {

std::uint8_t EchoPixel(int value) {
    return static_cast<std::uint8_t>(value > kMaxEchoPixel ? kMaxEchoPixel : value);
}

// Smooths the pixels between group starts: pixel k of each group of `factor` pixels becomes a
// mix of the group's first pixel p0 and the next group's first pixel. The last group takes the
// row's last pixel as its right neighbour and writes nothing past the row.
void Smooth(std::uint8_t* row, int width, int factor) {
    // Weights of p0 for pixels 1, 2, 3 of a group of three or four.
    static constexpr double kLeftWeight[5][3] = {{}, {}, {}, {0.75, 0.25, 0.0}, {0.75, 0.5, 0.25}};
    const int groups = (width - 2) / factor + 1;
    for (int g = 0; g < groups; ++g) {
        const int base = g * factor;
        const int left = row[base];
        const int right = row[std::min(base + factor, width - 1)];
        for (int k = 1; k < factor && base + k < width; ++k) {
            int value;
            if (factor == 2) {
                value = (left + right) / 2;
            } else {
                const double w = kLeftWeight[factor][k - 1];
                value = static_cast<int>(w * left + (1.0 - w) * right);
            }
            row[base + k] = static_cast<std::uint8_t>(value);
        }
    }
}

}  // namespace

double SamplesPerPixel(int sideMode, int samplesPerSide, int width) {
    const int count = sideMode == 3 ? 2 * samplesPerSide : samplesPerSide;
    return width > 0 ? static_cast<double>(count) / width : 0.0;
}

void LinePlan::Prepare(int sampleCount, int pixelCount) {
    if (sampleCount == count && pixelCount == width) return;
    count = sampleCount;
    width = pixelCount;
    const double step = static_cast<double>(count) / width;
    compress = step >= 1.0;
    if (compress) {
        // A pixel is emitted once the number of samples read is strictly greater than its
        // boundary (step, 2 step, ...): after floor(boundary) + 1 samples (the boundary is
        // positive, so truncation is its floor). It takes the samples read since the previous
        // pixel; when they run out the rest of the row stays empty.
        double boundary = step;
        bound[0] = 0;
        filled = 0;
        while (filled < width) {
            const int end = static_cast<int>(boundary) + 1;
            if (end > count) break;
            bound[static_cast<std::size_t>(++filled)] = static_cast<std::uint16_t>(end);
            boundary += step;
        }
        return;
    }
    // Each pixel adds the step; when a whole sample is reached the next sample is shown. At the
    // right edge this reaches the sample after the last one, which is not in the line: the
    // last sample is shown instead.
    double accumulator = 0.0;
    int sample = 0;
    for (int pixel = 0; pixel < width; ++pixel) {
        accumulator += step;
        if (accumulator >= 1.0) {
            ++sample;
            accumulator -= 1.0;  // its integer part: below 1 before each step of less than 1
        }
        bound[static_cast<std::size_t>(pixel)] =
            static_cast<std::uint16_t>(std::min(sample, count - 1));
    }
    filled = width;
}

double BuildLine(const std::uint8_t* samples, int sideMode, int samplesPerSide, int width,
                 double zoomFactor, std::uint8_t* out, LinePlan& plan) {
    width = std::min(width, kMaxImageWidth);
    if (width <= 0 || samplesPerSide <= 0) return 0.0;
    const std::uint8_t* first = sideMode == 2 ? samples + samplesPerSide : samples;
    const int count = sideMode == 3 ? 2 * samplesPerSide : samplesPerSide;
    plan.Prepare(count, width);
    if (plan.compress) {
        // Every pixel has at least one sample (a step of one or more).
        const std::uint16_t* bound = plan.bound.data();
        const int filled = plan.filled;
        int begin = bound[0];
        for (int pixel = 0; pixel < filled; ++pixel) {
            const int end = bound[pixel + 1];
            int maximum = first[begin];
            for (int i = begin + 1; i < end; ++i) maximum = std::max<int>(maximum, first[i]);
            out[pixel] = EchoPixel(maximum);
            begin = end;
        }
        std::fill(out + plan.filled, out + width, std::uint8_t{0});
    } else {
        for (int pixel = 0; pixel < width; ++pixel) {
            out[pixel] = EchoPixel(first[plan.bound[static_cast<std::size_t>(pixel)]]);
        }
        if (zoomFactor == 2.0 || zoomFactor == 3.0 || zoomFactor == 4.0) {
            Smooth(out, width, static_cast<int>(zoomFactor));
        }
    }
    return static_cast<double>(count) / width;
}

double BuildLine(const std::uint8_t* samples, int sideMode, int samplesPerSide, int width,
                 double zoomFactor, std::uint8_t* out) {
    LinePlan plan;
    return BuildLine(samples, sideMode, samplesPerSide, width, zoomFactor, out, plan);
}

int ClipMaxRange(int frequencyHz, int range) {
    if (frequencyHz >= 500000) return range > 120 ? 120 : 0;
    if (frequencyHz >= 200000) return range > 300 ? 300 : 0;
    return 0;
}

void ClipRange(std::uint8_t* line, int width, int range, int maxRange, int sideMode) {
    if (maxRange <= 0 || range <= maxRange || width <= 0) return;
    const int count = std::min(
        width / 2, static_cast<int>(static_cast<double>(range - maxRange) * width * 0.5 / range));
    if (sideMode == 3) {
        std::fill(line, line + count, std::uint8_t{0});
        std::fill(line + width - count, line + width, std::uint8_t{0});
    } else if (sideMode == 1) {
        std::fill(line, line + 2 * count, std::uint8_t{0});
    } else if (sideMode == 2) {
        std::fill(line + width - 2 * count, line + width, std::uint8_t{0});
    }
}

ByteTable MakeScaleTable(double factor) {
    ByteTable table{};
    for (int v = 0; v < 256; ++v) {
        const double scaled = factor * v;
        table[static_cast<std::size_t>(v)] =
            scaled <= 0.0 ? 0 : EchoPixel(static_cast<int>(std::min(scaled, 255.0)));
    }
    return table;
}

ByteTable MakeCompositeTable(double factor) {
    ByteTable table{};
    for (int v = 0; v < 256; ++v) {
        const double value = factor * 255 * std::sin(v * 0.5 * 3.1415926 * 0.00390625);
        table[static_cast<std::size_t>(v)] =
            value <= 0.0 ? 0 : EchoPixel(static_cast<int>(std::min(value, 255.0)));
    }
    return table;
}

void FactorTables::Update(double newFactor) {
    if (newFactor == factor) return;
    factor = newFactor;
    scale = MakeScaleTable(newFactor);
    composite = MakeCompositeTable(newFactor);
}
