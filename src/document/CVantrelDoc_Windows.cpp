// What the windows and the command-line tools set in the document: the configuration's image
// mode, the bars shown, the windows' places and feedback, the start-up options. Every change
// they make goes through one of these operations.

#include "acquisition/RangeList.h"
#include "document/CVantrelDoc.h"

void CVantrelDoc::ApplyCompositeRule() {
    // A three-frequency system forms every frequency's image on each ping (composite mode);
    // other systems form their two display channels, unless a tool asked for every image.
    images.compositeMode = (threeFrequencySystem || formEveryFrequencyImage) ? 1 : 0;
}

void CVantrelDoc::FormEveryFrequencyImage() {
    formEveryFrequencyImage = true;
    images.compositeMode = 1;
}

bool CVantrelDoc::ToggleBar(Bar bar) {
    std::int32_t& shown = bar == Bar::Tool     ? display.toolBarVisible
                          : bar == Bar::Status ? display.statusBarVisible
                                               : display.playbackBarVisible;
    shown = !shown;
    return shown != 0;
}

void CVantrelDoc::SetStartupOptions(const StartupOptions& options) {
    iniPath = options.settingsPath;
    gpsConfig.startupDevice = options.gpsDevice;
}

void CVantrelDoc::SetLayoutMetrics(const LayoutMetrics& metrics) {
    display.layout.metrics = metrics;
}

void CVantrelDoc::SetConnectAddress(const std::string& address) {
    heads[kHeadL].ipAddress = address;
}

void CVantrelDoc::SetPaletteFrameRect(const std::array<std::int32_t, 4>& rect) {
    palette.paletteFrameRect = rect;
}

void CVantrelDoc::SetGpsTrackShown(bool shown) {
    gpsConfig.gpsTracking = shown ? 1 : 0;
}

void CVantrelDoc::SetGpsConfigDialogVisible(bool visible) {
    gps.configDialogVisible = visible;
}

void CVantrelDoc::SetViewFeedback(const ViewFeedback& next) {
    feedback = next;
}

void CVantrelDoc::SetHeadPort(int port) {
    headPort = port;
}

void CVantrelDoc::SetRangeMetres(int metres) {
    range = esRange = metres;
    rangeIndex = esRangeIndex = RangeIndexOf(metres);
}

void CVantrelDoc::SetGpsDevice(const std::string& device) {
    gpsConfig.gpsDevice = device;
}

bool CVantrelDoc::UsePaletteFile(const std::string& path) {
    palette.useCustomPalette = 1;
    return LoadPaletteFile(path);
}

void CVantrelDoc::SetFileSystemAccess(const FileSystemAccess& access) {
    files.fileSystem = access;
}
