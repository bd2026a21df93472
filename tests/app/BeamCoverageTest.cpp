#include <gtest/gtest.h>

#include <cmath>

#include "app/BeamCoverage.h"

namespace {

double Deg(double d) {
    return d * 3.14159265358979323846 / 180;
}

TEST(BeamCoverageTest, GroundCoveragePerSideAndNadirGap) {
    struct Case {
        const char* name;
        SideScanBeam beam;
        double height, range;
        double inner, outer;
        bool rangeLimited;
    };
    const double ground50 = std::sqrt(50.0 * 50 - 10 * 10);
    const Case cases[] = {
        // Fan from 35 degrees below the horizontal up past the horizontal: the range ends it.
        {"wide fan, range-limited",
         {260, 15, 40, 0.5},
         10,
         50,
         10 / std::tan(Deg(35)),
         ground50,
         true},
        // Fan from 40 to 20 degrees down: it meets the seabed before the range ends.
        {"narrow fan, beam-limited",
         {260, 30, 20, 0.5},
         10,
         50,
         10 / std::tan(Deg(40)),
         10 / std::tan(Deg(20)),
         false},
        // A fan reaching past the vertical leaves no gap under the towfish.
        {"fan through the vertical", {120, 80, 30, 1}, 10, 50, 0, 10 / std::tan(Deg(65)), false},
        // 540 kHz is used to 120 m of range at most, whatever range is chosen.
        {"usable range of 540 kHz",
         {540, 15, 40, 0.25},
         10,
         200,
         10 / std::tan(Deg(35)),
         std::sqrt(120.0 * 120 - 100),
         true},
    };
    for (const Case& c : cases) {
        const SideCoverage side = ComputeSideCoverage(c.beam, c.height, c.range);
        ASSERT_TRUE(side.covered) << c.name;
        EXPECT_NEAR(side.innerM, c.inner, 1e-9) << c.name;
        EXPECT_NEAR(side.outerM, c.outer, 1e-9) << c.name;
        EXPECT_NEAR(side.widthM, c.outer - c.inner, 1e-9) << c.name;
        EXPECT_NEAR(NadirGap(side), 2 * c.inner, 1e-9) << c.name;
        EXPECT_EQ(side.rangeLimited, c.rangeLimited) << c.name;
    }
}

TEST(BeamCoverageTest, NoCoverageWhereTheBeamMeetsNoSeabed) {
    struct Case {
        const char* name;
        SideScanBeam beam;
        double height, range;
    };
    const Case cases[] = {
        {"range shorter than the height", {120, 10, 50, 1}, 30, 25},
        {"fan wholly above the horizontal", {120, -30, 20, 1}, 10, 50},
        {"range ends before the fan's inner edge", {260, 15, 20, 0.5}, 10, 20},
        {"towfish on the seabed", {120, 10, 50, 1}, 0, 50},
        {"no fan", {120, 10, 0, 1}, 10, 50},
    };
    for (const Case& c : cases) {
        const SideCoverage side = ComputeSideCoverage(c.beam, c.height, c.range);
        EXPECT_FALSE(side.covered) << c.name;
        EXPECT_EQ(side.widthM, 0) << c.name;
        EXPECT_EQ(NadirGap(side), 0) << c.name;
    }
}

TEST(BeamCoverageTest, AlongTrackFootprintAndEchoSounderCone) {
    const SideCoverage side = ComputeSideCoverage({260, 30, 20, 0.5}, 10, 50);
    const double slant = std::hypot(side.outerM, 10.0);
    EXPECT_NEAR(side.alongTrackM, 2 * slant * std::tan(Deg(0.25)), 1e-9);
    EXPECT_NEAR(EchoSounderFootprint({200, 8}, 10), 20 * std::tan(Deg(4)), 1e-9);
    EXPECT_EQ(EchoSounderFootprint({200, 8}, 0), 0);
}

TEST(BeamCoverageTest, NominalBeamsWidenTowardsTheLowFrequencies) {
    const BeamCoverageSettings s = NominalBeamSettings({120, 260, 540});
    EXPECT_EQ(s.beams[0].frequencyKHz, 120);
    EXPECT_EQ(s.beams[2].frequencyKHz, 540);
    EXPECT_GT(s.beams[0].verticalWidthDeg, s.beams[1].verticalWidthDeg);
    EXPECT_GT(s.beams[1].verticalWidthDeg, s.beams[2].verticalWidthDeg);
    EXPECT_GT(s.beams[0].horizontalWidthDeg, s.beams[2].horizontalWidthDeg);
    EXPECT_EQ(CoverageDistanceText(28.5614), "28.6 m");
}

}  // namespace
