#include "survey/SwathRule.h"

#include "survey/LineGenerator.h"

namespace survey {

SwathPing SwathOf(const GeoPoint& position, double headingDeg, double widestSlantRangeM,
                  std::optional<double> altitudeM) {
    const double side = SwathWidthM(widestSlantRangeM, altitudeM) / 2.0;
    return {position, headingDeg, side, side};
}

}  // namespace survey
