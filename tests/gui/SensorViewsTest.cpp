// The echo-sounder, orientation history and orientation windows rendered offscreen, and the
// "Orientation Filters" dialog. With SONVARA_SCREENSHOT_DIR set, the windows fed by the
// simulated towfish are also written there as PNG files.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "SimScene.h"
#include "ViewTestSupport.h"
#include "app/ui/CMainFrame.h"
#include "app/ui/StatusBarWidget.h"
#include "document/CVantrelDoc.h"
#include "shell/CommandIds.h"
#include "support/FakePlatform.h"
#include "ui/sensors/CEchoSounder.h"
#include "ui/sensors/CHistView.h"
#include "ui/sensors/COrientFilterDlg.h"
#include "ui/sensors/COrientationView.h"
#include "ui/sensors/SensorWindows.h"

namespace {

class SensorViewsTest : public ::testing::Test {
protected:
    SensorViewsTest() : doc(platform) {
        doc.orientationPresent = 1;
        doc.esRange = 50;
    }
    // One accepted cycle of the simulated towfish.
    void SimulatedCycle(std::uint32_t ping) {
        sim::SceneRequest request;
        request.rangeM = doc.esRange;
        scene.EchoSounder(ping, request, doc.heads[kHeadES].line.data());
        scene.OrientationBlock(ping, doc.heads[kHeadES].line.data() + 1000);
        ASSERT_TRUE(doc.ValidateCycle());
        doc.StoreCycle();
    }
    QColor TableColour(int index) const {
        const Rgb& c = doc.CurrentColourTable()[static_cast<std::size_t>(index)];
        return QColor(c[0], c[1], c[2]);
    }
    static void Save(QWidget& widget, const char* name) {
        const QByteArray dir = qgetenv("SONVARA_SCREENSHOT_DIR");
        if (dir.isEmpty()) return;
        ASSERT_TRUE(Grab(widget).save(QString::fromUtf8(dir) + QLatin1Char('/') +
                                      QString::fromLatin1(name)));
    }

    FakePlatform platform;
    CVantrelDoc doc;
    sim::Scene scene{1};
};

TEST_F(SensorViewsTest, EchoSounderShowsTheEchogramScaleAndAltitude) {
    CEchoSounder view(doc);
    view.resize(260, 460);
    view.show();
    for (std::uint32_t p = 1; p <= 260; ++p) SimulatedCycle(p);
    const QImage shot = Grab(view);
    // The newest column through the colour table.
    const int x = doc.echoSounder.Width() - 31;
    for (int y : {40, 150, 300}) {
        EXPECT_EQ(Pixel(shot, x, y), TableColour(doc.echoSounder.At(x, y))) << y;
    }
    // The read-outs: range and gain at the top left, the altitude at the bottom.
    EXPECT_TRUE(BoundsWhere(shot, QRect(2, 0, 120, 22), [](QColor c) {
                    return c.red() > 150 && c.green() > 150 && c.blue() < 60;
                }).isValid());
    EXPECT_TRUE(BoundsWhere(shot, QRect(2, 460 - 26, 150, 22), [](QColor c) {
                    return c.red() > 150 && c.green() > 150 && c.blue() < 60;
                }).isValid());
    EXPECT_NEAR(doc.orientation.altitudeShown, scene.AltitudeM(259), 0.3);
    // Scale labels right of the frame line.
    EXPECT_TRUE(BoundsWhere(shot, QRect(232, 20, 28, 60), IsYellowOnBlack).isValid());
    Save(view, "echo-sounder-view.png");
}

TEST_F(SensorViewsTest, EchoSounderShowsEveryColumnWhereverTheRingStarts) {
    // 230 scrolling columns: after 300 pings the stored columns start 70 in, after 460 at 0.
    CEchoSounder view(doc);
    view.resize(260, 200);
    view.show();
    doc.display.showEsGrid = 0;
    std::uint32_t ping = 1;
    for (int pings : {300, 160}) {
        for (int p = 0; p < pings; ++p) SimulatedCycle(ping++);
        SCOPED_TRACE(ping);
        const QImage shot = Grab(view);
        const EchoSounderImage& image = doc.echoSounder;
        const int frameX = image.Width() - kEsScaleWidth;
        // Inside the frame, between its top line and its bottom line.
        for (int y = kEsMargin + 1; y < image.Height() - 32; ++y) {
            for (int x = 0; x < frameX; ++x) {
                ASSERT_EQ(Pixel(shot, x, y), TableColour(image.At(x, y))) << x << "," << y;
            }
        }
    }
}

TEST_F(SensorViewsTest, EchoSounderGridFollowsTheSetting) {
    CEchoSounder view(doc);
    view.resize(200, 362);  // u = 300, lines every 60 rows
    view.show();
    const QColor line(120, 30, 0);
    doc.display.showEsGrid = 1;
    QImage shot = Grab(view);
    EXPECT_EQ(Pixel(shot, 50, 30), line);
    EXPECT_EQ(Pixel(shot, 50, 90), line);
    EXPECT_EQ(Pixel(shot, 50, 364 - 32), line);  // the frame's bottom line (height 364)
    doc.display.showEsGrid = 0;
    shot = Grab(view);
    EXPECT_EQ(Pixel(shot, 50, 30), line);
    EXPECT_NE(Pixel(shot, 50, 90), line);
    EXPECT_EQ(Pixel(shot, 200 - 30, 90), line);  // the frame stays
}

TEST_F(SensorViewsTest, SmallWindowsDrawOnlyBlack) {
    CEchoSounder echo(doc);
    CHistView hist(doc);
    for (QSize size : {QSize(20, 20), QSize(300, 50), QSize(25, 400)}) {
        echo.resize(size);
        hist.resize(size.width(), 20);
        SimulatedCycle(1);
        const QImage a = Grab(echo);
        const QImage b = Grab(hist);
        EXPECT_FALSE(BoundsWhere(a, a.rect(), [](QColor c) { return c != Qt::black; }).isValid());
        EXPECT_FALSE(BoundsWhere(b, b.rect(), [](QColor c) { return c != Qt::black; }).isValid());
    }
}

TEST_F(SensorViewsTest, HistoryViewPlotsTheTracesThroughThePalette) {
    CHistView view(doc);
    view.resize(400, 520);
    view.show();
    for (std::uint32_t p = 1; p <= 300; ++p) SimulatedCycle(p);
    const QImage shot = Grab(view);
    const int x = doc.historyChart.PlotColumn() - 1;  // the column left of the grid line
    const auto rows = TraceRows(520, doc.orientation.readings);
    // Depth and temperature take the table's colours; the heading is pure red.
    const int column = doc.historyChart.PlotColumn();
    EXPECT_EQ(Pixel(shot, column - 3, rows[kHeadingTrace]).rgb() & 0xFFFFFF, 0xFF0000u)
        << rows[kHeadingTrace];
    EXPECT_EQ(doc.historyChart.At(column, rows[kDepthTrace]), 240);
    EXPECT_EQ(Pixel(shot, x - 1, 10 + 100 / 2), QColor(0, 0, 0));
    EXPECT_TRUE(BoundsWhere(shot, QRect(column + 8, 50, 20, 25), IsYellowOnBlack).isValid());
    Save(view, "orientation-history-view.png");
}

TEST_F(SensorViewsTest, OrientationViewDrawsDragsAndHolds) {
    for (std::uint32_t p = 1; p <= 40; ++p) SimulatedCycle(p);
    QMdiArea area;
    area.resize(900, 500);
    auto* view = new COrientationView(doc);
    QMdiSubWindow* sub = area.addSubWindow(view);
    sub->resize(640, 320);
    area.show();
    sub->show();
    EXPECT_TRUE(view->RepaintTimer().isActive());
    EXPECT_EQ(view->RepaintTimer().interval(), 500);
    const QImage shot = Grab(*view);
    EXPECT_TRUE(
        BoundsWhere(shot, shot.rect(), [](QColor c) { return c == QColor(255, 100, 0); }).isValid())
        << "the temperature bar";
    Save(*view, "orientation-view.png");

    // Dragging moves the window by the pointer's way and stores its place.
    const QPoint before = sub->pos();
    QTest::mousePress(view, Qt::LeftButton, {}, QPoint(100, 100));
    QMouseEvent move(QEvent::MouseMove, QPointF(130, 120), view->mapToGlobal(QPointF(130, 120)),
                     Qt::NoButton, Qt::LeftButton, {});
    QApplication::sendEvent(view, &move);
    // The window has moved with the pointer: it is back over the point pressed.
    QTest::mouseRelease(view, Qt::LeftButton, {}, QPoint(100, 100));
    EXPECT_EQ(sub->pos(), before + QPoint(30, 20));
    EXPECT_NE(doc.orientation.windowRect[2], 0);
    // 'H' holds the display.
    EXPECT_EQ(doc.images.held, 0);
    QTest::keyClick(view, Qt::Key_H);
    EXPECT_EQ(doc.images.held, 1);
    QTest::keyClick(view, Qt::Key_H, Qt::ShiftModifier);
    EXPECT_EQ(doc.images.held, 0);
}

TEST_F(SensorViewsTest, FilterDialogShowsAndStoresTheSwitches) {
    doc.orientation.filterEnabled[kRollFilter] = 1;
    {
        COrientFilterDlg dialog(doc);
        EXPECT_EQ(dialog.windowTitle(), "Orientation Filters");
        EXPECT_FALSE(dialog.Box(kPitchFilter)->isChecked());
        EXPECT_TRUE(dialog.Box(kRollFilter)->isChecked());
        EXPECT_EQ(dialog.Box(kTemperatureFilter)->text(), "Temp");
        QTimer::singleShot(0, &dialog, [&] {
            EXPECT_EQ(dialog.pos(), QPoint(500, 500));
            dialog.Box(kPitchFilter)->setChecked(true);
            dialog.Box(kAltitudeFilter)->setChecked(true);
            dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->click();
        });
        EXPECT_EQ(dialog.exec(), QDialog::Rejected);
    }
    EXPECT_EQ(doc.orientation.filterEnabled[kPitchFilter], 0);  // "Cancel" changes nothing
    COrientFilterDlg dialog(doc);
    QTimer::singleShot(0, &dialog, [&] {
        dialog.Box(kPitchFilter)->setChecked(true);
        dialog.Box(kRollFilter)->setChecked(false);
        dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    });
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
    EXPECT_EQ(doc.orientation.filterEnabled[kPitchFilter], 1);
    EXPECT_EQ(doc.orientation.filterEnabled[kRollFilter], 0);
    EXPECT_EQ(doc.orientation.filterEnabled[kAltitudeFilter], 0);
}

TEST_F(SensorViewsTest, WindowCommandsToggleTheWindowsWithTheirCheckMarks) {
    CMainFrame frame(doc);
    // The windows are children of the main window: they are on screen (and sized) with it.
    frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    const int all[4] = {1, 1, 1, 1};
    doc.ConfigureHeads(all);
    frame.ApplyConfiguration();
    SensorWindows& windows = frame.Sensors();
    // The echo sounder's window is part of the layout.
    ASSERT_TRUE(windows.Exists(SensorWindows::kEchoSounder));
    EXPECT_EQ(windows.Sub(SensorWindows::kEchoSounder)->windowTitle(),
              "Sonvara_RGB -- Echo Sounder");
    EXPECT_TRUE(frame.Router().State(kCmdWindowES).checked);
    EXPECT_TRUE(frame.Router().Execute(kCmdWindowES));
    EXPECT_FALSE(frame.Router().State(kCmdWindowES).checked);
    EXPECT_TRUE(windows.Exists(SensorWindows::kEchoSounder));  // hidden, still taking columns
    EXPECT_TRUE(doc.echoSounder.IsOpen());
    EXPECT_TRUE(frame.Router().Execute(kCmdWindowES));
    EXPECT_TRUE(frame.Router().State(kCmdWindowES).checked);
    for (int id : {kCmdWindowOrientation, kCmdWindowHistory}) {
        EXPECT_FALSE(frame.Router().State(id).checked) << id;
        EXPECT_TRUE(frame.Router().Execute(id));
        EXPECT_TRUE(frame.Router().State(id).checked) << id;
        EXPECT_TRUE(frame.Router().Execute(id));
        EXPECT_FALSE(frame.Router().State(id).checked) << id;
    }
    EXPECT_EQ(windows.Sub(SensorWindows::kOrientation)->windowTitle(), "Sonvara_RGB - Orientation");
    EXPECT_TRUE(doc.historyChart.IsOpen());
    // Closing a window ends its updates.
    windows.Sub(SensorWindows::kHistory)->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(doc.historyChart.IsOpen());
    // The status panes follow the orientation of each cycle.
    SimulatedCycle(7);
    const QString pitch = QString::asprintf("%.1f", doc.orientation.readings.pitchDeg);
    const QString depth = QString::asprintf("%.1f m", doc.orientation.readings.depthM);
    EXPECT_TRUE(QTest::qWaitFor([&] { return frame.SecondStatus()->PaneText(5) == pitch; }, 5000))
        << frame.SecondStatus()->PaneText(5).toStdString();
    EXPECT_EQ(frame.FirstStatus()->PaneText(11), depth);
    // Without an echo sounder its command is disabled.
    doc.heads[kHeadES].available = 0;
    EXPECT_FALSE(frame.Router().State(kCmdWindowES).enabled);
}

TEST_F(SensorViewsTest, SensorWindowsAreChildWindowsOfTheMainWindowsArea) {
    CMainFrame frame(doc);
    frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    const int all[4] = {1, 1, 1, 1};
    doc.ConfigureHeads(all);
    frame.ApplyConfiguration();
    SensorWindows& windows = frame.Sensors();
    EXPECT_TRUE(frame.Router().Execute(kCmdWindowOrientation));
    EXPECT_TRUE(frame.Router().Execute(kCmdWindowHistory));
    for (auto w : {SensorWindows::kEchoSounder, SensorWindows::kOrientation,
                   SensorWindows::kHistory}) {
        QMdiSubWindow* sub = windows.Sub(w);
        ASSERT_NE(sub, nullptr) << w;
        EXPECT_EQ(sub->mdiArea(), frame.Mdi()) << w;
        EXPECT_FALSE(sub->isWindow()) << w;
        EXPECT_TRUE(frame.Mdi()->subWindowList().contains(sub)) << w;
    }
    EXPECT_EQ(frame.Mdi()->activeSubWindow(), windows.Sub(SensorWindows::kHistory))
        << "a window shown by its command comes to the top";
    // The echo sounder sits at its stored rectangle and gives it back.
    EXPECT_EQ(windows.Sub(SensorWindows::kEchoSounder)->objectName(), "ES Frame");
    const WindowRect stored = doc.display.layout.rects[kESFrame];
    WindowRect taken;
    ASSERT_TRUE(frame.TakeWindowRect(kESFrame, taken));
    EXPECT_NEAR(taken.left, stored.left, 3);
    EXPECT_NEAR(taken.top, stored.top, 3);
    EXPECT_NEAR(taken.right, stored.right, 3);
    EXPECT_NEAR(taken.bottom, stored.bottom, 3);
    // A hidden echo sounder stays hidden when another window closes and when a layout moves
    // it; its command shows it again.
    EXPECT_TRUE(frame.Router().Execute(kCmdWindowES));
    windows.Sub(SensorWindows::kHistory)->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    EXPECT_FALSE(windows.Exists(SensorWindows::kHistory));
    EXPECT_FALSE(windows.Visible(SensorWindows::kEchoSounder));
    frame.ApplyWindowLayout(true);  // what a layout command ends in
    EXPECT_FALSE(windows.Visible(SensorWindows::kEchoSounder));
    EXPECT_TRUE(frame.Router().Execute(kCmdWindowES));
    EXPECT_TRUE(windows.Visible(SensorWindows::kEchoSounder));
    EXPECT_TRUE(windows.Sub(SensorWindows::kEchoSounder)->isVisible());
}

TEST_F(SensorViewsTest, FilterDialogPausesPlaybackAndResumesIt100MsAfter) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string path = dir.filePath("p.svx").toStdString();
    ASSERT_TRUE(doc.StartRecordingTo(path));
    doc.noDataFlag = 0;
    for (std::uint32_t p = 1; p <= 3; ++p) SimulatedCycle(p);
    doc.StopRecording();
    ASSERT_TRUE(doc.OpenPlaybackFile(path));
    platform.FireTimer(1010);
    ASSERT_TRUE(platform.TimerRunning(1030));
    CMainFrame frame(doc);
    bool pausedWhileOpen = false;
    QTimer::singleShot(0, &frame, [&] {
        pausedWhileOpen = !platform.TimerRunning(1030);
        auto* dialog = qobject_cast<COrientFilterDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->reject();
    });
    EXPECT_TRUE(frame.Router().Execute(kCmdOrientationFilters));
    EXPECT_TRUE(pausedWhileOpen);
    EXPECT_TRUE(platform.TimerRunning(1010));
    EXPECT_EQ(platform.TimerPeriod(1010), 100);
}

}  // namespace
