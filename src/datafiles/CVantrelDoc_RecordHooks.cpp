// Hooks of the event markers. The events subsystem attaches here; until it exists there are no
// markers to move.

#include "acquisition/CVantrelDoc.h"

void CVantrelDoc::ClearEventMarkers() {}

void CVantrelDoc::RebuildEventMarkers() {}
