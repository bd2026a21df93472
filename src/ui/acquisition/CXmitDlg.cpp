#include "ui/acquisition/CXmitDlg.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "document/CVantrelDoc.h"

CXmitDlg::CXmitDlg(CVantrelDoc& document, QWidget* parent) : QDialog(parent), doc(document) {
    setObjectName(QStringLiteral("transmitDialog"));
    setWindowTitle(QStringLiteral("Transmit"));
    auto* group = new QGroupBox(QStringLiteral("Enable:"), this);
    auto* grid = new QGridLayout(group);
    grid->addWidget(new QLabel(QStringLiteral("Port"), group), 0, 1, Qt::AlignCenter);
    grid->addWidget(new QLabel(QStringLiteral("Stbd"), group), 0, 2, Qt::AlignCenter);
    const std::array<std::string, 4> labels = TransmitRowLabels(doc);
    for (int head = 0; head < 4; ++head) {
        auto* label = new QLabel(QString::fromStdString(labels[head]), group);
        label->setObjectName(QStringLiteral("rowLabel%1").arg(head));
        grid->addWidget(label, head + 1, 0);
        rowLabels[static_cast<std::size_t>(head)] = label;
    }
    const TransmitChecks checks = ReadTransmitChecks(doc);
    for (int i = 0; i < kTransmitSwitchCount; ++i) {
        const TransmitSwitch& s = TransmitSwitches()[i];
        auto* box = new QCheckBox(group);
        box->setObjectName(QStringLiteral("check%1").arg(s.controlId));
        box->setChecked(checks[i]);
        box->setEnabled(doc.playbackMode == 0);
        // Each head's row: port, then starboard; the echo sounder's one box is in the port column.
        const int column = (s.head == kHeadES || s.bit == kPortSilent) ? 1 : 2;
        grid->addWidget(box, s.head + 1, column, Qt::AlignCenter);
        boxes[static_cast<std::size_t>(i)] = box;
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &CXmitDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CXmitDlg::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(buttons);
}

QCheckBox* CXmitDlg::Box(int controlId) const {
    for (int i = 0; i < kTransmitSwitchCount; ++i) {
        if (TransmitSwitches()[i].controlId == controlId) return boxes[static_cast<std::size_t>(i)];
    }
    return nullptr;
}

void CXmitDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    move(500, 500);  // its own size, at the dialogs' place on the screen
}

void CXmitDlg::accept() {
    TransmitChecks checks{};
    for (int i = 0; i < kTransmitSwitchCount; ++i) checks[i] = boxes[i]->isChecked();
    ApplyTransmitChecks(doc, checks);
    QDialog::accept();
}
