#include "app/MenuLayout.h"

#include "app/ExportChoices.h"
#include "shell/CommandIds.h"

namespace {

MenuItem Item(const char* text, int id) { return MenuItem{text, id, {}, false}; }
MenuItem Popup(const char* text, std::vector<MenuItem> children) {
    return MenuItem{text, 0, std::move(children), false};
}
MenuItem Separator() { return MenuItem{"", 0, {}, true}; }

MenuItem UnitsPopup() {
    return Popup("&Units", {Item("&Metric", kCmdMetric), Item("&Imperial", kCmdImperial)});
}

MenuItem EventsPopup() {
    return Popup("&Events", {Item("&Enable Event Input", kCmdEnableEventInput),
                             Item("&Hold When Adding Events", kCmdHoldWhenAdding),
                             Item("Hide Event &Marker", kCmdHideEventMarker),
                             Item("&Auto Event Info PopUp", kCmdAutoEventPopup),
                             Item("Event &Review/Edit", kCmdEventReview)});
}

std::vector<MenuItem> GpsItems() {
    return {Item("Show &GPS Track Plotter", kCmdShowGpsTrack),
            Item("GPS Comm Port &Settings...", kCmdGpsPortSettings),
            Item("&Speed Correction ...", kCmdSpeedCorrection),
            Separator(),
            Item("&Erase GPS Tracks", kCmdEraseGpsTracks),
            Item("Zoom &In", kCmdTrackZoomIn),
            Item("Zoom &Out", kCmdTrackZoomOut)};
}

// The survey's plan, the line steered and the plotter's view of the plan.
MenuItem SurveyPopup() {
    return Popup("S&urvey", {Item("&Open Survey Plan...", kCmdOpenSurveyPlan),
                             Item("&Save Survey Plan...", kCmdSaveSurveyPlan),
                             Item("&Generate Lines...", kCmdGenerateLines), Separator(),
                             Item("&Next Line", kCmdNextLine),
                             Item("&Previous Line", kCmdPreviousLine), Separator(),
                             Item("&Fit the Plan", kCmdFitPlan),
                             Item("Off-Line &Alarm...", kCmdOffLineAlarm), Separator(),
                             Item("&Record on Line", kCmdRecordOnLine)});
}

MenuItem CommunicationPopup(const char* reconnectText) {
    return Popup("Co&mmunication", {Item(reconnectText, kCmdReconnect),
                                    Item("&Diagnostics...", kCmdDiagnostics)});
}

}  // namespace

std::vector<MenuItem> ColorTableMenu() {
    std::vector<MenuItem> items = ColorTableItems();
    items.push_back(Separator());
    items.push_back(Item("Custom &Palette...", kCmdCustomPalette));
    return items;
}

std::vector<MenuItem> ColorTableItems() {
    static const char* const kNames[] = {
        "Normal  &High", "Normal  &Low",   "Gr&een",         "&Grey", "&Reverse Grey",
        "&Brown / Yellow", "Gree&n / Blue", "Green / &Yellow", "Bl&ue", "Yellow/Brown"};
    std::vector<MenuItem> items;
    for (int i = 0; i < 10; ++i) items.push_back(Item(kNames[i], kCmdColorTableFirst + i));
    return items;
}

// File > Export: the products of a data file, and the mosaic of several.
MenuItem ExportPopup() {
    std::vector<MenuItem> items;
    for (const ExportChoice& choice : ExportChoices()) {
        items.push_back(Item(choice.menuText, choice.command));
    }
    items.push_back(Item(kSurveyMosaicMenuText, kCmdExportSurveyMosaic));
    items.push_back(Item(kContactReportMenuText, kCmdExportContactReport));
    return Popup("Export", items);
}

MenuBar ConfiguredMenu() {
    MenuItem file = Popup("&File", {Item("&Connect to Sonar Head...", kCmdConnectToSonarHead),
                                    Item("&Playback...", kCmdPlayback),
                                    Item("Record Data...", kCmdRecordData),
                                    Item("Stop Recording...", kCmdStopRecording),
                                    Separator(),
                                    Item("Settings Change &Alarm", kCmdSettingsChangeAlarm),
                                    Item("&Save Screen...", kCmdSaveScreen),
                                    ExportPopup(),
                                    Separator(),
                                    Item("E&xit", kCmdExit)});
    MenuItem gps = Popup("&GPS Options", GpsItems());
    MenuItem options = Popup("&Options", {Item("Orientation Filters...", kCmdOrientationFilters),
                                          Item("Transmit Enable...", kCmdTransmitEnable)});
    MenuItem sonar = Popup("&Sonar", {Item("120 kHz", kCmdWindowL), Item("260 kHz", kCmdWindowM),
                                      Item("540 kHz", kCmdWindowH),
                                      Item("Echo Sounder", kCmdWindowES),
                                      Item("Orientation", kCmdWindowOrientation),
                                      Item("Orientation History", kCmdWindowHistory)});
    MenuItem window = Popup("&Window", {Item("Default Layout", kCmdDefaultLayout),
                                        Item("Vertical Scroll", kCmdVerticalScroll)});
    MenuItem view = Popup("&View", {Item("&Clear Screen", kCmdClearScreen), Item("&Hold", kCmdHold),
                                    Separator(), Item("&Port Only", kCmdPortOnly),
                                    Item("&Stbd Only", kCmdStbdOnly),
                                    Item("Both Sides", kCmdBothSides), Separator(), UnitsPopup(),
                                    Popup("&Color Table", ColorTableMenu()),
                                    CommunicationPopup("&Reconnect...."), gps, SurveyPopup(),
                                    EventsPopup(),
                                    options, sonar, window});
    MenuItem help = Popup("&Help", {Item("&Beam Coverage...", kCmdBeamCoverage),
                                    Item("&About Sonvara_RGB...", kCmdAbout)});
    return {file, view, help};
}

MenuBar StartupMenu() {
    MenuItem file =
        Popup("&File", {Item("&Connect to Sonar Head...\tCtrl+N", kCmdConnectToSonarHead),
                        Item("&Playback...\tCtrl+O", kCmdPlayback),
                        Item("Record Data...\tCtrl+S", kCmdRecordData),
                        Item("Stop Recording...\tCtrl+Z", kCmdStopRecording), Separator(),
                        Item("Settings Change &Alarm", kCmdSettingsChangeAlarm),
                        Item("&Save Screen...", kCmdSaveScreen), ExportPopup(), Separator(),
                        Item("Recent File", kCmdRecentFile), Separator(),
                        Item("E&xit", kCmdExit)});
    MenuItem view = Popup(
        "&View",
        {Item("&Grid", kCmdGrid),
         Popup("Grid Text &Size", {Item("&Large", kCmdGridTextLarge),
                                   Item("&Medium", kCmdGridTextMedium),
                                   Item("&Small", kCmdGridTextSmall)}),
         Item("&Hold", kCmdHold), Item("Reverse Playback", kCmdReversePlayback),
         Item("Bitmap View", kCmdBitmapView), Item("Zoom In", kCmdTrackZoomIn),
         Item("Zoom Out", kCmdTrackZoomOut), Item("&Restore image", kCmdRestoreImage),
         Popup("Zoom", {Item("Fill the Screen", kCmdFillScreen), Item("100 %", kCmdZoom100),
                        Item("200 %", kCmdZoom200)}),
         Separator(), Item("&Port Only", kCmdPortOnly), Item("&Stbd Only", kCmdStbdOnly),
         Item("Both Sides", kCmdBothSides), Separator(), Item("&Status Bar", kCmdStatusBar),
         Item("&Toolbar", kCmdToolBar), Item("&File Playback Bar", kCmdFilePlaybackBar),
         Item("Show Range", kCmdShowRange), Item("Show Mark Shadow", kCmdShowMarkShadow),
         UnitsPopup(), Item("&Vertical Blending", kCmdVerticalBlending),
         Item("Color &Indicator", kCmdColorIndicator)});
    std::vector<MenuItem> gpsItems = GpsItems();
    gpsItems.push_back(Separator());
    gpsItems.push_back(Item("GPS Enabled", kCmdGpsEnabled));
    gpsItems.push_back(Item("Convert UTC To Local Time", kCmdConvertUtcToLocal));
    gpsItems.push_back(Item("Synchronize with GPS Time", kCmdSyncWithGpsTime));
    MenuItem measure = Popup("&Measure", {Item("Draw '+' Mark", kCmdDrawPlusMark),
                                          Item("Measure Target &Height", kCmdMeasureHeight),
                                          Item("Measure &Range", kCmdMeasureRange),
                                          Item("Measure &Distance", kCmdMeasureDistance),
                                          Item("&Clear Lines/Marks", kCmdClearMarks)});
    MenuItem help = Popup("&Help", {Item("&Hot Keys...", kCmdHotKeys),
                                    Item("&Beam Coverage...", kCmdBeamCoverage),
                                    Item("&About Sonvara_RGB...", kCmdAbout)});
    return {file, view, CommunicationPopup("&Reconnect..."), Popup("&GPS Options", gpsItems),
            SurveyPopup(), measure, EventsPopup(), help};
}

std::vector<MenuItem> SideScanContextMenu() {
    return {Popup("&Zoom Factor", {Item("100 %", kCmdZoom100), Item("200 %", kCmdZoom200),
                                   Item("Fill Screen", kCmdFillScreen)}),
            Item("Grid", kCmdGrid), Item("Measure", kCmdMeasureDistance),
            Item("Erase Measure Lines", kCmdClearMarks)};
}

std::vector<int> CommandIdsOf(const std::vector<MenuItem>& items) {
    std::vector<int> ids;
    for (const MenuItem& item : items) {
        if (item.IsPopup()) {
            const auto inner = CommandIdsOf(item.children);
            ids.insert(ids.end(), inner.begin(), inner.end());
        } else if (item.id != 0) {
            ids.push_back(item.id);
        }
    }
    return ids;
}

std::string TextOf(const std::vector<MenuItem>& items, int id) {
    for (const MenuItem& item : items) {
        if (item.id == id && !item.IsPopup()) return item.text;
        if (item.IsPopup()) {
            std::string inner = TextOf(item.children, id);
            if (!inner.empty()) return inner;
        }
    }
    return {};
}
