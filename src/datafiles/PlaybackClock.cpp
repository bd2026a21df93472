#include "datafiles/PlaybackClock.h"

#include "datafiles/PlaybackState.h"
#include "platform/TimerIds.h"

void PlaybackClock::Pause() {
    platform.StopTimer(kTimerPlayback);
}

void PlaybackClock::Resume(bool playing) {
    if (playing) platform.StartTimer(kTimerPlaybackDelay, kPlaybackResumeDelayMs);
}
