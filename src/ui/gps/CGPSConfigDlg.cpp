#include "ui/gps/CGPSConfigDlg.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>
#include <mutex>

#include "document/CVantrelDoc.h"
#include "gps/GpsDocumentOps.h"
#include "platform/qt/QtGpsReader.h"

namespace {

void Fill(QComboBox* list, const std::vector<std::string>& texts, int selected) {
    QSignalBlocker block(list);
    list->clear();
    for (const std::string& text : texts) list->addItem(QString::fromStdString(text));
    list->setCurrentIndex(selected);
}

}  // namespace

CGPSConfigDlg::CGPSConfigDlg(CVantrelDoc& document, QWidget* parent)
    : QDialog(parent), doc(document) {
    setObjectName(QStringLiteral("gpsConfigDialog"));
    setWindowTitle(QStringLiteral("GPS Serial Port Configuration and Diagnostics"));
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    BuildLists(grid);
    BuildInterval(grid);
    BuildHealth(grid);
    layout->addLayout(grid);
    layout->addWidget(new QLabel(QStringLiteral("GPS Sentences Received:"), this));
    received = new GpsSentencesArea(this);
    received->setObjectName(QStringLiteral("gpsSentencesReceived"));
    layout->addWidget(received, 1);
    BuildButtons(layout);
    ConnectLists();
    probe = new QFutureWatcher<std::vector<GpsPortEntry>>(this);
    connect(probe, &QFutureWatcherBase::finished, this, [this] { PortsFound(); });
    resize(520, 640);
}

// A probe still running goes on in the pool with its own copy of the candidates; its result
// is dropped.
CGPSConfigDlg::~CGPSConfigDlg() = default;

void CGPSConfigDlg::StartPortProbe() {
    if (probe->isRunning()) return;
    probe->setFuture(QtConcurrent::run([candidates = FindGpsPortEntries(deviceRoot)] {
        return KeepOpenable(candidates, &QtGpsReader::ProbeDevice);
    }));
}

bool CGPSConfigDlg::Probing() const {
    return probe->isRunning();
}

void CGPSConfigDlg::PortsFound() {
    ports = probe->result();
    model.SetPorts(ports);
    Fill(portList, model.PortTexts(), model.PortIndex());
    portList->setEnabled(model.PortListEnabled());
    Q_EMIT PortsProbed();
}

void CGPSConfigDlg::BuildLists(QGridLayout* grid) {
    const std::pair<const char*, QComboBox**> lists[] = {{"Com Port", &portList},
                                                         {"Baud Rate", &baudList},
                                                         {"Parity", &parityList},
                                                         {"Data Bits", &dataBitsList},
                                                         {"Stop Bits", &stopBitsList},
                                                         {"Flow Control", &flowList},
                                                         {"Select NMEA Sentences", &sentenceList}};
    int row = 0;
    for (const auto& [label, list] : lists) {
        grid->addWidget(new QLabel(QString::fromLatin1(label), this), row, 0);
        *list = new QComboBox(this);
        grid->addWidget(*list, row, 1, 1, 3);
        ++row;
    }
    portList->setMinimumContentsLength(24);
}

void CGPSConfigDlg::BuildInterval(QGridLayout* grid) {
    const int row = grid->rowCount();
    grid->addWidget(new QLabel(QStringLiteral("GPS Output Time"), this), row, 0);
    intervalEdit = new QLineEdit(this);
    intervalEdit->setValidator(
        new QIntValidator(GpsConfigDialogModel::kEditMin, GpsConfigDialogModel::kEditMax, this));
    intervalEdit->setMaximumWidth(70);
    grid->addWidget(intervalEdit, row, 1);
    // The spin's own text is hidden: the edit box beside it shows the interval. Its range
    // reaches one step past each end, so a step there is clamped like any other.
    intervalSpin = new QSpinBox(this);
    intervalSpin->setRange(GpsConfigDialogModel::kSpinMin - 1, GpsConfigDialogModel::kSpinMax + 1);
    intervalSpin->setFixedWidth(22);
    grid->addWidget(intervalSpin, row, 2);
    grid->addWidget(new QLabel(QStringLiteral("msec"), this), row, 3);
    grid->addWidget(new QLabel(QStringLiteral("GPS Quality / Status:"), this), row + 1, 0);
    qualityEdit = new QLineEdit(this);
    qualityEdit->setReadOnly(true);
    grid->addWidget(qualityEdit, row + 1, 1, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Number of Satellites in Use:"), this), row + 2, 0);
    satellitesEdit = new QLineEdit(this);
    satellitesEdit->setReadOnly(true);
    satellitesEdit->setMaximumWidth(70);
    grid->addWidget(satellitesEdit, row + 2, 1);
}

void CGPSConfigDlg::BuildButtons(QBoxLayout* layout) {
    auto* row = new QHBoxLayout;
    okButton = new QPushButton(QStringLiteral("&OK"), this);
    applyButton = new QPushButton(QStringLiteral("&Apply"), this);
    defaultButton = new QPushButton(QStringLiteral("&Default"), this);
    cancelButton = new QPushButton(QStringLiteral("&Cancel"), this);
    okButton->setDefault(true);
    for (QPushButton* button : {okButton, applyButton, defaultButton, cancelButton}) {
        row->addWidget(button);
    }
    layout->addLayout(row);
    connect(okButton, &QPushButton::clicked, this, [this] { Ok(); });
    connect(applyButton, &QPushButton::clicked, this, [this] {
        model.PressApply();
        Ok();
    });
    connect(defaultButton, &QPushButton::clicked, this, [this] {
        model.Default();
        ShowModel();
    });
    connect(cancelButton, &QPushButton::clicked, this, [this] { Cancel(); });
}

void CGPSConfigDlg::ConnectLists() {
    using Select = void (GpsConfigDialogModel::*)(int);
    const std::pair<QComboBox*, Select> lists[] = {
        {portList, &GpsConfigDialogModel::SelectPort},
        {baudList, &GpsConfigDialogModel::SelectBaudRate},
        {parityList, &GpsConfigDialogModel::SelectParity},
        {dataBitsList, &GpsConfigDialogModel::SelectDataBits},
        {stopBitsList, &GpsConfigDialogModel::SelectStopBits},
        {sentenceList, &GpsConfigDialogModel::SelectSentences}};
    for (const auto& [list, select] : lists) {
        connect(list, &QComboBox::activated, this, [this, select = select](int index) {
            (model.*select)(index);
            applyButton->setEnabled(model.ApplyEnabled());
        });
    }
    connect(intervalSpin, &QSpinBox::valueChanged, this, [this](int value) { Spin(value); });
    connect(intervalEdit, &QLineEdit::editingFinished, this, [this] {
        bool ok = false;
        const int ms = intervalEdit->text().toInt(&ok);
        if (ok && GpsConfigDialogModel::ValidEditInterval(ms)) SetGpsReadInterval(doc, ms);
        ShowInterval();
    });
}

void CGPSConfigDlg::ShowModel() {
    Fill(portList, model.PortTexts(), model.PortIndex());
    portList->setEnabled(model.PortListEnabled());
    Fill(baudList, GpsConfigDialogModel::BaudRateTexts(), model.BaudRateIndex());
    Fill(parityList, GpsConfigDialogModel::ParityTexts(), model.ParityIndex());
    Fill(dataBitsList, GpsConfigDialogModel::DataBitsTexts(), model.DataBitsIndex());
    Fill(stopBitsList, GpsConfigDialogModel::StopBitsTexts(), model.StopBitsIndex());
    Fill(flowList, GpsConfigDialogModel::FlowControlTexts(), 0);
    Fill(sentenceList, GpsConfigDialogModel::SentenceTexts(), model.SentenceIndex());
    applyButton->setEnabled(model.ApplyEnabled());
}

void CGPSConfigDlg::ShowInterval() {
    const int ms = doc.gpsConfig.gpsReadInterval;
    intervalEdit->setText(QString::number(ms));
    QSignalBlocker block(intervalSpin);
    intervalSpin->setValue(GpsConfigDialogModel::SpinPosition(ms));
}

void CGPSConfigDlg::Spin(int value) {
    const int position = GpsConfigDialogModel::SpinPosition(doc.gpsConfig.gpsReadInterval);
    SetGpsReadInterval(doc, GpsConfigDialogModel::SpinStep(position, value - position));
    ShowInterval();
}

void CGPSConfigDlg::Open() {
    model.LoadPorts(doc.gpsConfig, ports);
    ShowModel();
    StartPortProbe();
    ShowInterval();
    Refresh();
    show();
    raise();
    activateWindow();
}

void CGPSConfigDlg::Refresh() {
    // The port was reopened elsewhere (acquisition started, a fall-back to another port):
    // the lists follow the document unless the user has changes not yet applied.
    if (!model.ApplyEnabled() && !(ChoiceOf(doc.gpsConfig) == model.Choice())) {
        model.LoadPorts(doc.gpsConfig, ports);
        ShowModel();
    }
    QStringList sentences;
    QString quality;
    int satellites = 0;
    {
        std::lock_guard<std::mutex> guard(doc.gps.lock);
        for (const std::string& s : doc.gps.sentenceRing) sentences << ReceivedText(s);
        quality = QString::fromStdString(doc.gps.qualityText);
        satellites = doc.gps.satellitesInUse;
    }
    if (qualityEdit->text() != quality) qualityEdit->setText(quality);
    const QString count = QString::number(satellites);
    if (satellitesEdit->text() != count) satellitesEdit->setText(count);
    received->SetSentences(sentences, doc.gpsConfig.gpsSentenceSet);
    RefreshHealth();
}

void CGPSConfigDlg::Ok() {
    const bool changed = ApplyGpsConfigChoice(doc, model.Choice());
    const bool hideNow = model.FinishOk();
    // The reopen may have moved to another port: the lists show what the document holds.
    if (changed) {
        model.LoadPorts(doc.gpsConfig, ports);
        StartPortProbe();
    }
    ShowModel();
    Refresh();
    if (hideNow) hide();
}

void CGPSConfigDlg::Cancel() {
    model.LoadPorts(doc.gpsConfig, ports);
    ShowModel();
    ShowInterval();
    hide();
}

void CGPSConfigDlg::reject() {
    Cancel();
}

void CGPSConfigDlg::showEvent(QShowEvent* event) {
    doc.SetGpsConfigDialogVisible(true);
    QDialog::showEvent(event);
}

void CGPSConfigDlg::hideEvent(QHideEvent* event) {
    doc.SetGpsConfigDialogVisible(false);
    QDialog::hideEvent(event);
}
