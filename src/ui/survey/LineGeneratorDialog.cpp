#include "ui/survey/LineGeneratorDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

LineGeneratorDialog::LineGeneratorDialog(const survey::SurveyLine& firstLine, double swathM,
                                         const QString& swathText, QWidget* parent)
    : QDialog(parent), first(firstLine) {
    setWindowTitle(QStringLiteral("Generate Lines"));
    setObjectName(QStringLiteral("lineGenerator"));
    auto* layout = new QVBoxLayout(this);
    auto* about = new QLabel(
        QStringLiteral("From line \"%1\".\n%2\nThe spacing below gives 20 % overlap of the swaths.")
            .arg(QString::fromStdString(first.name), swathText),
        this);
    about->setObjectName(QStringLiteral("swathText"));
    layout->addWidget(about);
    auto* form = new QFormLayout;
    spacing = new QDoubleSpinBox(this);
    spacing->setObjectName(QStringLiteral("spacing"));
    spacing->setRange(1.0, 10000.0);
    spacing->setDecimals(1);
    spacing->setSuffix(QStringLiteral(" m"));
    spacing->setValue(survey::SpacingForOverlap(swathM, 0.2));
    count = new QSpinBox(this);
    count->setObjectName(QStringLiteral("count"));
    count->setRange(1, 500);
    count->setValue(10);
    side = new QComboBox(this);
    side->setObjectName(QStringLiteral("side"));
    side->addItems({QStringLiteral("Starboard"), QStringLiteral("Port")});
    alternate = new QCheckBox(QStringLiteral("Every second line the other way"), this);
    alternate->setChecked(true);
    form->addRow(QStringLiteral("Spacing:"), spacing);
    form->addRow(QStringLiteral("Lines:"), count);
    form->addRow(QStringLiteral("Side:"), side);
    form->addRow(QString(), alternate);
    layout->addLayout(form);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

survey::LineRequest LineGeneratorDialog::Request() const {
    survey::LineRequest request;
    request.first = first;
    request.spacingM = spacing->value();
    request.count = count->value();
    request.side = side->currentIndex() == 1 ? survey::Side::Port : survey::Side::Starboard;
    request.alternate = alternate->isChecked();
    return request;
}
