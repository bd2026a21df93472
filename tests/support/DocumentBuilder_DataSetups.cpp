// The builder's set-ups of the GPS, palette, window and data-file state that no operation
// reaches alone; with DocumentBuilder_Setups.cpp the only place in the tests that writes fields
// of the document.

#include <mutex>

#include "support/DocumentBuilder.h"

DocumentBuilder& DocumentBuilder::GpsReaderWrites(const std::function<void(GpsState&)>& write) {
    std::lock_guard<std::mutex> guard(doc.gps.lock);
    write(doc.gps);
    return *this;
}

DocumentBuilder& DocumentBuilder::GpsReaderExists(bool exists) {
    return GpsReaderWrites([exists](GpsState& gps) { gps.readerExists = exists ? 1 : 0; });
}

DocumentBuilder& DocumentBuilder::GpsTrackRestart(bool restart) {
    return GpsReaderWrites([restart](GpsState& gps) { gps.trackRestart = restart ? 1 : 0; });
}

DocumentBuilder& DocumentBuilder::GpsPort(const GpsPortSettings& settings) {
    doc.gpsConfig = settings;
    return *this;
}

DocumentBuilder& DocumentBuilder::TrackZoom(double zoom) {
    doc.gpsConfig.trackZoom = zoom;
    return *this;
}

DocumentBuilder& DocumentBuilder::GpsSentenceSet(std::int32_t set) {
    doc.gpsConfig.gpsSentenceSet = set;
    return *this;
}

DocumentBuilder& DocumentBuilder::GpsReadInterval(std::int32_t ms) {
    doc.gpsConfig.gpsReadInterval = ms;
    return *this;
}

DocumentBuilder& DocumentBuilder::WindowLayout(const ::WindowLayout& layout) {
    doc.display.layout = layout;
    return *this;
}

DocumentBuilder& DocumentBuilder::WindowTitle(const std::string& title) {
    doc.recording.windowTitle = title;
    return *this;
}

DocumentBuilder& DocumentBuilder::RawColourTableIndex(int index) {
    doc.palette.colourTableIndex = index;
    return *this;
}

DocumentBuilder& DocumentBuilder::CustomPalette(const Palette& palette) {
    doc.palette.customPalette = palette;
    return *this;
}

DocumentBuilder& DocumentBuilder::PaletteFileName(const std::string& name) {
    doc.palette.paletteFileName = name;
    return *this;
}

DocumentBuilder& DocumentBuilder::ReadDirectory(const std::string& directory) {
    doc.playback.readFileDir = directory;
    return *this;
}

DocumentBuilder& DocumentBuilder::WriteDirectory(const std::string& directory) {
    doc.recording.writeFileDir = directory;
    return *this;
}

DocumentBuilder& DocumentBuilder::PingNumber(std::int32_t ping) {
    doc.recording.pingNumber = ping;
    return *this;
}

DocumentBuilder& DocumentBuilder::RecordedPingInterval(std::int32_t ms) {
    doc.files.recordedPingIntervalMs = ms;
    return *this;
}

DocumentBuilder& DocumentBuilder::Recording(bool on, bool copy) {
    doc.recording.recordingOn = on ? 1 : 0;
    doc.recording.copyMode = copy ? 1 : 0;
    return *this;
}

DocumentBuilder& DocumentBuilder::FileDenyWrite(bool deny) {
    doc.recording.fileDenyWrite = deny ? 1 : 0;
    return *this;
}

DocumentBuilder& DocumentBuilder::PlaySpeed(std::int32_t speed) {
    doc.playback.playSpeed = speed;
    return *this;
}

DocumentBuilder& DocumentBuilder::PlaybackPosition(std::uint64_t position) {
    doc.files.playbackPosition = position;
    return *this;
}

DocumentBuilder& DocumentBuilder::PlayedFile(std::uint64_t length, std::uint64_t position) {
    doc.files.playbackFileLength = length;
    return PlaybackPosition(position);
}

DocumentBuilder& DocumentBuilder::CaptureFirstPing() {
    doc.files.captureFirstPing = 1;
    return *this;
}

DocumentBuilder& DocumentBuilder::SettingsChangeAlarmLevel(std::int32_t level) {
    doc.files.settingsChangeAlarm = level;
    return *this;
}

DocumentBuilder& DocumentBuilder::PendingEventMark(std::int32_t ping, std::int32_t number) {
    doc.events.eventPing = ping;
    doc.files.eventMarkNumber = number;
    doc.files.eventMarkPending = 1;
    return *this;
}

DocumentBuilder& DocumentBuilder::PlayedEventNumber(std::int32_t number) {
    doc.files.playbackEventNumber = number;
    return *this;
}

DocumentBuilder& DocumentBuilder::PlayedEventFlag(bool shown) {
    doc.files.playbackEventFlag = shown ? 1 : 0;
    return *this;
}

DocumentBuilder& DocumentBuilder::EventList(const ::EventList& list) {
    doc.events.eventList = list;
    return *this;
}

DocumentBuilder& DocumentBuilder::UnsavedEvents(const ::EventList& list, bool playbackList) {
    EventList(list);
    (playbackList ? doc.events.playbackEventsUnsaved : doc.events.recordEventsUnsaved) = 1;
    return *this;
}
