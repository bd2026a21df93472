#include "VesselPath.h"

#include <cmath>

#include "common/TextFormat.h"

namespace sim {

std::shared_ptr<const VesselPath> DefaultPath() {
    static const std::shared_ptr<const VesselPath> legs = std::make_shared<LegsPath>();
    return legs;
}

Pose PoseOn(const VesselPath& path, double seconds, double speedKnots) {
    const VesselFix fix = path.At(seconds, speedKnots);
    const LocalPlace place = path.Local(fix.latitude, fix.longitude);
    return {place.eastM, place.northM, fix.headingDeg};
}

std::string DescribeTargets(const VesselPath& path) {
    std::string text;
    int k = 0;
    for (const WorldTarget& t : path.Targets()) {
        double lat = 0, lon = 0;
        path.LatLon({t.eastM, t.northM}, lat, lon);
        text += Printf("target %d: %.7f %c %.7f %c, %.1f x %.1f m, %.1f m high\n", ++k,
                       std::fabs(lat), lat < 0 ? 'S' : 'N', std::fabs(lon), lon < 0 ? 'W' : 'E',
                       t.lengthEastM, t.lengthNorthM, t.heightM);
    }
    return text;
}

}  // namespace sim
