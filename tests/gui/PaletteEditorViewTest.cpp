#include <gtest/gtest.h>

#include <QCheckBox>
#include <QCursor>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "ViewTestSupport.h"
#include "document/CVantrelDoc.h"
#include "imaging/PaletteEditor.h"
#include "models/ColourTableCommands.h"
#include "shell/CommandTable.h"
#include "shell/ProfileFile.h"
#include "support/FakePlatform.h"
#include "support/RecordingViewHost.h"
#include "ui/imaging/CPaletteChildFrm.h"
#include "ui/imaging/CPaletteView.h"

namespace {

class PaletteEditorViewTest : public ::testing::Test {
protected:
    PaletteEditorViewTest() : doc(platform) {
        doc.InitPalette();
        frame = std::make_unique<CPaletteChildFrm>(doc);
        frame->SetHost(&host);
        view = frame->View();
    }

    void ShowEditor() {
        frame->ShowCustomPaletteEditor();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
    }
    PaletteEditor& Editor() { return *doc.palette.editor; }
    int RedOfCustomEntry(int k) const { return doc.palette.customPalette[4 * k + 2]; }

    FakePlatform platform;
    CVantrelDoc doc;
    RecordingViewHost host;
    std::unique_ptr<CPaletteChildFrm> frame;
    CPaletteView* view = nullptr;
};

}  // namespace

TEST_F(PaletteEditorViewTest, StartsHiddenWithTheDocumentsModel) {
    EXPECT_EQ(frame->windowTitle(), "Palette");
    EXPECT_FALSE(frame->isVisible());
    EXPECT_EQ(doc.palette.paletteWindowVisible, 0);
    ASSERT_NE(doc.palette.editor, nullptr);
    EXPECT_FALSE(view->ApplyBox()->isChecked());
    EXPECT_TRUE(view->SetButton(0)->isChecked());
}

TEST_F(PaletteEditorViewTest, CustomPaletteMenuEntryShowsTheEditorAndTurnsItOn) {
    ShowEditor();
    EXPECT_TRUE(frame->isVisible());
    EXPECT_EQ(doc.palette.useCustomPalette, 1);
    EXPECT_TRUE(view->ApplyBox()->isChecked());
    QTest::mouseClick(view->CloseButton(), Qt::LeftButton);
    EXPECT_FALSE(frame->isVisible());
    EXPECT_EQ(doc.palette.paletteWindowVisible, 0);
}

TEST_F(PaletteEditorViewTest, GrabbingASpotAndDroppingItAddsAPointAndRecolours) {
    ShowEditor();
    QTest::mouseClick(view->ResetButton(0), Qt::LeftButton);  // red: (16, 272)..(528, 16)
    ASSERT_EQ(Editor().GetCurve(0).count, 2);
    // Column 272 lies on the reset line at height 144; the press is 2 pixels off it.
    QTest::mousePress(view, Qt::LeftButton, {}, QPoint(270, 146));
    ASSERT_TRUE(Editor().Dragging());
    QTest::mouseMove(view, QPoint(272, 100));
    QTest::mouseRelease(view, Qt::LeftButton, {}, QPoint(272, 100));
    EXPECT_FALSE(Editor().Dragging());
    const Curve& red = Editor().GetCurve(0);
    ASSERT_EQ(red.count, 3);
    EXPECT_EQ(red.points[1], (CurvePoint{272, 100}));
    const int updatesBefore = host.updateAllCount;
    view->repaint();
    // Entry 128 sits at x = 272: value 255 - (100 - 16).
    EXPECT_EQ(RedOfCustomEntry(128), 171);
    EXPECT_EQ(doc.palette.activePalette[4 * 128 + 2], 171);
    EXPECT_GT(host.updateAllCount, updatesBefore);
}

TEST_F(PaletteEditorViewTest, TheHeldSpotKeepsThePointerInsideTheBox) {
    ShowEditor();
    QTest::mouseClick(view->ResetButton(0), Qt::LeftButton);
    QTest::mousePress(view, Qt::LeftButton, {}, QPoint(272, 144));
    ASSERT_TRUE(Editor().Dragging());
    QTest::mouseMove(view, QPoint(272, 330));
    EXPECT_EQ(view->mapFromGlobal(QCursor::pos()), QPoint(272, 272));
    QTest::mouseRelease(view, Qt::LeftButton, {}, QPoint(272, 330));
    EXPECT_EQ(Editor().GetCurve(0).points[1], (CurvePoint{272, 272}));
}

TEST_F(PaletteEditorViewTest, OnlyTheSelectedCurveIsEdited) {
    ShowEditor();
    for (int c = 0; c < 3; ++c) QTest::mouseClick(view->ResetButton(c), Qt::LeftButton);
    QTest::mouseClick(view->SetButton(2), Qt::LeftButton);
    EXPECT_EQ(Editor().SelectedCurve(), 2);
    QTest::mousePress(view, Qt::LeftButton, {}, QPoint(272, 144));
    QTest::mouseMove(view, QPoint(272, 60));
    QTest::mouseRelease(view, Qt::LeftButton, {}, QPoint(272, 60));
    EXPECT_EQ(Editor().GetCurve(2).count, 3);
    EXPECT_EQ(Editor().GetCurve(0).count, 2);
    EXPECT_EQ(Editor().GetCurve(1).count, 2);
}

TEST_F(PaletteEditorViewTest, APressOutsideTheCurveBoxMovesTheWindow) {
    ShowEditor();
    const QPoint before = frame->pos();
    QTest::mousePress(view, Qt::LeftButton, {}, QPoint(620, 300));
    QTest::mouseMove(view, QPoint(640, 330));
    QTest::mouseRelease(view, Qt::LeftButton, {}, QPoint(640, 330));
    EXPECT_EQ(frame->pos(), before + QPoint(20, 30));
    EXPECT_EQ(doc.palette.paletteFrameRect[0], frame->geometry().left());
    EXPECT_EQ(doc.palette.paletteFrameRect[1], frame->geometry().top());
}

TEST_F(PaletteEditorViewTest, ApplyBoxSwitchesTheCustomPaletteOff) {
    ShowEditor();
    const Palette custom = doc.palette.activePalette;
    QTest::mouseClick(view->ApplyBox(), Qt::LeftButton);
    EXPECT_EQ(doc.palette.useCustomPalette, 0);
    Palette table;
    PaletteFromTable(doc.CurrentColourTable(), table);
    EXPECT_EQ(doc.palette.activePalette, table);
    QTest::mouseClick(view->ApplyBox(), Qt::LeftButton);
    EXPECT_EQ(doc.palette.activePalette, custom);
}

TEST_F(PaletteEditorViewTest, ToggleCommandIsEnabledOnlyWithTheCustomPalette) {
    CommandTable table;
    frame->AddCommands(table);
    EXPECT_FALSE(table.State(kCommandTogglePaletteEditor).enabled);
    doc.SetUseCustomPalette(true);
    ASSERT_TRUE(table.Execute(kCommandTogglePaletteEditor));
    EXPECT_TRUE(frame->isVisible());
    EXPECT_TRUE(table.State(kCommandTogglePaletteEditor).checked);
    ASSERT_TRUE(table.Execute(kCommandTogglePaletteEditor));
    EXPECT_FALSE(frame->isVisible());
}

TEST_F(PaletteEditorViewTest, TheMenuEntryGetsTheIdentifierTheMenuGivesIt) {
    constexpr int kCustomPaletteId = 41200;
    CommandTable table;
    frame->AddCommands(table);
    EXPECT_FALSE(table.Has(kCustomPaletteId));
    frame->AddCommands(table, kCustomPaletteId);
    EXPECT_FALSE(table.State(kCustomPaletteId).checked);
    ASSERT_TRUE(table.Execute(kCustomPaletteId));
    EXPECT_TRUE(frame->isVisible());
    EXPECT_EQ(doc.palette.useCustomPalette, 1);
    EXPECT_TRUE(table.State(kCustomPaletteId).checked);
}

TEST_F(PaletteEditorViewTest, ClosingStoresTheSettingsAndLeavesAnInertWindow) {
    ShowEditor();
    ProfileFile settings = ProfileFile::FromText("");
    frame->Close(true, settings);
    EXPECT_EQ(doc.palette.editor, nullptr);
    EXPECT_FALSE(view->Attached());
    EXPECT_EQ(settings.GetProfileInt("Palette", "UseCustomPalette", -1), 1);
    EXPECT_EQ(settings.GetProfileInt("Palette", "Frame Left", -1), frame->geometry().left());
    view->repaint();  // no model any more: draws the empty box, touches nothing
    QTest::mousePress(view, Qt::LeftButton, {}, QPoint(272, 144));
    QTest::mouseRelease(view, Qt::LeftButton, {}, QPoint(272, 144));
}

TEST_F(PaletteEditorViewTest, TheColourTableMenuHasOneCheckMarkForTheOnePaletteInUse) {
    static constexpr int kCustomPaletteId = 41200;
    constexpr int kGreyTable = 32894;
    CommandTable table;
    AddColourTableCommands(table, doc);
    frame->AddCommands(table, kCustomPaletteId);
    const auto checkedIds = [&table] {
        std::vector<int> ids;
        for (int id = kCommandColourTableFirst; id <= kCommandColourTableLast; ++id) {
            if (table.State(id).checked) ids.push_back(id);
        }
        if (table.State(kCustomPaletteId).checked) ids.push_back(kCustomPaletteId);
        return ids;
    };
    EXPECT_EQ(checkedIds(), (std::vector<int>{kCommandColourTableFirst + 9}));
    ASSERT_TRUE(table.Execute(kCustomPaletteId));
    QTest::mouseClick(view->ResetButton(1), Qt::LeftButton);
    QTest::mouseClick(view->CloseButton(), Qt::LeftButton);
    ASSERT_FALSE(frame->isVisible());
    const Palette custom = doc.palette.activePalette;
    // A table chosen while the custom palette is on is remembered but not shown, and the
    // check mark stays with the palette the images use.
    ASSERT_TRUE(table.Execute(kGreyTable));
    EXPECT_EQ(doc.palette.activePalette, custom);
    EXPECT_EQ(checkedIds(), (std::vector<int>{kCustomPaletteId}));
    // Switched off in the editor, the chosen table colours the images and carries the mark.
    ASSERT_TRUE(table.Execute(kCustomPaletteId));
    QTest::mouseClick(view->ApplyBox(), Qt::LeftButton);
    ASSERT_EQ(doc.palette.useCustomPalette, 0);
    EXPECT_EQ(doc.palette.activePalette[4 * 100 + 2], 100);  // grey: entry v is (v, v, v)
    EXPECT_EQ(checkedIds(), (std::vector<int>{kGreyTable}));
}
