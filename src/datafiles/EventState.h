#pragma once
// The events of the current data file as the file side sees them: the two lists, the event
// files of the recording and of the playback, and the input switches that a new recording
// resets.

#include <cstdint>
#include <string>

#include "datafiles/DataFile.h"
#include "datafiles/EventFile.h"

struct EventState {
    // The events of the current data file, sorted by ping number, and the events met while
    // copying, in the order met.
    EventList eventList;
    EventList copyEventList;
    DataFile recordEventFile;
    DataFile playbackEventFile;
    // Name of the event file last opened or created.
    std::string eventFileName;
    // The playback event file could not be read to its end: it is kept as it is at close
    // instead of being rewritten with the events that could be read.
    std::int32_t eventFileDamaged = 0;
    std::int32_t eventInputEnabled = 0;
    std::int32_t holdWhenAdding = 0;
    std::int32_t eventPing = 1;
    std::int32_t eventMarkerX = 0;
    std::int32_t eventMarkerRow = 0;
};
