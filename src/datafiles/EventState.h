#pragma once
// The events of the current data file as the file side sees them: the two lists, the event
// files of the recording and of the playback, and the input switches that a new recording
// resets.

#include <cstdint>
#include <string>
#include <vector>

#include "datafiles/DataFile.h"
#include "datafiles/EventFile.h"

// One event marker on the composite image: the click point of the event and its number. The
// row is relative to the composite row counter at the time the marker was added, so a marker is
// drawn at image row (row + counter) and moves with the image as it scrolls. Drawn as a circle
// of 24 x 24 pixels centred on (x, row) and the number in "Arial" 18, centred in a 30 x 30 box
// whose top-left corner is 15 pixels left of and 10 pixels above the point.
struct EventMarker {
    std::int32_t number = 0;
    std::int32_t x = 0;
    std::int32_t row = 0;
    std::int32_t ping = 0;  // of the event: one marker per event
};

// What the event dialog shows: the document fills it, the dialog window mirrors it and hands
// the typed annotation back before OK. The fields are the dialog's texts without line ends.
struct EventDialogState {
    enum class Mode { NewEvent, Review };
    bool created = false;
    bool visible = false;
    Mode mode = Mode::NewEvent;
    // NEXT, PREV, DELETE and EDIT are shown (review); DELETE is disabled while copying.
    bool navigationShown = false;
    bool deleteEnabled = true;
    bool annotationEditable = false;
    // EDIT was pressed: OK replaces the annotation of the event shown.
    bool editing = false;
    // Position in the event list while paging with NEXT and PREV.
    std::int32_t index = -1;
    std::string number, ping, date, time, latitude, longitude, annotation;
};

struct EventState {
    // The events of the current data file, sorted by ping number, and the events met while
    // copying, in the order met.
    EventList eventList;
    EventList copyEventList;
    DataFile recordEventFile;
    DataFile playbackEventFile;
    // Name of the event file last opened or created.
    std::string eventFileName;
    // The playback event file could not be read to its end (a line that cannot be, an event cut
    // off, more than 100 events): it is never rewritten, so events are not added, changed or
    // deleted while it is so. eventFileDamage says where ("line 17: ...").
    std::int32_t eventFileDamaged = 0;
    std::string eventFileDamage;
    // A list changed that its event file does not hold yet (saving it after the change
    // failed): closing the file saves it again.
    std::int32_t playbackEventsUnsaved = 0;
    std::int32_t recordEventsUnsaved = 0;
    std::int32_t eventInputEnabled = 0;
    std::int32_t holdWhenAdding = 0;
    std::int32_t eventPing = 1;
    std::int32_t eventMarkerX = 0;
    std::int32_t eventMarkerRow = 0;
    // Markers of the events, drawn over the composite image while showEventMarkers is set.
    std::vector<EventMarker> eventMarkerPath;
    std::int32_t showEventMarkers = 1;
    // The markers as they were before a new event's marker was added (Cancel restores them).
    std::vector<EventMarker> savedMarkerPath;
    std::int32_t autoEventPopup = 0;
    std::int32_t eventReviewShown = 0;
    // The dialog set Hold itself (and releases it when it closes).
    std::int32_t holdTakenByDialog = 0;
    EventDialogState dialog;
};
