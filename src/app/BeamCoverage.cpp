#include "app/BeamCoverage.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include "common/TextFormat.h"

namespace {
constexpr double kPi = 3.14159265358979323846;
double Radians(double degrees) {
    return degrees * kPi / 180.0;
}
}  // namespace

SideScanBeam NominalSideScanBeam(int frequencyKHz) {
    // The higher the frequency, the shallower and narrower the fan: each reaches the seabed
    // farther out and the three inner edges differ.
    if (frequencyKHz >= 500) return {frequencyKHz, 10, 30, 0.25};
    if (frequencyKHz >= 200) return {frequencyKHz, 15, 40, 0.5};
    return {frequencyKHz, 20, 50, 1.0};
}

EchoSounderBeam NominalEchoSounderBeam() {
    return {200, 8};
}

double UsableRange(int frequencyKHz) {
    if (frequencyKHz >= 500) return 120;
    if (frequencyKHz >= 200) return 300;
    return 0;
}

SideCoverage ComputeSideCoverage(const SideScanBeam& beam, double heightM, double rangeM) {
    SideCoverage side;
    const double usable = UsableRange(beam.frequencyKHz);
    const double range = usable > 0 ? std::min(rangeM, usable) : rangeM;
    if (!(heightM > 0) || !(range > heightM) || !(beam.verticalWidthDeg > 0)) return side;
    // The edges of the fan as angles below the horizontal; past the vertical the fan reaches
    // the nadir, and a fan not below the horizontal never meets the seabed.
    const double steep = std::min(90.0, beam.depressionDeg + beam.verticalWidthDeg / 2);
    const double shallow = beam.depressionDeg - beam.verticalWidthDeg / 2;
    if (!(steep > 0)) return side;
    const double groundRange = std::sqrt(range * range - heightM * heightM);
    side.innerM = steep >= 90.0 ? 0.0 : heightM / std::tan(Radians(steep));
    const double beamOuter = shallow > 0 ? heightM / std::tan(Radians(shallow)) : groundRange;
    side.rangeLimited = groundRange <= beamOuter;
    side.outerM = std::min(beamOuter, groundRange);
    if (side.outerM <= side.innerM) return SideCoverage{};
    side.covered = true;
    side.widthM = side.outerM - side.innerM;
    const double slant = std::hypot(side.outerM, heightM);
    side.alongTrackM = 2 * slant * std::tan(Radians(beam.horizontalWidthDeg / 2));
    return side;
}

double NadirGap(const SideCoverage& side) {
    return side.covered ? 2 * side.innerM : 0;
}

double EchoSounderFootprint(const EchoSounderBeam& beam, double heightM) {
    if (!(heightM > 0) || !(beam.widthDeg > 0) || beam.widthDeg >= 180) return 0;
    return 2 * heightM * std::tan(Radians(beam.widthDeg / 2));
}

BeamCoverageSettings NominalBeamSettings(const std::array<int, 3>& frequenciesKHz) {
    BeamCoverageSettings settings;
    for (std::size_t i = 0; i < settings.beams.size(); ++i) {
        settings.beams[i] = NominalSideScanBeam(frequenciesKHz[i]);
    }
    settings.echoSounder = NominalEchoSounderBeam();
    return settings;
}

std::string CoverageDistanceText(double metres) {
    return Printf("%.1f m", metres);
}
