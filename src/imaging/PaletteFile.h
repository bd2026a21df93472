#pragma once
// The palette file (".pal", 2816 bytes, little-endian): a 256-byte header with "RGB" and the
// three point counts at offsets 10, 12 and 14, the 1024-byte palette (blue, green, red, 0) and
// three blocks of 128 (x, y) pairs of 16 bits, one block per curve, unused pairs zero.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "imaging/ColourTables.h"
#include "imaging/PaletteCurves.h"

inline constexpr int kPaletteFileSize = 2816;
inline constexpr int kPaletteFileHeaderSize = 256;
inline constexpr int kPaletteFilePaletteOffset = 256;
inline constexpr int kPaletteFilePointsOffset = 1280;
inline constexpr int kPaletteFilePointBlockSize = 4 * kMaxCurvePoints;  // 512

using PaletteFileBytes = std::array<std::uint8_t, kPaletteFileSize>;

struct PaletteFileContents {
    Palette palette{};
    std::int32_t counts[kCurveCount] = {};
    CurvePoints points[kCurveCount] = {};
};

// The file image of the contents. A count outside 0..128 is written as the nearest of the two
// so that the counts never claim more than the blocks hold.
PaletteFileBytes EncodePaletteFile(const PaletteFileContents& contents);

// The contents of a file image, or nothing when it is too short or a curve breaks the curve
// rules (a count above the grid's 17 columns, points off the grid, out of order or outside the
// box). Bytes after the 2816th are ignored, as are the header's other bytes.
std::optional<PaletteFileContents> DecodePaletteFile(const std::uint8_t* data, std::size_t size);

// Reads and decodes a palette file; nothing when it cannot be opened or is not valid.
std::optional<PaletteFileContents> ReadPaletteFile(const std::string& path);
// Creates (or truncates) the file and writes the contents; false when that fails.
bool WritePaletteFile(const std::string& path, const PaletteFileContents& contents);
