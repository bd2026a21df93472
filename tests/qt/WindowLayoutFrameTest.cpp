// The stored windows of the main frame: the layouts, the create-missing flag, titles and the
// "&Sonar" window commands.

#include <gtest/gtest.h>

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>

#include "app/ui/CMainFrame.h"
#include "app/ui/MenuBuilder.h"
#include "app/ui/SonarWindows.h"
#include "document/CVantrelDoc.h"
#include "shell/CommandIds.h"
#include "support/DocumentBuilder.h"
#include "support/FakePlatform.h"
#include "ui/imaging/CSecondView.h"

namespace {

class WindowLayoutFrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        frame.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
        DocumentBuilder(doc).LayoutMetrics(frame.MeasureLayout());
        WindowLayout layout = doc.display.layout;
        ComputeDefaultLayout(layout);
        DocumentBuilder(doc).WindowLayout(layout);
    }
    void Configure(const int (&present)[4]) {
        DocumentBuilder(doc).HeadsPresent({present[0], present[1], present[2], present[3]});
        frame.ApplyConfiguration();
    }
    QMdiSubWindow* Sub(int window) {
        return frame.Mdi()->findChild<QMdiSubWindow*>(LayoutWindowName(window));
    }
    // The rectangle a window has now, as the layout stores it.
    WindowRect Taken(int window) {
        WindowRect rect;
        EXPECT_TRUE(frame.TakeWindowRect(window, rect)) << LayoutWindowName(window);
        return rect;
    }
    void ExpectAt(int window, const WindowRect& expected) {
        const WindowRect r = Taken(window);
        EXPECT_NEAR(r.left, expected.left, 2) << LayoutWindowName(window);
        EXPECT_NEAR(r.top, expected.top, 2) << LayoutWindowName(window);
        EXPECT_NEAR(r.right, expected.right, 2) << LayoutWindowName(window);
        EXPECT_NEAR(r.bottom, expected.bottom, 2) << LayoutWindowName(window);
    }
    void CloseNow(int window) {
        Sub(window)->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
    QAction* Action(int id) { return frame.Menus().Action(id); }

    FakePlatform platform;
    CVantrelDoc doc{platform};
    CMainFrame frame{doc};
    const int all[4] = {1, 1, 1, 1};
};

TEST_F(WindowLayoutFrameTest, DefaultLayoutPlacesEveryWindowAtItsRectangle) {
    Configure(all);
    Action(kCmdDefaultLayout)->trigger();
    for (int w : {kLFrame, kMFrame, kHFrame, kESFrame}) {
        ExpectAt(w, doc.display.layout.rects[w]);
    }
    // The windows tile the area: L above M above H, the echo sounder to their right.
    EXPECT_NEAR(Taken(kLFrame).bottom, Taken(kMFrame).top, 2);
    EXPECT_NEAR(Taken(kMFrame).bottom, Taken(kHFrame).top, 2);
    EXPECT_NEAR(Taken(kESFrame).left, Taken(kHFrame).right, 2);
}

TEST_F(WindowLayoutFrameTest, VerticalScrollGivesTheStripsInAThreeFrequencySystem) {
    Configure(all);
    Action(kCmdVerticalScroll)->trigger();
    const int left = Taken(kLFrame).left;
    EXPECT_NEAR(Taken(kMFrame).left - left, Taken(kHFrame).left - Taken(kMFrame).left, 2);
    for (int w : {kLFrame, kMFrame, kHFrame}) ExpectAt(w, doc.display.layout.rects[w]);
}

TEST_F(WindowLayoutFrameTest, VerticalScrollInATwoFrequencySystemLeavesTheChannelWindows) {
    const int two[4] = {0, 1, 1, 1};
    Configure(two);
    const QRect l = Sub(kLFrame)->geometry();
    const QRect m = Sub(kMFrame)->geometry();
    const WindowRect storedL = doc.display.layout.rects[kLFrame];
    Action(kCmdVerticalScroll)->trigger();
    EXPECT_EQ(Sub(kLFrame)->geometry(), l);
    EXPECT_EQ(Sub(kMFrame)->geometry(), m);
    EXPECT_EQ(doc.display.layout.rects[kLFrame], storedL);
    // The echo sounder starts at the 540 kHz rectangle's right edge.
    EXPECT_NEAR(Taken(kESFrame).left, doc.display.layout.rects[kHFrame].right, 2);
}

TEST_F(WindowLayoutFrameTest, AShowFlagOfZeroCreatesNothingButMovesAnExistingWindow) {
    Configure(all);
    CloseNow(kHFrame);
    WindowLayout layout = doc.display.layout;
    layout.show[kHFrame] = 0;
    layout.show[kMFrame] = 0;
    layout.rects[kMFrame] = layout.rects[kLFrame];
    DocumentBuilder(doc).WindowLayout(layout);
    frame.ApplyWindowLayout(true);
    EXPECT_EQ(Sub(kHFrame), nullptr);
    ASSERT_NE(Sub(kMFrame), nullptr);
    ExpectAt(kMFrame, doc.display.layout.rects[kLFrame]);
}

TEST_F(WindowLayoutFrameTest, OnlyTheCreateMissingFlagRecreatesAClosedWindow) {
    const int two[4] = {0, 1, 1, 0};
    Configure(two);
    CloseNow(kMFrame);
    // Moving the windows (a window command, a closed view) brings no closed one back.
    frame.ApplyWindowLayout(false);
    EXPECT_EQ(Sub(kMFrame), nullptr);
    frame.ApplyWindowLayout(true);
    EXPECT_NE(Sub(kMFrame), nullptr);
}

TEST_F(WindowLayoutFrameTest, StoredRectanglesAreBroughtInsideTheArea) {
    Configure(all);
    WindowLayout layout = doc.display.layout;
    layout.rects[kLFrame] = {4000, 3000, 4600, 3400};
    layout.rects[kHFrame] = {-900, 150, -300, 200};
    DocumentBuilder(doc).WindowLayout(layout);
    frame.ApplyWindowLayout(false);
    const QRect area(QPoint(0, 0), frame.Mdi()->viewport()->size());
    for (int w : {kLFrame, kHFrame}) {
        const QRect g = Sub(w)->geometry();
        EXPECT_TRUE(area.contains(g)) << LayoutWindowName(w);
        EXPECT_GE(g.height(), WindowMinimumSize(w).height);
    }
}

TEST_F(WindowLayoutFrameTest, WindowCommandsTitlesAndChecks) {
    Configure(all);
    CloseNow(kMFrame);
    frame.RefreshCommands();
    EXPECT_FALSE(Action(kCmdWindowM)->isChecked());
    EXPECT_TRUE(Action(kCmdWindowM)->isEnabled());
    Action(kCmdWindowM)->trigger();
    ASSERT_NE(Sub(kMFrame), nullptr);
    // The layout that follows the command titles it and gives it its whole rectangle.
    EXPECT_EQ(Sub(kMFrame)->windowTitle(), "Sonvara_RGB -- 260 kHz");
    ExpectAt(kMFrame, doc.display.layout.rects[kMFrame]);
    frame.RefreshCommands();
    EXPECT_TRUE(Action(kCmdWindowM)->isChecked());
    EXPECT_TRUE(Action(kCmdWindowES)->isEnabled());
    // Without an echo sounder its command is disabled.
    DocumentBuilder(doc).Heads({kHeadL, kHeadM, kHeadH});
    frame.RefreshCommands();
    EXPECT_FALSE(Action(kCmdWindowES)->isEnabled());
}

TEST_F(WindowLayoutFrameTest, TwoFrequencyWindowsAreTitledWithTheFrequencyTheyShow) {
    struct Case {
        int present[4];
        int shownInL, shownInM;  // the heads whose images the two frames show
    };
    const Case cases[] = {
        {{1, 1, 0, 1}, kHeadL, kHeadM},
        {{0, 1, 1, 1}, kHeadM, kHeadH},
        {{1, 0, 1, 0}, kHeadL, kHeadH},
    };
    const char* kilohertz[3] = {"120 kHz", "260 kHz", "540 kHz"};
    // The frequencies the settings file gives the heads.
    for (int h = 0; h < 3; ++h) DocumentBuilder(doc).Frequency(h, std::stoi(kilohertz[h]) * 1000);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(kilohertz[c.shownInL]) + " and " + kilohertz[c.shownInM]);
        for (int w : {kLFrame, kMFrame}) {
            if (Sub(w)) CloseNow(w);
        }
        Configure(c.present);
        for (const auto& [window, head] : {std::pair{kLFrame, c.shownInL}, {kMFrame, c.shownInM}}) {
            ASSERT_NE(Sub(window), nullptr);
            auto* view = qobject_cast<CSecondView*>(Sub(window)->widget());
            ASSERT_NE(view, nullptr);
            EXPECT_EQ(view->State().Slot(), head);
            EXPECT_EQ(Sub(window)->windowTitle().toStdString(),
                      std::string("Sonvara_RGB -- ") + kilohertz[head]);
            // Opened again from its command, before and after the layout that follows it.
            CloseNow(window);
            frame.Commands().Execute(window == kLFrame ? kCmdWindowL : kCmdWindowM);
            ASSERT_NE(Sub(window), nullptr);
            EXPECT_EQ(Sub(window)->windowTitle().toStdString(),
                      std::string("Sonvara_RGB - ") + kilohertz[head]);
            frame.ApplyWindowLayout(true);
            EXPECT_EQ(Sub(window)->windowTitle().toStdString(),
                      std::string("Sonvara_RGB -- ") + kilohertz[head]);
        }
    }
}

TEST_F(WindowLayoutFrameTest, AWindowLeftFromAnEarlierConfigurationIsTitledByItsImage) {
    Configure(all);
    // The installation turns out to have no 120 kHz head: its system information gives it
    // no frequency. The 120 kHz window made before is still there, showing its own image.
    DocumentBuilder(doc).Frequency(kHeadL, 0).Frequency(kHeadM, 260000);
    const int two[4] = {0, 1, 1, 1};
    Configure(two);
    ASSERT_NE(Sub(kLFrame), nullptr);
    EXPECT_EQ(qobject_cast<CSecondView*>(Sub(kLFrame)->widget())->State().Slot(), kHeadL);
    EXPECT_EQ(Sub(kLFrame)->windowTitle().toStdString(), "Sonvara_RGB -- 120 kHz");
}

TEST_F(WindowLayoutFrameTest, ANewSecondChannelWindowStartsAtHalfItsHeight) {
    const int two[4] = {0, 1, 1, 0};
    Configure(two);
    const WindowRect full = Taken(kMFrame);
    CloseNow(kMFrame);
    Action(kCmdWindowM)->trigger();
    const WindowRect half = Taken(kMFrame);
    EXPECT_NEAR(half.top, full.top, 2);
    EXPECT_NEAR(half.bottom - half.top, (full.bottom - full.top) / 2, 3);
}

TEST_F(WindowLayoutFrameTest, TheMainFrameTitleAfterALayout) {
    Configure(all);
    DocumentBuilder(doc).RealTimeActive(true);
    frame.ApplyWindowLayout(false);
    EXPECT_EQ(frame.windowTitle(), "Halvex Sonvara_RGB -- Real Time");
    DocumentBuilder(doc).PlaybackFlag(true);
    DocumentBuilder(doc).WindowTitle("Halvex Sonvara_RGB -- Playback (/data/run.svx)");
    frame.ApplyWindowLayout(false);
    EXPECT_EQ(frame.windowTitle(), "Halvex Sonvara_RGB -- Playback (/data/run.svx)");
    DocumentBuilder(doc).PlaybackFlag(false);
}

TEST_F(WindowLayoutFrameTest, AHiddenEchoSounderIsMovedButStaysHidden) {
    Configure(all);
    frame.Commands().Execute(kCmdWindowES);  // visible: the command hides it
    WindowLayout layout = doc.display.layout;
    const WindowRect stored = layout.rects[kLFrame];
    layout.rects[kESFrame] = stored;
    DocumentBuilder(doc).WindowLayout(layout);
    frame.ApplyWindowLayout(false);
    frame.RefreshCommands();
    EXPECT_FALSE(Action(kCmdWindowES)->isChecked());
    ExpectAt(kESFrame, stored);
    frame.Commands().Execute(kCmdWindowES);
    frame.RefreshCommands();
    EXPECT_TRUE(Action(kCmdWindowES)->isChecked());
}

TEST_F(WindowLayoutFrameTest, AClosedViewPlacesAndTitlesTheOthersAgain) {
    Configure(all);
    Sub(kLFrame)->setWindowTitle("moved by hand");
    Sub(kLFrame)->move(0, 0);
    CloseNow(kHFrame);
    QCoreApplication::processEvents();
    EXPECT_EQ(Sub(kLFrame)->windowTitle(), "Sonvara_RGB -- 120 kHz");
    ExpectAt(kLFrame, doc.display.layout.rects[kLFrame]);
}

}  // namespace
