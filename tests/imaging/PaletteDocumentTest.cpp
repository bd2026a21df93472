#include <gtest/gtest.h>

#include <vector>

#include "document/CVantrelDoc.h"
#include "imaging/PaletteFile.h"
#include "shell/ProfileFile.h"
#include "support/DocumentBuilder.h"
#include "support/FakePlatform.h"
#include "support/TempDir.h"

namespace {

class PaletteWatcher : public DocumentObserver {
public:
    void PaletteChanged() override { ++changes; }
    int changes = 0;
};

Palette TablePalette(const CVantrelDoc& doc, int table) {
    Palette palette{};
    PaletteFromTable(doc.palette.colourTables[table], palette);
    return palette;
}

// Bends the red curve of the editor: a point at column 272 pulled up to y 60.
void BendRedCurve(PaletteEditor& editor) {
    editor.SelectCurve(0);
    ASSERT_EQ(editor.Press(272, 144), EditorPress::GrabSpot);
    editor.Drag(272, 60);
    ASSERT_TRUE(editor.Release(272, 60));
}

struct PaletteDocumentTest : ::testing::Test {
    FakePlatform platform;
    CVantrelDoc doc{platform};
    PaletteWatcher watcher;
    TempDir dir;
    void SetUp() override { doc.SetObserver(&watcher); }
    void TearDown() override { doc.SetObserver(nullptr); }
};

TEST_F(PaletteDocumentTest, InitialState) {
    EXPECT_EQ(doc.palette.colourTableIndex, 9);
    EXPECT_EQ(doc.palette.activePalette, TablePalette(doc, 9));
    EXPECT_EQ(doc.palette.customPalette, doc.palette.activePalette);
    EXPECT_EQ(doc.palette.defaultPalette, doc.palette.activePalette);
    EXPECT_EQ(doc.palette.pristineTables, doc.palette.colourTables);
    EXPECT_EQ(doc.palette.useCustomPalette, 0);
    EXPECT_EQ(doc.palette.paletteWindowVisible, 1);
    EXPECT_TRUE(doc.palette.paletteFileName.empty());
    for (int c = 0; c < kCurveCount; ++c) EXPECT_EQ(doc.palette.curvePointCount[c], 2);
    EXPECT_FALSE(doc.palette.editor);
}

TEST_F(PaletteDocumentTest, ColourTableCommands) {
    struct Case {
        int id, index;
    };
    const Case cases[] = {{32891, 0}, {32895, 4}, {32900, 9}, {32890, 9}, {32901, 9}, {0, 9}};
    for (const Case& c : cases) {
        doc.SelectColourTable(32900);
        const int changesBefore = watcher.changes;
        doc.SelectColourTable(c.id);
        EXPECT_EQ(doc.palette.colourTableIndex, c.index) << c.id;
        EXPECT_EQ(doc.palette.activePalette, TablePalette(doc, c.index)) << c.id;
        EXPECT_TRUE(doc.IsColourTableChecked(32891 + c.index)) << c.id;
        EXPECT_FALSE(doc.IsColourTableChecked(32891 + (c.index + 1) % 10)) << c.id;
        const bool valid = c.id >= 32891 && c.id <= 32900;
        EXPECT_EQ(watcher.changes - changesBefore, valid ? 1 : 0) << c.id;
    }
    doc.SelectColourTable(32893);
    doc.SelectColourTable(32894);
    EXPECT_EQ(doc.palette.previousColourTableIndex, 2);
    EXPECT_EQ(&doc.CurrentColourTable(), &doc.palette.colourTables[3]);
}

TEST_F(PaletteDocumentTest, ColourTableSetting) {
    struct Case {
        int setting, index;
    };
    const Case cases[] = {{0, 0}, {3, 3}, {9, 9}, {10, 9}, {-1, 9}, {1000000, 9}};
    for (const Case& c : cases) {
        doc.SelectColourTable(32892);
        doc.SetColourTableSetting(c.setting);
        EXPECT_EQ(doc.palette.colourTableIndex, c.index) << c.setting;
        EXPECT_EQ(doc.palette.previousColourTableIndex, c.index) << c.setting;
        EXPECT_EQ(doc.palette.activePalette, TablePalette(doc, c.index)) << c.setting;
    }
    // An index that came in some other way still colours with a real table.
    DocumentBuilder(doc).RawColourTableIndex(77);
    doc.BuildActivePalette();
    EXPECT_EQ(doc.palette.activePalette, TablePalette(doc, 9));
}

TEST_F(PaletteDocumentTest, CustomPaletteHidesTheTableUntilSwitchedOff) {
    Palette custom{};
    for (int i = 0; i < kPaletteBytes; ++i) custom[i] = static_cast<std::uint8_t>(i);
    DocumentBuilder(doc).CustomPalette(custom);
    doc.SetUseCustomPalette(true);
    const Palette shown = doc.palette.activePalette;
    for (int k = 0; k < kPaletteEntries; ++k) {
        ASSERT_EQ(shown[4 * k + 2], custom[4 * k + 2]);
        ASSERT_EQ(shown[4 * k + 3], 0) << "fourth byte of entry " << k;
    }
    doc.SelectColourTable(32894);
    EXPECT_EQ(doc.palette.activePalette, shown);
    EXPECT_EQ(doc.palette.colourTableIndex, 3);
    doc.SetUseCustomPalette(false);
    EXPECT_EQ(doc.palette.activePalette, TablePalette(doc, 3));
}

TEST_F(PaletteDocumentTest, EditorStartsHiddenFromTheDefaultPalette) {
    doc.palette.customPalette.fill(1);
    PaletteEditor& editor = doc.OpenPaletteEditor();
    EXPECT_EQ(&editor, doc.palette.editor.get());
    EXPECT_EQ(doc.palette.paletteWindowVisible, 0);
    EXPECT_EQ(doc.palette.customPalette, doc.palette.defaultPalette);
    EXPECT_EQ(editor.GetPalette(), doc.palette.defaultPalette);
    EXPECT_EQ(editor.GetCurve(1), CurveFromPalette(doc.palette.defaultPalette, 1));
    EXPECT_EQ(&doc.OpenPaletteEditor(), &editor);  // only once
    EXPECT_FALSE(doc.CanTogglePaletteWindow());
    doc.ShowCustomPaletteEditor();
    EXPECT_TRUE(doc.CanTogglePaletteWindow());
    EXPECT_EQ(doc.palette.paletteWindowVisible, 1);
    doc.TogglePaletteWindow();
    EXPECT_EQ(doc.palette.paletteWindowVisible, 0);
}

TEST_F(PaletteDocumentTest, ApplyEditorCopiesPaletteAndCurves) {
    PaletteEditor& editor = doc.OpenPaletteEditor();
    BendRedCurve(editor);
    doc.SetUseCustomPalette(true);
    EXPECT_EQ(doc.palette.curvePointCount[0], editor.GetCurve(0).count);
    EXPECT_EQ(doc.palette.curvePoints[0], editor.GetCurve(0).points);
    EXPECT_EQ(doc.palette.customPalette[4 * 128 + 2], 255 - (60 - 16));
    EXPECT_EQ(doc.palette.activePalette[4 * 128 + 2], 255 - (60 - 16));
}

TEST_F(PaletteDocumentTest, SavedAndReloadedFileIsTheSameByteForByte) {
    PaletteEditor& editor = doc.OpenPaletteEditor();
    BendRedCurve(editor);
    editor.Reset(2);
    doc.ApplyEditor();
    const std::string first = dir.File("first.pal");
    ASSERT_TRUE(doc.SavePaletteFile(first));

    FakePlatform otherPlatform;
    CVantrelDoc other(otherPlatform);
    other.palette.useCustomPalette = 1;
    PaletteEditor& otherEditor = other.OpenPaletteEditor();
    ASSERT_TRUE(other.LoadPaletteFile(first));
    for (int c = 0; c < kCurveCount; ++c) {
        EXPECT_EQ(otherEditor.GetCurve(c), editor.GetCurve(c)) << c;
        EXPECT_EQ(other.palette.curvePoints[c], doc.palette.curvePoints[c]) << c;
    }
    EXPECT_EQ(other.palette.customPalette, doc.palette.customPalette);
    const std::string second = dir.File("second.pal");
    ASSERT_TRUE(other.SavePaletteFile(second));
    const std::vector<std::uint8_t> bytes = TempDir::ReadBytes(first);
    EXPECT_EQ(bytes.size(), 2816u);
    EXPECT_EQ(TempDir::ReadBytes(second), bytes);
}

TEST_F(PaletteDocumentTest, DamagedOrMissingFilesGiveTheDefaultCurves) {
    PaletteEditor& editor = doc.OpenPaletteEditor();
    doc.SetUseCustomPalette(true);
    PaletteFileContents good;
    good.palette.fill(9);
    for (int c = 0; c < kCurveCount; ++c) {
        good.counts[c] = 2;
        good.points[c][0] = {16, 100};
        good.points[c][1] = {528, 100};
    }
    const PaletteFileBytes encoded = EncodePaletteFile(good);
    struct Case {
        const char* name;
        int size, offset, value;
    };
    const Case cases[] = {{"missing", -1, -1, 0},           {"short", 1000, -1, 0},
                          {"count 129", 2816, 10, 129},     {"count 255", 2816, 14, 255},
                          {"off the grid", 2816, 1284, 20}, {"empty", 0, -1, 0}};
    for (const Case& c : cases) {
        // Start from a loaded good file so that a refusal is visible.
        const std::string goodName = dir.File("good.pal");
        TempDir::WriteBytes(goodName, {encoded.begin(), encoded.end()});
        ASSERT_TRUE(doc.LoadPaletteFile(goodName));
        ASSERT_EQ(editor.GetCurve(0).points[0], (CurvePoint{16, 100}));

        const std::string name = dir.File(std::string(c.name) + ".pal");
        if (c.size >= 0) {
            std::vector<std::uint8_t> bytes(encoded.begin(), encoded.end());
            if (c.offset >= 0) bytes[c.offset] = static_cast<std::uint8_t>(c.value);
            bytes.resize(c.size);
            TempDir::WriteBytes(name, bytes);
        }
        EXPECT_FALSE(doc.LoadPaletteFile(name)) << c.name;
        for (int ch = 0; ch < kCurveCount; ++ch) {
            const Curve expected = CurveFromPalette(doc.palette.defaultPalette, ch);
            EXPECT_EQ(editor.GetCurve(ch), expected) << c.name;
            EXPECT_EQ(doc.palette.curvePointCount[ch], expected.count) << c.name;
            EXPECT_LE(doc.palette.curvePointCount[ch], kMaxCurvePoints) << c.name;
        }
        EXPECT_EQ(doc.palette.customPalette, editor.GetPalette()) << c.name;
    }
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(PaletteDocumentTest, SaveFailures) {
    EXPECT_FALSE(doc.SavePaletteFile(""));  // never tried, nothing shown
    const std::string bad = dir.File("none/x.pal");
    platform.expectedMessages = {"The file " + bad + " could not be created."};
    EXPECT_FALSE(doc.SavePaletteFile(bad));
    EXPECT_TRUE(platform.expectedMessages.empty());
}

TEST_F(PaletteDocumentTest, DialogsReadAndWriteTheChosenFileOnly) {
    DocumentBuilder(doc).SettingsFile(dir.File("Sonvara_RGB.ini")).PaletteFileName("kept.pal");
    doc.OpenPaletteEditor();
    platform.TakeCalls();
    platform.fileDialogAnswers = {dir.File("typed"), std::nullopt};
    doc.SaveEditorPalette();
    doc.SavePaletteDialog();
    EXPECT_EQ(TempDir::ReadBytes(dir.File("typed.pal")).size(), 2816u);

    platform.fileDialogAnswers = {dir.File("typed.pal")};
    EXPECT_EQ(doc.PaletteDirectory(), dir.path + "/");
    doc.LoadPaletteDialog();
    const std::vector<std::string> expected = {
        "save dialog 'Save Palette File:' ''", "save dialog 'Save Palette File:' ''",
        "open dialog 'Open Palette File:' 'Palette Files: (*.pal) '"};
    EXPECT_EQ(platform.TakeCalls(), expected);
    EXPECT_EQ(doc.palette.paletteFileName, "kept.pal");
}

TEST_F(PaletteDocumentTest, StartUpWithTheCustomPaletteLoadsItsFile) {
    // A first session: custom palette on, closed with the application.
    DocumentBuilder(doc).SettingsFile(dir.File("Sonvara_RGB.ini"));
    ProfileFile settings(doc.iniPath);
    doc.LoadPaletteSettings(settings);
    PaletteEditor& editor = doc.OpenPaletteEditor();
    doc.ShowCustomPaletteEditor();
    BendRedCurve(editor);
    const std::array<std::int32_t, 4> rect = {10, 20, 610, 470};
    doc.ClosePaletteEditor(true, settings, &rect);
    EXPECT_FALSE(doc.palette.editor);
    EXPECT_EQ(doc.palette.paletteWindowVisible, 1);  // kept while the application closes
    ASSERT_TRUE(settings.Save());
    EXPECT_EQ(doc.palette.paletteFileName, dir.File("Sonvara_RGB.pal"));
    EXPECT_EQ(settings.GetProfileInt("Palette", "UseCustomPalette", 0), 1);
    EXPECT_EQ(settings.GetProfileString("Palette", "PaletteFileName", ""),
              dir.File("Sonvara_RGB.pal"));
    EXPECT_EQ(settings.GetProfileInt("Palette", "Frame Bottom", 0), 470);

    // The next session brings the curves back.
    FakePlatform nextPlatform;
    CVantrelDoc next(nextPlatform);
    next.LoadPaletteSettings(ProfileFile(doc.iniPath));
    EXPECT_EQ(next.palette.useCustomPalette, 1);
    EXPECT_EQ(next.palette.paletteFrameRect, rect);
    PaletteEditor& nextEditor = next.OpenPaletteEditor();
    EXPECT_EQ(nextEditor.GetCurve(0).points[1], (CurvePoint{272, 60}));
    EXPECT_EQ(next.palette.activePalette[4 * 128 + 2], 255 - (60 - 16));
}

TEST_F(PaletteDocumentTest, ClosingTheEditorWithoutASettingsPathSavesNoFile) {
    ProfileFile settings;
    doc.OpenPaletteEditor();
    doc.ShowCustomPaletteEditor();
    doc.ClosePaletteEditor(false, settings, nullptr);
    EXPECT_EQ(doc.palette.paletteWindowVisible, 0);
    EXPECT_TRUE(doc.palette.paletteFileName.empty());
    EXPECT_EQ(settings.GetProfileString("Palette", "PaletteFileName", "none"), "");
    EXPECT_EQ(settings.GetProfileInt("Palette", "Frame Left", -5), -5);
    EXPECT_TRUE(platform.messages.empty());
}

}  // namespace
