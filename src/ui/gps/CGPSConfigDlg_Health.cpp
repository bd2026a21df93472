// The dialog's view of the line's health: the age of the last fix (in the warning colour once
// the GPS is lost), the error counters since the port was opened, and the device.

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <mutex>

#include "document/CVantrelDoc.h"
#include "ui/gps/CGPSConfigDlg.h"

namespace {

void SetText(QLineEdit* edit, const std::string& text) {
    const QString shown = QString::fromStdString(text);
    if (edit->text() != shown) edit->setText(shown);
}

}  // namespace

void CGPSConfigDlg::BuildHealth(QGridLayout* grid) {
    const std::pair<const char*, QLineEdit**> rows[] = {{"Age of Last Fix:", &fixAgeEdit},
                                                        {"Checksum Errors:", &checksumEdit},
                                                        {"Bytes Not NMEA:", &noiseEdit},
                                                        {"Device:", &deviceEdit}};
    for (const auto& [label, edit] : rows) {
        const int row = grid->rowCount();
        grid->addWidget(new QLabel(QString::fromLatin1(label), this), row, 0);
        *edit = new QLineEdit(this);
        (*edit)->setReadOnly(true);
        grid->addWidget(*edit, row, 1, 1, 3);
    }
    fixAgeEdit->setObjectName(QStringLiteral("gpsFixAge"));
    checksumEdit->setObjectName(QStringLiteral("gpsChecksumErrors"));
    noiseEdit->setObjectName(QStringLiteral("gpsBytesNotNmea"));
    deviceEdit->setObjectName(QStringLiteral("gpsDevice"));
}

void CGPSConfigDlg::RefreshHealth() {
    const GpsFixStatus status = doc.GpsStatus();
    GpsLineCounters line;
    GpsDeviceStatus device;
    {
        std::lock_guard<std::mutex> guard(doc.gps.lock);
        line = doc.gps.line;
        device = doc.gps.device;
    }
    const bool lost = status.Lost();
    SetText(fixAgeEdit, lost ? GpsLostText(*status.ageMs) + " (" + GpsLostReason(status) + ")"
                             : GpsAgeText(status));
    if (fixAgeEdit->property("warning").toBool() != lost) {
        fixAgeEdit->setProperty("warning", lost);
        fixAgeEdit->setStyleSheet(lost ? QStringLiteral("QLineEdit { background-color: #b71c1c; "
                                                        "color: white; font-weight: bold; }")
                                       : QString());
    }
    SetText(checksumEdit, std::to_string(line.checksumFailures));
    SetText(noiseEdit, std::to_string(line.nonNmeaBytes));
    const std::string path = device.path.empty() ? doc.gpsInput.openDevice : device.path;
    SetText(deviceEdit, path.empty()   ? std::string("not open")
                        : device.lost ? path + ": lost, reopened at every read"
                                      : path + ": open");
}
