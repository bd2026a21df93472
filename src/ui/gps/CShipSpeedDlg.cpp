#include "ui/gps/CShipSpeedDlg.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

CShipSpeedDlg::CShipSpeedDlg(const SpeedSource& settings, QWidget* parent)
    : QDialog(parent), model(settings) {
    setObjectName(QStringLiteral("shipSpeedDialog"));
    setWindowTitle(QStringLiteral("Speed Info"));
    auto* layout = new QVBoxLayout(this);
    auto* group = new QGroupBox(QStringLiteral("Choose a Speed Source:"), this);
    auto* groupLayout = new QVBoxLayout(group);
    gpsButton = new QRadioButton(QStringLiteral("GPS Speed"), group);
    manualButton = new QRadioButton(QStringLiteral("Manual Speed"), group);
    defaultButton = new QRadioButton(QStringLiteral("No Speed / Program Default"), group);
    for (QRadioButton* button : {gpsButton, manualButton, defaultButton}) {
        groupLayout->addWidget(button);
    }
    layout->addWidget(group);
    layout->addWidget(
        new QLabel(QStringLiteral("If you choose \"Manual Speed\", please provide:"), this));
    auto* speedRow = new QGridLayout;
    speedRow->addWidget(new QLabel(QStringLiteral("Manual Ship Speed:"), this), 0, 0);
    speedEdit = new QLineEdit(this);
    speedEdit->setReadOnly(true);
    speedEdit->setMaximumWidth(60);
    speedRow->addWidget(speedEdit, 0, 1);
    // The spin's own text is hidden: the edit box beside it shows the speed.
    speedSpin = new QSpinBox(this);
    speedSpin->setRange(-1, ShipSpeedDialogModel::kSpinMax + 1);
    speedSpin->setFixedWidth(22);
    speedRow->addWidget(speedSpin, 0, 2);
    speedRow->addWidget(new QLabel(QStringLiteral("Knots"), this), 0, 3);
    layout->addLayout(speedRow);
    correctionBox = new QCheckBox(QStringLiteral("Enable Speed Correction"), this);
    layout->addWidget(correctionBox);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("&OK"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(QStringLiteral("&Cancel"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    connect(gpsButton, &QRadioButton::clicked, this, [this] { model.ChooseGpsSpeed(); });
    connect(manualButton, &QRadioButton::clicked, this, [this] { model.ChooseManualSpeed(); });
    connect(defaultButton, &QRadioButton::clicked, this,
            [this] { model.ChooseProgramDefault(); });
    connect(correctionBox, &QCheckBox::toggled, this,
            [this](bool on) { model.SetSpeedCorrection(on); });
    connect(speedSpin, &QSpinBox::valueChanged, this, [this](int value) {
        model.Spin(value - model.SpinPosition());
        ShowModel();
    });
    ShowModel();
    move(700, 500);
}

void CShipSpeedDlg::ShowModel() {
    gpsButton->setChecked(model.gpsChecked);
    manualButton->setChecked(model.manualChecked);
    defaultButton->setChecked(model.programDefaultChecked);
    correctionBox->setChecked(model.speedCorrectionChecked);
    speedEdit->setText(QString::fromStdString(model.EditText()));
    const QSignalBlocker block(speedSpin);
    speedSpin->setValue(model.SpinPosition());
}
