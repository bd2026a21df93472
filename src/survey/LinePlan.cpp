#include "survey/LinePlan.h"

#include "survey/LineGeometry.h"

namespace survey {

void LinePlan::Replace(std::vector<SurveyLine> newLines, std::string fromFile) {
    lines = std::move(newLines);
    active = lines.empty() ? -1 : 0;
    file = std::move(fromFile);
    beforeEnd = false;
}

void LinePlan::Clear() {
    Replace({}, {});
}

bool LinePlan::NextLine() {
    if (active < 0 || active + 1 >= static_cast<int>(lines.size())) return false;
    ++active;
    beforeEnd = false;
    return true;
}

bool LinePlan::PreviousLine() {
    if (active <= 0) return false;
    --active;
    beforeEnd = false;
    return true;
}

const SurveyLine* LinePlan::Active() const {
    return active >= 0 && active < static_cast<int>(lines.size())
               ? &lines[static_cast<std::size_t>(active)]
               : nullptr;
}

bool LinePlan::AdvancePastEnd(const GeoPoint& at) {
    const SurveyLine* line = Active();
    if (!line || active + 1 >= static_cast<int>(lines.size())) return false;
    if (Locate(*line, at).toEndM > 0) {
        beforeEnd = true;
        return false;
    }
    if (!beforeEnd) return false;
    const std::size_t next = static_cast<std::size_t>(active) + 1;
    if (lines[next].points.empty()) return false;
    const double toNext = DistanceM(at, lines[next].points.front());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i == next || i == static_cast<std::size_t>(active) || lines[i].points.empty()) continue;
        if (DistanceM(at, lines[i].points.front()) < toNext) return false;
    }
    ++active;
    beforeEnd = false;
    return true;
}

}  // namespace survey
