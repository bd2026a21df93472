#include "gps/ShipSpeedDialogModel.h"

#include <cmath>
#include <cstdio>
#include "common/TextFormat.h"

ShipSpeedDialogModel::ShipSpeedDialogModel(const SpeedSource& settings)
    : workingSpeed(settings.manualSpeedKnots),
      // Rounded: 2.3 knots times ten is 22.999... in floating point, and the spin must show 23.
      spinPosition(static_cast<int>(std::lround(settings.manualSpeedKnots * 10.0))) {
    manualChecked = settings.useManualSpeed != 0;
    gpsChecked = settings.useGpsSpeed != 0;
    programDefaultChecked = !manualChecked && !gpsChecked;
    speedCorrectionChecked = settings.speedCorrection != 0;
}

std::string ShipSpeedDialogModel::EditText() const {
    return Printf("%.1f", workingSpeed);
}

bool ShipSpeedDialogModel::Spin(int step) {
    const int position = spinPosition + step;
    if (position < kSpinMin || position > kSpinMax) return false;
    spinPosition = position;
    workingSpeed = position / 10.0;
    return true;
}

void ShipSpeedDialogModel::ChooseGpsSpeed() {
    gpsChecked = true;
    manualChecked = programDefaultChecked = false;
}

void ShipSpeedDialogModel::ChooseManualSpeed() {
    manualChecked = true;
    gpsChecked = programDefaultChecked = false;
}

void ShipSpeedDialogModel::ChooseProgramDefault() {
    programDefaultChecked = true;
    gpsChecked = manualChecked = false;
}

void ShipSpeedDialogModel::ApplyTo(SpeedSource& settings) const {
    settings.manualSpeedKnots = workingSpeed;
    settings.useManualSpeed = manualChecked ? 1 : 0;
    settings.useGpsSpeed = gpsChecked ? 1 : 0;
    settings.speedCorrection = speedCorrectionChecked ? 1 : 0;
}
