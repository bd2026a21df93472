#include "app/ui/PlaybackPause.h"

#include "acquisition/CVantrelDoc.h"
#include "platform/TimerIds.h"

PlaybackPause::PlaybackPause(CVantrelDoc& document) : doc(document) {
    doc.GetPlatform().StopTimer(kTimerPlayback);
}

PlaybackPause::~PlaybackPause() {
    if (doc.playbackMode && doc.playback.playbackFile.IsOpen() && !doc.images.held) {
        doc.GetPlatform().StartTimer(kTimerPlaybackDelay, kPlaybackResumeDelayMs);
    }
}
