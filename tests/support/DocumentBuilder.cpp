#include "support/DocumentBuilder.h"

#include <cmath>
#include <mutex>

#include "app/AcquisitionControls.h"
#include "gps/ShipSpeedDialogModel.h"

// --- Through the document's operations -----------------------------------------------------

DocumentBuilder& DocumentBuilder::Switch(std::int32_t state, bool on,
                                         void (CVantrelDoc::*toggle)()) {
    if ((state != 0) != on) (doc.*toggle)();
    return *this;
}

DocumentBuilder& DocumentBuilder::Heads(std::initializer_list<int> present) {
    std::array<int, kHeadCount> flags{};
    for (const int head : present) flags[head] = 1;
    return HeadsPresent(flags);
}

DocumentBuilder& DocumentBuilder::HeadsPresent(const std::array<int, kHeadCount>& present) {
    Installed(present);
    doc.ConfigureHeads(present.data());
    return *this;
}

DocumentBuilder& DocumentBuilder::Range(int metres) {
    doc.SetRangeMetres(metres);
    return *this;
}

DocumentBuilder& DocumentBuilder::Units(int units) {
    SetUnits(doc, units);
    return *this;
}

DocumentBuilder& DocumentBuilder::SettingsFile(const std::string& path) {
    doc.SetStartupOptions({path, doc.gpsConfig.startupDevice});
    return *this;
}

DocumentBuilder& DocumentBuilder::StartupGpsDevice(const std::string& device) {
    doc.SetStartupOptions({doc.iniPath, device});
    return *this;
}

DocumentBuilder& DocumentBuilder::GpsDevice(const std::string& device) {
    doc.SetGpsDevice(device);
    return *this;
}

DocumentBuilder& DocumentBuilder::ConnectAddress(const std::string& address) {
    doc.SetConnectAddress(address);
    return *this;
}

DocumentBuilder& DocumentBuilder::GpsTrackShown(bool shown) {
    doc.SetGpsTrackShown(shown);
    return *this;
}

DocumentBuilder& DocumentBuilder::LayoutMetrics(const ::LayoutMetrics& metrics) {
    doc.SetLayoutMetrics(metrics);
    return *this;
}

DocumentBuilder& DocumentBuilder::FileSystem(const FileSystemAccess& access) {
    doc.SetFileSystemAccess(access);
    return *this;
}

DocumentBuilder& DocumentBuilder::FreeSpace(
    std::optional<std::uint64_t> (*freeSpace)(const std::string&)) {
    return FileSystem({freeSpace, doc.files.fileSystem.makeWritable});
}

DocumentBuilder& DocumentBuilder::MakeWritable(bool (*makeWritable)(const std::string&)) {
    return FileSystem({doc.files.fileSystem.freeSpace, makeWritable});
}

DocumentBuilder& DocumentBuilder::EventInput(bool on) {
    return Switch(doc.events.eventInputEnabled, on, &CVantrelDoc::ToggleEventInput);
}

DocumentBuilder& DocumentBuilder::HoldWhenAdding(bool on) {
    return Switch(doc.events.holdWhenAdding, on, &CVantrelDoc::ToggleHoldWhenAdding);
}

DocumentBuilder& DocumentBuilder::EventMarkers(bool on) {
    return Switch(doc.events.showEventMarkers, on, &CVantrelDoc::ToggleEventMarkers);
}

DocumentBuilder& DocumentBuilder::AutoEventPopup(bool on) {
    return Switch(doc.events.autoEventPopup, on, &CVantrelDoc::ToggleAutoEventPopup);
}

DocumentBuilder& DocumentBuilder::SettingsChangeAlarm(bool on) {
    return Switch(doc.files.settingsChangeAlarm, on, &CVantrelDoc::ToggleSettingsChangeAlarm);
}

DocumentBuilder& DocumentBuilder::Held(bool held) {
    return Switch(doc.images.held, held, &CVantrelDoc::ToggleHold);
}

DocumentBuilder& DocumentBuilder::SideMode(int mode) {
    doc.SetSideMode(mode);
    return *this;
}

DocumentBuilder& DocumentBuilder::ManualSpeed(double knots, bool speedCorrection) {
    return Speed(SpeedFrom::Manual, knots, speedCorrection);
}

DocumentBuilder& DocumentBuilder::Speed(SpeedFrom from, double knots, bool speedCorrection) {
    ShipSpeedDialogModel dialog(doc.speed);
    if (from == SpeedFrom::Manual) dialog.ChooseManualSpeed();
    if (from == SpeedFrom::Gps) dialog.ChooseGpsSpeed();
    if (from == SpeedFrom::ProgramDefault) dialog.ChooseProgramDefault();
    dialog.SetSpeedCorrection(speedCorrection);
    const int target = static_cast<int>(std::lround(knots * 10.0));
    while (dialog.SpinPosition() != target && dialog.Spin(target > dialog.SpinPosition() ? 1 : -1)) {
    }
    doc.ApplySpeedDialog(dialog);
    return *this;
}

DocumentBuilder& DocumentBuilder::SpeedCorrection(bool on) {
    ShipSpeedDialogModel dialog(doc.speed);
    dialog.SetSpeedCorrection(on);
    doc.ApplySpeedDialog(dialog);
    return *this;
}
