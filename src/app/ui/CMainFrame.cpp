#include "app/ui/CMainFrame.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMenuBar>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#include "app/AcquisitionControls.h"
#include "app/MenuLayout.h"
#include "app/WindowTitles.h"
#include "app/ui/CBeamChildFrm.h"
#include "app/ui/ControlBars.h"
#include "app/ui/ContactReportExporter.h"
#include "app/ui/DataExporter.h"
#include "app/ui/Dialogs.h"
#include "app/ui/LayoutEntries.h"
#include "app/ui/MenuBuilder.h"
#include "app/ui/PlaybackPause.h"
#include "app/ui/ScreenImage.h"
#include "app/ui/SonarWindows.h"
#include "app/ui/StatusBarWidget.h"
#include "document/CVantrelDoc.h"
#include "platform/TimerIds.h"
#include "shell/CommandIds.h"
#include "shell/ProfileFile.h"
#include "ui/acquisition/HeadDialogs.h"
#include "ui/gps/GpsWindows.h"
#include "ui/survey/SurveyCommands.h"
#include "ui/imaging/CPaletteChildFrm.h"
#include "ui/sensors/SensorWindows.h"

namespace {
// Views, status bars and command states follow the cycles at screen rate, not at ping rate:
// a burst of cycles costs one repaint.
constexpr int kRefreshIntervalMs = 16;
}  // namespace

CMainFrame::CMainFrame(CVantrelDoc& document) : doc(document) {
    setObjectName(QStringLiteral("mainFrame"));
    setWindowTitle(QStringLiteral("Halvex Sonvara_RGB"));
    menus = new MenuBuilder(router, this);
    connect(menus, &MenuBuilder::CommandRan, this, [this] { RefreshNow(); });
    RegisterCommands();
    menus->Fill(menuBar(), StartupMenu());
    BuildToolBar();
    addToolBarBreak();
    bars = new ControlBars(doc, this);
    connect(bars, &ControlBars::AcquisitionChanged, this, [this] { RefreshNow(); });
    BuildStatusBars();
    windows = new SonarWindows(doc, mdi, this, router);
    windows->AddCommands(commands);
    sensors = new SensorWindows(doc, mdi, this,
                                [this](QDialog& dialog) { return RunModal(dialog); });
    sensors->AddCommands(commands);
    headDialogs = new HeadDialogs(doc, this, [this](QDialog& dialog) { return RunModal(dialog); });
    headDialogs->AddCommands(commands);
    gpsWindows = new GpsWindows(doc, mdi, this, router, commands);
    gpsWindows->AddCommands(commands);
    AddSurveyCommands(commands, doc, *gpsWindows, this, [this](QDialog& dialog) { return RunModal(dialog); });
    windows->Table().Add(EchoSounderEntry(doc, *sensors));
    AddSaveScreenCommand(commands, *new ScreenSaver(doc, this));
    AddExportCommands(commands, *new DataExporter(doc, this));
    AddContactReportCommand(commands, *new ContactReportExporter(doc, this));
    AddBeamCoverageCommand(commands, doc, mdi);
    windows->Table().SetAfterLayout([this] {
        if (!doc.realTimeActive && !doc.playbackMode) return;
        setWindowTitle(QString::fromStdString(MainFrameTitle(
            doc.playbackMode != 0, doc.recording.DataFileOpen(), doc.recording.windowTitle)));
    });
    ConnectPlaybackBar();
    InstallAccelerators();
    refreshTimer = new QTimer(this);
    refreshTimer->setSingleShot(true);
    connect(refreshTimer, &QTimer::timeout, this, [this] { RefreshNow(); });
    bars->UpdateControlBars();
    RefreshNow();
    doc.SetObserver(this);
    resize(1280, 860);
}

CMainFrame::~CMainFrame() {
    doc.SetObserver(nullptr);
    delete gpsWindows;
}

void CMainFrame::BuildToolBar() {
    toolBar = addToolBar(QStringLiteral("Tool Bar"));
    toolBar->setObjectName(QStringLiteral("toolBar"));
    toolBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    const std::pair<int, const char*> buttons[] = {
        {kCmdConnectToSonarHead, "Connect"}, {kCmdPlayback, "Playback"},
        {kCmdRecordData, "Record"},          {kCmdStopRecording, "Stop"},
        {0, nullptr},                        {kCmdDecreaseRange, "Range -"},
        {kCmdIncreaseRange, "Range +"},      {kCmdDecreaseGain, "Gain -"},
        {kCmdIncreaseGain, "Gain +"},        {0, nullptr},
        {kCmdHold, "Hold"},                  {kCmdClearScreen, "Clear"},
        {0, nullptr},                        {kCmdAbout, "About"}};
    for (const auto& [id, label] : buttons) {
        if (!label) {
            toolBar->addSeparator();
            continue;
        }
        QAction* action = menus->Action(id);
        if (action->text().isEmpty()) action->setText(QString::fromLatin1(label));
        toolBar->addAction(action);
        if (QWidget* button = toolBar->widgetForAction(action)) {
            button->setObjectName(QStringLiteral("toolButton%1").arg(id));
        }
    }
}

void CMainFrame::BuildStatusBars() {
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    mdi = new QMdiArea(central);
    mdi->setObjectName(QStringLiteral("mdiArea"));
    mdi->setBackground(QColor(48, 48, 56));
    layout->addWidget(mdi, 1);
    firstStatus = new StatusBarWidget(QStringLiteral("statusBar1"), central);
    secondStatus = new StatusBarWidget(QStringLiteral("statusBar2"), central);
    layout->addWidget(firstStatus);
    layout->addWidget(secondStatus);
    // The survey's read-out, a pane of its own under the two full bars, shown with a plan.
    steeringPane = new QLabel(central);
    steeringPane->setObjectName(QStringLiteral("steering"));
    steeringPane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    steeringPane->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    steeringPane->hide();
    layout->addWidget(steeringPane);
    // The two bars fill a 1280-pixel window; these panes take what is left.
    // The link pane grows with the window: with a head left out its text is longer.
    linkPane = secondStatus->AddTrailingPane(QStringLiteral("headLinks"), {}, 0, 110, true);
    reconnectPane = firstStatus->AddTrailingPane(QStringLiteral("reconnects"),
                                                 QStringLiteral("Reconnects:"), 76, 30);
    altitudePane = firstStatus->AddTrailingPane(QStringLiteral("altitude"), {}, 0, 118);
    setCentralWidget(central);
}

void CMainFrame::InstallAccelerators() {
    QHash<int, QList<QKeySequence>> keys;
    for (const Accelerator& accelerator : AcceleratorTable()) {
        keys[accelerator.id].append(QKeySequence(QString::fromLatin1(accelerator.key)));
    }
    for (auto it = keys.begin(); it != keys.end(); ++it) {
        QAction* action = menus->Action(it.key());
        action->setShortcuts(it.value());
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action);
    }
}

void CMainFrame::RegisterCommands() {
    RegisterAcquisitionCommands();
    RegisterFileCommands();
    RegisterEventCommands();
    RegisterViewCommands();
    commands.Add(kCmdExit, [this] { close(); });
    commands.Add(kCmdAbout, [this] {
        CAboutDlg dialog(this);
        RunModal(dialog);
    });
    commands.Add(kCmdHotKeys, [this] {
        CHelpListDlg dialog(this);
        RunModal(dialog);
    });
}

void CMainFrame::RegisterAcquisitionCommands() {
    const auto realTime = [this] { return CommandState{doc.playbackMode == 0, false, {}}; };
    const auto afterChange = [this] {
        bars->UpdateControlBars();
    };
    commands.Add(kCmdConnectToSonarHead, [this] { doc.ConnectToSonarHead(); });
    commands.Add(kCmdReconnect, [this] { doc.Reconnect(); }, realTime);
    commands.Add(kCmdIncreaseRange, [=, this] { IncreaseRange(doc); afterChange(); }, realTime);
    commands.Add(kCmdDecreaseRange, [=, this] { DecreaseRange(doc); afterChange(); }, realTime);
    commands.Add(kCmdIncreaseGain, [=, this] { IncreaseGain(doc); afterChange(); }, realTime);
    commands.Add(kCmdDecreaseGain, [=, this] { DecreaseGain(doc); afterChange(); }, realTime);
}

int CMainFrame::RunModal(QDialog& dialog) {
    const PlaybackPause pause(doc);
    return dialog.exec();
}

// Composite mode, the channels shown or the orientation sensor changed: the bars and menus
// follow, and every sonar view sizes its image for the new layout. The windows stay where the
// operator put them.
void CMainFrame::LayoutChanged() {
    bars->UpdateControlBars();
    windows->ResizeImages();
    RefreshNow();
}

void CMainFrame::ApplyConfiguration() {
    doc.ApplyCompositeRule();
    if (!configuredMenu) {
        menus->Fill(menuBar(), ConfiguredMenu());
        configuredMenu = true;
    }
    // Without playback there is nothing for the playback bar to show.
    if (!doc.playbackMode) bars->PlaybackBar()->hide();
    if (doc.threeFrequencySystem) {
        bars->ThreeFrequencyBar()->setVisible(!doc.playbackMode);
        bars->PlaybackBar()->setVisible(doc.playbackMode && doc.display.playbackBarVisible);
        bars->TwoFrequencyBar()->hide();
    } else if (doc.playbackMode) {
        // Files of other systems play with the same bar: the operator needs its slider.
        bars->PlaybackBar()->setVisible(doc.display.playbackBarVisible != 0);
        bars->TwoFrequencyBar()->hide();
    } else if (doc.twoFrequencySystem) {
        // The two-frequency bar carries the controls of such a system; showing it gives the
        // operator range and gain without the three-frequency layout.
        bars->TwoFrequencyBar()->show();
        bars->ThreeFrequencyBar()->hide();
    }
    bars->UpdateControlBars();
    windows->ApplyLayout(true);
    // The track plotter is opened with the stored layout ("GPS Tracking", "Show GPS Frame"),
    // not by the head configuration; an open one keeps its place.
    gpsWindows->ApplyLayout(false);
    UpdateTitles();
    RefreshNow();
}

void CMainFrame::UpdateTitles() {
    if (doc.realTimeActive && !doc.playbackMode) {
        setWindowTitle(QStringLiteral("Halvex Sonvara_RGB -- Real Time"));
    }
}

void CMainFrame::RefreshDiagnostics() { headDialogs->RefreshDiagnostics(); }

void CMainFrame::ScheduleRefresh(bool repaintViews) {
    viewsDirty |= repaintViews;
    if (!refreshTimer->isActive()) refreshTimer->start(kRefreshIntervalMs);
}

void CMainFrame::CycleDisplayed() {
    ApplyOrientation(statusInputs, doc.orientation.readings);
    ScheduleRefresh(true);
}

void CMainFrame::HeadLinksChanged() { UpdateStatusBars(); }

void CMainFrame::UpdateAllViews() { ScheduleRefresh(true); }

void CMainFrame::PaletteChanged() {
    if (paletteWindow) paletteWindow->PaletteChanged();
    UpdateAllViews();
}

void CMainFrame::CreatePaletteWindow() {
    paletteWindow = new CPaletteChildFrm(doc, this);
    paletteWindow->SetHost(this);
    paletteWindow->AddCommands(commands, kCmdCustomPalette);
}

void CMainFrame::RefreshNow() {
    if (viewsDirty) {
        viewsDirty = false;
        windows->UpdateViews();
        sensors->UpdateViews();
        gpsWindows->UpdateViews();
    }
    // While the pointer is in no image view, the status fields show the newest ping.
    if (!doc.feedback.PointerInAnyView()) {
        statusInputs.pointerRange = 0.0;
        ApplyRowStamp(statusInputs, doc.images.RowStamp(kCompositeSlot, 0),
                      doc.cycleTime.cycleDateText.data());
        if (doc.gps.readerExists) ApplyGpsStatus(statusInputs, doc.GpsStatus());
    }
    UpdateStatusBars();
    RefreshCommands();
}

void CMainFrame::ShowRowStamp(const RowInfo& row, const std::string& dateText) {
    ApplyRowStamp(statusInputs, row, dateText);
    UpdateStatusBars();
}

void CMainFrame::ShowPointerRange(double metres, bool starboard) {
    statusInputs.pointerRange = metres;
    statusInputs.pointerStarboard = starboard;
}

void CMainFrame::ShowZoom(int percent) {
    statusInputs.zoomPercent = percent;
    ScheduleRefresh(false);
}

// Called at the end of every view paint: it must not ask for another paint.
void CMainFrame::RefreshIndicators() { ScheduleRefresh(false); }

void CMainFrame::ViewClosed() { ApplyWindowLayout(false); }

void CMainFrame::SettingsLoaded() {
    // The classic layout keeps the main window as a band across the top of the screen; here
    // it holds the sonar windows, so a stored rectangle is applied only when it is a window.
    const WindowRect stored = doc.display.layout.rects[kMenuFrame];
    if (stored.IsStorable() && stored.bottom - stored.top > 400) {
        setGeometry(stored.left, stored.top, stored.right - stored.left, stored.bottom - stored.top);
    }
    toolBar->setVisible(doc.display.toolBarVisible);
    firstStatus->setVisible(doc.display.statusBarVisible);
    bars->UpdateControlBars();
    RefreshNow();
}

void CMainFrame::UpdateStatusBars() {
    {
        std::lock_guard<std::mutex> guard(doc.gps.lock);
        statusInputs.gpsHeading = doc.gps.headingText;
    }
    firstStatus->SetPanes(FirstStatusBar(doc, statusInputs));
    secondStatus->SetPanes(SecondStatusBar(doc, statusInputs));
    const QString links = QString::fromStdString(LinkPaneText(doc));
    if (linkPane->text() != links) {
        linkPane->setText(links);
        linkPane->setToolTip(QStringLiteral("Heads answering (ok), connecting or silent, and "
                                            "which one the polling cycle waits for or goes "
                                            "without: ") +
                             links);
    }
    UpdateSteeringPane();
    const QString reconnects = QString::fromStdString(ReconnectPaneText(doc));
    if (reconnectPane->text() != reconnects) reconnectPane->setText(reconnects);
    const QString altitude = QString::fromStdString(AltitudePaneText(doc));
    if (altitudePane->text() != altitude) altitudePane->setText(altitude);
}

void CMainFrame::UpdateSteeringPane() {
    bool offLine = false;
    const QString text = QString::fromStdString(SteeringPaneText(doc, offLine));
    steeringPane->setVisible(!text.isEmpty());
    if (steeringPane->text() == text && steeringPane->property("offLine").toBool() == offLine) return;
    steeringPane->setText(text);
    steeringPane->setProperty("offLine", offLine);
    steeringPane->setStyleSheet(offLine ? QStringLiteral("background: #c00000; color: white;") : QString());
    steeringPane->setToolTip(QStringLiteral("Survey line steered: cross-track distance (L port, R "
                                            "starboard), distance and time to its end, its "
                                            "bearing and the course over ground"));
}

void CMainFrame::RefreshCommands() { menus->RefreshAll(); }

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (paletteWindow && !doc.iniPath.empty()) {
        ProfileFile settings(doc.iniPath);
        paletteWindow->Close(true, settings);
        settings.Save();
    }
    doc.CloseDocument();
    headDialogs->DocumentClosed();
    gpsWindows->CloseDialog();
    event->accept();
}

void CMainFrame::ApplyWindowLayout(bool createMissing) {
    windows->ApplyLayout(createMissing);
    gpsWindows->ApplyLayout(createMissing);
}

bool CMainFrame::TakeWindowRect(int window, WindowRect& rect) {
    if (window == kMenuFrame) {
        const QRect g = geometry();
        rect = {g.left(), g.top(), g.right() + 1, g.bottom() + 1};
        return true;
    }
    if (window == kGpsTrackWindow) return gpsWindows->TakeRect(rect);
    return windows->TakeRect(window, rect);
}

LayoutMetrics CMainFrame::MeasureLayout() const {
    // The screen below the top band is what the window area shows.
    const QSize area = mdi->viewport()->size();
    const int band = std::max(0, mdi->mapTo(this, QPoint(0, 0)).y());
    LayoutMetrics metrics;
    metrics.topBand = band;
    metrics.screenWidth = std::max(1, area.width());
    metrics.screenHeight = band + std::max(1, area.height());
    return metrics;
}
