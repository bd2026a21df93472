#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressBar>
#include <QRadioButton>
#include <QTimer>
#include <QSlider>
#include <QSpinBox>
#include <QStyle>
#include <QStyleOptionSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>

#include "QtTestSupport.h"
#include "app/ui/CMainFrame.h"
#include "app/ui/CVantrelApp.h"
#include "app/ui/ControlBars.h"
#include "app/ui/MenuBuilder.h"
#include "app/ui/SonarWindows.h"
#include "app/ui/StatusBarWidget.h"
#include "document/CVantrelDoc.h"
#include "platform/TimerIds.h"
#include "shell/CommandIds.h"
#include "support/DocumentBuilder.h"
#include "support/FakePlatform.h"
#include "ui/gps/CShipSpeedDlg.h"
#include "ui/imaging/CSecondView.h"

namespace {

// The side-scan windows among the main window's children (the sensor windows live there too).
QList<QMdiSubWindow*> SonarSubWindows(const CMainFrame& frame) {
    QList<QMdiSubWindow*> sonar;
    for (QMdiSubWindow* sub : frame.Mdi()->subWindowList()) {
        if (qobject_cast<CSecondView*>(sub->widget())) sonar << sub;
    }
    return sonar;
}

QStringList MenuTexts(QMenuBar* bar) {
    QStringList texts;
    for (QAction* action : bar->actions()) texts << action->text();
    return texts;
}

class MainFrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        frame.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    }
    QAction* Action(int id) { return frame.Menus().Action(id); }
    FormattedSpin* Spin(const char* bar, int id) {
        auto* spin = frame.findChild<QToolBar*>(bar)->findChild<FormattedSpin*>(
            QStringLiteral("spin%1").arg(id));
        if (!spin) ADD_FAILURE() << "no spin " << id << " in " << bar;
        return spin;
    }

    FakePlatform platform;
    CVantrelDoc doc{platform};
    CMainFrame frame{doc};
};

TEST_F(MainFrameTest, StartupMenuThenTheConfiguredMenu) {
    EXPECT_EQ(MenuTexts(frame.menuBar()),
              (QStringList{"&File", "&View", "Co&mmunication", "&GPS Options", "S&urvey",
                           "&Measure", "&Events", "&Help"}));
    EXPECT_EQ(Action(kCmdConnectToSonarHead)->shortcut(), QKeySequence("Ctrl+N"));
    frame.ApplyConfiguration();
    EXPECT_EQ(MenuTexts(frame.menuBar()), (QStringList{"&File", "&View", "&Help"}));
    EXPECT_TRUE(frame.ConfiguredMenuShown());
}

// A change of the display layout (here: the images dropped, as a new configuration would
// leave them) has every sonar view size its image for its window again.
TEST_F(MainFrameTest, ALayoutChangeSizesTheImagesAgain) {
    const int all[4] = {1, 1, 1, 1};
    doc.ConfigureHeads(all);
    frame.ApplyConfiguration();
    ASSERT_TRUE(doc.images.CompositeExists());
    const int width = doc.images.CompositeImage().Width();
    doc.images.ReleaseComposite();
    frame.LayoutChanged();
    ASSERT_TRUE(doc.images.CompositeExists());
    EXPECT_EQ(doc.images.CompositeImage().Width(), width);
}

TEST_F(MainFrameTest, CommandStatesInRealTimeAndInPlayback) {
    struct Case {
        int id;
        bool realTime, playback;
    };
    const Case cases[] = {{kCmdIncreaseRange, true, false}, {kCmdDecreaseGain, true, false},
                          {kCmdReconnect, true, false},     {kCmdConnectToSonarHead, true, true},
                          {kCmdSyncWithGpsTime, true, false}, {kCmdMetric, true, true},
                          {kCmdHold, true, true},           {kCmdMeasureRange, false, false}};
    for (int playback : {0, 1}) {
        DocumentBuilder(doc).PlaybackFlag(playback);
        frame.RefreshCommands();
        for (const Case& c : cases) {
            EXPECT_EQ(Action(c.id)->isEnabled(), playback ? c.playback : c.realTime)
                << c.id << (playback ? " in playback" : " in real time");
        }
    }
}

TEST_F(MainFrameTest, UnitsAreCheckedAndChangeTheTexts) {
    DocumentBuilder(doc).Units(0).Range(50);
    frame.RefreshCommands();
    EXPECT_TRUE(Action(kCmdMetric)->isChecked());
    EXPECT_EQ(Spin("bar164", 1072)->text().toStdString(), "50 m");
    Action(kCmdImperial)->trigger();
    EXPECT_EQ(doc.units, 1);
    EXPECT_TRUE(Action(kCmdImperial)->isChecked());
    EXPECT_FALSE(Action(kCmdMetric)->isChecked());
    EXPECT_EQ(Spin("bar164", 1072)->text().toStdString(), "150 ft");
}

TEST_F(MainFrameTest, StatusBarTextsForAKnownState) {
    const int all[4] = {1, 1, 1, 1};
    doc.ConfigureHeads(all);
    DocumentBuilder(doc).Gains({10, 11, 12, 13});
    frame.Status().temperatureC = 12.5;
    frame.Status().depthM = 2.0;
    frame.UpdateStatusBars();
    EXPECT_EQ(frame.FirstStatus()->PaneText(5).toStdString(), "10 11 12 13");
    EXPECT_EQ(frame.FirstStatus()->PaneText(8).toStdString(), "12.5 C");
    EXPECT_EQ(frame.FirstStatus()->PaneText(11).toStdString(), "2.0 m");
    Action(kCmdImperial)->trigger();
    frame.UpdateStatusBars();
    EXPECT_EQ(frame.FirstStatus()->PaneText(8).toStdString(), "54.5 F");
    EXPECT_EQ(frame.FirstStatus()->PaneText(11).toStdString(), "6.6 ft");
}

TEST_F(MainFrameTest, HeadLinksAndReconnectsShowInTheStatusBars) {
    EXPECT_EQ(frame.LinkPane()->text().toStdString(), "") << "idle";
    EXPECT_EQ(frame.ReconnectPane()->text().toStdString(), "");
    platform.connectAddress = "127.0.0.2";
    doc.ConnectToSonarHead();
    EXPECT_EQ(frame.LinkPane()->text().toStdString(), "connecting: L");
    EXPECT_EQ(frame.ReconnectPane()->text().toStdString(), "0");
    platform.Socket(0).CompleteConnect(10061);
    EXPECT_EQ(frame.LinkPane()->text().toStdString(), "silent: L");
    // "Reconnect" starts afresh, and says so: the head is connecting and the count goes up.
    frame.RefreshCommands();
    Action(kCmdReconnect)->trigger();
    EXPECT_EQ(frame.LinkPane()->text().toStdString(), "connecting: L");
    EXPECT_EQ(frame.ReconnectPane()->text().toStdString(), "1");
    platform.FireTimer(kTimerReply);
    EXPECT_EQ(frame.LinkPane()->text().toStdString(), "silent: L") << "never connected";
    EXPECT_EQ(frame.ReconnectPane()->text().toStdString(), "2");
}

TEST_F(MainFrameTest, StatusBarsFitA1280PixelWindowWithThePanesAfterThe23) {
    const int all[4] = {1, 1, 1, 1};
    doc.ConfigureHeads(all);
    DocumentBuilder(doc).AltitudeShown(123.4);
    frame.UpdateStatusBars();
    EXPECT_EQ(frame.AltitudePane()->text().toStdString(), "Altitude: 123.4 m");
    for (StatusBarWidget* bar : {frame.FirstStatus(), frame.SecondStatus()}) {
        EXPECT_LE(bar->minimumSizeHint().width(), 1280)
            << bar->objectName().toStdString() << " " << bar->minimumSizeHint().width();
    }
    EXPECT_LE(frame.minimumSizeHint().width(), 1280);
    // After the 23 panes: the reconnections' caption, their count, then the altitude.
    frame.resize(1280, 860);
    QCoreApplication::processEvents();
    QLabel* caption = nullptr;
    for (QLabel* label : frame.FirstStatus()->findChildren<QLabel*>()) {
        if (label->text() == "Reconnects:") caption = label;
    }
    ASSERT_NE(caption, nullptr);
    EXPECT_LT(caption->x(), frame.ReconnectPane()->x());
    EXPECT_LT(frame.ReconnectPane()->x(), frame.AltitudePane()->x());
    EXPECT_LE(frame.AltitudePane()->geometry().right(), frame.FirstStatus()->width());
    // The longest text: the deepest echo-sounder range, 300 m, in feet.
    const QFontMetrics metrics(frame.AltitudePane()->font());
    EXPECT_LE(metrics.horizontalAdvance("Altitude: 984.3 ft") + 4, frame.AltitudePane()->width());
}

// The link pane's longest texts (a head left out) do not widen the bar beyond a 1280-pixel
// window; they are cut with an ellipsis there, kept whole in the pane's text and tool tip, and
// shown whole in a wider window.
TEST_F(MainFrameTest, ALongLinkTextKeepsTheWindowWidthAndGrowsWithIt) {
    platform.connectAddress = "127.0.0.2";
    doc.ConnectToSonarHead();
    DocumentBuilder(doc).Links({LinkState::Silent, LinkState::Answering, LinkState::Answering,
                                LinkState::Answering},
                               kHeadL);
    frame.UpdateStatusBars();
    const QString text = frame.LinkPane()->text();
    ASSERT_EQ(text.toStdString(), "ok: M H ES  silent: L  polling without L");
    EXPECT_TRUE(frame.LinkPane()->toolTip().endsWith(text));
    EXPECT_LE(frame.SecondStatus()->minimumSizeHint().width(), 1280);
    EXPECT_LE(frame.minimumSizeHint().width(), 1280);
    frame.resize(1280, 860);
    QCoreApplication::processEvents();
    const int narrow = frame.LinkPane()->width();
    EXPECT_GE(narrow, 110);
    frame.resize(1800, 860);
    QCoreApplication::processEvents();
    EXPECT_GE(frame.LinkPane()->contentsRect().width(),
              frame.LinkPane()->fontMetrics().horizontalAdvance(text));
    doc.CloseDocument();
}

TEST_F(MainFrameTest, ThePointerOverAViewShowsTheTimeAndDateOfItsRow) {
    const int all[4] = {1, 1, 1, 1};
    doc.ConfigureHeads(all);
    frame.ApplyConfiguration();
    QMdiSubWindow* sub = SonarSubWindows(frame).value(0);
    ASSERT_NE(sub, nullptr);
    QWidget* view = sub->widget();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view));
    DocumentBuilder(doc).ManualSpeed(6.0).Range(20);  // several image rows per ping
    platform.now = {2009, 7, 6, 4, 9, 5, 3, 7};
    const auto cycle = [&] {
        doc.StampCycleTime();
        doc.StoreCycle();
    };
    for (int i = 0; i < 20; ++i) cycle();
    // Every row under the pointer, blended between pings or not, reads a time.
    for (int y = 2; y < 12; ++y) {
        SCOPED_TRACE(y);
        ViewFeedback cleared = doc.feedback;
        cleared.pointerRange = 0.0;
        doc.SetViewFeedback(cleared);
        QTest::mouseMove(view, QPoint(view->width() / 3, y));
        cycle();
        // The view's next paint reads out the row under the pointer (and its range).
        ASSERT_TRUE(RunUntil([&] { return doc.feedback.pointerRange != 0.0; }, 1000));
        EXPECT_EQ(frame.SecondStatus()->PaneText(13).toStdString(), "09:05:03");
        EXPECT_EQ(frame.FirstStatus()->PaneText(13).toStdString(), "04-JUL-2009");
    }
}

TEST_F(MainFrameTest, IncreaseGainThroughItsAction) {
    DocumentBuilder(doc).Gains({40, 39, 12, 3});
    frame.RefreshCommands();
    Action(kCmdIncreaseGain)->trigger();
    EXPECT_EQ(doc.heads[0].gainDb, 40);
    EXPECT_EQ(doc.heads[1].gainDb, 40);
    EXPECT_EQ(doc.heads[2].gainDb, 13);
    EXPECT_EQ(doc.heads[3].gainDb, 3);
    EXPECT_EQ(Spin("bar164", 1100)->text().toStdString(), "13 dB");
}

TEST_F(MainFrameTest, ControlBarSpinsKeepTheirLimits) {
    struct Case {
        int id, start, steps, expected;
    };
    FormattedSpin* range = Spin("bar164", 1072);
    DocumentBuilder(doc).RangeIndex(18);
    frame.Bars().UpdateControlBars();
    range->stepBy(1);
    range->stepBy(1);
    EXPECT_EQ(doc.rangeIndex, 19);
    EXPECT_EQ(doc.range, 500);
    DocumentBuilder(doc).RangeIndex(6);
    frame.Bars().UpdateControlBars();
    for (int i = 0; i < 4; ++i) range->stepBy(-1);
    EXPECT_EQ(doc.rangeIndex, 5) << "the commands stop at 10 m";
    FormattedSpin* esRange = Spin("bar164", 1077);
    for (int i = 0; i < 20; ++i) esRange->stepBy(1);
    EXPECT_EQ(doc.esRangeIndex, 17);
    FormattedSpin* gainM = Spin("bar164", 1093);
    for (int i = 0; i < 30; ++i) gainM->stepBy(1);
    EXPECT_EQ(doc.heads[1].gainDb, 20);
    FormattedSpin* gainEs = Spin("bar164", 1102);
    for (int i = 0; i < 50; ++i) gainEs->stepBy(1);
    EXPECT_EQ(doc.heads[3].gainDb, 40);
    FormattedSpin* display = Spin("bar164", 1073);
    ASSERT_NE(display, nullptr);
    for (int i = 0; i < 150; ++i) display->stepBy(1);
    EXPECT_DOUBLE_EQ(doc.images.slotStates[0].intensityFactor, 2.0);
    EXPECT_EQ(display->text().toStdString(), "200 %");
    for (int i = 0; i < 250; ++i) display->stepBy(-1);
    EXPECT_DOUBLE_EQ(doc.images.slotStates[0].intensityFactor, 0.0);
}

TEST_F(MainFrameTest, AcceleratorsReachTheirCommands) {
    struct Case {
        const char* key;
        int id;
    };
    const Case cases[] = {{"C", kCmdClearScreen}, {"H", kCmdHold},        {"Ctrl+N", kCmdConnectToSonarHead},
                          {"Ctrl+O", kCmdPlayback}, {"Ctrl+S", kCmdRecordData}, {"Ctrl+Z", kCmdStopRecording},
                          {"+", kCmdTrackZoomIn}, {"=", kCmdTrackZoomIn}, {"-", kCmdTrackZoomOut},
                          {"R", kCmdRestoreImage}, {"Z", kCmdZoomCycle},  {"Up", kCmdNudgeUp}};
    for (const Case& c : cases) {
        EXPECT_TRUE(Action(c.id)->shortcuts().contains(QKeySequence(c.key))) << c.key;
    }
    frame.activateWindow();
    frame.setFocus();
    QTest::keyClick(&frame, Qt::Key_H);
    EXPECT_EQ(doc.images.held, 1) << "H toggles hold";
    QTest::keyClick(&frame, Qt::Key_H);
    EXPECT_EQ(doc.images.held, 0);
}

TEST_F(MainFrameTest, BarsFollowTheConfiguration) {
    const int three[4] = {1, 1, 1, 1};
    doc.ConfigureHeads(three);
    frame.ApplyConfiguration();
    EXPECT_TRUE(frame.Bars().ThreeFrequencyBar()->isVisible());
    EXPECT_FALSE(frame.Bars().PlaybackBar()->isVisible());
    DocumentBuilder(doc).PlaybackFlag(true);
    frame.ApplyConfiguration();
    EXPECT_FALSE(frame.Bars().ThreeFrequencyBar()->isVisible());
    EXPECT_TRUE(frame.Bars().PlaybackBar()->isVisible());
}

TEST(ApplicationTest, ScreenshotOptionsNameZoomAndLayout) {
    const AppOptions options =
        CVantrelApp::ParseArguments({"sonvara", "--screenshot", "out.png", "--after", "12",
                                     "--zoom", "200", "--layout", "vertical"});
    EXPECT_EQ(options.screenshotPath, "out.png");
    EXPECT_DOUBLE_EQ(options.screenshotAfterSeconds, 12.0);
    EXPECT_EQ(options.screenshotZoom, "200");
    EXPECT_EQ(options.screenshotLayout, "vertical");
    EXPECT_TRUE(CVantrelApp::ParseArguments({"sonvara", "--zoom"}).screenshotZoom.isEmpty());
}

TEST(ApplicationTest, PlayTakesTheFileToPlay) {
    EXPECT_TRUE(CVantrelApp::ParseArguments({"sonvara"}).playPath.isEmpty());
    EXPECT_EQ(CVantrelApp::ParseArguments({"sonvara", "--play", "line7.xtf"}).playPath,
              "line7.xtf");
    const AppCommandLine empty = ParseAppCommandLine({"sonvara", "--play="});
    EXPECT_EQ(empty.action, AppCommandLine::Action::Mistake);
    EXPECT_EQ(empty.text, "--play wants a file (.svx or .xtf)");
}

TEST(ApplicationTest, GpsDeviceOfTheCommandLineOutlivesEnteringRealTime) {
    EXPECT_TRUE(CVantrelApp::ParseArguments({"sonvara"}).gpsDevice.isEmpty());
    EXPECT_EQ(ParseAppCommandLine({"sonvara", "--gps-device="}).action,
              AppCommandLine::Action::Mistake);
    QTemporaryDir dir;
    const QString ini = dir.filePath("Sonvara_RGB.ini");
    QFile file(ini);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[GPS Info]\nGPS Device=/dev/ttyUSB3\n");
    file.close();
    const QString device = dir.filePath("no-such-receiver");
    CVantrelApp app(CVantrelApp::ParseArguments({"sonvara", "--settings", ini, "--connect",
                                                 "127.77.99.2", "--yes", "--gps-device", device}));
    // The device named does not open, and the user is told so; the box is answered here.
    QStringList told;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&told] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            told << box->text();
            box->accept();
        }
    });
    answer.start(5);
    ASSERT_TRUE(app.InitInstance());
    answer.stop();
    EXPECT_EQ(told, QStringList{device + " is not available. \nPlease choose another COM port!"});
    // Entering real time read the settings again and reopened the GPS port.
    EXPECT_EQ(app.Document().gpsConfig.gpsDevice, device.toStdString());
    EXPECT_TRUE(app.Document().gpsInput.openDevice.empty());  // nothing there to open
    app.MainFrame().close();
    QFile saved(ini);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_TRUE(QString::fromLatin1(saved.readAll()).contains("GPS Device=/dev/ttyUSB3"));
}

TEST(ApplicationTest, StartsAgainstATemporarySettingsFile) {
    QTemporaryDir dir;
    const QString ini = dir.filePath("Sonvara_RGB.ini");
    QFile file(ini);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[System]\nUnits=1\nRange=120\n[Sonar L]\nGain=40\n[View]\nTool Bar Visible=0\n");
    file.close();
    // Nothing listens at this address: the engine keeps discovering.
    CVantrelApp app(CVantrelApp::ParseArguments(
        {"sonvara", "--settings", ini, "--connect", "127.77.99.2", "--yes"}));
    ASSERT_TRUE(app.InitInstance());
    CVantrelDoc& doc = app.Document();
    EXPECT_EQ(doc.units, 1);
    EXPECT_EQ(doc.range, 120);
    EXPECT_EQ(doc.rangeIndex, 13);
    EXPECT_EQ(doc.heads[0].gainDb, 40);
    EXPECT_EQ(doc.heads[0].ipAddress, "127.77.99.2");
    EXPECT_EQ(doc.State(), EngineState::Discovering);
    EXPECT_TRUE(app.MainFrame().ConfiguredMenuShown());
    EXPECT_FALSE(app.MainFrame().ToolBar()->isVisible());
    EXPECT_EQ(app.MainFrame().windowTitle().toStdString(), "Halvex Sonvara_RGB -- Real Time");
    app.MainFrame().close();
    // Closing saved the settings, keeping what the file held.
    QFile saved(ini);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QString text = QString::fromLatin1(saved.readAll());
    EXPECT_TRUE(text.contains("Range Index=13"));
    EXPECT_TRUE(text.contains("IP Address=127.77.99.2"));
    EXPECT_TRUE(text.contains("Tool Bar Visible=0"));
}

}  // namespace

namespace {

class PlaybackFrameTest : public MainFrameTest {
protected:
    // Records a few cycles of a three-frequency system to a file and plays it back.
    void PlayARecording() {
        RecordAFile();
        ASSERT_TRUE(doc.OpenPlaybackFile(path));
        frame.RefreshCommands();
    }
    void RecordAFile(const QString& name = "run.svx") {
        const int all[4] = {1, 1, 1, 1};
        doc.ConfigureHeads(all);
        path = dir.filePath(name).toStdString();
        platform.expectedMessages.clear();
        ASSERT_TRUE(doc.StartRecordingTo(path));
        DocumentBuilder(doc).NoData(false);
        for (int i = 0; i < 20; ++i) doc.StoreCycle();
        doc.StopRecording();
    }
    QTemporaryDir dir;
    std::string path;
};

TEST_F(PlaybackFrameTest, MenusAndBarsInPlayback) {
    PlayARecording();
    EXPECT_EQ(doc.playbackMode, 1);
    EXPECT_TRUE(frame.Bars().PlaybackBar()->isVisible());
    EXPECT_FALSE(frame.Bars().ThreeFrequencyBar()->isVisible());
    EXPECT_EQ(Action(kCmdRecordData)->text().toStdString(), "Copy Start ...");
    EXPECT_EQ(Action(kCmdStopRecording)->text().toStdString(), "Copy Stop ...");
    EXPECT_TRUE(Action(kCmdSettingsChangeAlarm)->isEnabled());
    EXPECT_TRUE(Action(kCmdFilePlaybackBar)->isEnabled());
    EXPECT_FALSE(Action(kCmdIncreaseRange)->isEnabled());
    EXPECT_FALSE(Action(kCmdReversePlayback)->isEnabled());
    EXPECT_TRUE(frame.windowTitle().contains("Playback ("));
    Action(kCmdSettingsChangeAlarm)->trigger();
    EXPECT_TRUE(Action(kCmdSettingsChangeAlarm)->isChecked());
    Action(kCmdFilePlaybackBar)->trigger();
    EXPECT_FALSE(frame.Bars().PlaybackBar()->isVisible());
}

TEST_F(PlaybackFrameTest, DamagedRecordIsToldInTheStatusBar) {
    RecordAFile();
    QFile file(QString::fromStdString(path));
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    const qint64 length = file.size() / 20;
    file.seek(3 * length);
    file.write("XXX");  // no magic: the fourth record is damaged
    file.close();
    ASSERT_TRUE(doc.OpenPlaybackFile(path));
    EXPECT_TRUE(frame.FirstStatus()->PaneText(0).isEmpty());
    platform.FireTimer(kTimerPlaybackDelay);
    for (int i = 0; i < 5; ++i) platform.FireTimer(kTimerPlayback);
    EXPECT_EQ(doc.recording.pingNumber, 6);
    EXPECT_EQ(frame.FirstStatus()->PaneText(0).toStdString(),
              "Damaged record skipped at offset " + std::to_string(3 * length) + " (" +
                  std::to_string(length) + " bytes)");
    // Another file starts without the message.
    RecordAFile("second.svx");
    ASSERT_TRUE(doc.OpenPlaybackFile(path));
    EXPECT_TRUE(frame.FirstStatus()->PaneText(0).isEmpty());
}

TEST_F(PlaybackFrameTest, FailedPlaybackShowsOneStateInTitleAndBars) {
    PlayARecording();
    EXPECT_TRUE(frame.Bars().PlaybackBar()->isVisible());
    // A file of noise: it opens, and its first read finds no record anywhere.
    const std::string noise = dir.filePath("noise.svx").toStdString();
    QFile file(QString::fromStdString(noise));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(5000, 'n'));
    file.close();
    ASSERT_TRUE(doc.OpenPlaybackFile(noise));
    platform.FireTimer(kTimerPlaybackDelay);
    platform.FireTimer(kTimerPlayback);
    EXPECT_EQ(doc.playbackMode, 0);
    EXPECT_EQ(frame.windowTitle().toStdString(), "Halvex Sonvara_RGB");
    EXPECT_FALSE(frame.Bars().PlaybackBar()->isVisible());
    EXPECT_FALSE(Action(kCmdFilePlaybackBar)->isEnabled());
    // A file without data after a played one: the same state.
    PlayARecording();
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(999, 'n'));
    file.close();
    platform.expectedMessages = {"File has no data!"};
    EXPECT_FALSE(doc.OpenPlaybackFile(noise));
    EXPECT_EQ(frame.windowTitle().toStdString(), "Halvex Sonvara_RGB");
    EXPECT_FALSE(frame.Bars().PlaybackBar()->isVisible());
}

TEST_F(PlaybackFrameTest, PlaySpeedSpinAndSlider) {
    PlayARecording();
    FormattedSpin* speed = frame.Bars().PlaySpeedSpin();
    speed->stepBy(2);
    EXPECT_EQ(doc.playback.playSpeed, 7);
    EXPECT_EQ(doc.playback.playbackPeriodMs, 30);
    EXPECT_EQ(frame.Bars().SpeedProgress()->value(), 7);
    QSlider* slider = frame.Bars().PositionSlider();
    const std::uint64_t length = doc.playback.playbackFile.Length();
    slider->setValue(50);
    Q_EMIT slider->sliderPressed();
    EXPECT_EQ(doc.playback.sliderHeld, 1);
    Q_EMIT slider->sliderReleased();
    EXPECT_EQ(doc.playback.sliderHeld, 0);
    // Resumes at the first record start at or after the middle of the file.
    EXPECT_GE(doc.files.playbackPosition, length / 2);
    EXPECT_LT(doc.files.playbackPosition, length);
}

TEST_F(PlaybackFrameTest, ThePlaySpeedSpinsArrowsSetThePlaybackPeriod) {
    PlayARecording();
    FormattedSpin* speed = frame.Bars().PlaySpeedSpin();
    QStyleOptionSpinBox option;
    option.initFrom(speed);
    option.subControls = QStyle::SC_All;
    option.stepEnabled = QAbstractSpinBox::StepUpEnabled | QAbstractSpinBox::StepDownEnabled;
    const QPoint up = speed->style()
                          ->subControlRect(QStyle::CC_SpinBox, &option, QStyle::SC_SpinBoxUp, speed)
                          .center();
    const QPoint down =
        speed->style()
            ->subControlRect(QStyle::CC_SpinBox, &option, QStyle::SC_SpinBoxDown, speed)
            .center();
    for (int i = 0; i < 5; ++i) QTest::mouseClick(speed, Qt::LeftButton, {}, down);
    // Speed 0 plays a record every 100 ms, 5 every 50 ms, 10 and above at the platform's
    // shortest interval; each click re-arms the running playback timer.
    const std::pair<int, int> steps[] = {{0, 100}, {5, 50}, {9, 10}, {15, 0}, {20, 0}};
    for (const auto& [target, period] : steps) {
        while (doc.playback.playSpeed < target) QTest::mouseClick(speed, Qt::LeftButton, {}, up);
        EXPECT_EQ(doc.playback.playSpeed, target);
        EXPECT_EQ(speed->value(), target);
        EXPECT_EQ(frame.Bars().SpeedProgress()->value(), target);
        EXPECT_EQ(platform.TimerPeriod(kTimerPlayback), period) << target;
    }
}

}  // namespace

namespace {

TEST_F(MainFrameTest, SonarWindowsFollowTheConfiguration) {
    const int all[4] = {1, 1, 1, 1};
    doc.ConfigureHeads(all);
    DocumentBuilder(doc).Frequency(2, 540000);
    frame.ApplyConfiguration();
    QStringList titles;
    for (QMdiSubWindow* sub : SonarSubWindows(frame)) titles << sub->windowTitle();
    titles.sort();
    // The composite of a three-frequency system in the main window, then one per frequency.
    EXPECT_EQ(titles, (QStringList{"Sonvara_RGB", "Sonvara_RGB -- 120 kHz",
                                   "Sonvara_RGB -- 260 kHz", "Sonvara_RGB -- 540 kHz"}));
    frame.RefreshCommands();
    EXPECT_TRUE(Action(kCmdWindowM)->isChecked());
    // A closed window is checked no more and comes back at its stored place.
    WindowRect before;
    ASSERT_TRUE(frame.TakeWindowRect(kMFrame, before));
    for (QMdiSubWindow* sub : SonarSubWindows(frame)) {
        if (sub->windowTitle().contains("260")) sub->close();
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    WindowRect closed;
    EXPECT_FALSE(frame.TakeWindowRect(kMFrame, closed));
    frame.RefreshCommands();
    EXPECT_FALSE(Action(kCmdWindowM)->isChecked());
    Action(kCmdWindowM)->trigger();
    WindowRect after;
    ASSERT_TRUE(frame.TakeWindowRect(kMFrame, after));
    EXPECT_NEAR(after.left, before.left, 2);
    EXPECT_NEAR(after.bottom, before.bottom, 2);
}

TEST_F(MainFrameTest, TwoFrequencySystemsShowTheirDisplayChannels) {
    DocumentBuilder(doc).Heads({kHeadM, kHeadH});
    frame.ApplyConfiguration();
    QStringList titles;
    for (QMdiSubWindow* sub : SonarSubWindows(frame)) titles << sub->windowTitle();
    titles.sort();
    EXPECT_EQ(titles, (QStringList{"Sonvara_RGB -- 260 kHz", "Sonvara_RGB -- 675 kHz"}));
    EXPECT_TRUE(frame.Bars().TwoFrequencyBar()->isVisible());
}

TEST(ShipSpeedDialogTest, SpinAndChoicesReachTheSettingsOnlyOnOk) {
    SpeedSource settings;
    settings.manualSpeedKnots = 3.0;
    settings.useGpsSpeed = 1;
    CShipSpeedDlg dialog(settings, nullptr);
    EXPECT_TRUE(dialog.gpsButton->isChecked());
    EXPECT_EQ(dialog.speedEdit->text().toStdString(), "3.0");
    dialog.speedSpin->stepBy(1);
    EXPECT_EQ(dialog.speedEdit->text().toStdString(), "3.1");
    dialog.manualButton->click();
    dialog.correctionBox->setChecked(false);
    EXPECT_DOUBLE_EQ(settings.manualSpeedKnots, 3.0) << "nothing changes before OK";
    dialog.Model().ApplyTo(settings);
    EXPECT_DOUBLE_EQ(settings.manualSpeedKnots, 3.1);
    EXPECT_EQ(settings.useManualSpeed, 1);
    EXPECT_EQ(settings.useGpsSpeed, 0);
    EXPECT_EQ(settings.speedCorrection, 0);
    for (int i = 0; i < 200; ++i) dialog.speedSpin->stepBy(1);
    EXPECT_EQ(dialog.speedEdit->text().toStdString(), "10.0") << "the spin stops at 10 knots";
}

}  // namespace

namespace {

// Counts the paints of a widget.
class PaintCounter : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
    int paints = 0;
};

TEST_F(MainFrameTest, EachCycleRepaintsTheSonarWindowsAtScreenRate) {
    const int all[4] = {1, 1, 1, 1};
    doc.ConfigureHeads(all);
    frame.ApplyConfiguration();
    QMdiSubWindow* sub = SonarSubWindows(frame).value(0);
    ASSERT_NE(sub, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(sub->widget()));
    QTest::qWait(100);
    PaintCounter counter;
    sub->widget()->installEventFilter(&counter);
    doc.StoreCycle();
    EXPECT_TRUE(RunUntil([&] { return counter.paints > 0; }, 1000)) << "a cycle repaints";
    // The paint's own read-out must not start another paint: the view settles.
    QTest::qWait(200);
    const int settled = counter.paints;
    QTest::qWait(200);
    EXPECT_EQ(counter.paints, settled);
    // Many cycles in a burst cost a few paints, not one each.
    for (int i = 0; i < 200; ++i) doc.StoreCycle();
    QTest::qWait(100);
    EXPECT_LT(counter.paints - settled, 20);
}

}  // namespace

namespace {

TEST_F(MainFrameTest, ZoomPaneShowsTheZoomOfTheActiveSonarWindow) {
    const int all[4] = {1, 1, 1, 1};
    doc.ConfigureHeads(all);
    frame.ApplyConfiguration();
    const QList<QMdiSubWindow*> subs = SonarSubWindows(frame);
    ASSERT_EQ(subs.size(), 4);  // the composite and the three frequencies
    const auto pane = [this] { return frame.FirstStatus()->PaneText(2); };
    const auto percentOf = [](QMdiSubWindow* sub) {
        const auto* view = qobject_cast<CSecondView*>(sub->widget());
        return QStringLiteral("%1%").arg(view->State().ZoomPercent());
    };
    // The window that is active once the windows are placed shows its zoom from the start.
    QMdiSubWindow* first = frame.Mdi()->currentSubWindow();
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(RunUntil([&] { return pane() == percentOf(first); }, 2000))
        << pane().toStdString() << " for " << percentOf(first).toStdString();
    // Each window starts at "Fill the Screen": its zoom is its width against 2000 samples.
    for (QMdiSubWindow* sub : subs) {
        frame.Mdi()->setActiveSubWindow(sub);
        EXPECT_TRUE(frame.Router().State(kCmdFillScreen).checked);
        EXPECT_TRUE(RunUntil([&] { return pane() == percentOf(sub); }, 2000))
            << pane().toStdString() << " for " << percentOf(sub).toStdString();
        EXPECT_NE(pane(), QStringLiteral("100%"));
    }
    frame.Router().Execute(kCmdZoom200);
    EXPECT_TRUE(frame.Router().State(kCmdZoom200).checked);
    EXPECT_TRUE(RunUntil([&] { return pane() == QStringLiteral("200%"); }, 2000));
    // Another window at "Fill the Screen" takes the pane back; its width sets the figure.
    frame.Mdi()->setActiveSubWindow(subs[0]);
    EXPECT_TRUE(RunUntil([&] { return pane() == percentOf(subs[0]); }, 2000));
    subs[0]->resize(subs[0]->width() + 200, subs[0]->height());
    EXPECT_TRUE(RunUntil([&] { return pane() == percentOf(subs[0]); }, 2000))
        << pane().toStdString() << " for " << percentOf(subs[0]).toStdString();
    // A window that is not the active one does not write the pane when it is sized.
    const QString shown = pane();
    subs[2]->resize(subs[2]->width() - 100, subs[2]->height());
    QCoreApplication::processEvents();
    EXPECT_EQ(pane(), shown);
}

}  // namespace
