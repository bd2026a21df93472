#pragma once
// The modeless "GPS Serial Port Configuration and Diagnostics" dialog: the port and its line
// settings, the sentence selection, the read interval, the receiver's quality and satellite
// count, the age of the last fix, the line's error counters and the device's state, and the
// last sentences received (those of the selection in blue). It drives
// GpsConfigDialogModel; "&OK" and "&Apply" hand the choice to the document, the spin sets the
// read interval at once. Refresh() follows each finished read of the GPS reader. The "Com
// Port" list holds the ports that open (probed off the window thread), each with its stable
// /dev/serial/by-id name beside it where there is one, and the configured device.

#include <QDialog>
#include <QFutureWatcher>
#include <QStringList>
#include <vector>

#include "gps/GpsConfigDialogModel.h"
#include "ui/gps/GpsSentencesArea.h"

class CVantrelDoc;
class QComboBox;
class QLineEdit;
class QPushButton;
class QSpinBox;

class CGPSConfigDlg : public QDialog {
    Q_OBJECT
public:
    CGPSConfigDlg(CVantrelDoc& doc, QWidget* parent);
    ~CGPSConfigDlg() override;

    // Shows the dialog with working copies from the document and "&Apply" disabled.
    void Open();
    // The quality, satellite count and received sentences after a read.
    void Refresh();
    const GpsConfigDialogModel& Model() const { return model; }
    // Looks for the serial ports that open, off the window thread; the "Com Port" list is
    // refilled when it is done (PortsProbed). Runs when the dialog opens and after a reopen.
    void StartPortProbe();
    bool Probing() const;
    // Where the serial devices are looked for ("/dev"; tests give a directory of their own).
    std::string deviceRoot = "/dev";

Q_SIGNALS:
    void PortsProbed();

public:

    QComboBox* portList = nullptr;
    QComboBox* baudList = nullptr;
    QComboBox* parityList = nullptr;
    QComboBox* dataBitsList = nullptr;
    QComboBox* stopBitsList = nullptr;
    QComboBox* flowList = nullptr;
    QComboBox* sentenceList = nullptr;
    QLineEdit* intervalEdit = nullptr;
    QSpinBox* intervalSpin = nullptr;
    QLineEdit* qualityEdit = nullptr;
    QLineEdit* satellitesEdit = nullptr;
    // The age of the last fix ("GPS lost 12 s" in the warning colour once it is too old), the
    // line's counters since the port was opened, and the device as the reader finds it.
    QLineEdit* fixAgeEdit = nullptr;
    QLineEdit* checksumEdit = nullptr;
    QLineEdit* noiseEdit = nullptr;
    QLineEdit* deviceEdit = nullptr;
    GpsSentencesArea* received = nullptr;
    QPushButton* okButton = nullptr;
    QPushButton* applyButton = nullptr;
    QPushButton* defaultButton = nullptr;
    QPushButton* cancelButton = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void reject() override;

private:
    void BuildLists(class QGridLayout* grid);
    void BuildInterval(class QGridLayout* grid);
    void BuildHealth(class QGridLayout* grid);
    void RefreshHealth();
    void BuildButtons(class QBoxLayout* layout);
    void ConnectLists();
    void ShowModel();
    void ShowInterval();
    void Ok();
    void Cancel();
    void Spin(int value);

    void PortsFound();

    CVantrelDoc& doc;
    GpsConfigDialogModel model;
    std::vector<GpsPortEntry> ports;  // found by the last probe
    QFutureWatcher<std::vector<GpsPortEntry>>* probe = nullptr;
};
