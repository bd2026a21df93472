#pragma once
// The survey's plan: its lines in order and the line being steered. The plan belongs to the
// survey, not to a recording: the document keeps one and remembers the file it came from.

#include <string>
#include <vector>

#include "survey/SurveyLine.h"

namespace survey {

struct LinePlan {
    std::vector<SurveyLine> lines;
    int active = -1;   // the line steered; -1 for none (an empty plan)
    std::string file;  // where the plan was read from or saved to; empty for a new one

    // A new plan of these lines, the first one active.
    void Replace(std::vector<SurveyLine> newLines, std::string fromFile);
    void Clear();
    // "Next Line" / "Previous Line": false (nothing changes) at either end or without lines.
    bool NextLine();
    bool PreviousLine();
    const SurveyLine* Active() const;
    // Once the active line's end is passed, the next line becomes active when its start is
    // nearer the position than the start of any other line (a crew may skip lines and come
    // back); true when it changed.
    bool AdvancePastEnd(const GeoPoint& at);
};

}  // namespace survey
