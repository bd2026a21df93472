#include "document/SettingsTable.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <type_traits>

#include "acquisition/RangeList.h"
#include "common/TextFormat.h"
#include "document/CVantrelDoc.h"
#include "gps/GpsFixAge.h"
#include "gps/GpsReadInterval.h"
#include "gps/GpsTrack.h"

namespace {

using Doc = CVantrelDoc;
using L = long long;

// A plain number of the document: read and written as it is.
#define SONVARA_FIELD(expr)                                         \
    .get = [](const Doc& d, int h) -> L { (void)h; return (expr); }, \
    .set = [](Doc& d, int h, L v) { (void)h; (expr) = static_cast<std::decay_t<decltype(expr)>>(v); }

constexpr std::int32_t kDefaultFrequencies[kHeadCount] = {120000, 260000, 540000, 200000};

// An empty directory keeps the current one.
void KeepUnlessEmpty(std::string& dir, const std::string& text) {
    if (!text.empty()) dir = text;
}

const Setting kSystem[] = {
    {.key = "Read File Dir:", .read = SettingRead::String,
     .getText = [](const Doc& d, int) { return d.playback.readFileDir; },
     .setText = [](Doc& d, int, const std::string& t) { KeepUnlessEmpty(d.playback.readFileDir, t); }},
    {.key = "Write File Dir:", .read = SettingRead::String,
     .getText = [](const Doc& d, int) { return d.recording.writeFileDir; },
     .setText = [](Doc& d, int, const std::string& t) { KeepUnlessEmpty(d.recording.writeFileDir, t); }},
    {.key = "Read Filter Index", .max = 1, SONVARA_FIELD(d.playback.readFilterIndex)},
    {.key = "Write Filter Index", .max = 1, SONVARA_FIELD(d.recording.writeFilterIndex)},
    {.key = "Playback Speed", .fallback = 5, .min = 1, .max = kPlaySpeedMax,
     SONVARA_FIELD(d.playback.playSpeed)},
    {.key = "Units", .max = 1, .get = [](const Doc& d, int) -> L { return d.units; },
     .set = [](Doc& d, int, L v) { d.units = v ? 1 : 0; }},
    {.key = "CompassDeclination", .fallback = 22, .min = -180, .max = 180,
     .get = [](const Doc& d, int) { return static_cast<L>(d.orientation.compassDeclination); },
     .set = [](Doc& d, int, L v) { d.orientation.compassDeclination = static_cast<int>(v); }},
    {.key = "Range Index", .read = SettingRead::WrittenOnly,
     .get = [](const Doc& d, int) -> L { return d.rangeIndex; }},
    {.key = "Range", .read = SettingRead::Text, .fallback = 50, .min = 5, .max = 300,
     .get = [](const Doc& d, int) -> L { return d.range; },
     .set = [](Doc& d, int, L v) {
         d.range = static_cast<std::int32_t>(v);
         d.rangeIndex = RangeIndexOf(d.range);
     }},
    {.key = "UseManualSpeed", .read = SettingRead::Text, .max = 1, SONVARA_FIELD(d.speed.useManualSpeed)},
    {.key = "UseGPSSpeed", .read = SettingRead::Text, .fallback = 1, .max = 1,
     SONVARA_FIELD(d.speed.useGpsSpeed)},
    // Tenths of a knot; rounded so that 0.3 knots is written as 3, not 2.
    {.key = "ManualShipSpeed", .read = SettingRead::Text, .fallback = 30, .max = 200,
     .get = [](const Doc& d, int) -> L { return std::lround(d.speed.manualSpeedKnots * 10); },
     .set = [](Doc& d, int, L v) { d.speed.manualSpeedKnots = static_cast<int>(v) / 10.0; }},
};

const Setting kHead[] = {
    {.key = "IP Address", .read = SettingRead::String, .installation = true,
     .getText = [](const Doc& d, int h) { return d.heads[h].ipAddress; },
     .setText = [](Doc& d, int h, const std::string& t) { d.heads[h].ipAddress = t; },
     .fallbackText = [](int h) { return std::string(DefaultHeadAddress(h)); }},
    {.key = "ES Range Index", .read = SettingRead::WrittenOnly, .installation = true,
     .get = [](const Doc& d, int) -> L { return d.esRangeIndex; }, .onlyHead = kHeadES},
    {.key = "ES Range", .read = SettingRead::Text, .fallback = 50, .min = 1, .max = 300,
     .installation = true, .get = [](const Doc& d, int) -> L { return d.esRange; },
     .set = [](Doc& d, int, L v) {
         d.esRange = static_cast<std::int32_t>(v);
         d.esRangeIndex = RangeIndexOf(d.esRange);
     },
     .onlyHead = kHeadES},
    // The key's spelling is the file's own.
    {.key = "Freqency", .min = 1000, .max = 1000000, .installation = true,
     SONVARA_FIELD(d.heads[h].frequencyHz),
     .headFallback = [](int h) -> L { return kDefaultFrequencies[h]; }},
    {.key = "Gain", .fallback = 6, .min = kMinGainDb, .max = kMaxGainDb, .installation = true,
     SONVARA_FIELD(d.heads[h].gainDb)},
    {.key = "Transmit Enable", .max = 0xFF, .installation = true,
     .get = [](const Doc& d, int h) -> L { return d.heads[h].transmitOffMask; },
     .set = [](Doc& d, int h, L v) { d.heads[h].transmitOffMask = static_cast<std::uint8_t>(v & 0xFF); }},
    {.key = "Available", .fallback = 1, .max = 1, .installation = true,
     SONVARA_FIELD(d.heads[h].available)},
};

const Setting kGps[] = {
    {.key = "GPS Comm Port", .read = SettingRead::Text, .fallback = 1, .min = 1, .max = 32,
     .installation = true, SONVARA_FIELD(d.gpsConfig.gpsPort)},
    // A device given on the command line is used instead of the stored one and never stored.
    {.key = "GPS Device", .read = SettingRead::String, .installation = true,
     .getText = [](const Doc& d, int) { return d.gpsConfig.gpsDevice; },
     .setText = [](Doc& d, int, const std::string& t) {
         d.gpsConfig.gpsDevice = d.gpsConfig.startupDevice.empty() ? t : d.gpsConfig.startupDevice;
     },
     .writes = [](const Doc& d) {
         return !d.gpsConfig.gpsDevice.empty() && d.gpsConfig.gpsDevice != d.gpsConfig.startupDevice;
     }},
    {.key = "BaudRate", .read = SettingRead::Text, .fallback = 19200, .min = 300, .max = 115200,
     .installation = true, SONVARA_FIELD(d.gpsConfig.gpsBaudRate)},
    {.key = "DataBits", .read = SettingRead::Text, .fallback = 8, .min = 5, .max = 8,
     .installation = true, SONVARA_FIELD(d.gpsConfig.gpsDataBits)},
    {.key = "StopBits", .read = SettingRead::Text, .max = 2, .installation = true,
     SONVARA_FIELD(d.gpsConfig.gpsStopBits)},
    {.key = "Parity", .read = SettingRead::Text, .max = 4, .installation = true,
     SONVARA_FIELD(d.gpsConfig.gpsParity)},
    {.key = "Flow", .read = SettingRead::Text, .max = 2, .installation = true,
     SONVARA_FIELD(d.gpsConfig.gpsFlowControl)},
    {.key = "GPS type", .read = SettingRead::Text, .max = 3, .installation = true,
     SONVARA_FIELD(d.gpsConfig.gpsSentenceSet)},
    {.key = "BaudRateIndex", .read = SettingRead::Text, .max = 9, .installation = true,
     SONVARA_FIELD(d.gpsConfig.gpsBaudRateIndex)},
    {.key = "GPS Tracking", .fallback = 1, .max = 1, SONVARA_FIELD(d.gpsConfig.gpsTracking)},
    {.key = "GPS Read Interval", .fallback = 1000, .min = kGpsReadIntervalMin,
     .max = kGpsReadIntervalMax, .get = [](const Doc& d, int) -> L { return d.gpsConfig.gpsReadInterval; },
     .set = [](Doc& d, int, L v) {
         d.gpsConfig.gpsReadInterval = ClampGpsReadInterval(static_cast<int>(v));
     }},
    {.key = "GPS Zoom Factor", .read = SettingRead::Text, .fallback = 1000, .min = 50, .max = 2500,
     .get = [](const Doc& d, int) -> L { return std::lround(d.gpsConfig.trackZoom * 1000); },
     .set = [](Doc& d, int, L v) {
         d.gpsConfig.trackZoom = NearestZoomStep(static_cast<int>(v) / 1000.0);
     }},
    // Milliseconds after which a fix counts as lost; read without the locale: what is not a
    // number keeps the default, and a number out of range is brought into it.
    {.key = "GPS Lost After ms", .read = SettingRead::String, .fallback = kGpsLostAfterDefaultMs,
     .min = 100, .max = 600000,
     .getText = [](const Doc& d, int) { return std::to_string(d.gpsConfig.gpsLostAfterMs); },
     .setText = [](Doc& d, int, const std::string& t) {
         const std::optional<double> value = ParseNumber(t);
         d.gpsConfig.gpsLostAfterMs =
             value ? ClampGpsLostAfter(static_cast<int>(std::clamp(*value, -1e9, 1e9)))
                   : kGpsLostAfterDefaultMs;
     }},
};

const Setting kView[] = {
    // Always starts hidden; its state is only written back.
    {.key = "Show Color Indicator", .read = SettingRead::WrittenOnly,
     .get = [](const Doc& d, int) -> L { return d.images.colorIndicator; }},
    {.key = "Show Grid", .fallback = 1, .max = 1, SONVARA_FIELD(d.display.showGrid)},
    {.key = "Show ES Grid", .fallback = 1, .max = 1, SONVARA_FIELD(d.display.showEsGrid)},
    {.key = "Color Table", .fallback = 9, .max = 9,
     .get = [](const Doc& d, int) -> L { return d.palette.colourTableIndex; },
     .set = [](Doc& d, int, L v) { d.SetColourTableSetting(static_cast<int>(v)); }},
    {.key = "Marker Text Size", .fallback = 14, .min = 6, .max = 72,
     SONVARA_FIELD(d.display.markerTextSize)},
    {.key = "Speed Correction Enabled", .fallback = 1, .max = 1, SONVARA_FIELD(d.speed.speedCorrection)},
    {.key = "Auto Synchronize with GPS Time", .max = 1, SONVARA_FIELD(d.speed.syncWithGpsTime)},
    {.key = "Convert UTC to Local Time", .max = 1, SONVARA_FIELD(d.speed.convertUtcToLocal)},
    // The alarm rings at most once per change: a pending ring (2) is stored as on.
    {.key = "Settings Change Alarm", .max = 1,
     .get = [](const Doc& d, int) -> L { return d.files.settingsChangeAlarm ? 1 : 0; },
     .set = [](Doc& d, int, L v) { d.files.settingsChangeAlarm = static_cast<std::int32_t>(v); }},
    {.key = "Hold When Adding Events", .max = 1,
     .get = [](const Doc& d, int) -> L { return d.events.holdWhenAdding; },
     .set = [](Doc& d, int, L v) { d.events.holdWhenAdding = v ? 1 : 0; }},
    {.key = "Tool Bar Visible", .read = SettingRead::Text, .fallback = 1, .max = 1,
     SONVARA_FIELD(d.display.toolBarVisible)},
    {.key = "Status Bar Visible", .read = SettingRead::Text, .fallback = 1, .max = 1,
     SONVARA_FIELD(d.display.statusBarVisible)},
    {.key = "File Playback Bar Visible", .read = SettingRead::Text, .fallback = 1, .max = 1,
     SONVARA_FIELD(d.display.playbackBarVisible)},
};

// Pitch, roll, heading, depth, temperature, altitude (the filters' order).
const Setting kFilters[] = {
    {.key = "Pitch", .max = 1, SONVARA_FIELD(d.orientation.filterEnabled[0])},
    {.key = "Roll", .max = 1, SONVARA_FIELD(d.orientation.filterEnabled[1])},
    {.key = "Heading", .max = 1, SONVARA_FIELD(d.orientation.filterEnabled[2])},
    {.key = "Depth", .max = 1, SONVARA_FIELD(d.orientation.filterEnabled[3])},
    {.key = "Temp", .max = 1, SONVARA_FIELD(d.orientation.filterEnabled[4])},
    {.key = "Altitude", .max = 1, SONVARA_FIELD(d.orientation.filterEnabled[5])},
};

// The survey's plan file is read again at start; the read-out turns red beyond the alarm.
const Setting kSurvey[] = {
    {.key = "Plan File", .read = SettingRead::String,
     .getText = [](const Doc& d, int) { return d.survey.settings.planFile; },
     .setText = [](Doc& d, int, const std::string& t) { d.survey.settings.planFile = t; }},
    {.key = "Off Line Alarm", .fallback = 10, .min = 1, .max = 1000,
     .get = [](const Doc& d, int) -> L { return d.survey.settings.alarmM; },
     .set = [](Doc& d, int, L v) { d.SetOffLineAlarm(static_cast<int>(std::clamp<L>(v, 1, 1000))); }},
    {.key = "Record On Line", .max = 1,
     .get = [](const Doc& d, int) -> L { return d.survey.lineRecording.enabled ? 1 : 0; },
     .set = [](Doc& d, int, L v) {
         if ((v != 0) != d.survey.lineRecording.enabled) d.ToggleRecordOnLine();
     }},
};

#undef SONVARA_FIELD

const SettingSection kSections[] = {
    {"System", kSystem}, {nullptr, kHead},     {"GPS Info", kGps},
    {"View", kView, true}, {"Filters Enabled", kFilters}, {"Survey", kSurvey},
};

}  // namespace

std::span<const SettingSection> SettingSections() {
    return kSections;
}
