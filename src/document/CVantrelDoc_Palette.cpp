// The colour tables, the active palette, palette files and the document's side of the palette
// editor.

#include <filesystem>

#include "document/CVantrelDoc.h"
#include "imaging/PaletteFile.h"
#include "shell/ProfileFile.h"

namespace {

constexpr const char* kPaletteSection = "Palette";
constexpr const char* kFrameKeys[4] = {"Frame Left", "Frame Top", "Frame Right", "Frame Bottom"};

bool IsTableIndex(int index) {
    return index >= 0 && index < kColourTableCount;
}

}  // namespace

void CVantrelDoc::InitPalette() {
    BuildColourTables();
    palette.colourTableIndex = palette.previousColourTableIndex = kDefaultColourTable;
    palette.useCustomPalette = 0;
    BuildActivePalette();
    palette.customPalette = palette.activePalette;
    palette.defaultPalette = palette.activePalette;
    palette.paletteFileName.clear();
    for (int c = 0; c < kCurveCount; ++c) {
        palette.curvePointCount[c] = 2;
        palette.curvePoints[c] = {};
    }
    palette.paletteWindowVisible = 1;
    palette.paletteFrameRect = kDefaultPaletteFrameRect;
}

void CVantrelDoc::BuildColourTables() {
    ::BuildColourTables(palette.colourTables);
    palette.pristineTables = palette.colourTables;
}

void CVantrelDoc::BuildActivePalette() {
    if (palette.useCustomPalette) {
        palette.activePalette = palette.customPalette;
        for (int k = 0; k < kPaletteEntries; ++k) palette.activePalette[4 * k + 3] = 0;
    } else {
        PaletteFromTable(CurrentColourTable(), palette.activePalette);
    }
}

const ColourTable& CVantrelDoc::CurrentColourTable() const {
    // The index comes from the settings file; a value outside the tables must not index them.
    const int index =
        IsTableIndex(palette.colourTableIndex) ? palette.colourTableIndex : kDefaultColourTable;
    return palette.colourTables[index];
}

void CVantrelDoc::SelectColourTable(int commandId) {
    if (commandId < kCommandColourTableFirst || commandId > kCommandColourTableLast) return;
    palette.previousColourTableIndex = palette.colourTableIndex;
    palette.colourTableIndex = commandId - kCommandColourTableFirst;
    BuildActivePalette();
    observer->PaletteChanged();
}

bool CVantrelDoc::IsColourTableChecked(int commandId) const {
    return commandId - kCommandColourTableFirst == palette.colourTableIndex;
}

void CVantrelDoc::SetColourTableSetting(int index) {
    if (!IsTableIndex(index)) index = kDefaultColourTable;
    palette.colourTableIndex = palette.previousColourTableIndex = index;
    BuildActivePalette();
    observer->PaletteChanged();
}

void CVantrelDoc::SetUseCustomPalette(bool on) {
    palette.useCustomPalette = on ? 1 : 0;
    if (on) ApplyEditor();
    BuildActivePalette();
    observer->PaletteChanged();
}

void CVantrelDoc::TogglePaletteWindow() {
    palette.paletteWindowVisible = palette.paletteWindowVisible ? 0 : 1;
    if (palette.paletteWindowVisible) observer->PaletteChanged();
}

void CVantrelDoc::ShowCustomPaletteEditor() {
    SetUseCustomPalette(true);
    if (!palette.paletteWindowVisible) TogglePaletteWindow();
}

PaletteEditor& CVantrelDoc::OpenPaletteEditor() {
    if (palette.editor) return *palette.editor;
    for (int c = 0; c < kCurveCount; ++c) {
        palette.curvePointCount[c] = 2;
        palette.curvePoints[c] = {};
    }
    palette.customPalette.fill(0);
    palette.editor = std::make_unique<PaletteEditor>();
    // The window is placed hidden and the toggle runs once.
    TogglePaletteWindow();
    palette.editor->SetCurvesFromPalette(palette.defaultPalette);
    palette.customPalette = palette.defaultPalette;
    if (palette.useCustomPalette) LoadPaletteFile(palette.paletteFileName);
    return *palette.editor;
}

void CVantrelDoc::ApplyEditor() {
    if (!palette.editor) return;
    PaletteEditor& editor = *palette.editor;
    palette.customPalette = editor.Rasterise();
    for (int c = 0; c < kCurveCount; ++c) {
        palette.curvePointCount[c] = editor.GetCurve(c).count;
        palette.curvePoints[c] = editor.GetCurve(c).points;
    }
    BuildActivePalette();
}

void CVantrelDoc::ClosePaletteEditor(bool applicationClosing, ProfileFile& settings,
                                     const std::array<std::int32_t, 4>* windowRect) {
    if (!applicationClosing) palette.paletteWindowVisible = 0;
    ApplyEditor();
    palette.editor.reset();
    // A custom palette needs a file to come back from; without a chosen name it goes beside
    // the settings file. Without a settings path there is no place, and no save is tried.
    if (palette.useCustomPalette && palette.paletteFileName.empty() && !iniPath.empty()) {
        palette.paletteFileName = PaletteDirectory() + kDefaultPaletteFileName;
    }
    settings.WriteProfileInt(kPaletteSection, "UseCustomPalette", palette.useCustomPalette);
    settings.WriteProfileString(kPaletteSection, "PaletteFileName", palette.paletteFileName);
    if (windowRect) {
        palette.paletteFrameRect = *windowRect;
        for (int i = 0; i < 4; ++i) {
            settings.WriteProfileInt(kPaletteSection, kFrameKeys[i], (*windowRect)[i]);
        }
    }
    if (palette.useCustomPalette && !palette.paletteFileName.empty()) {
        SavePaletteFile(palette.paletteFileName);
    }
}

void CVantrelDoc::LoadPaletteSettings(const ProfileFile& settings) {
    palette.useCustomPalette = settings.GetProfileInt(kPaletteSection, "UseCustomPalette", 0) != 0;
    palette.paletteFileName = settings.GetProfileString(kPaletteSection, "PaletteFileName", "");
    for (int i = 0; i < 4; ++i) {
        palette.paletteFrameRect[i] =
            settings.GetProfileInt(kPaletteSection, kFrameKeys[i], palette.paletteFrameRect[i]);
    }
    BuildActivePalette();
}

bool CVantrelDoc::LoadPaletteFile(const std::string& name) {
    const std::optional<PaletteFileContents> contents = ReadPaletteFile(name);
    PaletteEditor* editor = palette.editor.get();
    if (contents) {
        palette.customPalette = contents->palette;
        for (int c = 0; c < kCurveCount; ++c) {
            palette.curvePointCount[c] = contents->counts[c];
            palette.curvePoints[c] = contents->points[c];
        }
        if (editor) {
            editor->SetCurves(palette.curvePointCount, palette.curvePoints);
            editor->SetPalette(palette.customPalette);
        }
    } else {
        // Unreadable, short or damaged: the default curves and palette, nothing of the file.
        palette.customPalette = palette.defaultPalette;
        for (int c = 0; c < kCurveCount; ++c) {
            const Curve curve = CurveFromPalette(palette.defaultPalette, c);
            palette.curvePointCount[c] = curve.count;
            palette.curvePoints[c] = curve.points;
        }
        if (editor) editor->SetCurvesFromPalette(palette.defaultPalette);
    }
    if (editor && palette.useCustomPalette) ApplyEditor();
    BuildActivePalette();
    observer->PaletteChanged();
    return contents.has_value();
}

bool CVantrelDoc::SavePaletteFile(const std::string& name) {
    if (name.empty()) return false;
    PaletteFileContents contents;
    contents.palette = palette.customPalette;
    for (int c = 0; c < kCurveCount; ++c) {
        contents.counts[c] = palette.curvePointCount[c];
        contents.points[c] = palette.curvePoints[c];
    }
    if (WritePaletteFile(name, contents)) return true;
    platform.MessageBox("The file " + name + " could not be created.");
    return false;
}

void CVantrelDoc::LoadPaletteDialog() {
    const FileDialogRequest request{"Open Palette File:", "Palette Files: (*.pal) ",
                                    PaletteDirectory(), ""};
    if (const std::optional<std::string> chosen = platform.OpenFileDialog(request)) {
        if (!chosen->empty()) LoadPaletteFile(*chosen);
    }
}

void CVantrelDoc::SavePaletteDialog() {
    const FileDialogRequest request{"Save Palette File:", "Palette File: (*.pal)",
                                    PaletteDirectory(), ""};
    std::optional<std::string> chosen = platform.SaveFileDialog(request);
    if (!chosen || chosen->empty()) return;
    // The default extension: a name typed without one becomes a ".pal" file.
    if (std::filesystem::path(*chosen).extension().empty()) *chosen += ".pal";
    SavePaletteFile(*chosen);
}

void CVantrelDoc::SaveEditorPalette() {
    ApplyEditor();
    SavePaletteDialog();
}

std::string CVantrelDoc::PaletteDirectory() const {
    const std::size_t slash = iniPath.find_last_of('/');
    return slash == std::string::npos ? std::string() : iniPath.substr(0, slash + 1);
}
