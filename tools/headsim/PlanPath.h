#pragma once
// The simulated vessel sailing a survey plan: each line in turn from its first point to its
// last at the speed, a few metres off the line as a helmsman steers (a slow, reproducible
// swing that fades out towards each point of the line, so the vessel passes every point
// exactly), a turn of arcs and a straight to the next line's start, and after the last line a
// turn back to the first line, which it then sails again: the survey repeats for as long as
// the simulator runs. The heading keeps the default path's small crab angle to the course.
//
// The local frame is an azimuthal equidistant projection centred on the first line's start,
// true in distance from there; plans are refused beyond 100 km of it.

#include <memory>
#include <string>
#include <vector>

#include "PathPieces.h"
#include "VesselPath.h"
#include "survey/SurveyLine.h"

namespace sim {

inline constexpr double kSteeringErrorM = 5.0;  // the vessel is never further off a line
inline constexpr double kTurnRadiusM = 20.0;
inline constexpr double kPlanReachM = 100000.0;

class PlanPath final : public VesselPath {
public:
    // Empty with a message naming `source` when a line has no length or the plan reaches too
    // far.
    static std::shared_ptr<const PlanPath> Make(const std::vector<survey::SurveyLine>& lines,
                                                const std::string& source, std::string& error);

    VesselFix At(double seconds, double speedKnots) const override;
    LocalPlace Local(double latitude, double longitude) const override;
    void LatLon(const LocalPlace& place, double& latitude, double& longitude) const override;
    const std::vector<WorldTarget>& Targets() const override { return targets; }
    // The distance of one round of the plan: its lines and the turns between them.
    double RoundM() const { return roundM; }

    // A line in the local frame: its points and the distance along it at each point.
    struct FlatLine {
        std::vector<FlatPoint> points;
        std::vector<double> alongM;
    };

private:
    // A line (index into lines) or a piece of a turn, starting `startM` into the round.
    struct Stretch {
        double startM = 0.0;
        int line = -1;
        PathPiece turn;
    };
    struct Motion {
        FlatPoint at;
        double east = 0.0, north = 0.0;  // velocity, m/s
    };

    PlanPath() = default;
    Motion OnLine(const FlatLine& line, double s, double seconds, double speed) const;
    void AddTargets(const FlatLine& line);

    double originLat = 0.0, originLon = 0.0;
    std::vector<FlatLine> lines;
    std::vector<Stretch> stretches;
    std::vector<WorldTarget> targets;
    double roundM = 0.0;
};

// The plan file read and its path made; empty with the reader's "FILE:LINE: ..." message.
std::shared_ptr<const PlanPath> LoadPlanPath(const std::string& file, std::string& error);

// Takes "--plan FILE" out of the arguments; false with an error text when it has no value.
bool TakePlanArgument(std::vector<std::string>& args, std::string& file, std::string& error);

inline constexpr const char* kPlanUsage =
    R"(Survey plan:
  --plan FILE         the vessel sails the lines of a plan (.gpx, .kml or .csv, as the
                      application reads them) in order at --speed, a few metres off each
                      line, turning on 20 m circles to the next line's start, and after the
                      last line turns back to the first and sails the plan again; the
                      seabed targets stand beside its lines. Needs --gps (or --describe,
                      --write-recording). A plan that cannot be read: exit 2
)";

}  // namespace sim
