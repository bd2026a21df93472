#pragma once
// The three control bars of the main window: the three-frequency bar (range, echo-sounder
// range, gains, display factors), the two-frequency bar (the same for the two displayed
// channels) and the playback bar (play speed, progress, position and display factors).
// Each edit-and-spin pair of the original controls is one spin box that shows the edit's text.

#include <QObject>
#include <QSpinBox>
#include <functional>

class CVantrelDoc;
class QLabel;
class QProgressBar;
class QSlider;
class QToolBar;
class QMainWindow;

// A spin box that shows a formatted text for its value ("50 m", "6 dB", "100 %").
class FormattedSpin : public QSpinBox {
    Q_OBJECT
public:
    FormattedSpin(int controlId, std::function<QString(int)> format, QWidget* parent);
    int ControlId() const { return controlId; }
    // Sets range and value without notifying; the range always contains the value.
    void Show(int low, int high, int value);

protected:
    QString textFromValue(int value) const override;

private:
    int controlId;
    std::function<QString(int)> format;
};

class ControlBars : public QObject {
    Q_OBJECT
public:
    ControlBars(CVantrelDoc& doc, QMainWindow* frame);

    QToolBar* ThreeFrequencyBar() const { return threeBar; }
    QToolBar* TwoFrequencyBar() const { return twoBar; }
    QToolBar* PlaybackBar() const { return playBar; }
    QSlider* PositionSlider() const { return slider; }
    QProgressBar* SpeedProgress() const { return speedProgress; }
    FormattedSpin* PlaySpeedSpin() const { return speedSpin; }

    // Writes the document's values into every control.
    void UpdateControlBars();

Q_SIGNALS:
    // An acquisition setting changed (range, gain).
    void AcquisitionChanged();

private:
    FormattedSpin* AddSpin(QToolBar* bar, int spinId, std::function<QString(int)> format);
    void BuildThreeFrequencyBar();
    void BuildTwoFrequencyBar();
    void BuildPlaybackBar();
    void OnSpin(FormattedSpin* spin, int value);
    int SpinValue(const FormattedSpin* spin) const;

    CVantrelDoc& doc;
    QMainWindow* frame;
    QToolBar* threeBar = nullptr;
    QToolBar* twoBar = nullptr;
    QToolBar* playBar = nullptr;
    QLabel* freqLabelA = nullptr;
    QLabel* freqLabelB = nullptr;
    QSlider* slider = nullptr;
    QProgressBar* speedProgress = nullptr;
    FormattedSpin* speedSpin = nullptr;
    std::vector<FormattedSpin*> spins;
    std::vector<FormattedSpin*> twoBarSpins;
};
