// A plan measured against sailed tracks, every expected figure worked out from the geometry of
// the test: cross-track distances of a line beside the track, the share of its corridor the
// swath reaches, the holiday two tracks sailed wider apart than the swath leave between lines
// whose corridors meet, and specks of the grid that are no holidays.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "SurveyTestGeometry.h"
#include "survey/CoverageStats.h"
#include "survey/LineGeometry.h"

namespace {

using survey::Coverage;
using survey::GeoPoint;
using survey::SurveyLine;
using survey::TrackPing;
using surveytest::EastDegrees;
using surveytest::NorthDegrees;

constexpr double kLat = 54.0, kLon = 9.0;  // the middle of UTM zone 32

GeoPoint At(double eastM, double northM) {
    const double lat = kLat + NorthDegrees(kLat, northM);
    return {lat, kLon + EastDegrees(lat, eastM)};
}

SurveyLine NorthLine(const char* name, double eastM, double fromM, double toM) {
    return {name, {At(eastM, fromM), At(eastM, toM)}};
}

// Pings every metre northward from `fromM` to `toM`, `ground` each side, into the coverage
// and the track.
void Sail(Coverage& coverage, std::vector<TrackPing>& track, double eastM, double fromM, double toM,
          double ground) {
    coverage.Break();
    for (double north = fromM; north <= toM + 1e-9; north += 1.0) {
        const GeoPoint p = At(eastM, north);
        coverage.Add({p, 0.0, ground, ground});
        track.push_back({p, 2 * ground, north == fromM});
    }
}

TEST(CoverageStatsTest, ALineBesideTheTrackHasItsOffsetAndTheShareOfItsCorridorCovered) {
    struct Case {
        double offsetM;  // of the plan line east of the track
        double ground;   // each side
    };
    for (const Case c : {Case{10, 40}, Case{-25, 40}, Case{0, 30}, Case{25, 30}}) {
        SCOPED_TRACE(c.offsetM);
        Coverage coverage;
        std::vector<TrackPing> track;
        Sail(coverage, track, 0, 0, 1000, c.ground);
        const SurveyLine line = NorthLine("A", c.offsetM, 100, 900);
        const survey::PlanCoverage plan = survey::MeasurePlan({line}, track, coverage);
        ASSERT_EQ(plan.lines.size(), 1u);
        const survey::LineStats& s = plan.lines[0];
        EXPECT_DOUBLE_EQ(plan.nominalSwathM, 2 * c.ground);
        EXPECT_NEAR(s.meanCrossTrackM, std::fabs(c.offsetM), 0.05);
        EXPECT_NEAR(s.maxCrossTrackM, std::fabs(c.offsetM), 0.05);
        EXPECT_NEAR(s.sailedM, 800, 2);
        EXPECT_NEAR(static_cast<double>(s.pings), 801, 1);
        // The corridor (offset +- ground) overlaps the swath (0 +- ground) by 2 ground - |offset|.
        EXPECT_NEAR(s.corridorM2, 800 * 2 * c.ground, 800 * 1.5);
        EXPECT_NEAR(s.CoveredShare(), (2 * c.ground - std::fabs(c.offsetM)) / (2 * c.ground),
                    0.015);
        EXPECT_EQ(plan.holidays.empty(), c.offsetM == 0);
    }
}

TEST(CoverageStatsTest, PingsCrossingACorridorAreNotSailingItsLine) {
    // The line sailed 5 m off, then crossed square to it (a turn to the next line) and
    // crossed again at 45 degrees: neither crossing adds pings, length or cross-track.
    const double ground = 40;
    Coverage coverage;
    std::vector<TrackPing> track;
    Sail(coverage, track, 5, 0, 500, ground);
    for (double east = -60; east <= 60; east += 1) {
        track.push_back({At(east, 300), 2 * ground, east == -60, 90.0});
        track.push_back({At(east, 200 + east), 2 * ground, east == -60, 45.0});
    }
    const survey::PlanCoverage plan = survey::MeasurePlan({NorthLine("A", 0, 0, 500)}, track, coverage);
    const survey::LineStats& s = plan.lines[0];
    EXPECT_NEAR(static_cast<double>(s.pings), 501, 1);
    EXPECT_NEAR(s.maxCrossTrackM, 5, 0.05);
    EXPECT_NEAR(s.meanCrossTrackM, 5, 0.05);
    // Sailed the other way, a line is still sailed.
    std::vector<TrackPing> back;
    for (const TrackPing& p : track) back.push_back({p.position, p.swathM, p.startsRun, p.headingDeg + 180});
    EXPECT_NEAR(static_cast<double>(survey::MeasurePlan({NorthLine("A", 0, 0, 500)}, back, coverage)
                                        .lines[0].pings),
                501, 1);
}

TEST(CoverageStatsTest, TracksWiderApartThanTheSwathLeaveAHolidayBetweenMeetingCorridors) {
    const double ground = 40;  // 80 m of swath: corridors of lines 80 m apart meet
    struct Case {
        double lineSpacingM, trackSpacingM, holidayWidthM;
    };
    const Case cases[] = {
        {80, 110, 30},  // the second line sailed 30 m off: a strip of 30 m uncovered
        {60, 95, 15},   // corridors overlap; the swaths leave 15 m of them between them
        {80, 80, 0},    // sailed as planned: nothing uncovered
        {120, 120, 0},  // lines wider apart than the swath: the gap is not planned area
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lineSpacingM * 1000 + c.trackSpacingM);
        Coverage coverage;
        std::vector<TrackPing> track;
        Sail(coverage, track, 0, 0, 600, ground);
        Sail(coverage, track, c.trackSpacingM, 0, 600, ground);
        const survey::PlanCoverage plan = survey::MeasurePlan(
            {NorthLine("1", 0, 50, 550), NorthLine("2", c.lineSpacingM, 50, 550)}, track, coverage);
        if (c.holidayWidthM == 0) {
            EXPECT_TRUE(plan.holidays.empty());
            continue;
        }
        ASSERT_EQ(plan.holidays.size(), 1u);
        // 500 m long, as wide as the strip give or take a cell.
        EXPECT_NEAR(plan.holidays[0].areaM2 / 500, c.holidayWidthM, 1.0);
        std::int64_t cells = 0;
        for (const survey::HolidayRun& run : plan.runs) {
            EXPECT_EQ(run.holiday, 1);
            cells += run.lastCol - run.firstCol + 1;
        }
        EXPECT_EQ(cells, plan.holidays[0].cells);
        // The second line's corridor, 2 ground wide: the part of it within ground of either track.
        const double from = c.lineSpacingM - ground, to = c.lineSpacingM + ground;
        const auto overlap = [&](double track) {
            return std::max(0.0, std::min(to, track + ground) - std::max(from, track - ground));
        };
        const double secondSwathFrom = std::max(from, c.trackSpacingM - ground);
        const double firstReach = std::max(0.0, std::min(secondSwathFrom, ground) - from);
        EXPECT_NEAR(plan.lines[1].CoveredShare(),
                    (firstReach + overlap(c.trackSpacingM)) / (2 * ground), 0.015);
        const double off = c.trackSpacingM - c.lineSpacingM;
        EXPECT_NEAR(plan.lines[1].meanCrossTrackM, off, 0.05);
    }
}

TEST(CoverageStatsTest, AGapAlongTheLineIsAHolidayOnlyFromTenCellsOn) {
    const double ground = 1.7;  // a corridor 4 cells wide
    struct Case {
        double gapM;
        bool holiday;
    };
    for (const Case c : {Case{1.5, false}, Case{2, false}, Case{10, true}, Case{30, true}}) {
        SCOPED_TRACE(c.gapM);
        Coverage coverage;
        std::vector<TrackPing> track;
        Sail(coverage, track, 0, 0, 50, ground);
        Sail(coverage, track, 0, 50 + c.gapM, 100 + c.gapM, ground);
        const survey::PlanCoverage plan =
            survey::MeasurePlan({NorthLine("L", 0, 0, 100 + c.gapM)}, track, coverage);
        ASSERT_EQ(plan.holidays.size(), c.holiday ? 1u : 0u);
        // The sailed length leaves the gap out (the runs were not joined across it).
        EXPECT_NEAR(plan.lines[0].sailedM, 100, 2.5);
        // The rows between the two runs' last and first swath lines, 4 cells each.
        if (c.holiday) {
            EXPECT_NEAR(plan.holidays[0].areaM2, (c.gapM - 1) * 4, 4);
        }
    }
}

TEST(CoverageStatsTest, ALineAcrossTheGridHasItsWholeCorridorCoveredWhenSailedOnIt) {
    struct Case {
        double bearingDeg;
    };
    for (const Case c : {Case{45}, Case{120}, Case{80}}) {
        SCOPED_TRACE(c.bearingDeg);
        const double se = std::sin(c.bearingDeg * M_PI / 180),
                     sn = std::cos(c.bearingDeg * M_PI / 180);
        Coverage coverage;
        std::vector<TrackPing> track;
        for (double k = 0; k <= 500; k += 1.0) {
            const GeoPoint p = At(k * se, k * sn);
            coverage.Add({p, c.bearingDeg, 30, 30});
            track.push_back({p, 60, k == 0, c.bearingDeg});
        }
        const SurveyLine line{"D", {At(100 * se, 100 * sn), At(400 * se, 400 * sn)}};
        const survey::PlanCoverage plan = survey::MeasurePlan({line}, track, coverage);
        // 300 m long, 60 m wide, all of it under the swath.
        EXPECT_NEAR(plan.lines[0].corridorM2 / (300 * 60), 1.0, 0.02);
        EXPECT_GT(plan.lines[0].CoveredShare(), 0.99);
        EXPECT_TRUE(plan.holidays.empty());
        EXPECT_NEAR(plan.lines[0].sailedM, 300, 2);
    }
}

TEST(CoverageStatsTest, TheNominalSwathIsTheMedianOfThePingsThatCoverSomething) {
    const auto swaths = [](std::vector<double> values) {
        std::vector<TrackPing> track;
        for (const double v : values) track.push_back({{kLat, kLon}, v, false});
        return survey::NominalSwathM(track);
    };
    EXPECT_DOUBLE_EQ(swaths({}), 0);
    EXPECT_DOUBLE_EQ(swaths({0, 0}), 0);
    EXPECT_DOUBLE_EQ(swaths({90, 100, 400}), 100);
    EXPECT_DOUBLE_EQ(swaths({0, 90, 100, 110, 120}), 105);
}

TEST(CoverageStatsTest, ALineNeverSailedHasNoPingsAndAllItsCorridorIsAHoliday) {
    Coverage coverage;
    std::vector<TrackPing> track;
    Sail(coverage, track, 0, 0, 300, 20);
    const survey::PlanCoverage plan =
        survey::MeasurePlan({NorthLine("far", 500, 0, 300)}, track, coverage);
    EXPECT_EQ(plan.lines[0].pings, 0u);
    EXPECT_EQ(plan.lines[0].sailedM, 0);
    EXPECT_EQ(plan.lines[0].CoveredShare(), 0);
    ASSERT_EQ(plan.holidays.size(), 1u);
    EXPECT_NEAR(plan.holidays[0].areaM2 / (300 * 40), 1.0, 0.03);
}

}  // namespace
