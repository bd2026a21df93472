#include "ui/sensors/COrientFilterDlg.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "document/CVantrelDoc.h"

COrientFilterDlg::COrientFilterDlg(CVantrelDoc& document, QWidget* parent)
    : QDialog(parent), doc(document) {
    setObjectName(QStringLiteral("orientationFilters"));
    setWindowTitle(QStringLiteral("Orientation Filters"));
    auto* group = new QGroupBox(QStringLiteral("Enable:"), this);
    auto* groupLayout = new QVBoxLayout(group);
    static const char* const kNames[kFilterCount] = {"Pitch", "Roll", "Heading",
                                                     "Depth", "Temp", "Altitude"};
    for (int i = 0; i < kFilterCount; ++i) {
        auto* box = new QCheckBox(QString::fromLatin1(kNames[i]), group);
        box->setObjectName(QString::fromLatin1(kNames[i]));
        box->setChecked(doc.orientation.filterEnabled[i] != 0);
        groupLayout->addWidget(box);
        boxes[static_cast<std::size_t>(i)] = box;
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &COrientFilterDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &COrientFilterDlg::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(buttons);
}

void COrientFilterDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    move(500, 500);  // its own size, at the dialogs' place on the screen
}

void COrientFilterDlg::accept() {
    std::array<bool, kFilterCount> enabled{};
    for (int i = 0; i < kFilterCount; ++i) enabled[i] = boxes[i]->isChecked();
    doc.SetOrientationFilters(enabled);
    QDialog::accept();
}
