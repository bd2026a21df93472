// Hooks of the recorder and the event markers. The data-file writer and the event markers
// attach here; until they exist nothing sets recordingOn, and there are no markers to move.

#include "acquisition/CVantrelDoc.h"

void CVantrelDoc::RecordCycle() {}

void CVantrelDoc::ClearEventMarkers() {}

void CVantrelDoc::RebuildEventMarkers() {}
