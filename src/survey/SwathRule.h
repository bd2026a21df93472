#pragma once
// The seabed one ping covers, as the coverage counts it: the ground range of the widest
// side-scan head on each side, square to the ship's heading. The same rule serves the coverage
// of recordings and of a survey as it runs.

#include <optional>

#include "survey/Coverage.h"

namespace survey {

// The ping at `position`, heading from true north, whose widest side-scan head reaches the
// slant range at the altitude (unknown: the full range each side). 0 m each side when the
// range is not above 0.
SwathPing SwathOf(const GeoPoint& position, double headingDeg, double widestSlantRangeM,
                  std::optional<double> altitudeM);

}  // namespace survey
