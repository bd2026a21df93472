#include "models/SonarViewState.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "document/CVantrelDoc.h"
#include "platform/TimerIds.h"
#include "support/DocumentBuilder.h"
#include "support/FakePlatform.h"
#include "support/RecordingViewHost.h"

namespace {

class SonarViewStateTest : public ::testing::Test {
protected:
    SonarViewStateTest() : doc(platform), view(doc, 0, true) {
        view.SetHost(&host);
        view.Size(1000, 800);
    }

    void StampRow(int slot, int row, const char* time, int ping) {
        RowInfo& info = doc.images.slotStates[slot].rowInfo.Row(row);
        std::memcpy(info.time.data(), time, std::min<std::size_t>(12, std::strlen(time)));
        info.pingNumber = ping;
    }

    FakePlatform platform;
    CVantrelDoc doc;
    RecordingViewHost host;
    SonarViewState view;
};

}  // namespace

TEST(ScrollAfterZoom, KeepsTheImagePointUnderThePointer) {
    struct Case {
        int scroll, pointer;
        double oldFactor, newFactor;
        int expected;
    };
    const Case cases[] = {
        {0, 300, 0.5, 1.0, 300},     // fill (1000 wide) to 100 %: point 300 becomes 600
        {300, 300, 1.0, 2.0, 900},   // 100 % to 200 %: point 600 becomes 1200
        {5, 3, 0.512, 1.0, 12},      // the point is truncated before it is scaled: 8 / 0.512
        {0, 1, 1.0, 0.5, 0},         // -0.5 truncates toward zero
        {0, 1500, 1.024, 1.0, -36},  // a window wider than 2000 pixels scrolls left of the image
        {10, 10, 0.0, 1.0, 0},       // no old factor: nothing to keep
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ScrollAfterZoom(c.scroll, c.pointer, c.oldFactor, c.newFactor), c.expected)
            << c.scroll << " " << c.pointer << " " << c.oldFactor << " " << c.newFactor;
    }
}

TEST_F(SonarViewStateTest, ZoomCycleKeepsThePixelUnderThePointerAndWrapsToFill) {
    ASSERT_DOUBLE_EQ(view.zoomFactor, 0.5);
    view.MouseMove(300, 200);
    struct Step {
        int mode, width, scrollX, scrollY, percent;
    };
    const Step steps[] = {
        {kZoom100, 2000, 300, 200, 100},  // fill pixel (300, 200) is 100 % pixel (600, 400)
        {kZoom200, 4000, 900, 600, 200},  // and 200 % pixel (1200, 800)
        {kZoomFillScreen, 1000, 0, 0, 50},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.mode);
        view.measure.markCount = 3;
        view.ZoomCycle();
        EXPECT_EQ(view.zoomMode, s.mode);
        EXPECT_EQ(doc.images.ChannelImage(0).Width(), s.width);
        EXPECT_EQ(view.imageWidth, s.width);
        EXPECT_EQ(view.scrollX, s.scrollX);
        EXPECT_EQ(view.scrollY, s.scrollY);
        EXPECT_EQ(view.savedScrollX, s.scrollX);
        EXPECT_EQ(view.savedScrollY, s.scrollY);
        EXPECT_EQ(view.measure.markCount, 0);
        EXPECT_EQ(view.ZoomPercent(), s.percent);
        EXPECT_EQ(doc.images.slotStates[0].zoomFactor, view.zoomFactor);
    }
}

TEST_F(SonarViewStateTest, DraggingPansOnlyAtOneAndTwoHundredPercent) {
    struct Case {
        int mode;
        bool pans;
    };
    for (const Case c :
         {Case{kZoomFillScreen, false}, Case{kZoom100, true}, Case{kZoom200, true}}) {
        SCOPED_TRACE(c.mode);
        view.SetZoom(c.mode);
        view.RestoreImage();
        view.LeftButtonDown(100, 100);
        const ViewRepaint repaint = view.MouseMove(80, 90);
        EXPECT_EQ(view.dragging != 0, c.pans);
        EXPECT_EQ(repaint, c.pans ? ViewRepaint::AllViews : ViewRepaint::None);
        EXPECT_EQ(view.scrollX, c.pans ? 20 : 0);
        EXPECT_EQ(view.scrollY, c.pans ? 10 : 0);
        view.LeftButtonUp();
        EXPECT_EQ(view.dragging, 0);
    }
}

TEST_F(SonarViewStateTest, ASecondDragContinuesFromWhereTheFirstEnded) {
    view.SetZoom(kZoom100);
    view.LeftButtonDown(100, 100);
    view.MouseMove(80, 90);
    view.LeftButtonUp();
    view.LeftButtonDown(50, 50);
    view.MouseMove(40, 55);
    EXPECT_EQ(view.scrollX, 30);
    EXPECT_EQ(view.scrollY, 5);
    // Moving outside the window stops following the pointer but keeps the drag.
    EXPECT_EQ(view.MouseMove(-5, 40), ViewRepaint::None);
    EXPECT_EQ(view.scrollX, 30);
    EXPECT_EQ(view.dragging, 1);
    view.CaptureChanged();
    EXPECT_EQ(view.dragging, 0);
}

TEST_F(SonarViewStateTest, TheLowFrequencyViewsPublishTheirScrollWhileDragging) {
    SonarViewState high(doc, 2, false);
    high.Size(1000, 800);
    for (SonarViewState* v : {&view, &high}) {
        v->SetZoom(kZoom100);
        v->LeftButtonDown(100, 100);
        v->MouseMove(60, 70);
    }
    EXPECT_EQ(doc.feedback.slots[0].scrollX, 40);
    EXPECT_EQ(doc.feedback.slots[0].scrollY, 30);
    EXPECT_EQ(doc.feedback.slots[2].scrollX, 0);
    EXPECT_EQ(doc.feedback.slots[2].scrollY, 0);
}

TEST_F(SonarViewStateTest, AnArmedToolTakesTheClickInsteadOfPanning) {
    view.SetZoom(kZoom200);
    view.measure.distanceMode = 1;
    view.LeftButtonDown(100, 100);
    EXPECT_EQ(view.dragging, 0);
    EXPECT_EQ(view.MouseMove(80, 90), ViewRepaint::Now);
    EXPECT_EQ(view.scrollX, 0);
}

TEST_F(SonarViewStateTest, MouseMovesRepaintAtOnceOnlyWhileHeldOrWithATool) {
    EXPECT_EQ(view.MouseMove(10, 10), ViewRepaint::None);
    EXPECT_EQ(doc.feedback.slots[0].pointerInside, 1);
    EXPECT_EQ(view.pointerImageX, 10);
    DocumentBuilder(doc).Held(true);
    EXPECT_EQ(view.MouseMove(11, 10), ViewRepaint::Now);
    EXPECT_EQ(view.MouseMove(1000, 10), ViewRepaint::None);  // x = width is outside
    EXPECT_EQ(view.pointerInside, 0);
    EXPECT_EQ(doc.feedback.slots[0].pointerInside, 0);
}

TEST_F(SonarViewStateTest, ButtonsStopPlaybackStepsAndResumeAfterADelayInPlayback) {
    for (const int playback : {0, 1}) {
        SCOPED_TRACE(playback);
        DocumentBuilder(doc).PlaybackFlag(playback);
        std::vector<std::string> resumed = {"timer 1030 stopped"};
        if (playback) resumed.push_back("timer 1010 started at 100 ms");
        platform.StartTimer(kTimerPlayback, 50);
        platform.TakeCalls();
        view.LeftButtonDown(5, 5);
        EXPECT_EQ(platform.TakeCalls(), resumed);
        platform.StartTimer(kTimerPlayback, 50);
        platform.TakeCalls();
        view.LeftButtonUp();
        EXPECT_EQ(platform.TakeCalls(), resumed);
    }
}

TEST_F(SonarViewStateTest, ReadoutSendsRangeAndTheRowUnderThePointer) {
    DocumentBuilder(doc).Range(50).SideMode(3);
    std::memcpy(doc.cycleTime.cycleDateText.data(), "04-JUL-2009", 12);
    StampRow(0, 120, "09:05:03.007", 77);
    view.MouseMove(700, 120);
    view.PointerReadout();
    EXPECT_DOUBLE_EQ(host.pointerRange, 20.0);
    EXPECT_TRUE(host.pointerStarboard);
    EXPECT_DOUBLE_EQ(doc.feedback.pointerRange, 20.0);
    EXPECT_EQ(doc.feedback.pointerStarboard, 1);
    ASSERT_EQ(host.rowTimes.size(), 1u);
    EXPECT_EQ(host.rowTimes[0], "09:05:03.007");
    EXPECT_EQ(host.pingNumbers[0], 77);
    EXPECT_EQ(host.dateText, "04-JUL-2009");
    EXPECT_EQ(doc.feedback.slots[0].pointerInside, 1);
    EXPECT_EQ(host.refreshCount, 1);
}

TEST_F(SonarViewStateTest, ReadoutFollowsTheScrollAndSkipsRowsOutsideTheImage) {
    DocumentBuilder(doc).Range(50);
    view.SetZoom(kZoom100);  // 2000 x 2000
    StampRow(0, 1990, "10:00:00.000", 5);
    view.scrollY = 1900;
    view.MouseMove(100, 90);
    view.PointerReadout();
    ASSERT_EQ(host.pingNumbers.size(), 1u);
    EXPECT_EQ(host.pingNumbers[0], 5);
    view.MouseMove(100, 100);  // image row 2000: below the image
    view.PointerReadout();
    EXPECT_EQ(host.pingNumbers.size(), 1u);
    EXPECT_EQ(host.pointerRangeCount, 2);
    EXPECT_DOUBLE_EQ(host.pointerRange, 45.0);  // column 100 of 2000, 900 pixels from the nadir
    EXPECT_FALSE(host.pointerStarboard);
}

TEST_F(SonarViewStateTest, ReadoutWithThePointerOutsideOnlyClearsTheFlag) {
    view.MouseMove(10, 10);
    view.PointerLeft();
    view.PointerReadout();
    EXPECT_EQ(host.pointerRangeCount, 0);
    EXPECT_TRUE(host.rowTimes.empty());
    EXPECT_EQ(doc.feedback.slots[0].pointerInside, 0);
    EXPECT_EQ(host.refreshCount, 1);
}

TEST_F(SonarViewStateTest, ZoomCommandsAreIgnoredWhenTheModeIsAlreadyChosen) {
    EXPECT_FALSE(view.FillScreen());
    EXPECT_TRUE(view.SetZoom(kZoom200));
    EXPECT_FALSE(view.SetZoom(kZoom200));
    view.scrollX = 70;
    view.savedScrollX = 70;
    EXPECT_TRUE(view.SetZoom(kZoom100));
    EXPECT_EQ(view.scrollX, 70);  // "100 %" keeps the offset
    view.measure.markCount = 4;
    EXPECT_TRUE(view.FillScreen());
    EXPECT_EQ(view.scrollX, 0);
    EXPECT_EQ(view.savedScrollX, 0);
    EXPECT_EQ(view.measure.markCount, 0);
    EXPECT_EQ(doc.images.ChannelImage(0).Rows(), 2000);
    EXPECT_EQ(doc.images.ChannelImage(0).Width(), 1000);
}

// Every command that changes the scale takes the marks and a measurement begun with it: their
// points are image points of the old scale.
TEST_F(SonarViewStateTest, EveryZoomChangeClearsMarksAndAHalfMadeMeasurement) {
    struct Case {
        const char* name;
        int from;
        std::function<bool(SonarViewState&)> command;
    };
    const Case cases[] = {
        {"100 %", kZoomFillScreen, [](SonarViewState& v) { return v.SetZoom(kZoom100); }},
        {"200 %", kZoomFillScreen, [](SonarViewState& v) { return v.SetZoom(kZoom200); }},
        {"200 % from 100 %", kZoom100, [](SonarViewState& v) { return v.SetZoom(kZoom200); }},
        {"100 % from 200 %", kZoom200, [](SonarViewState& v) { return v.SetZoom(kZoom100); }},
        {"Fill the Screen", kZoom200, [](SonarViewState& v) { return v.FillScreen(); }},
        {"zoom cycle", kZoom100,
         [](SonarViewState& v) {
             v.ZoomCycle();
             return true;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        view.SetZoom(c.from);
        view.measure.markCount = 3;
        view.measure.distanceMode = 1;
        view.measure.distanceFirstPointSet = 1;
        ASSERT_TRUE(view.measure.HalfMade());
        ASSERT_TRUE(c.command(view));
        EXPECT_EQ(view.measure.markCount, 0);
        EXPECT_FALSE(view.measure.HalfMade());
    }
    // A command for the zoom already chosen changes nothing, so it keeps the marks.
    view.measure.markCount = 2;
    EXPECT_FALSE(view.SetZoom(view.zoomMode));
    EXPECT_EQ(view.measure.markCount, 2);
}

TEST_F(SonarViewStateTest, RestoreReturnsToTheCornerAndClearsTheMarks) {
    view.SetZoom(kZoom100);
    view.LeftButtonDown(100, 100);
    view.MouseMove(10, 20);
    view.LeftButtonUp();
    view.measure.markCount = 2;
    view.RestoreImage();
    EXPECT_EQ(view.scrollX, 0);
    EXPECT_EQ(view.scrollY, 0);
    EXPECT_EQ(view.savedScrollX, 0);
    EXPECT_EQ(view.anchorX, 0);
    EXPECT_EQ(view.measure.markCount, 0);
}
