// The playback bar's model (slider and play speed) and the settings-change alarm.

#include <algorithm>

#include "document/CVantrelDoc.h"
#include "platform/TimerIds.h"

void CVantrelDoc::PlaybackSliderPressed() {
    // While copying, the slider does not move the playback.
    if (!recording.copyMode) playback.sliderHeld = 1;
}

void CVantrelDoc::PlaybackSliderReleased(int position) {
    if (!recording.copyMode) {
        // Releasing at the far right restarts the file.
        if (position >= kSliderMax) position = 0;
        position = std::max(position, 0);
        playback.sliderTarget = playback.sliderStep * static_cast<std::uint64_t>(position);
        Resynchronise(playback.sliderTarget);
    }
    gps.gpsLatitude = 0.0;
    gps.gpsLongitude = 0.0;
    playback.sliderHeld = 0;
    gps.trackRestart = 1;
    RestartGpsAge();
}

void CVantrelDoc::StepPlaySpeed(int delta) {
    playback.playSpeed = std::clamp(playback.playSpeed + delta, 0, kPlaySpeedMax);
    observer->PlaySpeedChanged(playback.playSpeed);
    ApplyPlaySpeed();
    platform.StopTimer(kTimerPlayback);
    if (playbackMode) platform.StartTimer(kTimerPlayback, playback.playbackPeriodMs);
}

void CVantrelDoc::ApplyPlaySpeed() {
    playback.playbackPeriodMs = PlaybackPeriodForSpeed(playback.playSpeed);
}

void CVantrelDoc::ToggleSettingsChangeAlarm() {
    files.settingsChangeAlarm = files.settingsChangeAlarm ? 0 : 1;
}
