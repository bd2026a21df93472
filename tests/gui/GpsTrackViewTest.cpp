// The track plotter and the GPS configuration dialog offscreen: the pixels of a known track,
// re-centring, pan, restore, erase, the zoom steps and their label, the context menu, the GPS
// commands of the main window, and what the dialog's fields and buttons do.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include "ViewTestSupport.h"
#include "app/ui/CMainFrame.h"
#include "document/CVantrelDoc.h"
#include "gps/FakeGpsLink.h"
#include "gps/NmeaTestSupport.h"
#include "platform/TimerIds.h"
#include "shell/CommandIds.h"
#include "support/DocumentBuilder.h"
#include "support/FakePlatform.h"
#include "ui/gps/CGPSConfigDlg.h"
#include "ui/gps/CGPSTrackView.h"
#include "ui/gps/GpsWindows.h"

namespace {

bool IsGreen(QColor c) {
    return c.green() > 200 && c.red() < 60 && c.blue() < 60;
}
bool IsWhite(QColor c) {
    return c.red() > 240 && c.green() > 240 && c.blue() > 240;
}
bool IsGrid(QColor c) {
    return c.red() == 120 && c.green() == 120 && c.blue() == 120;
}

class GpsTrackViewTest : public ::testing::Test {
protected:
    GpsTrackViewTest() : doc(platform) {}

    // A track of known segments (metres; y grows south) ending at the last point.
    void SetTrack(const std::vector<TrackSegment>& segments) {
        DocumentBuilder(doc).GpsReaderWrites([&](GpsState& gps) {
            gps.track.trackPath = segments;
            gps.track.lastDrawnX = segments.empty() ? 0.0 : segments.back().x1;
            gps.track.lastDrawnY = segments.empty() ? 0.0 : segments.back().y1;
        });
    }
    QImage Shot(CGPSTrackView& view) { return view.Render().convertToFormat(QImage::Format_RGB32); }

    FakePlatform platform;
    CVantrelDoc doc;
};

TEST_F(GpsTrackViewTest, EastIsRightNorthIsUpAndTheShipIsMarked) {
    CGPSTrackView view(doc);
    view.resize(400, 300);
    SetTrack({{0, 0, 60, 0}, {60, 0, 60, -40}});  // east 60 m, then north 40 m
    const QImage shot = Shot(view);
    EXPECT_EQ(view.Origin(), QPointF(200, 150));
    EXPECT_TRUE(IsGreen(Pixel(shot, 230, 150)));  // the eastward leg, right of the origin
    EXPECT_TRUE(IsGreen(Pixel(shot, 260, 128)));  // the northward leg, above it
    EXPECT_TRUE(IsWhite(Pixel(shot, 260, 110)));  // the ship at (60, -40)
    EXPECT_EQ(view.CurrentPixel(), QPointF(260, 110));
    EXPECT_EQ(Pixel(shot, 170, 230), QColor(Qt::black));
    // Dashed grid lines run from the centre outward every 50 pixels.
    for (int x : {50, 100, 150, 350}) {
        EXPECT_TRUE(BoundsWhere(shot, QRect(x, 155, 1, 40), IsGrid).isValid()) << x;
        EXPECT_FALSE(BoundsWhere(shot, QRect(x + 20, 155, 1, 40), IsGrid).isValid()) << x;
    }
    // The scale label at the top left, near white.
    EXPECT_TRUE(BoundsWhere(shot, QRect(0, 0, 120, 26), [](QColor c) {
                    return c.red() > 200 && c.green() > 200 && c.blue() > 200;
                }).isValid());
}

TEST_F(GpsTrackViewTest, TheTrackIsOnePixelWideAtEveryZoom) {
    CGPSTrackView view(doc);
    view.resize(400, 300);
    SetTrack({{-200, 20, 30, 20}});
    for (double zoom : {0.5, 1.0, 2.5}) {
        DocumentBuilder(doc).TrackZoom(zoom);
        const QImage shot = Shot(view);
        const int row = static_cast<int>(view.Origin().y() + 20 * zoom);
        const QRect green = BoundsWhere(shot, QRect(150, row - 6, 100, 13), IsGreen);
        EXPECT_EQ(green.height(), 1) << zoom;
        EXPECT_EQ(green.top(), row) << zoom;
    }
}

TEST_F(GpsTrackViewTest, ScaleLabelFollowsZoomAndUnits) {
    const std::tuple<double, bool, const char*> cases[] = {
        {1.0, false, "50m/DIV"},   {0.05, false, "1000m/DIV"}, {2.5, false, "20m/DIV"},
        {0.25, false, "200m/DIV"}, {1.0, true, "150ft/DIV"},   {0.1, true, "1500ft/DIV"},
    };
    for (const auto& [zoom, imperial, label] : cases) {
        EXPECT_EQ(CGPSTrackView::ScaleLabel(zoom, imperial), QString::fromLatin1(label));
    }
}

TEST_F(GpsTrackViewTest, ImperialGridIsEvery46Pixels) {
    DocumentBuilder(doc).Units(1);
    CGPSTrackView view(doc);
    view.resize(400, 300);
    const QImage shot = Shot(view);
    for (int x : {246, 292, 154}) {
        EXPECT_TRUE(BoundsWhere(shot, QRect(x, 155, 1, 40), IsGrid).isValid()) << x;
    }
    EXPECT_FALSE(BoundsWhere(shot, QRect(250, 155, 1, 40), IsGrid).isValid());
}

TEST_F(GpsTrackViewTest, NearAnEdgeTheViewRecentresOnTheShip) {
    CGPSTrackView view(doc);
    view.resize(400, 300);
    SetTrack({{0, 0, 120, 0}, {120, 0, 195, 0}});  // ends 5 pixels from the right edge
    const QImage shot = Shot(view);
    EXPECT_EQ(view.CurrentPixel(), QPointF(200, 150));
    EXPECT_TRUE(IsWhite(Pixel(shot, 200, 150)));
    EXPECT_TRUE(IsGreen(Pixel(shot, 100, 150)));  // the start is now 195 pixels to the left
    // Far enough from every edge: no re-centring.
    SetTrack({{0, 0, 120, 0}, {120, 0, 185, 0}});
    Shot(view);
    EXPECT_EQ(view.CurrentPixel().x(), view.Origin().x() + 185);
}

TEST_F(GpsTrackViewTest, DraggingPansAndTheTrackFollowsTheCursor) {
    CGPSTrackView view(doc);
    view.resize(400, 300);
    view.show();
    SetTrack({{0, 0, 20, 0}});
    Shot(view);
    QTest::mousePress(&view, Qt::LeftButton, {}, QPoint(100, 100));
    QTest::mouseMove(&view, QPoint(130, 120));
    QTest::mouseRelease(&view, Qt::LeftButton, {}, QPoint(130, 120));
    EXPECT_EQ(view.Pan(), QPoint(-30, -20));
    const QImage shot = Shot(view);
    EXPECT_EQ(view.CurrentPixel(), QPointF(250, 170));
    EXPECT_TRUE(IsWhite(Pixel(shot, 250, 170)));
    // A second drag starts from the saved pan.
    QTest::mousePress(&view, Qt::LeftButton, {}, QPoint(50, 50));
    QTest::mouseMove(&view, QPoint(40, 50));
    QTest::mouseRelease(&view, Qt::LeftButton, {}, QPoint(40, 50));
    EXPECT_EQ(view.Pan(), QPoint(-20, -20));
}

TEST_F(GpsTrackViewTest, RestoreGoesBackToZoomOneCentredOnTheShip) {
    CGPSTrackView view(doc);
    view.resize(400, 300);
    view.show();
    SetTrack({{0, 0, 40, -30}});
    DocumentBuilder(doc).TrackZoom(0.25);
    QTest::mousePress(&view, Qt::LeftButton, {}, QPoint(100, 100));
    QTest::mouseMove(&view, QPoint(60, 90));
    QTest::mouseRelease(&view, Qt::LeftButton, {}, QPoint(60, 90));
    ASSERT_TRUE(view.Commands().Execute(kCmdRestoreImage));
    EXPECT_EQ(doc.gpsConfig.trackZoom, 1.0);
    EXPECT_EQ(view.Pan(), QPoint());
    const QImage shot = Shot(view);
    EXPECT_EQ(view.CurrentPixel(), QPointF(200, 150));
    // Halfway back to the start, 40 m west and 30 m south of the ship.
    EXPECT_TRUE(BoundsWhere(shot, QRect(179, 164, 3, 3), IsGreen).isValid());
}

TEST_F(GpsTrackViewTest, ErasedTrackIsNotDrawnAgain) {
    CGPSTrackView view(doc);
    view.resize(400, 300);
    SetTrack({{0, 0, 60, 0}, {60, 0, 60, -40}});
    EXPECT_TRUE(IsGreen(Pixel(Shot(view), 230, 150)));
    doc.EraseGpsTracks();
    view.ResetOrigin();
    EXPECT_FALSE(BoundsWhere(Shot(view), QRect(0, 0, 400, 300), IsGreen).isValid());
    // A new track of the same length in another place replaces the cached one.
    SetTrack({{0, 0, 0, 60}, {0, 60, -40, 60}});
    const QImage shot = Shot(view);
    EXPECT_TRUE(IsGreen(Pixel(shot, 200, 180)));
    EXPECT_FALSE(IsGreen(Pixel(shot, 230, 150)));
}

class GpsFrameTest : public GpsTrackViewTest {
protected:
    GpsFrameTest() : link(doc.gps) {
        doc.SetGpsReader(&link);
        link.present = {"/dev/ttyS0", "/dev/ttyS1"};
        DocumentBuilder(doc).LayoutMetrics(frame.MeasureLayout());
        ComputeDefaultLayout(doc.display.layout);
    }
    ~GpsFrameTest() override { doc.SetGpsReader(nullptr); }
    CGPSTrackView* View() { return frame.Gps().TrackView(); }
    QAction* MenuAction(QMenu& menu, const char* text) {
        for (QAction* action : menu.actions()) {
            if (action->text() == QLatin1String(text)) return action;
        }
        return nullptr;
    }

    FakeLink link;
    CMainFrame frame{doc};
};

TEST_F(GpsFrameTest, ShowCommandOpensAndClosesThePlotter) {
    frame.show();
    CommandTable& commands = frame.Commands();
    DocumentBuilder(doc).GpsTrackShown(false);
    EXPECT_FALSE(commands.State(kCmdShowGpsTrack).checked);
    ASSERT_TRUE(commands.Execute(kCmdShowGpsTrack));
    ASSERT_NE(View(), nullptr);
    EXPECT_TRUE(commands.State(kCmdShowGpsTrack).checked);
    EXPECT_EQ(doc.gpsConfig.gpsTracking, 1);
    EXPECT_EQ(frame.Gps().TrackWindow()->objectName(), QStringLiteral("GPS Track Window"));
    EXPECT_EQ(frame.Gps().TrackWindow()->windowTitle(),
              QStringLiteral("Sonvara_RGB - Track Plotter"));
    WindowRect rect;
    EXPECT_TRUE(frame.TakeWindowRect(kGpsTrackWindow, rect));
    // Closing clears "GPS Tracking"; the window goes away.
    ASSERT_TRUE(commands.Execute(kCmdShowGpsTrack));
    QTest::qWait(0);
    EXPECT_EQ(doc.gpsConfig.gpsTracking, 0);
    EXPECT_EQ(View(), nullptr);
    EXPECT_FALSE(commands.State(kCmdShowGpsTrack).checked);
    EXPECT_FALSE(frame.TakeWindowRect(kGpsTrackWindow, rect));
}

TEST_F(GpsFrameTest, LayoutCreatesThePlotterWhenTrackingIsOn) {
    frame.show();
    DocumentBuilder(doc).GpsTrackShown(true);
    frame.ApplyWindowLayout(false);
    EXPECT_EQ(View(), nullptr);
    frame.ApplyWindowLayout(true);
    ASSERT_NE(View(), nullptr);
    EXPECT_EQ(frame.Gps().TrackWindow()->windowTitle(),
              QStringLiteral("Sonvara_RGB -- Track Plotter"));
}

TEST_F(GpsFrameTest, ZoomAndEraseCommandsAndTheRestoreOfTheActiveView) {
    frame.show();
    frame.Commands().Execute(kCmdShowGpsTrack);
    ASSERT_NE(View(), nullptr);
    const double steps[] = {2.5, 2.5};
    for (double expected : steps) {
        frame.Commands().Execute(kCmdTrackZoomIn);
        EXPECT_EQ(doc.gpsConfig.trackZoom, expected);
    }
    for (double expected : {1.0, 0.5, 0.25, 0.1, 0.05, 0.05}) {
        frame.Commands().Execute(kCmdTrackZoomOut);
        EXPECT_EQ(doc.gpsConfig.trackZoom, expected);
    }
    // "&Restore image" reaches the plotter while its window is the active one.
    frame.Mdi()->setActiveSubWindow(frame.Gps().TrackWindow());
    ASSERT_TRUE(frame.Router().Execute(kCmdRestoreImage));
    EXPECT_EQ(doc.gpsConfig.trackZoom, 1.0);
    SetTrack({{0, 0, 30, 0}});
    EXPECT_TRUE(frame.Commands().Execute(kCmdEraseGpsTracks));
    EXPECT_TRUE(doc.gps.track.trackPath.empty());
    EXPECT_EQ(View()->Origin(), QPointF(View()->width() / 2.0, View()->height() / 2.0));
}

TEST_F(GpsFrameTest, ContextMenuRunsTheMainWindowsCommands) {
    frame.show();
    frame.Commands().Execute(kCmdShowGpsTrack);
    ASSERT_NE(View(), nullptr);
    QMenu menu;
    View()->FillContextMenu(menu);
    QStringList texts;
    for (QAction* action : menu.actions()) texts << action->text();
    EXPECT_EQ(texts, (QStringList{"GPS Comm Port &Settings", "&Speed Correction", "",
                                  "&Erase GPS Tracks", "Zoom &In", "Zoom &Out"}));
    EXPECT_TRUE(MenuAction(menu, "GPS Comm Port &Settings")->isEnabled());
    MenuAction(menu, "Zoom &In")->trigger();
    EXPECT_EQ(doc.gpsConfig.trackZoom, 2.5);
    SetTrack({{0, 0, 30, 0}});
    MenuAction(menu, "&Erase GPS Tracks")->trigger();
    EXPECT_TRUE(doc.gps.track.trackPath.empty());
    // In playback the port settings are not offered.
    DocumentBuilder(doc).PlaybackFlag(true);
    QMenu playbackMenu;
    View()->FillContextMenu(playbackMenu);
    EXPECT_FALSE(MenuAction(playbackMenu, "GPS Comm Port &Settings")->isEnabled());
    EXPECT_FALSE(frame.Commands().State(kCmdGpsPortSettings).enabled);
    DocumentBuilder(doc).PlaybackFlag(false);
}

TEST_F(GpsFrameTest, DialogShowsTheDocumentsSettings) {
    GpsPortSettings port = doc.gpsConfig;
    port.gpsPort = 2;
    port.gpsBaudRate = 9600;
    port.gpsParity = 2;
    port.gpsStopBits = 2;
    port.gpsDataBits = 7;
    port.gpsSentenceSet = 1;
    port.gpsReadInterval = 700;
    DocumentBuilder(doc).GpsPort(port);
    ASSERT_TRUE(frame.Commands().Execute(kCmdGpsPortSettings));
    CGPSConfigDlg* dialog = frame.Gps().ConfigDialog();
    ASSERT_TRUE(dialog->isVisible());
    EXPECT_FALSE(dialog->isModal());
    EXPECT_EQ(dialog->windowTitle(),
              QStringLiteral("GPS Serial Port Configuration and Diagnostics"));
    EXPECT_EQ(dialog->portList->currentText(), QStringLiteral("/dev/ttyS1"));
    EXPECT_EQ(dialog->baudList->currentText(), QStringLiteral("9,600"));
    EXPECT_EQ(dialog->parityList->currentText(), QStringLiteral("Odd"));
    EXPECT_EQ(dialog->stopBitsList->currentText(), QStringLiteral("2"));
    EXPECT_EQ(dialog->dataBitsList->currentText(), QStringLiteral("7"));
    EXPECT_EQ(dialog->flowList->currentText(), QStringLiteral("None"));
    EXPECT_EQ(dialog->flowList->count(), 1);
    EXPECT_EQ(dialog->sentenceList->currentText(), QStringLiteral("GGA + VTG"));
    EXPECT_EQ(dialog->intervalEdit->text(), QStringLiteral("700"));
    EXPECT_EQ(dialog->intervalSpin->value(), 7);
    EXPECT_FALSE(dialog->applyButton->isEnabled());
    EXPECT_TRUE(doc.gps.configDialogVisible);
    dialog->cancelButton->click();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_FALSE(doc.gps.configDialogVisible);
}

TEST_F(GpsFrameTest, DialogApplyReopensAndOkCloses) {
    doc.ReopenGpsPort(1);
    frame.Commands().Execute(kCmdGpsPortSettings);
    CGPSConfigDlg* dialog = frame.Gps().ConfigDialog();
    link.opened.clear();
    dialog->parityList->setCurrentIndex(1);
    Q_EMIT dialog->parityList->activated(1);  // the user picks "Even"
    EXPECT_TRUE(dialog->applyButton->isEnabled());
    dialog->applyButton->click();
    EXPECT_EQ(doc.gpsConfig.gpsParity, 1);
    ASSERT_EQ(link.opened.size(), 1u);
    EXPECT_EQ(ParityAtListPosition(link.settings.parity), GpsParity::Even);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_FALSE(dialog->applyButton->isEnabled());
    // OK with nothing changed closes without reopening.
    dialog->okButton->click();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(link.opened.size(), 1u);
}

TEST_F(GpsFrameTest, DialogDefaultThenOkAppliesAndStays) {
    GpsPortSettings port = doc.gpsConfig;
    port.gpsBaudRate = 38400;
    DocumentBuilder(doc).GpsPort(port);
    frame.Commands().Execute(kCmdGpsPortSettings);
    CGPSConfigDlg* dialog = frame.Gps().ConfigDialog();
    dialog->defaultButton->click();
    EXPECT_EQ(dialog->baudList->currentText(), QStringLiteral("4,800"));
    EXPECT_EQ(dialog->sentenceList->currentText(), QStringLiteral("RMC"));
    dialog->okButton->click();
    EXPECT_EQ(doc.gpsConfig.gpsBaudRate, 4800);
    EXPECT_EQ(doc.gpsConfig.gpsSentenceSet, 2);
    EXPECT_TRUE(dialog->isVisible());
    dialog->okButton->click();
    EXPECT_FALSE(dialog->isVisible());
}

TEST_F(GpsFrameTest, ListsFollowAReopenThatFellBackToAnotherPort) {
    link.present = {"/dev/ttyS1"};
    frame.Commands().Execute(kCmdGpsPortSettings);
    CGPSConfigDlg* dialog = frame.Gps().ConfigDialog();
    EXPECT_EQ(dialog->portList->currentText(), QStringLiteral("/dev/ttyS0"));
    doc.ReopenGpsPort(1);  // as when acquisition starts; port 1 does not open
    EXPECT_EQ(doc.gpsConfig.gpsPort, 2);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return dialog->portList->currentText() == QStringLiteral("/dev/ttyS1"); }, 5000));
    // A change the user has not applied yet is not overwritten.
    dialog->baudList->setCurrentIndex(1);
    Q_EMIT dialog->baudList->activated(1);
    GpsPortSettings changed = doc.gpsConfig;
    changed.gpsSentenceSet = 3;
    DocumentBuilder(doc).GpsPort(changed);
    dialog->Refresh();
    EXPECT_EQ(dialog->baudList->currentText(), QStringLiteral("9,600"));
    EXPECT_EQ(dialog->sentenceList->currentText(), QStringLiteral("GLL + VTG"));
}

TEST_F(GpsFrameTest, SpinSetsTheIntervalAtOnce) {
    DocumentBuilder(doc).GpsReadInterval(300);
    frame.Commands().Execute(kCmdGpsPortSettings);
    CGPSConfigDlg* dialog = frame.Gps().ConfigDialog();
    dialog->intervalSpin->stepDown();
    EXPECT_EQ(doc.gpsConfig.gpsReadInterval, 200);
    dialog->intervalSpin->stepDown();  // below 2 steps stays at 200 ms
    EXPECT_EQ(doc.gpsConfig.gpsReadInterval, 200);
    EXPECT_EQ(dialog->intervalEdit->text(), QStringLiteral("200"));
    DocumentBuilder(doc).GpsReadInterval(1900);
    dialog->Open();
    dialog->intervalSpin->stepUp();
    dialog->intervalSpin->stepUp();
    EXPECT_EQ(doc.gpsConfig.gpsReadInterval, 2000);
    // A typed interval inside 100..2000 is taken (brought up to the reader's 200 ms).
    dialog->intervalEdit->setText(QStringLiteral("150"));
    Q_EMIT dialog->intervalEdit->editingFinished();
    EXPECT_EQ(doc.gpsConfig.gpsReadInterval, 200);
}

TEST_F(GpsFrameTest, DialogFollowsTheReadsWithQualitySatellitesAndSentences) {
    doc.ReopenGpsPort(1);
    GpsPortSettings port = doc.gpsConfig;
    port.gpsSentenceSet = 1;
    DocumentBuilder(doc).GpsPort(port);
    frame.Commands().Execute(kCmdGpsPortSettings);
    CGPSConfigDlg* dialog = frame.Gps().ConfigDialog();
    link.queued = Nmea("GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,") +
                  Nmea("GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,,") + "$";
    platform.FireTimer(kTimerGpsRead);
    EXPECT_TRUE(link.lastContext.dialogVisible);
    doc.GpsReadDone();
    // The done report schedules the main window's screen-rate refresh.
    EXPECT_TRUE(QTest::qWaitFor([&] { return dialog->satellitesEdit->text() == "8"; }, 5000));
    EXPECT_NE(dialog->qualityEdit->text(), QStringLiteral("n/a"));
    const QStringList& shown = dialog->received->Sentences();
    ASSERT_GE(shown.size(), 2);
    EXPECT_TRUE(shown.join(QLatin1Char('\n')).contains(QStringLiteral("$GPGGA,123519")));
    // The GGA line of the "GGA + VTG" selection is blue, the RMC line black.
    dialog->resize(520, 560);
    const QImage area = Grab(*dialog->received);
    EXPECT_TRUE(BoundsWhere(area, QRect(0, 0, area.width(), 18), [](QColor c) {
                    return c.blue() > 150 && c.red() < 100;
                }).isValid());
    EXPECT_FALSE(BoundsWhere(area, QRect(0, 18, area.width(), 16), [](QColor c) {
                     return c.blue() > 150 && c.red() < 100;
                 }).isValid());
}

}  // namespace
