#pragma once
// Sets up a document for a test, step by step:
//
//     DocumentBuilder(doc).Heads({kHeadL, kHeadM, kHeadH}).Range(75).Units(1);
//
// Where the document has an operation for a state, the builder calls it, so that a test's
// set-up takes the road the windows and the tools take. The states that no operation reaches
// alone (a flag that playing a file sets, a value that a head's reply brings, a counter that
// the road of a cycle moves, what the GPS reader thread writes) are written by the set-ups of
// the second part, which say what they stand in for. DocumentBuilder_Setups.cpp and
// DocumentBuilder_DataSetups.cpp are the only files of the tests that write fields of the
// document; the check `tests_write_no_document_field` keeps the converted tests from it.

#include <array>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "document/CVantrelDoc.h"

class DocumentBuilder {
public:
    explicit DocumentBuilder(CVantrelDoc& document) : doc(document) {}

    // --- Through the document's operations ------------------------------------------------
    // The installation: these heads present, the others absent, as a system-information reply
    // reports it and ConfigureHeads applies it.
    DocumentBuilder& Heads(std::initializer_list<int> present);
    DocumentBuilder& HeadsPresent(const std::array<int, kHeadCount>& present);
    DocumentBuilder& Range(int metres);  // side-scan and echo-sounder range
    DocumentBuilder& Units(int units);   // 0 metres, 1 feet (the Units menu)
    DocumentBuilder& SettingsFile(const std::string& path);
    DocumentBuilder& StartupGpsDevice(const std::string& device);  // the --gps option
    DocumentBuilder& GpsDevice(const std::string& device);
    DocumentBuilder& ConnectAddress(const std::string& address);  // the first head's address
    DocumentBuilder& GpsTrackShown(bool shown);
    DocumentBuilder& LayoutMetrics(const ::LayoutMetrics& metrics);
    DocumentBuilder& FileSystem(const FileSystemAccess& access);
    DocumentBuilder& FreeSpace(std::optional<std::uint64_t> (*freeSpace)(const std::string&));
    DocumentBuilder& MakeWritable(bool (*makeWritable)(const std::string&));
    // The Events menu's switches, each toggled when it differs from `on`.
    DocumentBuilder& EventInput(bool on);
    DocumentBuilder& HoldWhenAdding(bool on);
    DocumentBuilder& EventMarkers(bool on);
    DocumentBuilder& AutoEventPopup(bool on);
    DocumentBuilder& SettingsChangeAlarm(bool on);
    DocumentBuilder& Held(bool held);  // "&Hold", toggled when it differs
    DocumentBuilder& SideMode(int mode);
    // The "Speed Info" dialog's choices: the speed source, the manual speed, speed correction.
    enum class SpeedFrom { Manual, Gps, ProgramDefault };
    DocumentBuilder& Speed(SpeedFrom from, double knots, bool speedCorrection = true);
    DocumentBuilder& ManualSpeed(double knots, bool speedCorrection = true);
    DocumentBuilder& SpeedCorrection(bool on);  // the other choices of the dialog kept

    // --- Set-ups that no operation reaches alone --------------------------------------------
    // The mode flag of playback without a file being played (the windows' and the commands'
    // behaviour in playback), or real time without a connection.
    DocumentBuilder& PlaybackFlag(bool playback);
    DocumentBuilder& RealTimeActive(bool active);
    // What a system-information reply brings: the presence flags and the head count, without
    // the configuration the operator applies afterwards.
    DocumentBuilder& Installed(const std::array<int, kHeadCount>& present);
    DocumentBuilder& SystemInfoReceived(bool received);
    DocumentBuilder& DiscoveryMode(bool discovering);
    DocumentBuilder& OrientationPresent(bool present);
    // What a head's reply or a played record brings: its frequency and gain.
    DocumentBuilder& Frequency(int head, int hz);
    DocumentBuilder& Gain(int head, int gainDb);
    DocumentBuilder& Gains(const std::array<int, kHeadCount>& gainsDb);
    DocumentBuilder& TransmitOff(int head, std::uint8_t mask);
    DocumentBuilder& AcceptedCycleCount(std::int32_t cycles);  // steps the views' spinner
    // A received cycle's data: "no data yet" cleared or set again.
    DocumentBuilder& NoData(bool none);
    // The configuration's kind and channels as a played record of another system sets them.
    DocumentBuilder& ThreeFrequencySystem(bool three);
    DocumentBuilder& DisplayChannels(int a, int b);
    DocumentBuilder& CompositeMode(bool composite);
    // A range step left at an index of the range list (the range itself kept).
    DocumentBuilder& RangeIndex(int index);
    // A played record's echo-sounder range, which may differ from the side-scan range.
    DocumentBuilder& EsRange(int metres);
    // The image state that the road of a cycle moves.
    DocumentBuilder& CompositeRowCounter(std::int32_t rows);
    DocumentBuilder& HeldRowCounter(std::int32_t rows);
    DocumentBuilder& HeldByEventDialog(bool held);
    // The hold flag alone, without the pause of playback or the redraw that "&Hold" brings.
    DocumentBuilder& HeldFlag(bool held);
    // The next stored cycle begins after a separator (playback wrapped to the file's start).
    DocumentBuilder& SeparatorPending();
    // The ring's write position moved back, so that the next cycle refills that slot.
    DocumentBuilder& HistoryWriteIndex(std::int32_t index);
    DocumentBuilder& SlotRemainder(int slot, double remainder);
    DocumentBuilder& EventMarkerPath(const std::vector<EventMarker>& markers);
    DocumentBuilder& PingInterval(std::int32_t ms);
    // The links as the engine would have left them.
    DocumentBuilder& Links(const std::array<LinkState, kHeadCount>& states, int leftOutHead);
    DocumentBuilder& LeftOutOfPolling(int head);
    // The orientation sensor's altitude: the reading and the value shown.
    DocumentBuilder& Altitude(double current, double shown);
    DocumentBuilder& AltitudeShown(double shown);
    // A manual speed for the cycles stored next, without the redraw of what is shown that the
    // "Speed Info" dialog's OK brings.
    DocumentBuilder& StoringSpeed(double knots);
    // The filtered orientation a cycle is stored with.
    DocumentBuilder& Orientation(double altitudeM, double headingDeg);
    // The GPS reader thread writing the decoded state under its lock.
    DocumentBuilder& GpsReaderWrites(const std::function<void(GpsState&)>& write);
    DocumentBuilder& GpsReaderExists(bool exists);
    DocumentBuilder& GpsPort(const GpsPortSettings& settings);  // section "GPS Info"
    DocumentBuilder& TrackZoom(double zoom);
    DocumentBuilder& GpsSentenceSet(std::int32_t set);
    DocumentBuilder& GpsReadInterval(std::int32_t ms);
    DocumentBuilder& WindowLayout(const ::WindowLayout& layout);
    DocumentBuilder& WindowTitle(const std::string& title);
    // Palette fields as a settings file or the editor would have left them.
    DocumentBuilder& RawColourTableIndex(int index);
    DocumentBuilder& CustomPalette(const Palette& palette);
    DocumentBuilder& PaletteFileName(const std::string& name);
    // The data files' state: directories, ping numbers, the recorder's switches.
    DocumentBuilder& ReadDirectory(const std::string& directory);
    DocumentBuilder& WriteDirectory(const std::string& directory);
    DocumentBuilder& PingNumber(std::int32_t ping);
    // The ping interval the next record carries.
    DocumentBuilder& RecordedPingInterval(std::int32_t ms);
    DocumentBuilder& Recording(bool on, bool copy);
    DocumentBuilder& FileDenyWrite(bool deny);
    DocumentBuilder& PlaySpeed(std::int32_t speed);
    DocumentBuilder& PlaybackPosition(std::uint64_t position);
    // The length of the file being played, opened by the test, and the place to read next.
    DocumentBuilder& PlayedFile(std::uint64_t length, std::uint64_t position);
    // The next record read notes its ping as the first one of the file, as after opening.
    DocumentBuilder& CaptureFirstPing();
    DocumentBuilder& SettingsChangeAlarmLevel(std::int32_t level);
    // An event mark waiting to be written into the record of `ping`.
    DocumentBuilder& PendingEventMark(std::int32_t ping, std::int32_t number);
    // The event of the record just played, and whether one is shown.
    DocumentBuilder& PlayedEventNumber(std::int32_t number);
    DocumentBuilder& PlayedEventFlag(bool shown);
    DocumentBuilder& EventList(const ::EventList& list);
    // An event list whose last saving failed (`unsaved` marks which list: playback or record).
    DocumentBuilder& UnsavedEvents(const ::EventList& list, bool playbackList);
    DocumentBuilder& GpsTrackRestart(bool restart);

private:
    // Runs the menu toggle when the switch's state differs from `on`.
    DocumentBuilder& Switch(std::int32_t state, bool on, void (CVantrelDoc::*toggle)());

    CVantrelDoc& doc;
};
