#pragma once
// The ten built-in colour tables and the 256-entry palettes the sonar images are drawn with.
// A table entry is (red, green, blue); a palette entry is in bitmap order (blue, green, red, 0).

#include <array>
#include <cstdint>

inline constexpr int kColourTableCount = 10;
inline constexpr int kPaletteEntries = 256;
inline constexpr int kPaletteBytes = 4 * kPaletteEntries;

using Rgb = std::array<std::uint8_t, 3>;
using ColourTable = std::array<Rgb, kPaletteEntries>;
using ColourTableSet = std::array<ColourTable, kColourTableCount>;
using Palette = std::array<std::uint8_t, kPaletteBytes>;

// Menu texts of the tables, in table order.
extern const char* const kColourTableNames[kColourTableCount];

// Byte of a palette entry that holds a channel: 0 red, 1 green, 2 blue.
constexpr int PaletteByteOf(int channel) {
    return 2 - channel;
}

// Computes all ten tables; entry 255 of every table is yellow, the colour of the marks.
void BuildColourTables(ColourTableSet& tables);

// The palette of a table: entry k = (blue, green, red, 0) of table entry k.
void PaletteFromTable(const ColourTable& table, Palette& palette);

// One value of a table given by control points (index, value) sorted by index, the first at
// 0 and the last at 255: between two points the value is interpolated exactly and rounded half
// up. Exposed for the tests of the fixed tables.
struct ControlPoint {
    int index;
    int value;
};
int InterpolateControlPoints(const ControlPoint* points, int count, int index);
