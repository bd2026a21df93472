#include "app/ui/CBeamChildFrm.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>
#include <memory>

#include "app/ui/CBeamCoverView.h"
#include "app/ui/PlaybackPause.h"
#include "document/CVantrelDoc.h"
#include "shell/CommandIds.h"
#include "shell/CommandTable.h"

namespace {
QDoubleSpinBox* Spin(double low, double high, double step, const QString& suffix) {
    auto* spin = new QDoubleSpinBox;
    spin->setRange(low, high);
    spin->setSingleStep(step);
    spin->setDecimals(step < 1 ? 2 : 1);
    spin->setSuffix(suffix);
    return spin;
}
}  // namespace

CBeamChildFrm::CBeamChildFrm(CVantrelDoc& document, QWidget* parent)
    : QWidget(parent), doc(document) {
    setObjectName(QStringLiteral("beamCoverage"));
    setWindowTitle(QStringLiteral("Sonvara_RGB - Beam Coverage"));
    view = new CBeamCoverView(this);
    figures = new QLabel(this);
    figures->setObjectName(QStringLiteral("beamFigures"));
    figures->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* layout = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    left->addWidget(view, 1);
    left->addWidget(figures);
    layout->addLayout(left, 1);
    layout->addWidget(BuildSettings());
    LoadNominal();
}

QWidget* CBeamChildFrm::BuildSettings() {
    auto* panel = new QWidget(this);
    auto* column = new QVBoxLayout(panel);
    auto* form = new QFormLayout;
    frequencySet = new QComboBox(panel);
    frequencySet->setObjectName(QStringLiteral("frequencySet"));
    frequencySet->addItem(QStringLiteral("120 / 260 / 540 kHz"));
    const std::array<int, 3> heads = SetFrequencies(1);
    frequencySet->addItem(
        QStringLiteral("Installation: %1 / %2 / %3 kHz").arg(heads[0]).arg(heads[1]).arg(heads[2]));
    height = Spin(0.5, 500, 0.5, QStringLiteral(" m"));
    height->setObjectName(QStringLiteral("towfishHeight"));
    range = Spin(5, 600, 5, QStringLiteral(" m"));
    range->setObjectName(QStringLiteral("slantRange"));
    height->setValue(10);
    range->setValue(50);
    form->addRow(QStringLiteral("Frequencies:"), frequencySet);
    form->addRow(QStringLiteral("Towfish height:"), height);
    form->addRow(QStringLiteral("Range:"), range);
    column->addLayout(form);
    column->addWidget(BuildWidths());
    auto* print = new QPushButton(QStringLiteral("&Print..."), panel);
    print->setObjectName(QStringLiteral("print"));
    auto* preview = new QPushButton(QStringLiteral("Print Pre&view..."), panel);
    preview->setObjectName(QStringLiteral("printPreview"));
    column->addWidget(print);
    column->addWidget(preview);
    column->addStretch(1);
    connect(frequencySet, &QComboBox::currentIndexChanged, this, [this] { LoadNominal(); });
    for (QDoubleSpinBox* spin : {height, range}) {
        connect(spin, &QDoubleSpinBox::valueChanged, this, [this] { Update(); });
    }
    connect(print, &QPushButton::clicked, this, [this] { Print(); });
    connect(preview, &QPushButton::clicked, this, [this] { PrintPreview(); });
    return panel;
}

QWidget* CBeamChildFrm::BuildWidths() {
    auto* box = new QGroupBox(QStringLiteral("Beam angles (nominal values, editable)"), this);
    auto* grid = new QGridLayout(box);
    const QString heads[] = {QStringLiteral("Depression"), QStringLiteral("Vertical"),
                             QStringLiteral("Horizontal")};
    for (int c = 0; c < 3; ++c) grid->addWidget(new QLabel(heads[c], box), 0, c + 1);
    for (int b = 0; b < 4; ++b) {
        QLabel* label = new QLabel(b < 3 ? QString() : QStringLiteral("Echo sounder"), box);
        if (b < 3) beamLabels[b] = label;
        grid->addWidget(label, b + 1, 0);
        for (int c = 0; c < 3; ++c) {
            // The echo sounder's cone has one opening: the "Vertical" column.
            if (b == 3 && c != 1) continue;
            QDoubleSpinBox* spin = Spin(c == 2 ? 0.05 : 0.5, c == 0 ? 89.5 : 120,
                                        c == 2 ? 0.05 : 0.5, QStringLiteral("\u00b0"));
            spin->setObjectName(QStringLiteral("beam%1Angle%2").arg(b).arg(c));
            widths[b][c] = spin;
            grid->addWidget(spin, b + 1, c + 1);
            connect(spin, &QDoubleSpinBox::valueChanged, this, [this] { Update(); });
        }
    }
    return box;
}

std::array<int, 3> CBeamChildFrm::SetFrequencies(int index) const {
    if (index == 0) return {120, 260, 540};
    std::array<int, 3> kHz{};
    const int fallback[3] = {120, 260, 540};
    for (int i = 0; i < 3; ++i) {
        const int f = doc.heads[i].frequencyHz / 1000;
        kHz[i] = f > 0 ? f : fallback[i];
    }
    return kHz;
}

void CBeamChildFrm::LoadNominal() {
    const BeamCoverageSettings nominal =
        NominalBeamSettings(SetFrequencies(frequencySet->currentIndex()));
    loading = true;
    for (int b = 0; b < 3; ++b) {
        beamLabels[b]->setText(QStringLiteral("%1 kHz").arg(nominal.beams[b].frequencyKHz));
        widths[b][0]->setValue(nominal.beams[b].depressionDeg);
        widths[b][1]->setValue(nominal.beams[b].verticalWidthDeg);
        widths[b][2]->setValue(nominal.beams[b].horizontalWidthDeg);
    }
    widths[3][1]->setValue(nominal.echoSounder.widthDeg);
    loading = false;
    Update();
}

void CBeamChildFrm::Update() {
    if (loading) return;
    BeamCoverageSettings s = NominalBeamSettings(SetFrequencies(frequencySet->currentIndex()));
    s.heightM = height->value();
    s.rangeM = range->value();
    for (int b = 0; b < 3; ++b) {
        s.beams[b].depressionDeg = widths[b][0]->value();
        s.beams[b].verticalWidthDeg = widths[b][1]->value();
        s.beams[b].horizontalWidthDeg = widths[b][2]->value();
    }
    s.echoSounder.widthDeg = widths[3][1]->value();
    view->SetSettings(s);
    figures->setText(view->FigureLines().join(QLatin1Char('\n')));
}

void CBeamChildFrm::PrintTo(QPrinter& printer) const {
    QPainter painter(&printer);
    const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
    view->Render(painter, QRect(QPoint(0, 0), page.size()), true);
}

void CBeamChildFrm::Print() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    const PlaybackPause pause(doc);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() == QDialog::Accepted) PrintTo(printer);
}

void CBeamChildFrm::PrintPreview() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    const PlaybackPause pause(doc);
    QPrintPreviewDialog preview(&printer, this);
    connect(&preview, &QPrintPreviewDialog::paintRequested, this,
            [this](QPrinter* target) { PrintTo(*target); });
    preview.exec();
}

void AddBeamCoverageCommand(CommandTable& commands, CVantrelDoc& doc, QMdiArea* area) {
    auto window = std::make_shared<QPointer<QMdiSubWindow>>();
    commands.Add(kCmdBeamCoverage, [&doc, area, window] {
        if (!*window) {
            auto* frame = new CBeamChildFrm(doc);
            QMdiSubWindow* sub = area->addSubWindow(frame);
            sub->setAttribute(Qt::WA_DeleteOnClose);
            sub->setObjectName(QStringLiteral("beamCoverageWindow"));
            sub->resize(1100, 560);
            *window = sub;
        }
        (*window)->show();
        area->setActiveSubWindow(*window);
        (*window)->raise();
    });
}
