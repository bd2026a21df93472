#pragma once
// The recorder's state as the ping store sees it. Only a recorder sets recordingOn and
// dataFileOpen; until one exists no cycle is handed to RecordCycle().

#include <cstdint>

struct RecordingState {
    std::int32_t recordingOn = 0;
    std::int32_t dataFileOpen = 0;
    // Record counter: kept by the recorder in real time, read from the file in playback.
    std::int32_t pingNumber = 0;
};
