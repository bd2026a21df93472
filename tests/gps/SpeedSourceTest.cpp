#include <gtest/gtest.h>

#include "gps/ShipSpeedDialogModel.h"
#include "gps/SpeedSource.h"

namespace {

TEST(SpeedSourceTest, SpeedUsedForAPing) {
    struct Case {
        int correction, manual, gps;
        double manualKnots, storedKnots;
        bool known;
        double expected;
    };
    const Case cases[] = {
        {1, 1, 0, 4.5, 7.0, true, 4.5},   // manual speed regardless of the GPS
        {1, 1, 1, 4.5, 7.0, true, 4.5},   // manual wins over GPS
        {1, 0, 1, 4.5, 7.0, true, 7.0},   // GPS speed stored with the ping
        {1, 0, 1, 4.5, 0.0, true, 0.0},   // a decoded 0 stays 0
        {1, 0, 1, 4.5, 0.0, false, 3.0},  // no speed ever decoded: program default
        {1, 0, 0, 4.5, 7.0, true, 3.0},   // "No Speed / Program Default"
        {0, 1, 0, 4.5, 7.0, true, 3.0},   // correction off: 3.0 whatever the source
        {0, 0, 1, 9.9, 7.0, true, 3.0},  {0, 0, 0, 0.0, 0.0, false, 3.0},
    };
    for (const Case& c : cases) {
        SpeedSource source;
        source.speedCorrection = c.correction;
        source.useManualSpeed = c.manual;
        source.useGpsSpeed = c.gps;
        source.manualSpeedKnots = c.manualKnots;
        EXPECT_DOUBLE_EQ(source.SpeedForPing(c.storedKnots, c.known), c.expected)
            << c.correction << c.manual << c.gps << " " << c.storedKnots << " " << c.known;
    }
}

TEST(SpeedSourceTest, Defaults) {
    SpeedSource source;
    EXPECT_DOUBLE_EQ(source.manualSpeedKnots, 3.0);
    EXPECT_EQ(source.useManualSpeed, 0);
    EXPECT_EQ(source.useGpsSpeed, 1);
    EXPECT_EQ(source.speedCorrection, 1);
    EXPECT_EQ(source.convertUtcToLocal, 0);
    EXPECT_EQ(source.syncWithGpsTime, 0);
}

TEST(ShipSpeedDialogModelTest, OpeningShowsTheSettings) {
    struct Case {
        int manual, gps, correction;
        double knots;
        bool manualChecked, gpsChecked, defaultChecked;
        int spin;
        const char* edit;
    };
    const Case cases[] = {
        {1, 0, 1, 4.5, true, false, false, 45, "4.5"},
        {0, 1, 0, 3.0, false, true, false, 30, "3.0"},
        {0, 0, 1, 2.3, false, false, true, 23, "2.3"},
        {1, 1, 1, 0.7, true, true, false, 7, "0.7"},
    };
    for (const Case& c : cases) {
        SpeedSource source;
        source.useManualSpeed = c.manual;
        source.useGpsSpeed = c.gps;
        source.speedCorrection = c.correction;
        source.manualSpeedKnots = c.knots;
        const ShipSpeedDialogModel model(source);
        EXPECT_EQ(model.manualChecked, c.manualChecked);
        EXPECT_EQ(model.gpsChecked, c.gpsChecked);
        EXPECT_EQ(model.programDefaultChecked, c.defaultChecked);
        EXPECT_EQ(model.speedCorrectionChecked, c.correction != 0);
        EXPECT_EQ(model.SpinPosition(), c.spin);
        EXPECT_EQ(model.EditText(), c.edit);
    }
}

TEST(ShipSpeedDialogModelTest, SpinMovesTheWorkingSpeedInTenthsWithinItsRange) {
    SpeedSource source;  // 3.0 knots
    ShipSpeedDialogModel model(source);
    EXPECT_TRUE(model.Spin(+1));
    EXPECT_EQ(model.EditText(), "3.1");
    EXPECT_DOUBLE_EQ(model.WorkingSpeed(), 3.1);
    EXPECT_TRUE(model.Spin(-2));
    EXPECT_EQ(model.EditText(), "2.9");

    source.manualSpeedKnots = 0.0;
    ShipSpeedDialogModel bottom(source);
    EXPECT_FALSE(bottom.Spin(-1));
    EXPECT_EQ(bottom.SpinPosition(), 0);
    EXPECT_EQ(bottom.EditText(), "0.0");

    source.manualSpeedKnots = 9.9;
    ShipSpeedDialogModel top(source);
    EXPECT_TRUE(top.Spin(+1));
    EXPECT_EQ(top.EditText(), "10.0");
    EXPECT_FALSE(top.Spin(+1));
    EXPECT_EQ(top.SpinPosition(), 100);
    EXPECT_DOUBLE_EQ(top.WorkingSpeed(), 10.0);
}

TEST(ShipSpeedDialogModelTest, OkWritesTheChoicesAndCancelLeavesTheSettings) {
    SpeedSource source;
    ShipSpeedDialogModel model(source);
    model.ChooseManualSpeed();
    EXPECT_FALSE(model.gpsChecked);
    model.Spin(+15);
    model.SetSpeedCorrection(false);
    // Cancel: the model is dropped, the settings are untouched.
    EXPECT_DOUBLE_EQ(source.manualSpeedKnots, 3.0);
    EXPECT_EQ(source.useGpsSpeed, 1);

    model.ApplyTo(source);
    EXPECT_DOUBLE_EQ(source.manualSpeedKnots, 4.5);
    EXPECT_EQ(source.useManualSpeed, 1);
    EXPECT_EQ(source.useGpsSpeed, 0);
    EXPECT_EQ(source.speedCorrection, 0);

    ShipSpeedDialogModel again(source);
    again.ChooseProgramDefault();
    again.SetSpeedCorrection(true);
    again.ApplyTo(source);
    EXPECT_EQ(source.useManualSpeed, 0);
    EXPECT_EQ(source.useGpsSpeed, 0);
    EXPECT_EQ(source.speedCorrection, 1);
    EXPECT_DOUBLE_EQ(source.manualSpeedKnots, 4.5);
}

}  // namespace
