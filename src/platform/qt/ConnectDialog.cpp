#include "platform/qt/ConnectDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

ConnectDialog::ConnectDialog(const QString& address, QWidget* parent)
    : QDialog(parent),
      addressEdit(new QLineEdit(address, this)),
      yesButton(new QPushButton("YES", this)),
      noButton(new QPushButton("NO", this)) {
    setWindowTitle("Connection");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel("Connect to Sonar Head ?", this));
    auto* addressRow = new QHBoxLayout;
    auto* addressLabel = new QLabel("IP address:", this);
    addressLabel->setBuddy(addressEdit);
    addressRow->addWidget(addressLabel);
    addressRow->addWidget(addressEdit);
    layout->addLayout(addressRow);
    layout->addWidget(new QLabel(
        "Click \"YES\" for real-time data acquisition or click \"NO\" for file playback", this));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(yesButton);
    buttons->addWidget(noButton);
    layout->addLayout(buttons);
    yesButton->setDefault(true);
    connect(yesButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(noButton, &QPushButton::clicked, this, &QDialog::reject);
    move(kLeft, kTop);
}

QString ConnectDialog::Address() const {
    return addressEdit->text();
}
