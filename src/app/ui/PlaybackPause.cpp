#include "app/ui/PlaybackPause.h"

#include "document/CVantrelDoc.h"

PlaybackPause::PlaybackPause(CVantrelDoc& document) : doc(document) {
    doc.PausePlayback();
}

PlaybackPause::~PlaybackPause() {
    doc.ResumePlayback();
}
