#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <set>

#include "acquisition/RangeList.h"
#include "app/AcquisitionControls.h"
#include "app/MenuLayout.h"
#include "app/StatusBars.h"
#include "document/CVantrelDoc.h"
#include "shell/CommandIds.h"
#include "shell/CommandTable.h"
#include "support/DocumentBuilder.h"
#include "support/FakePlatform.h"

namespace {

const MenuItem& PopupNamed(const std::vector<MenuItem>& items, const std::string& text) {
    static const MenuItem none;
    const auto it = std::find_if(items.begin(), items.end(),
                                 [&](const MenuItem& m) { return m.text == text; });
    return it == items.end() ? none : *it;
}

std::vector<std::string> Texts(const std::vector<MenuItem>& items) {
    std::vector<std::string> texts;
    for (const MenuItem& item : items) {
        if (!item.separator) texts.push_back(item.text);
    }
    return texts;
}

TEST(MenuLayoutTest, ConfiguredMenuEntriesAndIdentifiers) {
    const MenuBar menu = ConfiguredMenu();
    EXPECT_EQ(Texts(menu), (std::vector<std::string>{"&File", "&View", "&Help"}));
    EXPECT_EQ(Texts(PopupNamed(menu, "&File").children),
              (std::vector<std::string>{"&Connect to Sonar Head...", "&Playback...",
                                        "Record Data...", "Stop Recording...",
                                        "Settings Change &Alarm", "&Save Screen...", "Export",
                                        "E&xit"}));
    EXPECT_EQ(Texts(PopupNamed(PopupNamed(menu, "&File").children, "Export").children),
              (std::vector<std::string>{"XTF...", "GeoTIFF Mosaic...",
                                        "Google Earth Overlay (KMZ)...", "Track (GPX/KML/CSV)...",
                                        "Events (CSV/KML)...", "Survey Mosaic...",
                                        "Contact Report..."}));
    const auto& view = PopupNamed(menu, "&View").children;
    EXPECT_EQ(Texts(PopupNamed(view, "&Color Table").children),
              (std::vector<std::string>{"Normal  &High", "Normal  &Low", "Gr&een", "&Grey",
                                        "&Reverse Grey", "&Brown / Yellow", "Gree&n / Blue",
                                        "Green / &Yellow", "Bl&ue", "Yellow/Brown",
                                        "Custom &Palette..."}));
    EXPECT_EQ(TextOf(menu, kCmdReconnect), "&Reconnect....");
    EXPECT_EQ(TextOf(menu, kCmdAbout), "&About Sonvara_RGB...");
    EXPECT_EQ(TextOf(menu, kCmdWindowHistory), "Orientation History");
    const std::vector<int> ids = CommandIdsOf(menu);
    for (int id = kCmdColorTableFirst; id <= kCmdColorTableLast; ++id) {
        EXPECT_NE(std::find(ids.begin(), ids.end(), id), ids.end()) << id;
    }
    EXPECT_EQ(std::set<int>(ids.begin(), ids.end()).size(), ids.size()) << "no duplicates";
}

TEST(MenuLayoutTest, StartupMenuCarriesKeyHintsAndTheViewTools) {
    const MenuBar menu = StartupMenu();
    EXPECT_EQ(TextOf(menu, kCmdConnectToSonarHead), "&Connect to Sonar Head...\tCtrl+N");
    EXPECT_EQ(TextOf(menu, kCmdPlayback), "&Playback...\tCtrl+O");
    EXPECT_EQ(TextOf(menu, kCmdRecordData), "Record Data...\tCtrl+S");
    EXPECT_EQ(TextOf(menu, kCmdStopRecording), "Stop Recording...\tCtrl+Z");
    EXPECT_EQ(TextOf(menu, kCmdReconnect), "&Reconnect...");
    for (int id : {kCmdGrid, kCmdFillScreen, kCmdZoom100, kCmdZoom200, kCmdMeasureDistance,
                   kCmdHotKeys, kCmdGpsEnabled, kCmdVerticalBlending, kCmdColorIndicator}) {
        EXPECT_FALSE(TextOf(menu, id).empty()) << id;
    }
    EXPECT_EQ(Texts(menu), (std::vector<std::string>{"&File", "&View", "Co&mmunication",
                                                     "&GPS Options", "S&urvey", "&Measure",
                                                     "&Events", "&Help"}));
    // The survey's commands are in both menus, under one popup.
    for (const MenuBar& bar : {menu, ConfiguredMenu()}) {
        for (int id : {kCmdOpenSurveyPlan, kCmdSaveSurveyPlan, kCmdGenerateLines, kCmdNextLine,
                       kCmdPreviousLine, kCmdFitPlan, kCmdOffLineAlarm, kCmdRecordOnLine}) {
            EXPECT_FALSE(TextOf(bar, id).empty()) << id;
        }
    }
}

TEST(CommandTableTest, MissingHandlersAreDisabledAndViewsWinTheRouting) {
    CommandTable frame, view;
    int frameRuns = 0, viewRuns = 0;
    bool enabled = false;
    frame.Add(1, [&] { ++frameRuns; }, [&] { return CommandState{enabled, true, {}}; });
    frame.Add(2, [&] { ++frameRuns; });
    view.Add(2, [&] { ++viewRuns; });
    CommandRouter router(frame);
    EXPECT_FALSE(router.Execute(1)) << "disabled";
    enabled = true;
    EXPECT_TRUE(router.Execute(1));
    EXPECT_TRUE(router.State(1).checked);
    EXPECT_FALSE(router.State(99).enabled) << "unknown commands are disabled";
    EXPECT_FALSE(router.Execute(99));
    router.Execute(2);
    router.SetActiveView(&view);
    router.Execute(2);
    EXPECT_EQ(frameRuns, 2);
    EXPECT_EQ(viewRuns, 1);
}

class ControlsTest : public ::testing::Test {
protected:
    FakePlatform platform;
    CVantrelDoc doc{platform};
};

TEST_F(ControlsTest, IncreaseAndDecreaseGainKeepTheLimits) {
    DocumentBuilder(doc).Gains({40, 39, 12, 7});
    IncreaseGain(doc);
    EXPECT_EQ(doc.heads[0].gainDb, 40);
    EXPECT_EQ(doc.heads[1].gainDb, 40);
    EXPECT_EQ(doc.heads[2].gainDb, 13);
    EXPECT_EQ(doc.heads[3].gainDb, 7) << "the echo sounder is not touched";
    EXPECT_EQ(doc.heads[2].command[38], 13) << "commands rebuilt";
    DocumentBuilder(doc).Gain(kHeadL, 45).Gain(kHeadM, 0);
    IncreaseGain(doc);
    EXPECT_EQ(doc.heads[0].gainDb, 45) << "a stored gain above 40 stays";
    DecreaseGain(doc);
    DecreaseGain(doc);
    EXPECT_EQ(doc.heads[0].gainDb, 43);
    EXPECT_EQ(doc.heads[1].gainDb, 0);
}

TEST_F(ControlsTest, RangeCommandsStepBetween10And500Metres) {
    DocumentBuilder(doc).Range(kRangeList[18]);
    IncreaseRange(doc);
    IncreaseRange(doc);
    EXPECT_EQ(doc.rangeIndex, 19);
    EXPECT_EQ(doc.range, 500);
    EXPECT_EQ(doc.heads[0].command[34], 500 & 0xFF);
    DocumentBuilder(doc).Range(kRangeList[6]);
    DecreaseRange(doc);
    DecreaseRange(doc);
    EXPECT_EQ(doc.rangeIndex, 5);
    EXPECT_EQ(doc.range, 10);
}

TEST_F(ControlsTest, SpinLimitsAndClamping) {
    struct Case {
        int spin, start, delta, expected;
        bool changed;
    };
    const Case cases[] = {
        {kSpinRange, 19, +1, 19, false}, {kSpinRange, 5, -1, 5, false},
        {kSpinRange, 9, +1, 10, true},   {kSpinEsRange, 17, +1, 17, false},
        {kSpinEsRange, 16, +1, 17, true}, {kSpinGainM, 20, +1, 20, false},
        {kSpinGainM, 0, -1, 0, false},   {kSpinGainES, 39, +1, 40, true},
        {kSpinGainES, 40, +1, 40, false}, {kSpinGainA, 20, +1, 20, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.spin << " from " << c.start);
        const bool range = c.spin == kSpinRange || c.spin == kSpinEsRange;
        const int head = range ? 0 : GainSpinHead(doc, c.spin);
        int& value = c.spin == kSpinRange     ? doc.rangeIndex
                     : c.spin == kSpinEsRange ? doc.esRangeIndex
                                              : doc.heads[head].gainDb;
        value = c.start;
        const SpinResult r = SpinAcquisition(doc, c.spin, c.delta);
        EXPECT_EQ(value, c.expected);
        EXPECT_EQ(r.changed, c.changed);
    }
    EXPECT_EQ(doc.esRange, 300);
}

TEST_F(ControlsTest, SpinsFollowTheDisplayChannelsAndIgnorePlayback) {
    DocumentBuilder(doc).Heads({kHeadM, kHeadH, kHeadES}).Gain(kHeadM, 5).Gain(kHeadH, 5);
    EXPECT_EQ(SpinAcquisition(doc, kSpinGainA, +1).editText, "6 dB");
    EXPECT_EQ(doc.heads[1].gainDb, 6);
    SpinAcquisition(doc, kSpinGainB, -1);
    EXPECT_EQ(doc.heads[2].gainDb, 4);
    DocumentBuilder(doc).PlaybackFlag(true);
    EXPECT_FALSE(SpinAcquisition(doc, kSpinGainB, -1).changed);
    EXPECT_EQ(doc.heads[2].gainDb, 4);
}

TEST_F(ControlsTest, DisplayFactorsStepInHundredthsWithin0And2) {
    const auto factor = [&](int slot) { return doc.images.slotStates[slot].intensityFactor; };
    EXPECT_EQ(SpinDisplayFactor(doc, kSpinDisplayA, -1).editText, "99 %");
    for (int i = 0; i < 150; ++i) SpinDisplayFactor(doc, kSpinDisplayB, +1);
    EXPECT_DOUBLE_EQ(factor(2), 2.0);
    EXPECT_EQ(SpinDisplayFactor(doc, kSpinDisplayB, +1).editText, "200 %");
    for (int i = 0; i < 150; ++i) SpinDisplayFactor(doc, kSpinDisplayM, -1);
    EXPECT_DOUBLE_EQ(factor(1), 0.0);
    EXPECT_DOUBLE_EQ(factor(0), 0.99);
}

TEST_F(ControlsTest, TextsInMetricAndImperialUnits) {
    EXPECT_EQ(RangeText(50, 0), "50 m");
    EXPECT_EQ(RangeText(50, 1), "150 ft");
    EXPECT_EQ(FrequencyLabel(259999), "259 kHz");
    EXPECT_EQ(DisplayFactorText(1.0), "100 %");
}

TEST_F(ControlsTest, StatusBarGainsPerConfiguration) {
    DocumentBuilder(doc).Gains({10, 11, 12, 13});
    struct Case {
        std::array<int, 4> present;
        const char* text;
    };
    const Case cases[] = {{{1, 1, 1, 1}, "10 11 12 13"},
                          {{1, 1, 1, 0}, "10 11 12"},
                          {{0, 1, 1, 1}, "11 12 13"},
                          {{1, 0, 1, 0}, "10 12"}};
    for (const Case& c : cases) {
        DocumentBuilder(doc).HeadsPresent(c.present);
        EXPECT_EQ(StatusGainText(doc), c.text);
    }
}

TEST_F(ControlsTest, StatusBarsInMetricAndImperialUnits) {
    StatusInputs in;
    in.zoomPercent = 50;
    in.temperatureC = 20.0;
    in.depthM = 3.048;
    in.pointerRange = 30.48;
    in.pointerStarboard = true;
    in.latitude = "56 12.3456 N";
    in.statusTexts[1] = "one";
    StatusBarPanes first = FirstStatusBar(doc, in);
    StatusBarPanes second = SecondStatusBar(doc, in);
    EXPECT_EQ(first[1].text, "Zoom:");
    EXPECT_EQ(first[2].text, "50%");
    EXPECT_EQ(first[8].text, "20.0 C");
    EXPECT_EQ(first[11].text, "3.0 m");
    EXPECT_EQ(first[14].kind, PaneKind::WideSpacer);
    EXPECT_EQ(first[22].kind, PaneKind::Spacer);
    EXPECT_EQ(second[2].text, "S: 30.5 m");
    EXPECT_EQ(second[13].text, "one");
    EXPECT_EQ(second[16].text, "56 12.3456 N");
    DocumentBuilder(doc).Units(1);
    in.pointerStarboard = false;
    first = FirstStatusBar(doc, in);
    second = SecondStatusBar(doc, in);
    EXPECT_EQ(first[8].text, "68.0 F");
    EXPECT_EQ(first[11].text, "10.0 ft");
    EXPECT_EQ(second[2].text, "P: 100.0 ft");
    int widths = 0;
    for (const StatusPane& p : first) widths += p.width;
    EXPECT_EQ(widths, 50 + 40 + 60 + 10 + 40 + 60 + 10 + 40 + 50 + 10 + 50 + 50 + 10 + 70 + 20 +
                          40 + 80 + 10 + 50 + 60 + 10 + 70 + 10);
}

TEST_F(ControlsTest, AltitudePaneShowsTheShownAltitudeInTheUnits) {
    struct Case {
        double shown, current;
        int units;
        const char* text;
    };
    // The pane prints the copy taken every tenth sample, not the newest altitude.
    const Case cases[] = {{12.34, 50.0, 0, "Altitude: 12.3 m"},
                          {12.34, 50.0, 1, "Altitude: 40.5 ft"},
                          {0.0, 3.0, 0, "Altitude: 0.0 m"},
                          {3.048, 0.0, 1, "Altitude: 10.0 ft"},
                          {299.96, 1.0, 0, "Altitude: 300.0 m"}};
    for (const Case& c : cases) {
        DocumentBuilder(doc).Altitude(c.current, c.shown).Units(c.units);
        EXPECT_EQ(AltitudePaneText(doc), c.text) << c.shown << " in units " << c.units;
    }
}

}  // namespace

namespace {

TEST(StatusStampTest, RowStampFillsTheStatusFields) {
    RowInfo row;
    const char time[] = "09:05:03.007";
    std::copy(time, time + 12, row.time.begin());
    row.texts[kNavLatitude].Assign("56 12.3456 N");
    row.texts[kNavLongitude].Assign("003 01.0000 E");
    row.texts[kNavSpeed].Assign("4.5 Knots");
    row.texts[kNavCourse].Assign("120.0 Deg.");
    row.texts[kNavTime].Assign("09:05:01");
    StatusInputs in;
    ApplyRowStamp(in, row, "04-JUL-2009");
    EXPECT_EQ(in.statusTexts[1], "09:05:03");
    EXPECT_EQ(in.statusTexts[2], "04-JUL-2009");
    EXPECT_EQ(in.latitude, "56 12.3456 N");
    EXPECT_EQ(in.longitude, "003 01.0000 E");
    EXPECT_EQ(in.speed, "4.5 Knots");
    EXPECT_EQ(in.statusTexts[7], "120.0 Deg.");
    EXPECT_EQ(in.statusTexts[8], "09:05:01");
    ApplyRowStamp(in, RowInfo{}, "04-JUL-2009");
    EXPECT_EQ(in.statusTexts[1], "");
    EXPECT_EQ(in.statusTexts[2], "") << "no date without a time";
}

}  // namespace
