// The main window's side of recording and playback: the File commands, the playback bar and
// what the document tells about its files (titles, slider, play speed).

#include <QProgressBar>
#include <QSlider>
#include <QToolBar>

#include "app/ui/CMainFrame.h"
#include "app/ui/ControlBars.h"
#include "document/CVantrelDoc.h"
#include "models/DataFileCommands.h"
#include "shell/CommandIds.h"

void CMainFrame::RegisterFileCommands() {
    commands.Add(kCmdRecordData, [this] { doc.StartRecording(); }, [this] {
        const char* text = RecordDataText(doc);
        return CommandState{RecordDataEnabled(doc), false, text ? text : ""};
    });
    commands.Add(kCmdStopRecording, [this] { doc.StopRecording(); }, [this] {
        const char* text = StopRecordingText(doc);
        return CommandState{StopRecordingEnabled(doc), false, text ? text : ""};
    });
    commands.Add(kCmdPlayback, [this] { doc.OpenPlayback(); });
    commands.Add(kCmdSettingsChangeAlarm, [this] { doc.ToggleSettingsChangeAlarm(); }, [this] {
        return CommandState{SettingsChangeAlarmEnabled(doc), SettingsChangeAlarmChecked(doc), {}};
    });
    commands.Add(kCmdFilePlaybackBar,
                 [this] {
                     bars->PlaybackBar()->setVisible(doc.ToggleBar(CVantrelDoc::Bar::Playback));
                 },
                 [this] {
                     return CommandState{FilePlaybackBarEnabled(doc),
                                         doc.display.playbackBarVisible != 0, {}};
                 });
}

void CMainFrame::ConnectPlaybackBar() {
    QSlider* slider = bars->PositionSlider();
    connect(slider, &QSlider::sliderPressed, this, [this] { doc.PlaybackSliderPressed(); });
    connect(slider, &QSlider::sliderReleased, this, [this, slider] {
        doc.PlaybackSliderReleased(slider->value());
        // The keys go back to the main window, not to the slider.
        setFocus();
    });
    FormattedSpin* spin = bars->PlaySpeedSpin();
    connect(spin, &QSpinBox::valueChanged, this,
            [this](int value) { doc.StepPlaySpeed(value - doc.playback.playSpeed); });
}

void CMainFrame::WindowTextChanged(const std::string& text) {
    setWindowTitle(QString::fromStdString(text));
}

void CMainFrame::PlaybackBarReset(int playSpeed) {
    QSlider* slider = bars->PositionSlider();
    const QSignalBlocker block(slider);
    slider->setValue(0);
    PlaySpeedChanged(playSpeed);
    bars->PlaybackBar()->setVisible(doc.display.playbackBarVisible != 0);
}

void CMainFrame::PlaybackSliderMoved(int position) {
    QSlider* slider = bars->PositionSlider();
    if (slider->isSliderDown()) return;
    const QSignalBlocker block(slider);
    slider->setValue(position);
}

void CMainFrame::PlaySpeedChanged(int playSpeed) {
    bars->SpeedProgress()->setValue(playSpeed);
    bars->PlaySpeedSpin()->Show(0, 20, playSpeed);
}

void CMainFrame::DataFileStateChanged() { RefreshNow(); }

void CMainFrame::PlaybackMessage(const std::string& text) {
    statusInputs.message = text;
    UpdateStatusBars();
}
