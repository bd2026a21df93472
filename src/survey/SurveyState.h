#pragma once
// The survey as the document keeps it: the plan and the line steered, the seabed covered in
// this run, the vessel's last pose, the helmsman's read-out at that pose, and the operator's
// survey settings. The document changes it only through its survey operations.

#include <optional>
#include <string>

#include "survey/Coverage.h"
#include "survey/LinePlan.h"
#include "survey/LineRecording.h"
#include "survey/Steering.h"

namespace survey {

struct SurveySettings {
    std::string planFile;  // remembered in the settings; read again at start
    int alarmM = 10;       // cross-track distance beyond which the read-out turns red
};

// Where the vessel is and where it points, at the last current fix: the plotter's symbol and
// the read-out are drawn from it.
struct VesselPose {
    GeoPoint position;
    double headingDeg = 0.0;  // the true heading, else the course over ground
    std::optional<double> speedKnots;
    std::optional<double> courseDeg;
};

struct SurveyState {
    LinePlan plan;
    Coverage coverage;
    SurveySettings settings;
    std::optional<VesselPose> vessel;
    SteeringReadout steering;
    LineRecording lineRecording;
};

}  // namespace survey
