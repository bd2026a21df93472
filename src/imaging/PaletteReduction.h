#pragma once
// Reduces a true-colour picture to an 8-bit palette for formats that hold no more (GIF): every
// pixel is mapped into a fixed cube of 6 red x 7 green x 6 blue levels (252 colours; green
// gets the extra level because the eye tells greens apart best) and the rounding error is
// spread to the pixels not yet mapped (Floyd-Steinberg), so gradients keep their look
// instead of breaking into bands. A fixed cube needs no pass over the picture to choose its
// colours and maps each pixel in constant time.

#include <array>
#include <cstdint>
#include <vector>

struct PalettedImage {
    int width = 0, height = 0;
    std::vector<std::uint8_t> indices;            // width x height, row after row
    std::array<std::uint8_t, 3 * 256> palette{};  // red, green, blue of each entry
    int colours = 0;                              // entries in use (252)
};

// `rgb` holds width x height pixels of three bytes (red, green, blue), `stride` bytes a row.
PalettedImage ReduceToPalette(const std::uint8_t* rgb, int width, int height, int stride);

// The palette entry of the cube nearest to a colour (no diffusion).
std::uint8_t NearestCubeIndex(int red, int green, int blue);
