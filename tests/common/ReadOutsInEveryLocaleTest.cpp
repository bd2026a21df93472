// The number texts of the read-outs and of the sensor table under a decimal-comma locale, the
// one QApplication takes from a German operator's environment: each keeps the form the program
// gives it, with a decimal point, and a table row keeps its columns.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "app/BeamCoverage.h"
#include "app/StatusBars.h"
#include "document/CVantrelDoc.h"
#include "gps/ShipSpeedDialogModel.h"
#include "imaging/MeasureTools.h"
#include "sensors/OrientationInstruments.h"
#include "sensors/SensorTable.h"
#include "support/CommaLocale.h"
#include "support/FakePlatform.h"

namespace {

std::string PaneTexts(const StatusBarPanes& panes) {
    std::string all;
    for (const StatusPane& pane : panes) all += pane.text + "|";
    return all;
}

TEST(ReadOutsInEveryLocaleTest, ReadOutsKeepTheirDecimalPoint) {
    const CommaLocale german;
    ASSERT_TRUE(german.Active()) << CommaLocale::kMissing;
    FakePlatform platform;
    CVantrelDoc doc(platform);
    doc.orientation.altitudeShown = 12.5;
    OrientationReadings values;
    values.pitchDeg = 2.5;
    values.depthM = 7.25;
    values.temperatureC = -1.5;
    SpeedSource speed;
    speed.manualSpeedKnots = 2.3;
    struct Case {
        std::string text, expected;
    };
    const Case cases[] = {
        {MakeOrientationTexts(values, 0).pitch, "P:   2.5"},
        {MakeOrientationTexts(values, 0).temperature, "T:  -1.5  C"},
        {MeasureLabelText(2.5, 0), "2.50 m"},
        {CoverageDistanceText(12.5), "12.5 m"},
        {ShipSpeedDialogModel(speed).EditText(), "2.3"},
        {AltitudePaneText(doc), "Altitude: 12.5 m"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.text, c.expected);

    StatusInputs in;
    in.pitch = 1.5;
    in.pointerRange = 20.5;
    in.temperatureC = 14.5;
    const std::string second = PaneTexts(SecondStatusBar(doc, in));
    EXPECT_NE(second.find("|1.5|"), std::string::npos) << second;
    EXPECT_NE(second.find("P: 20.5 m"), std::string::npos) << second;
    const std::string first = PaneTexts(FirstStatusBar(doc, in));
    EXPECT_NE(first.find("|14.5 C|"), std::string::npos) << first;
}

TEST(ReadOutsInEveryLocaleTest, SensorTableRowKeepsItsColumns) {
    const CommaLocale german;
    ASSERT_TRUE(german.Active()) << CommaLocale::kMissing;
    OrientationReadings raw;
    raw.pitchDeg = 1.25;
    raw.rollDeg = -0.5;
    raw.headingDeg = 359.75;
    OrientationReadings shown = raw;
    shown.depthM = 3.5;
    const std::string row = SensorTableRow(42, raw, shown, 6.125);
    const auto columns = [](const std::string& text) {
        return std::count(text.begin(), text.end(), ',') + 1;
    };
    EXPECT_EQ(columns(row), columns(SensorTableHeader())) << row;
    EXPECT_EQ(row.substr(0, 24), "42,1.2500,-0.5000,359.75") << row;
    EXPECT_EQ(row.substr(row.rfind(',')), ",6.1250") << row;
}

}  // namespace
