#include "survey/LineRecording.h"

#include <cctype>
#include <cmath>
#include <filesystem>

#include "survey/LineGeometry.h"

namespace survey {

LineRecordingStep NextLineRecordingStep(const LinePlan& plan, const LineRecording& state,
                                        const GeoPoint& at, double corridorM) {
    if (state.line >= 0) {
        if (state.line != plan.active) return LineRecordingStep::Stop;
        const SurveyLine* line = plan.Active();
        return !line || Locate(*line, at).toEndM <= 0 ? LineRecordingStep::Stop : LineRecordingStep::None;
    }
    const SurveyLine* line = plan.Active();
    if (!state.enabled || !line || line->points.size() < 2 || state.tried == plan.active) {
        return LineRecordingStep::None;
    }
    const LinePosition p = Locate(*line, at);
    const bool on = p.alongTrackM >= 0 && p.toEndM > 0 && std::fabs(p.crossTrackM) <= corridorM;
    return on ? LineRecordingStep::Start : LineRecordingStep::None;
}

std::string LineRecordingPath(const std::string& directory, const std::string& lineName) {
    std::string name;
    for (const char c : lineName) {
        const bool plain = std::isalnum(static_cast<unsigned char>(c)) || c == ' ' || c == '-' ||
                           c == '_' || c == '.' || static_cast<unsigned char>(c) >= 0x80;
        name.push_back(plain ? c : '_');
    }
    if (name.empty() || name.front() == '.') name.insert(0, "Line");
    const std::filesystem::path dir(directory.empty() ? "." : directory);
    std::filesystem::path path = dir / (name + ".svx");
    std::error_code error;
    for (int k = 2; std::filesystem::exists(path, error); ++k) {
        path = dir / (name + " (" + std::to_string(k) + ").svx");
    }
    return path.string();
}

}  // namespace survey
