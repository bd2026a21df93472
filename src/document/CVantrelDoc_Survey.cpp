// The survey on the document's side: the plan (read, saved, the line steered), the coverage
// that each ping adds from the vessel's pose, and the helmsman's read-out, which follows every
// fix. Live and in playback alike: a played file's positions drive it as live ones do.

#include <algorithm>
#include <filesystem>
#include <mutex>

#include "document/CVantrelDoc.h"
#include "survey/LineGenerator.h"
#include "survey/PlanFiles.h"
#include "survey/SwathRule.h"

namespace {

const char* const kPlanFilter = "Survey Plans (*.gpx *.kml *.csv)";

}  // namespace

bool CVantrelDoc::LoadSurveyPlan(const std::string& path) {
    survey::PlanRead read = survey::ReadPlan(path);
    if (!read.Ok()) {
        platform.MessageBox("The survey plan was not loaded.\n" + read.error);
        return false;
    }
    survey.plan.Replace(std::move(read.lines), path);
    survey.settings.planFile = path;
    SurveyChanged();
    return true;
}

void CVantrelDoc::OpenSurveyPlan() {
    const FileDialogRequest request{"Open Survey Plan:", kPlanFilter, PaletteDirectory(), ""};
    const std::optional<std::string> chosen = platform.OpenFileDialog(request);
    if (chosen && !chosen->empty()) LoadSurveyPlan(*chosen);
}

void CVantrelDoc::SaveSurveyPlan() {
    const std::string name = std::filesystem::path(survey.plan.file).filename().string();
    const FileDialogRequest request{"Save Survey Plan:", "GPX Files (*.gpx)", PaletteDirectory(),
                                    name};
    std::optional<std::string> chosen = platform.SaveFileDialog(request);
    if (!chosen || chosen->empty()) return;
    if (std::filesystem::path(*chosen).extension().empty()) *chosen += ".gpx";
    SaveSurveyPlanTo(*chosen);
}

bool CVantrelDoc::SaveSurveyPlanTo(const std::string& path) {
    const std::string error = survey::WritePlanFile(path, survey.plan.lines);
    if (!error.empty()) {
        platform.MessageBox("The survey plan was not saved: " + error);
        return false;
    }
    survey.plan.file = survey.settings.planFile = path;
    SurveyChanged();
    return true;
}

void CVantrelDoc::ReplaceSurveyLines(std::vector<survey::SurveyLine> lines) {
    // Not from a file until it is saved: the settings keep naming the last file.
    survey.plan.Replace(std::move(lines), {});
    SurveyChanged();
}

void CVantrelDoc::NextSurveyLine() {
    if (survey.plan.NextLine()) SurveyChanged();
}

void CVantrelDoc::PreviousSurveyLine() {
    if (survey.plan.PreviousLine()) SurveyChanged();
}

void CVantrelDoc::SetOffLineAlarm(int metres) {
    survey.settings.alarmM = metres > 0 ? metres : survey::SurveySettings{}.alarmM;
    SurveyChanged();
}

void CVantrelDoc::ToggleRecordOnLine() {
    survey::LineRecording& state = survey.lineRecording;
    state.enabled = !state.enabled;
    state.tried = -1;
    // Turned off, a line's recording goes on to the operator's Stop Recording.
    state.line = -1;
    observer->DataFileStateChanged();
}

void CVantrelDoc::FollowLineRecording() {
    survey::LineRecording& state = survey.lineRecording;
    if (playbackMode || !survey.vessel) return;
    // The line's corridor: the swath's half width, or the off-line alarm when wider.
    const double corridor = std::max<double>(survey.settings.alarmM, CurrentSwathM() / 2.0);
    switch (survey::NextLineRecordingStep(survey.plan, state, survey.vessel->position, corridor)) {
        case survey::LineRecordingStep::Stop:
            state.line = -1;
            if (recording.recordingOn) StopRecording();
            break;
        case survey::LineRecordingStep::Start: {
            state.tried = survey.plan.active;
            if (recording.recordingOn) break;  // the operator's own recording runs on
            const std::string path =
                survey::LineRecordingPath(recording.writeFileDir, survey.plan.Active()->name);
            if (StartRecordingTo(path)) state.line = survey.plan.active;
            break;
        }
        case survey::LineRecordingStep::None:
            break;
    }
}

void CVantrelDoc::ReloadSurveyPlan() {
    // Only into an empty plan: lines made by the generator and not yet saved stay.
    const std::string wanted = survey.settings.planFile;
    if (wanted.empty() || !survey.plan.lines.empty()) return;
    // A plan that can no longer be read is said once; the settings forget it.
    if (!LoadSurveyPlan(wanted)) survey.settings.planFile = survey.plan.file;
}

std::optional<double> CVantrelDoc::CurrentAltitudeM() const {
    if (heads[kHeadES].available == 0 || orientation.altitudeM <= 0) return std::nullopt;
    return orientation.altitudeM;
}

double CVantrelDoc::CurrentSwathM() const {
    return survey::SwathWidthM(range, CurrentAltitudeM());
}

std::optional<survey::VesselPose> CVantrelDoc::CurrentVesselPose() {
    ObserveGps();
    const GpsFixStatus status = GpsStatus();
    if (!status.ageMs || status.Lost()) return std::nullopt;
    std::lock_guard<std::mutex> guard(gps.lock);
    if (gps.positionFixes == 0) return std::nullopt;
    survey::VesselPose pose;
    pose.position = {gps.gpsLatitude, gps.gpsLongitude};
    if (gps.speedDecoded) pose.speedKnots = gps.shipSpeedKnots;
    if (gps.courseDecoded) pose.courseDeg = gps.gpsCourse;
    pose.headingDeg = gps.headingDecoded ? gps.gpsHeading : gps.gpsCourse;
    return pose;
}

void CVantrelDoc::UpdateSteering() {
    survey.vessel = CurrentVesselPose();
    if (!survey.vessel) {
        survey.steering = {};
        return;
    }
    survey.plan.AdvancePastEnd(survey.vessel->position);
    survey::SteeringInput input;
    input.position = survey.vessel->position;
    input.speedKnots = survey.vessel->speedKnots;
    input.courseDeg = survey.vessel->courseDeg;
    input.alarmM = survey.settings.alarmM;
    survey.steering = survey::Steer(survey.plan, input);
}

void CVantrelDoc::AddCycleToSurvey() {
    UpdateSteering();
    const bool sideScan = HeadHasData(kHeadL) || HeadHasData(kHeadM) || HeadHasData(kHeadH);
    if (!survey.vessel || !sideScan) {
        survey.coverage.Break();
        return;
    }
    {
        // Laid in the track's zone, so that the plotter draws both in one frame.
        std::lock_guard<std::mutex> guard(gps.lock);
        if (gps.track.originZone != 0) survey.coverage.UseZone(gps.track.originZone, gps.track.originSouth);
    }
    survey.coverage.Add(
        survey::SwathOf(survey.vessel->position, survey.vessel->headingDeg, range, CurrentAltitudeM()));
    FollowLineRecording();
}

void CVantrelDoc::SurveyChanged() {
    UpdateSteering();
    observer->UpdateAllViews();
}
