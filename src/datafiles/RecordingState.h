#pragma once
// The recorder's state: whether cycles are being written, to which file, and the titles shown
// while they are. StoreCycle hands a cycle to RecordCycle() only while recordingOn is set and
// the data file is open.

#include <cstdint>
#include <string>

#include "datafiles/DataFile.h"
#include "datafiles/RecordIndex.h"

struct RecordingState {
    std::int32_t recordingOn = 0;
    // Recording was started during playback: the played records are copied.
    std::int32_t copyMode = 0;
    DataFile dataFile;
    // The chosen file name without its directory, as the titles show it.
    std::string recordFileTitle;
    // Directory for new data files, ending with "/" ("Write File Dir:"), and the save
    // dialog's filter index ("Write Filter Index").
    std::string writeFileDir;
    std::int32_t writeFilterIndex = 1;
    // The event file must not be changed: a data file could not be created, or a played file
    // is protected.
    std::int32_t fileDenyWrite = 0;
    // The main window's title text.
    std::string windowTitle;
    // Record counter: kept by the recorder in real time, read from the file in playback.
    std::int32_t pingNumber = 0;
    // Records written since the recording started, and why it stopped by itself (the disk is
    // full, a write failed; empty while it runs or after "Stop Recording..."), for the tools.
    std::int64_t recordsWritten = 0;
    std::string stopReason;
    // Records written with an empty GPS block because the GPS was lost (its sentences were
    // older than the threshold).
    std::int64_t recordsWithoutGps = 0;
    // The records written to dataFile so far.
    svx::RecordIndex index;

    bool DataFileOpen() const { return dataFile.IsOpen(); }
};
