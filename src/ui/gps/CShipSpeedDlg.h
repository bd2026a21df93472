#pragma once
// The "Speed Info" dialog: where the waterfall's speed correction takes the ship's speed from.
// It drives ShipSpeedDialogModel; only the spin changes the speed (the edit box shows it).

#include <QDialog>

#include "gps/ShipSpeedDialogModel.h"

class QCheckBox;
class QLineEdit;
class QRadioButton;
class QSpinBox;

class CShipSpeedDlg : public QDialog {
    Q_OBJECT
public:
    CShipSpeedDlg(const SpeedSource& settings, QWidget* parent);
    const ShipSpeedDialogModel& Model() const { return model; }

    QRadioButton* gpsButton = nullptr;
    QRadioButton* manualButton = nullptr;
    QRadioButton* defaultButton = nullptr;
    QCheckBox* correctionBox = nullptr;
    QLineEdit* speedEdit = nullptr;
    QSpinBox* speedSpin = nullptr;

private:
    void ShowModel();

    ShipSpeedDialogModel model;
};
