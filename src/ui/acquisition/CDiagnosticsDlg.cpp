#include "ui/acquisition/CDiagnosticsDlg.h"

#include <QAction>
#include <QGridLayout>
#include <QLabel>

#include "document/CVantrelDoc.h"
#include "models/HeadDiagnostics.h"

namespace {

struct Row {
    const char* label;
    int controlId;
    std::string DiagnosticsTexts::*text;
};

const Row kRows[] = {
    {"Header:", 1003, &DiagnosticsTexts::header},
    {"Serial Stat:", 1006, &DiagnosticsTexts::serialStatus},
    {"Frequency:", 1092, &DiagnosticsTexts::frequency},
    {"RealTime PRF:", 1015, &DiagnosticsTexts::realTimePrf},
    {"Gain:", 1108, &DiagnosticsTexts::gain},
    {"Range:", 1100, &DiagnosticsTexts::range},
    {"Connection:", 1008, &DiagnosticsTexts::connection},
    {"Loop Time:", 1017, &DiagnosticsTexts::loopTime},
    {"Disp Time:", 1019, &DiagnosticsTexts::displayTime},
    {"Run Mode:", 1028, &DiagnosticsTexts::runMode},
    {"Serial Number:", 1007, &DiagnosticsTexts::serialNumber},
};

}  // namespace

CDiagnosticsDlg::CDiagnosticsDlg(CVantrelDoc& document, const QList<QAction*>& accelerators,
                                 QWidget* parent)
    : QDialog(parent), doc(document) {
    setObjectName(QStringLiteral("diagnosticsDialog"));
    setWindowTitle(QStringLiteral("Diagnostics"));
    setModal(false);
    auto* grid = new QGridLayout(this);
    grid->setHorizontalSpacing(12);
    int row = 0;
    for (const Row& r : kRows) {
        auto* label = new QLabel(QString::fromLatin1(r.label), this);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        auto* value = new QLabel(QStringLiteral("n/a"), this);
        value->setObjectName(QStringLiteral("value%1").arg(r.controlId));
        value->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        value->setMinimumWidth(230);
        value->setTextInteractionFlags(Qt::NoTextInteraction);
        grid->addWidget(label, row, 0);
        grid->addWidget(value, row, 1);
        values[r.controlId] = value;
        ++row;
    }
    // The same actions as the main window's: their shortcuts work while this window is active
    // and go with it when it is destroyed.
    addActions(accelerators);
}

void CDiagnosticsDlg::RefreshDiagnostics() {
    const DiagnosticsTexts texts = MakeDiagnosticsTexts(doc);
    for (const Row& r : kRows) {
        const QString text = QString::fromStdString(texts.*r.text);
        QLabel* value = values[r.controlId];
        if (value->text() != text) value->setText(text);
    }
}

QString CDiagnosticsDlg::Value(int controlId) const {
    const auto it = values.find(controlId);
    return it == values.end() ? QString() : it->second->text();
}

void CDiagnosticsDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    RefreshDiagnostics();
}
