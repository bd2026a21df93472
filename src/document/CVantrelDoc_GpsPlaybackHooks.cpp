// Hooks of the GPS input around playback.

#include "document/CVantrelDoc.h"

// Per played record: the recorded sentences are decoded again and the speed, heading and
// course texts rewritten from the decoded values. A record made without GPS input (its first
// sentence "$GPS", nothing decoded) leaves the speed text at "n/a", so that image formation
// keeps its default speed instead of a decoded 0 knots.
void CVantrelDoc::RunGpsPlaybackSequence() {
    if (!gps.readerExists) return;
    gps.ReplayRecordedSentences({gpsConfig.gpsSentenceSet, gps.configDialogVisible});
}
