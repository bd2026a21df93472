#pragma once
// The main window: menus, tool bar, control bars, two status bars and the area holding the
// sonar windows. It owns the frame's commands and tells the windows what the document did.

#include <QMainWindow>
#include <array>

#include "app/StatusBars.h"
#include "document/DocumentObserver.h"
#include "shell/CommandTable.h"
#include "shell/ViewHost.h"

class CVantrelDoc;
class ControlBars;
class GpsWindows;
class MenuBuilder;
class QLabel;
class QMdiArea;
class QTimer;
class QToolBar;
class CAnnotation;
class CPaletteChildFrm;
class HeadDialogs;
class SensorWindows;
class SonarWindows;
class StatusBarWidget;

class CMainFrame : public QMainWindow, public DocumentObserver, public ViewHost {
    Q_OBJECT
public:
    explicit CMainFrame(CVantrelDoc& doc);
    ~CMainFrame() override;

    CommandTable& Commands() { return commands; }
    CommandRouter& Router() { return router; }
    MenuBuilder& Menus() { return *menus; }
    QMdiArea* Mdi() const { return mdi; }
    SonarWindows& Windows() const { return *windows; }
    SensorWindows& Sensors() const { return *sensors; }
    HeadDialogs& Heads() const { return *headDialogs; }
    GpsWindows& Gps() const { return *gpsWindows; }
    ControlBars& Bars() const { return *bars; }
    QToolBar* ToolBar() const { return toolBar; }
    StatusBarWidget* FirstStatus() const { return firstStatus; }
    StatusBarWidget* SecondStatus() const { return secondStatus; }
    // The panes of the heads' links and of the reconnections.
    QLabel* LinkPane() const { return linkPane; }
    QLabel* SteeringPane() const { return steeringPane; }
    QLabel* ReconnectPane() const { return reconnectPane; }
    QLabel* AltitudePane() const { return altitudePane; }
    StatusInputs& Status() { return statusInputs; }
    bool ConfiguredMenuShown() const { return configuredMenu; }

    // Runs a modal dialog; playback pauses while it is open.
    int RunModal(class QDialog& dialog);
    void UpdateStatusBars();
    void UpdateSteeringPane();
    // The settings were loaded: bars and controls follow them.
    void SettingsLoaded();
    // Creates the (hidden) palette editor window; after the palette settings were read.
    void CreatePaletteWindow();
    CPaletteChildFrm* PaletteWindow() const { return paletteWindow; }
    // The window area as the screen of the stored layout: its width, and the top band above it.
    LayoutMetrics MeasureLayout() const;
    void RefreshCommands();

    // DocumentObserver
    void ApplyConfiguration() override;
    void UpdateTitles() override;
    void RefreshDiagnostics() override;
    void CycleDisplayed() override;
    void HeadLinksChanged() override;
    void ApplyWindowLayout(bool createMissing) override;
    bool TakeWindowRect(int window, WindowRect& rect) override;
    void UpdateAllViews() override;
    void LayoutChanged() override;
    void PaletteChanged() override;

    void WindowTextChanged(const std::string& text) override;
    void PlaybackBarReset(int playSpeed) override;
    void PlaybackSliderMoved(int position) override;
    void PlaySpeedChanged(int playSpeed) override;
    void DataFileStateChanged() override;
    void PlaybackMessage(const std::string& text) override;
    void GpsStatusChanged() override;
    void GpsDeviceMessage(const std::string& text) override;
    void EventDialogChanged() override;

    // ViewHost
    void ShowRowStamp(const RowInfo& row, const std::string& dateText) override;
    void ShowPointerRange(double metres, bool starboard) override;
    void ShowZoom(int percent) override;
    void RefreshIndicators() override;
    void ViewClosed() override;
    void BeginNewEvent(int row, int x) override;
    // The "Event Information" dialog once it was used, else null.
    CAnnotation* EventDialog() const { return eventDialog; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildToolBar();
    void BuildStatusBars();
    void InstallAccelerators();
    void RegisterCommands();
    void RegisterAcquisitionCommands();
    void RegisterViewCommands();
    void RegisterImageCommands();
    void RegisterSpeedCommands();
    void RegisterFileCommands();
    void RegisterEventCommands();
    void ConnectPlaybackBar();
    void RefreshNow();
    void ScheduleRefresh(bool repaintViews);

    CVantrelDoc& doc;
    CommandTable commands;
    CommandRouter router{commands};
    MenuBuilder* menus = nullptr;
    QMdiArea* mdi = nullptr;
    ControlBars* bars = nullptr;
    QToolBar* toolBar = nullptr;
    StatusBarWidget* firstStatus = nullptr;
    StatusBarWidget* secondStatus = nullptr;
    QLabel* linkPane = nullptr;
    QLabel* steeringPane = nullptr;
    QLabel* reconnectPane = nullptr;
    QLabel* altitudePane = nullptr;
    StatusInputs statusInputs;
    SonarWindows* windows = nullptr;
    SensorWindows* sensors = nullptr;
    HeadDialogs* headDialogs = nullptr;
    GpsWindows* gpsWindows = nullptr;
    CPaletteChildFrm* paletteWindow = nullptr;
    CAnnotation* eventDialog = nullptr;
    QTimer* refreshTimer = nullptr;
    bool viewsDirty = false;
    bool configuredMenu = false;
};
