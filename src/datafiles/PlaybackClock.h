#pragma once
// The clock of playback: the tick that plays one record (timer 1030) and the short delay after
// which playback goes on (timer 1010). Whatever stops playback for a moment (a modal dialog, a
// mouse action on an image, the hold, a recording that stops) pauses and resumes it here.

#include "platform/Platform.h"

class PlaybackClock {
public:
    explicit PlaybackClock(Platform& platform) : platform(platform) {}
    // No record is played until Resume.
    void Pause();
    // Plays on after a short delay, when a file is being played and not held.
    void Resume(bool playing);

private:
    Platform& platform;
};
