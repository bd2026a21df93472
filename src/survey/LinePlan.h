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
    // back); true when it changed. Passed means sailed past: a line made active (by hand, or a
    // new plan) while the vessel is already beyond its end waits until it is before it again,
    // so "Previous Line" is not undone at the next fix.
    bool AdvancePastEnd(const GeoPoint& at);

private:
    bool beforeEnd = false;  // the vessel was before the active line's end since it became active
};

}  // namespace survey
