#pragma once
// The one document: it owns the head table, the command blocks, the reply slots and the mode
// flags that every window tests, and it is where the road of a cycle reads top to bottom:
// OnReceive -> CycleComplete -> ValidateCycle -> StoreCycle. Its operations are split into
// files by concern (CVantrelDoc_Engine.cpp, ...). Everything here runs on the user-interface
// thread.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "acquisition/HeadLinks.h"
#include "acquisition/HeadReturn.h"
#include "acquisition/HeadTable.h"
#include "acquisition/PollingSet.h"
#include "acquisition/ReplyAssembler.h"
#include "acquisition/SwitchCommand.h"
#include "datafiles/DataFileState.h"
#include "datafiles/EventState.h"
#include "datafiles/PlaybackClock.h"
#include "datafiles/PlaybackState.h"
#include "datafiles/RecordingState.h"
#include "document/CReadWriteFiles.h"
#include "document/DisplaySettings.h"
#include "document/DocumentObserver.h"
#include "gps/CycleTime.h"
#include "gps/GpsPortLink.h"
#include "gps/GpsPortSettings.h"
#include "gps/GpsState.h"
#include "gps/SpeedSource.h"
#include "imaging/ImageSet.h"
#include "imaging/PaletteState.h"
#include "imaging/PingHistory.h"
#include "imaging/ViewFeedback.h"
#include "platform/Platform.h"
#include "sensors/EchoSounder.h"
#include "sensors/HistoryChart.h"
#include "sensors/OrientationState.h"
#include "survey/SurveyState.h"

class ShipSpeedDialogModel;

class ProfileFile;
namespace rec {
struct PlayedHeads;
}

enum class EngineState { Idle, Discovering, Connecting, Polling };

class CVantrelDoc : public HeadSocketListener, public TimerListener {
public:
    explicit CVantrelDoc(Platform& platform);
    ~CVantrelDoc() override;
    CVantrelDoc(const CVantrelDoc&) = delete;
    CVantrelDoc& operator=(const CVantrelDoc&) = delete;

    // Resets every member to its initial value (the new-document step).
    void OnNewDocument();
    void SetObserver(DocumentObserver* newObserver);
    Platform& GetPlatform() { return platform; }

    // --- Head table and switch commands ---------------------------------------------------
    void InitSwitchCommands();
    void BuildSwitchCommands();
    void SetCommandByte(int head, std::uint8_t value);
    void SetHalfSelect(int head, std::uint8_t value);
    // Applies four presence flags: head count, display channels, system kind.
    void ConfigureHeads(const int present[kHeadCount]);

    // --- Head replies ------------------------------------------------------------------------
    // Classifies and applies one whole reply of head h (the bytes are copied into
    // receiveBuffer first). Returns the class it was given.
    ReplyClass ReceiveReply(int head, const std::uint8_t* data, int length);
    void DecodeSystemInfo();
    void StoreDataReply(int head, ReplyClass kind, const std::uint8_t* reply);
    // Reads each available head's header id and status; true when no status has a bit of
    // 0x7C set (the cycle is then counted as accepted).
    bool ValidateCycle();

    // --- Acquisition engine ------------------------------------------------------------------
    void ConnectHead(int head);
    void ConnectAll();
    void DisconnectAll();
    void Reconnect();
    void ConnectToSonarHead();
    void EnterRealTime(const std::string& address);
    void CycleComplete();
    void ReplyTimeout();
    // Timer 1021: a fresh connection to each head left out of polling.
    void RetryLeftOutHeads();
    void CloseDocument();
    EngineState State() const;
    // The head is polled in the cycle under way: connected and not left out.
    bool InPollingCycle(int head) const;
    // The head gives its line to the cycle being completed (or the record being played): it
    // is in the installation (in the record) and not left out of polling.
    bool HeadHasData(int head) const;

    void OnConnect(int headIndex, int errorCode) override;
    void OnReceive(int headIndex, int errorCode) override;
    void OnClose(int headIndex, int errorCode) override;
    void OnTimer(int timerId) override;

    // --- Ping history and image formation ----------------------------------------------------
    void StampCycleTime();
    void StoreCycle();
    void ProcessCycleDisplay();
    void ResetHistory();
    int ComputeRowAdvance(int recordIndex, int sideMode, int composite, int channel);
    void AddCycleToImage(int channel, int composite, int rowAdvance);
    void CompositeUpdate(int recordIndex);
    void RedrawFromHistory(int channel, int composite);
    void RebuildComposite();
    void ResetSlot(int slot);
    void CheckLayoutChange();
    // Commands: "&Clear Screen", "&Hold", the three side modes, "&Vertical Blending",
    // "Color &Indicator".
    void ClearScreen();
    void ToggleHold();
    void SetSideMode(int mode);
    void ToggleVerticalBlending();
    void ToggleColorIndicator();
    // Sizing by the views: the image of a channel slot or the composite for a zoom mode and a
    // client width. Clears sizeChanged; returns the size chosen.
    ImageSize SizeChannelImage(int slot, int zoomMode, int clientWidth, std::int32_t& sizeChanged);
    ImageSize SizeCompositeImage(int zoomMode, int clientWidth, std::int32_t& sizeChanged);
    void ReleaseCompositeImages();
    // Re-draws every existing side-scan image (and the composite) from the history.
    void RedrawSideScanImages();
    FormationInputs CurrentFormationInputs() const;

    // --- Speed source and GPS time -------------------------------------------------------------
    // "&OK" of the "Speed Info" dialog: applies the model and re-draws the images.
    void ApplySpeedDialog(const ShipSpeedDialogModel& dialog);
    void ToggleConvertUtcToLocal();
    void SynchronizeWithGpsTime();

    // --- GPS data and track plotter (CVantrelDoc_Gps.cpp) ---------------------------
    // Clears the decoded GPS state (clearTrack: the track too, its origin kept); views update.
    void ResetGpsData(bool clearTrack);
    // "&Erase GPS Tracks", "Zoom &In", "Zoom &Out" of the track plotter.
    void EraseGpsTracks();
    void ZoomTrackIn();
    void ZoomTrackOut();

    // --- Survey lines, steering and coverage (CVantrelDoc_Survey.cpp) ------------------
    // Reads a plan file (GPX, KML, CSV) and makes it the survey's plan, its first line active,
    // remembered in the settings. A file that is no plan is told to the operator (file and
    // line) and the plan held stays as it was.
    bool LoadSurveyPlan(const std::string& path);
    // "Open Survey Plan...", "Save Survey Plan..." (GPX routes): the dialogs, then the above.
    void OpenSurveyPlan();
    void SaveSurveyPlan();
    bool SaveSurveyPlanTo(const std::string& path);
    // The line generator's lines replace the plan (not yet saved to a file).
    void ReplaceSurveyLines(std::vector<survey::SurveyLine> lines);
    // "Next Line", "Previous Line".
    void NextSurveyLine();
    void PreviousSurveyLine();
    void SetOffLineAlarm(int metres);
    // "Record on Line": in real time, each line is recorded from its start to its end into a
    // file named after it in the recording directory.
    void ToggleRecordOnLine();
    // The plan file the settings name, read at start while the document holds no plan (the
    // settings are loaded again on entering real time: the plan held stays).
    void ReloadSurveyPlan();
    // The echo sounder's altitude, when there is one; the ground swath (both sides) at the
    // present range and altitude, for the generator.
    std::optional<double> CurrentAltitudeM() const;
    double CurrentSwathM() const;
    // The read-out again from the vessel's last pose (after a GPS read, a new plan, a line
    // change).
    void UpdateSteering();

    survey::SurveyState survey;

    // --- GPS reader and serial port (CVantrelDoc_GpsReader.cpp) ---------------------
    // The reader thread exists (or, with null, is going away).
    void SetGpsReader(GpsPortLink* link);
    // The device of a port number: the "GPS Device" path when set, else /dev/ttyS(n-1).
    std::string GpsDevice(int port) const;
    // A port that can be opened, or -1; with a device path set, only that device.
    int FindGpsPort(int port);
    bool OpenGpsPort(int port, int baudRate, int dataBits, int stopBits, int parity, int flow);
    void CloseAllGpsPorts();
    // Closes and reopens the port, resets the GPS data and restarts the read cycle.
    void ReopenGpsPort(int oldPort);
    void StartGpsReadTimer();
    void GpsReadTimer();  // timer 1040
    void GpsReadDone();   // the reader finished a read (window thread)
    // Tells the operator of each loss and return of the device that was not told yet.
    void ReportGpsDevice();
    void TakeGpsDeviceReports();
    GpsInput gpsInput;

    // --- GPS freshness (CVantrelDoc_GpsAge.cpp) -------------------------------------
    // The reader's counters looked at now, on the GPS clock (the tick count in real time, the
    // played record's stamp in playback).
    void ObserveGps();
    // The ages start afresh (no fix yet): after a reset of the GPS data, and when the clock
    // changes between real time and playback or playback jumps.
    void RestartGpsAge();
    std::uint32_t GpsClockMs();
    std::uint32_t GpsLostThreshold() const;
    GpsFixStatus GpsStatus();
    // The latest batch's sentences are recent enough to be recorded as current.
    bool GpsSentencesCurrent();
    // The navigation texts a ping is stamped with: the position, speed and course are "n/a"
    // once the fix is older than the threshold, so that no ping, event or speed correction
    // takes an old position as its own.
    void CopyCurrentGpsTexts(NavigationTexts& texts);

    // --- The recorder's, the echo sounder's and the events' steps in the road of a cycle.
    void RecordCycle();
    void AddEchoSounderColumn();
    void RedrawEchoSounderImage();
    void AddOrientationSample();
    void ClearEventMarkers();
    void RebuildEventMarkers();

    // --- Orientation sensor, echo sounder and orientation history (src/sensors) -----------
    // Decodes and filters the echo sounder's orientation block (accepted cycles, with a sensor).
    void ConvertOrientation();
    // The echo-sounder and history windows: their client size (the image is rebuilt, the
    // chart cleared) and their closing (no more columns or samples).
    void ResizeEchoSounder(int clientWidth, int clientHeight);
    void CloseEchoSounder();
    void ResizeHistoryChart(int clientWidth, int clientHeight);
    void CloseHistoryChart();
    // "OK" of the "Orientation Filters" dialog: the six switches, pitch .. altitude.
    void SetOrientationFilters(const std::array<bool, kFilterCount>& enabled);
    // The orientation window was dragged to this screen rectangle (left, top, right, bottom).
    void SetOrientationWindowRect(const std::array<std::int32_t, 4>& rect);

    EchoSounderImage echoSounder;
    HistoryChart historyChart;

    // --- Colour tables and palette editor (CVantrelDoc_Palette.cpp) ------------
    void InitPalette();
    void BuildColourTables();
    // activePalette from the custom palette or from table colourTableIndex.
    void BuildActivePalette();
    const ColourTable& CurrentColourTable() const;
    // Commands 32891..32900: the table every image uses; IsColourTableChecked for the menu.
    void SelectColourTable(int commandId);
    bool IsColourTableChecked(int commandId) const;
    // The "Color Table" setting: sets the current and the previous table (0..9, else 9).
    void SetColourTableSetting(int index);
    // The editor's "Apply" check box.
    void SetUseCustomPalette(bool on);
    // Command 41127; the window shows itself when paletteWindowVisible is set afterwards.
    bool CanTogglePaletteWindow() const { return palette.useCustomPalette != 0; }
    void TogglePaletteWindow();
    // Turns the custom palette on and shows the editor (the menu's way to the hidden editor).
    void ShowCustomPaletteEditor();
    // The editor window is created: makes its model (start-up state, hidden) and returns it.
    PaletteEditor& OpenPaletteEditor();
    // Copies the editor's palette and curves into the document.
    void ApplyEditor();
    // The editor window is destroyed: stores section "Palette" (windowRect: its valid on-screen
    // rectangle less the frame borders, or null) and, with the custom palette on, the file.
    void ClosePaletteEditor(bool applicationClosing, ProfileFile& settings,
                            const std::array<std::int32_t, 4>* windowRect);
    // Section "Palette" of the settings file, read once at start-up before OpenPaletteEditor.
    void LoadPaletteSettings(const ProfileFile& settings);
    bool LoadPaletteFile(const std::string& name);
    bool SavePaletteFile(const std::string& name);
    void LoadPaletteDialog();  // command 41121, the editor's "Load"
    void SavePaletteDialog();  // command 41122
    void SaveEditorPalette();  // the editor's "Save": ApplyEditor, then the dialog
    // Palette files are offered in the settings file's directory.
    std::string PaletteDirectory() const;

    PaletteState palette;

    // --- Data files: recording, playback, event files (CVantrelDoc_*.cpp) -----
    // "Record Data...": the save dialog, then StartRecordingTo. StartRecordingTo starts
    // recording (copying, in playback) to a chosen path; false when nothing is recorded.
    void StartRecording();
    bool StartRecordingTo(const std::string& path);
    void StopRecording();
    // "&Playback...": the open dialog, then OpenPlaybackFile; false when nothing plays.
    void OpenPlayback();
    bool OpenPlaybackFile(const std::string& path);
    void PlaybackDelayExpired();  // timer 1010
    void PlaybackTick();          // timer 1030
    // One record at playbackPosition: read, event-mark hand-off, validation, StoreCycle. A
    // damaged record is stepped over to the next record start (noted in playback.skipped)
    // and the record there is played. Record when a record was played; Truncated when the
    // file ended first (the position is then its end); Damaged when the file holds no
    // readable record at all.
    RecordRead PlayNextRecord();
    void CloseAllFiles();
    // Moves playbackPosition to the first record start at or after the rounded position.
    void Resynchronise(std::uint64_t position);
    // The records of the file being played (built on the first call after it was opened).
    const svx::RecordIndex& PlaybackIndex();
    // The playback bar: slider pressed / released at 0..100, play-speed spin by a step.
    void PlaybackSliderPressed();
    void PlaybackSliderReleased(int position);
    void StepPlaySpeed(int delta);
    // The play-speed rule on playSpeed (after the settings were loaded, and by the spin).
    void ApplyPlaySpeed();
    void ToggleSettingsChangeAlarm();  // "Settings Change &Alarm"
    void LoadEventFile();

    // --- Events (CVantrelDoc_Events*.cpp) ------------------------------------
    // A double-click on composite image row `row`, pixel column `x`; true when the dialog
    // opened for a new event.
    bool BeginNewEvent(int row, int x);
    // OK with the annotation typed, and Cancel of the dialog.
    void AcceptEvent(const std::string& typedAnnotation);
    void CancelEvent();
    void ShowEvent();
    void ReviewEvents();
    void NextEvent();
    void PreviousEvent();
    void DeleteEvent();
    void EditEvent();
    // Writes the current event mark into the record of eventPing: into the file being
    // recorded, and with `playbackToo` (a new or deleted event) into the file being played.
    // False (and the operator told) when no open data file has a record of that ping.
    bool StampEventMark(bool playbackToo);
    void ResetEventSlots();
    // The record just read in playback: its mark goes to the writer, its event to the dialog.
    void PlaybackEventHandOff();
    // Writes the event lists into their files now (each through a temporary file).
    void SaveEventFiles();
    // Menu toggles of the Events menu.
    void ToggleEventInput();
    void ToggleHoldWhenAdding();
    void ToggleEventMarkers();
    void ToggleAutoEventPopup();
    // The GPS input around playback: replay the recorded sentences, pause and resume the reader.
    void RunGpsPlaybackSequence();
    void SuspendGpsInput();
    void ResumeGpsInput();
    // "GPS Enabled" (32875): reading stops at once; turned on again it resumes with the port's
    // buffers purged (in real time; playback resumes it when it ends).
    void ToggleGpsEnabled();

    // Pauses playback for a moment (a modal dialog, a mouse action, the hold) and lets it go
    // on after a short delay, when a file is being played and the images are not held.
    void PausePlayback();
    void ResumePlayback();

    DataFileState files;
    PlaybackState playback;
    EventState events;
    CReadWriteFiles readWriteFiles{*this};
    // --- What the windows and the tools set (CVantrelDoc_Windows.cpp) ------------------------
    // The image mode of the configuration applied: three frequencies form the composite. The
    // main window applies it when it lays out the windows of a new configuration.
    void ApplyCompositeRule();
    // The command-line renderer forms every frequency's image whatever the configuration.
    void FormEveryFrequencyImage();
    enum class Bar { Tool, Status, Playback };
    bool ToggleBar(Bar bar);  // returns whether the bar is now shown
    struct StartupOptions {
        std::string settingsPath;
        std::string gpsDevice;  // the --gps device, used instead of the stored port
    };
    void SetStartupOptions(const StartupOptions& options);
    // The sizes of the main window's frame, which stored window rectangles are relative to.
    void SetLayoutMetrics(const LayoutMetrics& metrics);
    void SetConnectAddress(const std::string& address);  // pre-fills the Connect dialog
    void SetPaletteFrameRect(const std::array<std::int32_t, 4>& rect);
    void SetGpsTrackShown(bool shown);
    void SetGpsConfigDialogVisible(bool visible);
    void SetViewFeedback(const ViewFeedback& next);
    void SetHeadPort(int port);
    void SetRangeMetres(int metres);  // side-scan and echo-sounder range
    void SetGpsDevice(const std::string& device);
    bool UsePaletteFile(const std::string& path);
    void SetFileSystemAccess(const FileSystemAccess& access);
    ViewFeedback feedback;
    bool formEveryFrequencyImage = false;

    // --- Settings file (CVantrelDoc_Settings.cpp) -----------------------------------------
    // Read and write every setting of the file at iniPath (nothing without a path).
    void LoadSettings();
    void SaveSettings();
    void LoadSettings(const ProfileFile& file);
    void SaveSettings(ProfileFile& file);

    // --- Core members ---------------------------------------------------------------------
    std::array<HeadEntry, kHeadCount> heads;
    std::int32_t currentHead = 0;
    std::int32_t headCount = kHeadCount;
    std::int32_t headPort = 4040;
    std::int32_t commandLength = kCommandLength;
    std::int32_t replyHeaderLength = kReplyHeaderLength;
    std::int32_t replyDataLength = kReplyDataLength;
    std::array<std::uint8_t, kReceiveBufferLength> receiveBuffer{};
    std::array<std::uint8_t, kSystemInfoLength> systemInfo{};
    std::array<std::uint8_t, kReplyHeaderLength> esSecondHeader{};
    std::string serialNumber;
    std::int32_t orientationPresent = 0;
    std::int32_t threeFrequencySystem = 0;
    std::int32_t twoFrequencySystem = 0;
    std::int32_t displayChannelA = kHeadL;
    std::int32_t displayChannelB = kHeadH;
    std::int32_t discoveryMode = 1;
    std::int32_t systemInfoReceived = 0;
    std::int32_t playbackMode = 0;
    std::int32_t noDataFlag = 1;
    std::int32_t acceptedCycleCount = 0;
    std::int32_t range = 50;
    std::int32_t rangeIndex = 9;
    std::int32_t esRange = 50;
    std::int32_t esRangeIndex = 9;
    std::int32_t units = 0;
    std::string iniPath;

    // --- State of other concerns (one member each) ---------------------------------------------
    CycleTime cycleTime;
    SpeedSource speed;
    GpsState gps;
    OrientationState orientation;
    RecordingState recording;
    PingHistory history;
    ImageSet images;
    GpsPortSettings gpsConfig;
    DisplaySettings display;

    // --- Engine bookkeeping (not part of the stored state) ------------------------------------
    // Real time has been chosen in the Connect dialog (the engine is not idle).
    bool realTimeActive = false;
    // A data request has been sent since the last rebuild of the connections.
    bool pollingActive = false;
    // The document is closing: close notifications no longer reconnect.
    bool closing = false;
    std::int32_t rejectedCycleCount = 0;
    // Rebuilds of the connections: by the reply timer, by a close, by the Reconnect command.
    std::int32_t rebuildCount = 0;
    // The link to each head as the operator sees it (connecting, answering, silent).
    HeadLinks links;
    // The heads the polling cycle visits; one that stopped answering is left out for a while.
    PollingSet polling;

private:
    // The cycle's ping widens the coverage from the vessel's pose, and the read-out follows.
    void AddCycleToSurvey();
    // The pose at the current fix; nothing without one or when it is lost.
    std::optional<survey::VesselPose> CurrentVesselPose();
    void FollowLineRecording();
    void SurveyChanged();

    // Data files.
    void SetWindowTitle(const std::string& title);
    void CreateRecordEventFile(const std::string& dataPath);
    void OpenPlaybackEventFile(const std::string& dataPath);
    // The two kinds of playback file: a data file, opened for writing its event marks when
    // it may be written; an XTF file, read as records (notice: its damage and what is not
    // shown of it).
    bool OpenSvxPlaybackFile(const std::string& path);
    bool OpenXtfPlaybackFile(const std::string& path, std::string& notice, rec::PlayedHeads& played);
    // The windows of a played XTF file are those of its channels, titled with its frequencies.
    void ShowPlayedHeads(const rec::PlayedHeads& played);
    void ResetEventMarksForRecording();
    void HoldForEventDialog();
    void ReleaseEventDialogHold();
    void CloseEventDialog();
    void FillDialogFromEvent(const EventRecord& event);
    void AddMarkerAt(int number, std::int32_t ping, int x, int imageRow);
    void DrawMarkersOfPing(std::int32_t ping);
    void AppendCopiedEvents(std::int32_t ping);
    bool SaveEventList(const EventList& list, DataFile& file);
    // At close: saves an event file whose list changed since it was last saved, then closes it.
    void CloseEventFile(DataFile& file, const EventList& list, std::int32_t& unsaved);
    // True (and the operator told, naming the file and the line) when the played file's event
    // file is damaged, so that it must not be rewritten.
    bool RefuseChangeOfDamagedEventFile();
    // True (the operator told where there is something to tell) when no new event may be
    // begun at `ping` now.
    bool NewEventRefused(std::int32_t ping);
    void FillNewEventDialog(const RowInfo& stamp);
    // OK of a new event: stamps its record, then puts it into the list and saves the event
    // files; false (nothing kept) when its record cannot be stamped or the file may not change.
    bool AddTypedEvent(const std::string& annotation);
    // True when the data file a new event would be stamped into has a record of `ping`.
    bool PingHasRecord(std::int32_t ping);
    // A recording to `path` would write over the file being played or its event file (under
    // any name that resolves to it): told to the operator, true.
    bool RefuseRecordingOverPlayback(const std::string& path);
    bool RefuseEventFileOfAnotherRecording(const std::string& path);
    int MarkerRowCounter() const;
    void FinishRecordingCommand();
    void FinishPlaybackCommand();
    void UpdatePlaybackSlider();
    void WrapPlaybackToStart();
    void LeavePlayback();
    bool SeekRecordStart(std::uint64_t from);
    bool StepOverDamage();
    void NoteSkipped(const svx::DamagedStretch& stretch);
    // A playback that could not go on or start: the title and the bars show the state that
    // is left (real time when the engine still runs, otherwise neither).
    void ShowNotPlaying();

    void LoadWindowLayout(const ProfileFile& file);
    void SaveWindowLayout(ProfileFile& file);
    void CreateSockets();
    void SendCommand(int head);
    void StartPolling();
    void AdvanceAfterSecondHalf();
    // The cycle is complete; heads that answered while left out join for the next one.
    void EndCycle();
    // At a rebuild by the reply timer: counts the heads that missed their reply and leaves
    // out those that missed twice in a row.
    void LeaveOutSilentHeads();
    void LeftOutHeadConnected(int head, int errorCode);
    void TakeLeftOutReply(int head, const std::uint8_t* reply, int length);
    void ShowLeftOutHeads();
    void RestartReplyTimer();
    // Tells the windows when the link states changed, or always after a rebuild.
    void PublishLinks(bool rebuilt = false);

    Platform& platform;
    PlaybackClock playbackClock{platform};  // after the platform, which it holds
    DocumentObserver defaultObserver;
    DocumentObserver* observer = &defaultObserver;
    std::array<ReplyAssembler, kHeadCount> assemblers;
};

// The document pointer: null until the application has created the document.
CVantrelDoc* TheDocument();
