#pragma once
// The modeless "GPS Serial Port Configuration and Diagnostics" dialog: the port and its line
// settings, the sentence selection, the read interval, the receiver's quality and satellite
// count, and the last sentences received (those of the selection in blue). It drives
// GpsConfigDialogModel; "&OK" and "&Apply" hand the choice to the document, the spin sets the
// read interval at once. Refresh() follows each finished read of the GPS reader.

#include <QDialog>
#include <QStringList>

#include "gps/GpsConfigDialogModel.h"

class CVantrelDoc;
class QComboBox;
class QLineEdit;
class QPushButton;
class QSpinBox;

// The "GPS Sentences Received:" area: a white sheet with one sentence a line.
class GpsSentencesArea : public QWidget {
    Q_OBJECT
public:
    explicit GpsSentencesArea(QWidget* parent);
    void SetSentences(const QStringList& sentences, int sentenceSet);
    const QStringList& Sentences() const { return sentences; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QStringList sentences;
    int selection = 0;
};

class CGPSConfigDlg : public QDialog {
    Q_OBJECT
public:
    CGPSConfigDlg(CVantrelDoc& doc, QWidget* parent);

    // Shows the dialog with working copies from the document and "&Apply" disabled.
    void Open();
    // The quality, satellite count and received sentences after a read.
    void Refresh();
    const GpsConfigDialogModel& Model() const { return model; }

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
    void BuildButtons(class QBoxLayout* layout);
    void ConnectLists();
    void ShowModel();
    void ShowInterval();
    void Ok();
    void Cancel();
    void Spin(int value);

    CVantrelDoc& doc;
    GpsConfigDialogModel model;
};
