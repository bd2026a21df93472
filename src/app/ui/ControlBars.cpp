#include "app/ui/ControlBars.h"

#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QProgressBar>
#include <QSlider>
#include <QToolBar>

#include "acquisition/RangeList.h"
#include "app/AcquisitionControls.h"
#include "document/CVantrelDoc.h"

FormattedSpin::FormattedSpin(int id, std::function<QString(int)> formatter, QWidget* parent)
    : QSpinBox(parent), controlId(id), format(std::move(formatter)) {
    setObjectName(QStringLiteral("spin%1").arg(id));
    lineEdit()->setReadOnly(true);
    setFocusPolicy(Qt::NoFocus);
    setMinimumWidth(86);
    setAlignment(Qt::AlignRight);
}

void FormattedSpin::Show(int low, int high, int value) {
    const QSignalBlocker block(this);
    setRange(std::min(low, value), std::max(high, value));
    setValue(value);
    lineEdit()->setText(textFromValue(value));
}

QString FormattedSpin::textFromValue(int value) const { return format ? format(value) : QString::number(value); }

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

QLabel* AddLabel(QToolBar* bar, const QString& text) {
    auto* label = new QLabel(text, bar);
    label->setContentsMargins(8, 0, 4, 0);
    bar->addWidget(label);
    return label;
}

}  // namespace

ControlBars::ControlBars(CVantrelDoc& document, QMainWindow* mainFrame)
    : QObject(mainFrame), doc(document), frame(mainFrame) {
    BuildThreeFrequencyBar();
    BuildTwoFrequencyBar();
    BuildPlaybackBar();
    for (QToolBar* bar : {threeBar, twoBar, playBar}) {
        frame->addToolBar(Qt::TopToolBarArea, bar);
        bar->hide();
    }
}

FormattedSpin* ControlBars::AddSpin(QToolBar* bar, int spinId, std::function<QString(int)> format) {
    auto* spin = new FormattedSpin(spinId, std::move(format), bar);
    bar->addWidget(spin);
    spins.push_back(spin);
    if (bar == twoBar) twoBarSpins.push_back(spin);
    connect(spin, &QSpinBox::valueChanged, this, [this, spin](int value) { OnSpin(spin, value); });
    return spin;
}

void ControlBars::BuildThreeFrequencyBar() {
    threeBar = new QToolBar(QStringLiteral("Three-Frequency Controls"), frame);
    threeBar->setObjectName(QStringLiteral("bar164"));
    const auto range = [this](int index) { return Q(RangeText(kRangeList[index], doc.units)); };
    const auto gain = [](int db) { return Q(GainText(db)); };
    const auto factor = [](int percent) { return Q(DisplayFactorText(percent / 100.0)); };
    AddLabel(threeBar, QStringLiteral("Range:"));
    AddSpin(threeBar, kSpinRange, range);
    AddLabel(threeBar, QStringLiteral("ES  Range:"));
    AddSpin(threeBar, kSpinEsRange, range);
    AddLabel(threeBar, QStringLiteral("Gain:"));
    for (int id : {kSpinGainA, kSpinGainM, kSpinGainB, kSpinGainES}) AddSpin(threeBar, id, gain);
    AddLabel(threeBar, QStringLiteral("Display:"));
    for (int id : {kSpinDisplayA, kSpinDisplayM, kSpinDisplayB}) AddSpin(threeBar, id, factor);
}

void ControlBars::BuildTwoFrequencyBar() {
    twoBar = new QToolBar(QStringLiteral("Two-Frequency Controls"), frame);
    twoBar->setObjectName(QStringLiteral("bar166"));
    const auto range = [this](int index) { return Q(RangeText(kRangeList[index], doc.units)); };
    const auto gain = [](int db) { return Q(GainText(db)); };
    const auto factor = [](int percent) { return Q(DisplayFactorText(percent / 100.0)); };
    AddLabel(twoBar, QStringLiteral("Range:"));
    AddSpin(twoBar, kSpinRange, range);
    AddLabel(twoBar, QStringLiteral("ES  Range:"));
    AddSpin(twoBar, kSpinEsRange, range);
    AddLabel(twoBar, QStringLiteral("Gain:"));
    freqLabelA = AddLabel(twoBar, QString());
    AddSpin(twoBar, kSpinGainA, gain);
    freqLabelB = AddLabel(twoBar, QString());
    AddSpin(twoBar, kSpinGainB, gain);
    AddLabel(twoBar, QStringLiteral("ES"));
    AddSpin(twoBar, kSpinGainES, gain);
    AddLabel(twoBar, QStringLiteral("Display:"));
    for (int id : {kSpinDisplayA, kSpinDisplayB}) AddSpin(twoBar, id, factor);
}

void ControlBars::BuildPlaybackBar() {
    playBar = new QToolBar(QStringLiteral("File Playback"), frame);
    playBar->setObjectName(QStringLiteral("bar103"));
    AddLabel(playBar, QStringLiteral("Progress"));
    slider = new QSlider(Qt::Horizontal, playBar);
    slider->setObjectName(QStringLiteral("slider1225"));
    slider->setRange(0, 100);
    slider->setPageStep(10);
    slider->setTickInterval(10);
    slider->setTickPosition(QSlider::TicksBelow);
    slider->setMinimumWidth(240);
    playBar->addWidget(slider);
    AddLabel(playBar, QStringLiteral("Play Speed"));
    speedProgress = new QProgressBar(playBar);
    speedProgress->setObjectName(QStringLiteral("progress1223"));
    speedProgress->setRange(0, 20);
    speedProgress->setTextVisible(false);
    speedProgress->setMaximumWidth(120);
    playBar->addWidget(speedProgress);
    speedSpin = new FormattedSpin(kSpinPlaySpeed, {}, playBar);
    speedSpin->setRange(0, 20);
    playBar->addWidget(speedSpin);
    const auto factor = [](int percent) { return Q(DisplayFactorText(percent / 100.0)); };
    AddLabel(playBar, QStringLiteral("Display:"));
    for (int id : {kSpinDisplayA, kSpinDisplayM, kSpinDisplayB}) AddSpin(playBar, id, factor);
}

int ControlBars::SpinValue(const FormattedSpin* spin) const {
    const int id = spin->ControlId();
    switch (id) {
        case kSpinRange:
            return doc.rangeIndex;
        case kSpinEsRange:
            return doc.esRangeIndex;
        case kSpinDisplayA:
        case kSpinDisplayM:
        case kSpinDisplayB:
            return static_cast<int>(
                doc.images.slotStates[DisplaySpinSlot(doc, id)].intensityFactor * 100.0 + 0.5);
        default:
            return doc.heads[GainSpinHead(doc, id)].gainDb;
    }
}

void ControlBars::UpdateControlBars() {
    for (FormattedSpin* spin : spins) {
        const bool two = std::find(twoBarSpins.begin(), twoBarSpins.end(), spin) != twoBarSpins.end();
        const int id = spin->ControlId();
        int high = 20;
        if (id == kSpinRange) high = 19;
        if (id == kSpinEsRange) high = 17;
        if (id == kSpinGainES) high = two ? 20 : 40;
        if (id == kSpinDisplayA || id == kSpinDisplayM || id == kSpinDisplayB) high = 200;
        spin->Show(0, high, SpinValue(spin));
    }
    freqLabelA->setText(Q(FrequencyLabel(doc.heads[doc.displayChannelA].frequencyHz)));
    freqLabelB->setText(Q(FrequencyLabel(doc.heads[doc.displayChannelB].frequencyHz)));
}

void ControlBars::OnSpin(FormattedSpin* spin, int value) {
    const int delta = value - SpinValue(spin);
    const int id = spin->ControlId();
    if (id == kSpinDisplayA || id == kSpinDisplayM || id == kSpinDisplayB) {
        // The images are scaled from the next ping on.
        SpinDisplayFactor(doc, id, delta);
    } else if (SpinAcquisition(doc, id, delta).changed) {
        Q_EMIT AcquisitionChanged();
    }
    UpdateControlBars();
}
