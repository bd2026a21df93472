#pragma once
// "Record on Line": a recording of each line from its start to its end, one file per line,
// named after the line. The decision at each ping is made here, from the plan and the
// position; the document starts and stops the recorder.

#include <string>

#include "survey/LinePlan.h"

namespace survey {

struct LineRecording {
    bool enabled = false;
    int line = -1;   // the line whose recording this started and runs; -1 for none
    int tried = -1;  // the line a start was tried for (once: a failed start is not retried)
};

enum class LineRecordingStep { None, Start, Stop };

// Start once the vessel is on the active line (past its start, before its end, within
// corridorM of it) and no recording of that line was tried; stop the line's recording past
// its end or when another line becomes active.
LineRecordingStep NextLineRecordingStep(const LinePlan& plan, const LineRecording& state,
                                        const GeoPoint& at, double corridorM);

// "<line name>.svx" in the directory, characters a file name should not hold replaced by
// '_'; " (2)", " (3)" ... before the ending while a file of that name exists.
std::string LineRecordingPath(const std::string& directory, const std::string& lineName);

}  // namespace survey
