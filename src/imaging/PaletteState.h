#pragma once
// The document's palette state: the ten built-in colour tables, the palette every sonar image
// is drawn with, the custom palette made by the editor's curves, and the editor itself while
// its window exists.

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "imaging/ColourTables.h"
#include "imaging/PaletteCurves.h"
#include "imaging/PaletteEditor.h"

// Commands of the colour tables and the palette editor.
inline constexpr int kCommandColourTableFirst = 32891;  // "Normal  &High" = table 0
inline constexpr int kCommandColourTableLast = 32900;   // "Yellow/Brown" = table 9
inline constexpr int kCommandLoadPalette = 41121;
inline constexpr int kCommandSavePalette = 41122;
inline constexpr int kCommandTogglePaletteEditor = 41127;

// The table a document starts with before the settings are read (the settings' own default).
inline constexpr int kDefaultColourTable = 9;
// Where the editor window goes when the settings file has no place for it: left, top, right,
// bottom in screen coordinates.
inline constexpr std::array<std::int32_t, 4> kDefaultPaletteFrameRect = {40, 40, 600, 460};
// The palette file written at exit when a custom palette is in use and no name is known yet;
// it lives beside the settings file.
inline constexpr const char* kDefaultPaletteFileName = "Sonvara_RGB.pal";

struct PaletteState {
    ColourTableSet colourTables{};
    // An untouched copy of the ten tables, beside the ones in use.
    ColourTableSet pristineTables{};
    std::int32_t colourTableIndex = kDefaultColourTable;
    // The table in use before the last change (its menu item loses the check mark).
    std::int32_t previousColourTableIndex = kDefaultColourTable;
    Palette activePalette{};
    Palette customPalette{};
    Palette defaultPalette{};
    std::int32_t useCustomPalette = 0;
    std::string paletteFileName;
    std::int32_t curvePointCount[kCurveCount] = {2, 2, 2};
    CurvePoints curvePoints[kCurveCount] = {};
    std::int32_t paletteWindowVisible = 0;
    std::array<std::int32_t, 4> paletteFrameRect = kDefaultPaletteFrameRect;
    // The editor's model while its window exists.
    std::unique_ptr<PaletteEditor> editor;
};
