#pragma once
// The "Connection" dialog: real-time acquisition from the heads ("YES") or file playback
// ("NO"), with the address the installation is asked at. UI thread only.

#include <QDialog>

class QLineEdit;
class QPushButton;

class ConnectDialog : public QDialog {
    Q_OBJECT
public:
    // The dialog's place on the screen; it keeps its own size.
    static constexpr int kLeft = 500;
    static constexpr int kTop = 500;

    explicit ConnectDialog(const QString& address, QWidget* parent = nullptr);

    QString Address() const;
    QPushButton* YesButton() const { return yesButton; }
    QPushButton* NoButton() const { return noButton; }
    QLineEdit* AddressEdit() const { return addressEdit; }

private:
    QLineEdit* addressEdit;
    QPushButton* yesButton;
    QPushButton* noButton;
};
