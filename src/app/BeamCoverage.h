#pragma once
// The geometry of the beam coverage window: a cross-section across the track of the towfish
// at a height above a flat seabed, each side-scan head sending a fan-shaped beam to port and to
// starboard, tilted down from the horizontal, and the echo sounder a cone straight down. The
// beam widths are nominal values the operator can change; the picture and the figures follow.

#include <array>
#include <string>

struct SideScanBeam {
    int frequencyKHz = 0;
    double depressionDeg = 0;       // the beam's axis below the horizontal
    double verticalWidthDeg = 0;    // across-track opening of the fan
    double horizontalWidthDeg = 0;  // along-track opening (resolution along the track)
};

struct EchoSounderBeam {
    int frequencyKHz = 0;
    double widthDeg = 0;  // full cone opening
};

// Nominal beams: the wider fans belong to the lower frequencies.
SideScanBeam NominalSideScanBeam(int frequencyKHz);
EchoSounderBeam NominalEchoSounderBeam();

// The ground one side of one beam ensonifies, across-track distances from the nadir, metres.
struct SideCoverage {
    bool covered = false;       // false when the beam meets no seabed within the range
    double innerM = 0;          // the beam's inner edge on the seabed
    double outerM = 0;          // the outer edge: the beam's or the range's, the nearer
    double widthM = 0;          // outer - inner
    bool rangeLimited = false;  // the range, not the beam, ends the coverage
    double alongTrackM = 0;     // the beam's along-track footprint at the outer edge
};

// `heightM` above the seabed, slant `rangeM` (the usable range of the head at most).
SideCoverage ComputeSideCoverage(const SideScanBeam& beam, double heightM, double rangeM);
// The seabed under the towfish that neither side reaches: twice the inner edge.
double NadirGap(const SideCoverage& side);
// The diameter of the echo sounder's footprint on the seabed.
double EchoSounderFootprint(const EchoSounderBeam& beam, double heightM);
// The largest slant range a head of this frequency is used at (0: no limit).
double UsableRange(int frequencyKHz);

struct BeamCoverageSettings {
    double heightM = 10;
    double rangeM = 50;
    std::array<SideScanBeam, 3> beams{};
    EchoSounderBeam echoSounder{};
};
// The nominal settings of a frequency set (three frequencies, kHz).
BeamCoverageSettings NominalBeamSettings(const std::array<int, 3>& frequenciesKHz);

// "12.3 m": one decimal.
std::string CoverageDistanceText(double metres);
