#include "imaging/PaletteReduction.h"

#include <algorithm>

namespace {
constexpr int kLevels[3] = {6, 7, 6};

// The level (0..levels-1) nearest to an 8-bit value, and that level's 8-bit value.
int LevelOf(int value, int levels) {
    const int v = std::clamp(value, 0, 255);
    return (v * (levels - 1) + 127) / 255;
}
int ValueOf(int level, int levels) {
    return level * 255 / (levels - 1);
}

int IndexOf(const int level[3]) {
    return (level[0] * kLevels[1] + level[1]) * kLevels[2] + level[2];
}

void FillPalette(PalettedImage& image) {
    int index = 0;
    for (int r = 0; r < kLevels[0]; ++r) {
        for (int g = 0; g < kLevels[1]; ++g) {
            for (int b = 0; b < kLevels[2]; ++b, ++index) {
                image.palette[3 * index] = static_cast<std::uint8_t>(ValueOf(r, kLevels[0]));
                image.palette[3 * index + 1] = static_cast<std::uint8_t>(ValueOf(g, kLevels[1]));
                image.palette[3 * index + 2] = static_cast<std::uint8_t>(ValueOf(b, kLevels[2]));
            }
        }
    }
    image.colours = index;
}

// Adds weight/16 of the error to a pixel of the error rows.
void Spread(std::vector<int>& row, int x, int width, const int error[3], int weight) {
    if (x < 0 || x >= width) return;
    for (int c = 0; c < 3; ++c) row[3 * x + c] += error[c] * weight;
}
}  // namespace

std::uint8_t NearestCubeIndex(int red, int green, int blue) {
    const int level[3] = {LevelOf(red, kLevels[0]), LevelOf(green, kLevels[1]),
                          LevelOf(blue, kLevels[2])};
    return static_cast<std::uint8_t>(IndexOf(level));
}

PalettedImage ReduceToPalette(const std::uint8_t* rgb, int width, int height, int stride) {
    PalettedImage image;
    image.width = std::max(0, width);
    image.height = std::max(0, height);
    FillPalette(image);
    image.indices.resize(static_cast<std::size_t>(image.width) * image.height);
    // Errors carried to this row and the next, in sixteenths.
    std::vector<int> current(3 * static_cast<std::size_t>(image.width) + 3, 0);
    std::vector<int> next(current.size(), 0);
    for (int y = 0; y < image.height; ++y) {
        const std::uint8_t* in = rgb + static_cast<std::ptrdiff_t>(y) * stride;
        for (int x = 0; x < image.width; ++x) {
            int level[3], error[3];
            for (int c = 0; c < 3; ++c) {
                const int wanted = in[3 * x + c] + current[3 * x + c] / 16;
                level[c] = LevelOf(wanted, kLevels[c]);
                error[c] = std::clamp(wanted, 0, 255) - ValueOf(level[c], kLevels[c]);
            }
            image.indices[static_cast<std::size_t>(y) * image.width + x] =
                static_cast<std::uint8_t>(IndexOf(level));
            Spread(current, x + 1, image.width, error, 7);
            Spread(next, x - 1, image.width, error, 3);
            Spread(next, x, image.width, error, 5);
            Spread(next, x + 1, image.width, error, 1);
        }
        current.swap(next);
        std::fill(next.begin(), next.end(), 0);
    }
    return image;
}
