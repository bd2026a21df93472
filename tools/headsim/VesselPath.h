#pragma once
// The simulated vessel's path: where it is, where it goes and how fast at a time since the
// start, as a pure function of the time, so that the GPS receiver, the heads' view of the
// seabed and the list of seabed targets all follow one vessel and two runs are the same. The
// default path runs the legs of VesselAt; PlanPath sails the lines of a survey plan.

#include <memory>
#include <vector>

#include "SimGps.h"
#include "SimScene.h"

namespace sim {

class VesselPath {
public:
    virtual ~VesselPath() = default;
    // Where the vessel is after `seconds` at the speed through the water.
    virtual VesselFix At(double seconds, double speedKnots) const = 0;
    // The path's flat local frame (metres east and north of its origin), in which the seabed
    // targets stand and the heads look from the vessel's pose.
    virtual LocalPlace Local(double latitude, double longitude) const = 0;
    virtual void LatLon(const LocalPlace& place, double& latitude, double& longitude) const = 0;
    // The objects on the seabed along the path, in the local frame.
    virtual const std::vector<WorldTarget>& Targets() const = 0;
};

// The 400 m legs east and west of VesselAt, in the frame of LocalOf, with SurveyTargets.
class LegsPath final : public VesselPath {
public:
    LegsPath() : targets(SurveyTargets()) {}
    VesselFix At(double seconds, double speedKnots) const override {
        return VesselAt(seconds, speedKnots);
    }
    LocalPlace Local(double latitude, double longitude) const override {
        return LocalOf(latitude, longitude);
    }
    void LatLon(const LocalPlace& place, double& latitude, double& longitude) const override {
        LatLonOf(place, latitude, longitude);
    }
    const std::vector<WorldTarget>& Targets() const override { return targets; }

private:
    std::vector<WorldTarget> targets;
};

// The one default path, shared.
std::shared_ptr<const VesselPath> DefaultPath();

// The vessel's pose on the path in its local frame.
Pose PoseOn(const VesselPath& path, double seconds, double speedKnots);

// One line per target: "target 1: 54.3198650 N 10.1530781 E, 4.0 x 2.0 m, 1.2 m high".
std::string DescribeTargets(const VesselPath& path);

}  // namespace sim
