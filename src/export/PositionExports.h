#pragma once
// The exports of positions of a recording that the command line and the application share:
// the ship's track (one point per position fix, decoded from the recorded sentences as
// playback decodes them) and the events of its event file, as CSV, GPX or KML.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "datafiles/EventFile.h"
#include "export/ExportJob.h"
#include "export/GeoTexts.h"
#include "export/TrackWriter.h"
#include "gps/TrackFixes.h"

namespace svx {

// The export of the fixes; `name` names the track in GPX and KML.
std::string TrackExport(const std::vector<TrackFix>& fixes, GeoFormat format,
                        const std::string& name);

// Decodes the sentences of every record of the data file into the collector, one batch a
// record, with the record's ping. The report counts the records and the damage stepped over.
ExportReport CollectDataFileTrack(const std::string& path, TrackFixCollector& collector,
                                  const ExportProgress& progress);

std::string EventsCsvHeader();

// The position (latitude, longitude in signed degrees) of the recording at a ping, when it
// has one there.
struct PingPosition {
    double latitude = 0, longitude = 0;
};
using PositionAtPing = std::function<std::optional<PingPosition>(std::int32_t ping)>;

// The export of the events. GPX and KML carry only events with a position; `leftOut` counts
// the others. An event whose stored texts give no position takes the one of its ping from
// `positionAt`, when given (the navigation of a file that holds positions, not sentences).
std::string EventsExport(const EventList& events, GeoFormat format, const std::string& name,
                         int& leftOut, const PositionAtPing& positionAt = {});

// What reading an event file gave: the events before any damage (at most 100), and a warning
// naming the line when the file was damaged, cut off or overlong. A data file without an
// event file has no events: read, with `missing` set and `problem` saying so.
struct EventFileRead {
    bool read = false;     // false: `problem` says why nothing was read
    bool complete = true;  // false: `problem` says what was left out
    bool missing = false;
    std::string problem;
};
EventFileRead ReadEventFile(const std::string& path, EventList& events);

// The export of a whole job, as the application runs it: the track of a data file, or the
// events of its event file, written to `out`. The report's error says why nothing was
// written; a half-written output is removed.
ExportReport ExportTrack(const std::string& dataFile, const std::string& out, GeoFormat format,
                         const ExportProgress& progress);
ExportReport ExportEvents(const std::string& dataFile, const std::string& out, GeoFormat format);

}  // namespace svx
