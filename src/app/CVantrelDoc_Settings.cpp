// The settings file "Sonvara_RGB.ini": every setting is read at start-up and on entering real
// time, and written before the Connect dialog, before a file is played back and when the
// document closes. Keys missing from the file take their defaults; values out of range are
// taken as they are (the commands and the heads cope with them).

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>

#include "acquisition/CVantrelDoc.h"
#include "acquisition/RangeList.h"
#include "app/ProfileFile.h"
#include "common/TextFormat.h"
#include "gps/GpsFixAge.h"
#include "gps/GpsReadInterval.h"
#include "gps/GpsTrack.h"

namespace {

constexpr const char* kSystem = "System";
constexpr const char* kGpsInfo = "GPS Info";
constexpr const char* kView = "View";
constexpr const char* kFilters = "Filters Enabled";
constexpr const char* kFilterKeys[kFilterCount] = {"Pitch", "Roll", "Heading",
                                                   "Depth", "Temp", "Altitude"};
constexpr const char* kRectKeys[4] = {" Left", " Top", " Right", " Bottom"};
constexpr std::int32_t kDefaultFrequencies[kHeadCount] = {120000, 260000, 540000, 200000};

// A key read as text and converted with the classic decimal conversion.
int TextInt(const ProfileFile& file, const char* section, const char* key, const char* fallback) {
    return ProfileTextToInt(file.GetProfileString(section, key, fallback));
}

// Milliseconds, read without the locale; what is not a number keeps the default, and a
// number out of range is brought into it.
int GpsLostAfter(const ProfileFile& file) {
    const std::optional<double> value =
        ParseNumber(file.GetProfileString(kGpsInfo, "GPS Lost After ms", ""));
    if (!value) return kGpsLostAfterDefaultMs;
    return ClampGpsLostAfter(static_cast<int>(std::clamp(*value, -1e9, 1e9)));
}

std::int32_t& RectField(WindowRect& rect, int field) {
    return field == 0 ? rect.left : field == 1 ? rect.top : field == 2 ? rect.right : rect.bottom;
}

}  // namespace

void CVantrelDoc::LoadSettings() {
    if (!iniPath.empty()) LoadSettings(ProfileFile(iniPath));
}

void CVantrelDoc::SaveSettings() {
    if (iniPath.empty()) return;
    ProfileFile file(iniPath);
    SaveSettings(file);
    file.Save();  // write failures are ignored: the next save tries again
}

void CVantrelDoc::LoadSettings(const ProfileFile& file) {
    LoadSystemSettings(file);
    LoadHeadSettings(file);
    LoadGpsSettings(file);
    LoadViewSettings(file);
    for (int i = 0; i < kFilterCount; ++i) {
        orientation.filterEnabled[i] = file.GetProfileInt(kFilters, kFilterKeys[i], 0);
    }
    BuildSwitchCommands();
    BuildActivePalette();
    observer->PaletteChanged();
}

void CVantrelDoc::LoadSystemSettings(const ProfileFile& file) {
    // An empty directory keeps the current one.
    const std::string readDir = file.GetProfileString(kSystem, "Read File Dir:", "");
    const std::string writeDir = file.GetProfileString(kSystem, "Write File Dir:", "");
    if (!readDir.empty()) playback.readFileDir = readDir;
    if (!writeDir.empty()) recording.writeFileDir = writeDir;
    playback.readFilterIndex = file.GetProfileInt(kSystem, "Read Filter Index", 0);
    recording.writeFilterIndex = file.GetProfileInt(kSystem, "Write Filter Index", 0);
    playback.playSpeed = file.GetProfileInt(kSystem, "Playback Speed", 5);
    ApplyPlaySpeed();
    units = file.GetProfileInt(kSystem, "Units", 0) ? 1 : 0;
    orientation.compassDeclination = file.GetProfileInt(kSystem, "CompassDeclination", 22);
    range = TextInt(file, kSystem, "Range", "50");
    rangeIndex = RangeIndexOf(range);
    speed.useManualSpeed = TextInt(file, kSystem, "UseManualSpeed", "0");
    speed.useGpsSpeed = TextInt(file, kSystem, "UseGPSSpeed", "1");
    speed.manualSpeedKnots = TextInt(file, kSystem, "ManualShipSpeed", "30") / 10.0;
}

void CVantrelDoc::LoadHeadSettings(const ProfileFile& file) {
    int present[kHeadCount];
    for (int h = 0; h < kHeadCount; ++h) {
        const char* section = HeadIniSection(h);
        HeadEntry& head = heads[h];
        head.ipAddress = file.GetProfileString(section, "IP Address", DefaultHeadAddress(h));
        head.frequencyHz = file.GetProfileInt(section, "Freqency", kDefaultFrequencies[h]);
        head.gainDb = file.GetProfileInt(section, "Gain", 6);
        head.transmitOffMask =
            static_cast<std::uint8_t>(file.GetProfileInt(section, "Transmit Enable", 0) & 0xFF);
        head.available = file.GetProfileInt(section, "Available", 1);
        present[h] = head.available;
    }
    esRange = TextInt(file, HeadIniSection(kHeadES), "ES Range", "50");
    esRangeIndex = RangeIndexOf(esRange);
    ConfigureHeads(present);
}

void CVantrelDoc::LoadGpsSettings(const ProfileFile& file) {
    GpsPortSettings& g = gpsConfig;
    g.gpsPort = TextInt(file, kGpsInfo, "GPS Comm Port", "1");
    g.gpsDevice = g.startupDevice.empty() ? file.GetProfileString(kGpsInfo, "GPS Device", "")
                                          : g.startupDevice;
    g.gpsBaudRate = TextInt(file, kGpsInfo, "BaudRate", "19200");
    g.gpsDataBits = static_cast<std::uint8_t>(TextInt(file, kGpsInfo, "DataBits", "8"));
    g.gpsStopBits = static_cast<std::uint8_t>(TextInt(file, kGpsInfo, "StopBits", "0"));
    g.gpsParity = static_cast<std::uint8_t>(TextInt(file, kGpsInfo, "Parity", "0"));
    g.gpsFlowControl = static_cast<std::uint8_t>(TextInt(file, kGpsInfo, "Flow", "0"));
    g.gpsSentenceSet = TextInt(file, kGpsInfo, "GPS type", "0");
    g.gpsBaudRateIndex = TextInt(file, kGpsInfo, "BaudRateIndex", "0");
    g.gpsTracking = file.GetProfileInt(kGpsInfo, "GPS Tracking", 1);
    g.gpsReadInterval =
        ClampGpsReadInterval(file.GetProfileInt(kGpsInfo, "GPS Read Interval", 1000));
    g.trackZoom = NearestZoomStep(TextInt(file, kGpsInfo, "GPS Zoom Factor", "1000") / 1000.0);
    g.gpsLostAfterMs = GpsLostAfter(file);
}

void CVantrelDoc::LoadViewSettings(const ProfileFile& file) {
    // The colour indicator always starts hidden; its stored state is only written back.
    images.colorIndicator = 0;
    display.showGrid = file.GetProfileInt(kView, "Show Grid", 1);
    display.showEsGrid = file.GetProfileInt(kView, "Show ES Grid", 1);
    SetColourTableSetting(file.GetProfileInt(kView, "Color Table", 9));
    display.markerTextSize = file.GetProfileInt(kView, "Marker Text Size", 14);
    speed.speedCorrection = file.GetProfileInt(kView, "Speed Correction Enabled", 1);
    speed.syncWithGpsTime = file.GetProfileInt(kView, "Auto Synchronize with GPS Time", 0);
    speed.convertUtcToLocal = file.GetProfileInt(kView, "Convert UTC to Local Time", 0);
    files.settingsChangeAlarm = file.GetProfileInt(kView, "Settings Change Alarm", 0);
    events.holdWhenAdding = file.GetProfileInt(kView, "Hold When Adding Events", 0) ? 1 : 0;
    display.toolBarVisible = TextInt(file, kView, "Tool Bar Visible", "1");
    display.statusBarVisible = TextInt(file, kView, "Status Bar Visible", "1");
    display.playbackBarVisible = TextInt(file, kView, "File Playback Bar Visible", "1");
    // Missing rectangles take the default layout.
    WindowLayout& layout = display.layout;
    ComputeDefaultLayout(layout);
    for (int w = 0; w < kLayoutWindowCount; ++w) {
        const std::string name = LayoutWindowName(w);
        for (int f = 0; f < 4; ++f) {
            std::int32_t& value = RectField(layout.rects[w], f);
            value = file.GetProfileInt(kView, name + kRectKeys[f], value);
        }
        layout.show[w] = file.GetProfileInt(kView, LayoutShowKey(w), 1);
    }
    observer->ApplyWindowLayout(true);
}

void CVantrelDoc::SaveSettings(ProfileFile& file) {
    file.WriteProfileString(kSystem, "Read File Dir:", playback.readFileDir);
    file.WriteProfileString(kSystem, "Write File Dir:", recording.writeFileDir);
    file.WriteProfileInt(kSystem, "Read Filter Index", playback.readFilterIndex);
    file.WriteProfileInt(kSystem, "Write Filter Index", recording.writeFilterIndex);
    file.WriteProfileInt(kSystem, "Playback Speed", playback.playSpeed);
    file.WriteProfileInt(kSystem, "Units", units);
    file.WriteProfileInt(kSystem, "CompassDeclination",
                         static_cast<long long>(orientation.compassDeclination));
    file.WriteProfileInt(kSystem, "Range Index", rangeIndex);
    file.WriteProfileInt(kSystem, "Range", range);
    file.WriteProfileInt(kSystem, "UseManualSpeed", speed.useManualSpeed);
    file.WriteProfileInt(kSystem, "UseGPSSpeed", speed.useGpsSpeed);
    // Tenths of a knot; rounded so that 0.3 knots is written as 3, not 2.
    file.WriteProfileInt(kSystem, "ManualShipSpeed", std::lround(speed.manualSpeedKnots * 10));
    // The heads and the serial port describe the installation: only real time knows them.
    if (!playbackMode) SaveHeadSettings(file);
    SaveGpsSettings(file);
    SaveViewSettings(file);
    for (int i = 0; i < kFilterCount; ++i) {
        file.WriteProfileInt(kFilters, kFilterKeys[i], orientation.filterEnabled[i]);
    }
}

void CVantrelDoc::SaveHeadSettings(ProfileFile& file) {
    for (int h = 0; h < kHeadCount; ++h) {
        const char* section = HeadIniSection(h);
        const HeadEntry& head = heads[h];
        file.WriteProfileString(section, "IP Address", head.ipAddress);
        if (h == kHeadES) {
            file.WriteProfileInt(section, "ES Range Index", esRangeIndex);
            file.WriteProfileInt(section, "ES Range", esRange);
        }
        file.WriteProfileInt(section, "Freqency", head.frequencyHz);
        file.WriteProfileInt(section, "Gain", head.gainDb);
        file.WriteProfileInt(section, "Transmit Enable", head.transmitOffMask);
        file.WriteProfileInt(section, "Available", head.available);
    }
}

void CVantrelDoc::SaveGpsSettings(ProfileFile& file) {
    const GpsPortSettings& g = gpsConfig;
    if (!playbackMode) {
        file.WriteProfileInt(kGpsInfo, "GPS Comm Port", g.gpsPort);
        if (!g.gpsDevice.empty() && g.gpsDevice != g.startupDevice) {
            file.WriteProfileString(kGpsInfo, "GPS Device", g.gpsDevice);
        }
        file.WriteProfileInt(kGpsInfo, "BaudRate", g.gpsBaudRate);
        file.WriteProfileInt(kGpsInfo, "DataBits", g.gpsDataBits);
        file.WriteProfileInt(kGpsInfo, "StopBits", g.gpsStopBits);
        file.WriteProfileInt(kGpsInfo, "Parity", g.gpsParity);
        file.WriteProfileInt(kGpsInfo, "Flow", g.gpsFlowControl);
        file.WriteProfileInt(kGpsInfo, "GPS type", g.gpsSentenceSet);
        file.WriteProfileInt(kGpsInfo, "BaudRateIndex", g.gpsBaudRateIndex);
    }
    file.WriteProfileInt(kGpsInfo, "GPS Tracking", g.gpsTracking);
    file.WriteProfileInt(kGpsInfo, "GPS Read Interval", g.gpsReadInterval);
    file.WriteProfileInt(kGpsInfo, "GPS Zoom Factor", std::lround(g.trackZoom * 1000));
    file.WriteProfileInt(kGpsInfo, "GPS Lost After ms", g.gpsLostAfterMs);
}

void CVantrelDoc::SaveViewSettings(ProfileFile& file) {
    file.WriteProfileInt(kView, "Show Color Indicator", images.colorIndicator);
    file.WriteProfileInt(kView, "Show Grid", display.showGrid);
    file.WriteProfileInt(kView, "Show ES Grid", display.showEsGrid);
    file.WriteProfileInt(kView, "Color Table", palette.colourTableIndex);
    file.WriteProfileInt(kView, "Marker Text Size", display.markerTextSize);
    file.WriteProfileInt(kView, "Speed Correction Enabled", speed.speedCorrection);
    file.WriteProfileInt(kView, "Auto Synchronize with GPS Time", speed.syncWithGpsTime);
    file.WriteProfileInt(kView, "Convert UTC to Local Time", speed.convertUtcToLocal);
    // The alarm rings at most once per change: a pending ring (2) is stored as on.
    file.WriteProfileInt(kView, "Settings Change Alarm", files.settingsChangeAlarm ? 1 : 0);
    file.WriteProfileInt(kView, "Hold When Adding Events", events.holdWhenAdding);
    file.WriteProfileInt(kView, "Tool Bar Visible", display.toolBarVisible);
    file.WriteProfileInt(kView, "Status Bar Visible", display.statusBarVisible);
    file.WriteProfileInt(kView, "File Playback Bar Visible", display.playbackBarVisible);
    WindowLayout& layout = display.layout;
    for (int w = 0; w < kLayoutWindowCount; ++w) {
        WindowRect taken;
        const bool exists = observer->TakeWindowRect(w, taken);
        // The main window always exists; a minimised or off-screen window keeps the stored
        // rectangle.
        layout.show[w] = (w == kMenuFrame || exists) ? 1 : 0;
        if (exists && taken.IsStorable()) layout.rects[w] = taken;
        const std::string name = LayoutWindowName(w);
        for (int f = 0; f < 4; ++f) {
            file.WriteProfileInt(kView, name + kRectKeys[f], RectField(layout.rects[w], f));
        }
        file.WriteProfileInt(kView, LayoutShowKey(w), layout.show[w]);
    }
}
