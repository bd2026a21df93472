#pragma once
// What the "Speed Info" dialog edits, without the dialog: the working speed moved by the spin
// control in tenths of a knot, the three speed-source choices and the speed-correction check.
// The dialog shows EditText() and SpinPosition(), forwards spin steps and clicks, and on
// "&OK" hands the model to the document (CVantrelDoc::ApplySpeedDialog). "&Cancel" simply
// drops the model.

#include <cstdint>
#include <string>

#include "gps/SpeedSource.h"

class ShipSpeedDialogModel {
public:
    static constexpr int kSpinMin = 0;
    static constexpr int kSpinMax = 100;

    // Opening: the working speed and the check states come from the current settings.
    explicit ShipSpeedDialogModel(const SpeedSource& settings);

    double WorkingSpeed() const { return workingSpeed; }
    int SpinPosition() const { return spinPosition; }
    // "%.1f" of the working speed, shown in the edit box.
    std::string EditText() const;

    // A spin step (+1 up, -1 down). The new position is taken only inside 0..100; returns
    // whether it was taken.
    bool Spin(int step);

    // Radio buttons: clicking one checks it and clears the other two.
    void ChooseGpsSpeed();
    void ChooseManualSpeed();
    void ChooseProgramDefault();
    void SetSpeedCorrection(bool on) { speedCorrectionChecked = on; }

    bool gpsChecked = false;
    bool manualChecked = false;
    bool programDefaultChecked = false;
    bool speedCorrectionChecked = false;

    // "&OK": writes the working speed and the check states into the settings.
    void ApplyTo(SpeedSource& settings) const;

private:
    double workingSpeed;
    int spinPosition;
};
