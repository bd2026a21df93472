#pragma once
// Document operations of the GPS configuration dialog and the track plotter: what their
// buttons, spin and commands change in the document.

#include <string>
#include <vector>

#include "gps/GpsConfigDialogModel.h"

class CVantrelDoc;

// "&OK" / "&Apply": the settings that differ from the document are stored; when any differed
// and the system is not in playback, the port is reopened and the GPS data reset (the track
// is cleared by the reopen). Returns whether any setting differed.
bool ApplyGpsConfigChoice(CVantrelDoc& doc, const GpsConfigChoice& choice);
// The read-interval spin and edit: takes effect at the next re-arm of the read timer; brought
// into 200..2000 ms.
void SetGpsReadInterval(CVantrelDoc& doc, int milliseconds);
// The serial devices the dialog lists, the configured one included (nothing is opened).
std::vector<std::string> ListGpsPorts(const CVantrelDoc& doc);
// "&Restore image" of the track plotter: zoom 1.0.
void RestoreTrackZoom(CVantrelDoc& doc);
