// The simulated vessel sailing a survey plan: on each line within the steering error and off
// it by a varying amount, the lines' starts and ends reached in order and in the time the
// speed gives, turns without jumps and no longer than two circles and the way between, the
// course along the motion, and the plan sailed again from its first line.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "PlanPath.h"
#include "survey/LineGenerator.h"
#include "survey/LineGeometry.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kKnot = 1852.0 / 3600.0;

struct PlanCase {
    const char* name;
    survey::GeoPoint from;
    double bearingDeg;  // of the first line; a second bearing makes a line with a corner
    double cornerBearingDeg;
    double lengthM, spacingM;
    int count;
    survey::Side side;
    bool alternate;
    double knots;
};

const PlanCase kCases[] = {
    {"alternating lines as sonvara-cli plan makes them",
     {54.32, 10.15},
     90,
     -1,
     400,
     78,
     4,
     survey::Side::Starboard,
     true,
     4.0},
    {"same direction, southern hemisphere",
     {-33.85, 151.25},
     45,
     -1,
     400,
     60,
     3,
     survey::Side::Port,
     false,
     6.0},
    {"lines closer than a turn's diameter, west",
     {60.1, -5.0},
     200,
     -1,
     300,
     12,
     3,
     survey::Side::Starboard,
     true,
     4.0},
    {"lines with a corner", {54.32, 10.15}, 0, 70, 500, 50, 2, survey::Side::Starboard, true, 5.0},
};

std::vector<survey::SurveyLine> LinesOf(const PlanCase& c) {
    survey::SurveyLine first{"Line", {c.from}};
    if (c.cornerBearingDeg < 0) {
        first.points.push_back(survey::Travel(c.from, c.bearingDeg, c.lengthM));
    } else {
        const survey::GeoPoint corner = survey::Travel(c.from, c.bearingDeg, c.lengthM / 2);
        first.points.push_back(corner);
        first.points.push_back(survey::Travel(corner, c.cornerBearingDeg, c.lengthM / 2));
    }
    return survey::ParallelLines({first, c.spacingM, c.count, c.side, c.alternate});
}

struct Sample {
    double t;
    survey::GeoPoint at;
    sim::VesselFix fix;
};

// The vessel every dt seconds for `seconds`.
std::vector<Sample> Sail(const sim::VesselPath& path, double knots, double seconds, double dt) {
    std::vector<Sample> samples;
    for (double t = 0; t <= seconds; t += dt) {
        const sim::VesselFix fix = path.At(t, knots);
        samples.push_back({t, {fix.latitude, fix.longitude}, fix});
    }
    return samples;
}

// The index of the closest approach to `point` that first comes within 1 m of it at or after
// `from`; -1 when the vessel never comes that near.
long Reach(const std::vector<Sample>& samples, std::size_t from, const survey::GeoPoint& point) {
    for (std::size_t j = from; j < samples.size(); ++j) {
        if (survey::DistanceM(samples[j].at, point) >= 1.0) continue;
        while (j + 1 < samples.size() && survey::DistanceM(samples[j + 1].at, point) <
                                             survey::DistanceM(samples[j].at, point))
            ++j;
        return static_cast<long>(j);
    }
    return -1;
}

// Is the sample within a metre of a corner of any line (where the course turns at once)?
bool NearCorner(const std::vector<survey::SurveyLine>& lines, const survey::GeoPoint& at) {
    for (const survey::SurveyLine& line : lines) {
        for (std::size_t k = 1; k + 1 < line.points.size(); ++k) {
            if (survey::DistanceM(line.points[k], at) < 1.0) return true;
        }
    }
    return false;
}

double AngleBetween(double a, double b) {
    const double d = std::fmod(std::fabs(a - b), 360.0);
    return std::min(d, 360.0 - d);
}

TEST(SimPlanPathTest, SailsEachLineInOrderWithinTheSteeringErrorAndComesBack) {
    constexpr double dt = 0.2;
    for (const PlanCase& c : kCases) {
        SCOPED_TRACE(c.name);
        const std::vector<survey::SurveyLine> lines = LinesOf(c);
        ASSERT_EQ(lines.size(), static_cast<std::size_t>(c.count));
        std::string error;
        const auto path = sim::PlanPath::Make(lines, "plan", error);
        ASSERT_TRUE(path) << error;
        const double speed = c.knots * kKnot;
        // A turn is at most two full circles and the way between the line's end and the next
        // line's start; one round is the lines and those turns.
        double lineSeconds = 0.0, turnSeconds = 0.0;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            lineSeconds += survey::LineLength(lines[i]) / speed;
            const survey::GeoPoint& next = lines[(i + 1) % lines.size()].points.front();
            turnSeconds +=
                (survey::DistanceM(lines[i].points.back(), next) + 4 * kPi * sim::kTurnRadiusM) /
                speed;
        }
        const std::vector<Sample> samples = Sail(*path, c.knots, lineSeconds + turnSeconds, dt);
        std::size_t from = 0;
        double widest = 0.0;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            SCOPED_TRACE(lines[i].name);
            const long start = Reach(samples, from, lines[i].points.front());
            ASSERT_GE(start, 0) << "never reaches the line's start";
            const long end =
                Reach(samples, static_cast<std::size_t>(start) + 1, lines[i].points.back());
            ASSERT_GT(end, start) << "never reaches the line's end";
            // Along the line at the speed: the line's length takes length / speed.
            EXPECT_NEAR(samples[end].t - samples[start].t, survey::LineLength(lines[i]) / speed,
                        2 * dt);
            double along = -1.0, lowest = 1e9, highest = -1e9;
            for (long j = start; j <= end; ++j) {
                const survey::LinePosition p = survey::Locate(lines[i], samples[j].at);
                EXPECT_LE(std::fabs(p.crossTrackM), sim::kSteeringErrorM + 0.05) << samples[j].t;
                EXPECT_GE(p.alongTrackM, along - 0.01) << "sails the line forward";
                along = p.alongTrackM;
                lowest = std::min(lowest, p.crossTrackM);
                highest = std::max(highest, p.crossTrackM);
                widest = std::max(widest, std::fabs(p.crossTrackM));
            }
            EXPECT_GT(highest - lowest, 1.0) << "the steering error varies along the line";
            if (i > 0) {
                const std::size_t before = from;
                const double turn =
                    survey::DistanceM(lines[i - 1].points.back(), lines[i].points.front());
                EXPECT_LE(samples[start].t - samples[before].t,
                          (turn + 4 * kPi * sim::kTurnRadiusM) / speed + dt);
            }
            from = static_cast<std::size_t>(end);
        }
        EXPECT_GT(widest, 2.5) << "the vessel is metres off its lines, not on them";
        EXPECT_GE(Reach(samples, from, lines.front().points.front()), 0)
            << "after the last line the vessel sails the first again";
    }
}

TEST(SimPlanPathTest, MovesWithoutJumpsAlongItsCourseAtItsSpeed) {
    constexpr double dt = 0.2;
    const sim::VesselFix legs = sim::VesselAt(10.0, 4.0);
    for (const PlanCase& c : kCases) {
        SCOPED_TRACE(c.name);
        const std::vector<survey::SurveyLine> lines = LinesOf(c);
        std::string error;
        const auto path = sim::PlanPath::Make(lines, "plan", error);
        ASSERT_TRUE(path) << error;
        const double round = path->RoundM() / (c.knots * kKnot);
        const std::vector<Sample> samples = Sail(*path, c.knots, round + 60.0, dt);
        int checked = 0;
        for (std::size_t j = 0; j + 1 < samples.size(); ++j) {
            const sim::VesselFix mid = path->At(samples[j].t + dt / 2, c.knots);
            const double step = survey::DistanceM(samples[j].at, samples[j + 1].at);
            const double expected = mid.speedKnots * kKnot * dt;
            ASSERT_LE(step, expected + 0.01) << "a jump at " << samples[j].t << " s";
            EXPECT_GE(mid.speedKnots, c.knots - 1e-9);
            EXPECT_NEAR(AngleBetween(mid.headingDeg, mid.courseDeg),
                        AngleBetween(legs.headingDeg, legs.courseDeg), 1e-6);
            if (NearCorner(lines, samples[j].at)) continue;  // the course turns there at once
            ++checked;
            ASSERT_NEAR(step, expected, 0.01) << samples[j].t;
            ASSERT_LT(
                AngleBetween(survey::BearingDeg(samples[j].at, samples[j + 1].at), mid.courseDeg),
                0.5)
                << "course against the motion at " << samples[j].t << " s";
        }
        EXPECT_GT(checked, static_cast<int>(samples.size()) * 9 / 10);
    }
}

TEST(SimPlanPathTest, TurnsEndOnTheNextLineInItsDirection) {
    const struct {
        sim::FlatPoint to;
        double toDeg;  // counter-clockwise from east, as the pieces' directions
    } cases[] = {
        {{0, 78}, 180},    // the next line back, 78 m to the left
        {{0, -12}, 180},   // closer than the circles' diameter
        {{-400, 50}, 0},   // the next line the same way, from its far end
        {{30, 0}, 0},      // straight on
        {{100, 100}, 90},  // a quarter turn away
        {{0, 0}, 0},       // already there
    };
    for (const auto& c : cases) {
        const double toTheta = c.toDeg * kPi / 180;
        const auto pieces = sim::TurnBetween({0, 0}, 0.0, c.to, toTheta, sim::kTurnRadiusM);
        sim::FlatPoint at{0, 0};
        double theta = 0.0, length = 0.0;
        for (const sim::PathPiece& piece : pieces) {
            EXPECT_NEAR(piece.p0.x, at.x, 1e-9);
            EXPECT_NEAR(piece.p0.y, at.y, 1e-9);
            EXPECT_NEAR(std::remainder(piece.theta0 - theta, 2 * kPi), 0.0, 1e-9);
            EXPECT_TRUE(piece.curvature == 0 ||
                        std::fabs(piece.curvature) == 1 / sim::kTurnRadiusM);
            at = sim::PointOn(piece, piece.lengthM, theta);
            length += piece.lengthM;
        }
        EXPECT_NEAR(at.x, c.to.x, 1e-6) << c.to.x << "," << c.to.y;
        EXPECT_NEAR(at.y, c.to.y, 1e-6) << c.to.x << "," << c.to.y;
        EXPECT_NEAR(std::remainder(theta - toTheta, 2 * kPi), 0.0, 1e-9);
        EXPECT_LE(length, std::hypot(c.to.x, c.to.y) + 4 * kPi * sim::kTurnRadiusM);
    }
    // A line 2 r to the left and back is a half circle.
    double length = 0.0;
    for (const auto& piece :
         sim::TurnBetween({0, 0}, 0.0, {0, 2 * sim::kTurnRadiusM}, kPi, sim::kTurnRadiusM))
        length += piece.lengthM;
    EXPECT_NEAR(length, kPi * sim::kTurnRadiusM, 1e-9);
}

}  // namespace
