#include "PathPieces.h"

#include <cmath>
#include <limits>

namespace sim {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kTwoPi = 2 * kPi;

// An angle in [0, 2 pi); a hair below 2 pi is 0, so a turn never adds a full circle by rounding.
double Sweep(double angle) {
    double a = std::fmod(angle, kTwoPi);
    if (a < 0) a += kTwoPi;
    return a > kTwoPi - 1e-9 ? 0.0 : a;
}

// One choice of turning directions (+1 left, -1 right) at the start and at the end.
struct Choice {
    double lengthM = std::numeric_limits<double>::infinity();
    double sweep1 = 0.0, straightM = 0.0, lineTheta = 0.0, sweep2 = 0.0;
    int turn1 = 1, turn2 = 1;
};

// The circle the vessel turns on, left (+1) or right (-1) of a pose.
FlatPoint Centre(FlatPoint p, double theta, int turn, double r) {
    return {p.x - turn * r * std::sin(theta), p.y + turn * r * std::cos(theta)};
}

Choice Evaluate(FlatPoint from, double fromTheta, FlatPoint to, double toTheta, double r, int turn1,
                int turn2) {
    Choice c;
    c.turn1 = turn1;
    c.turn2 = turn2;
    const FlatPoint c1 = Centre(from, fromTheta, turn1, r);
    const FlatPoint c2 = Centre(to, toTheta, turn2, r);
    const double dx = c2.x - c1.x, dy = c2.y - c1.y;
    const double d = std::hypot(dx, dy);
    if (turn1 == turn2) {
        // The outer tangent runs parallel to the line of the centres; on one circle, no straight.
        c.straightM = d;
        c.lineTheta = d < 1e-9 ? fromTheta : std::atan2(dy, dx);
    } else {
        // The inner tangent crosses between the circles, which must not overlap.
        if (d < 2 * r) return c;
        c.straightM = std::sqrt(d * d - 4 * r * r);
        const double radial = std::atan2(dy, dx) - turn1 * std::atan2(c.straightM, 2 * r);
        c.lineTheta = radial + turn1 * kPi / 2;
    }
    c.sweep1 = Sweep(turn1 * (c.lineTheta - fromTheta));
    c.sweep2 = Sweep(turn2 * (toTheta - c.lineTheta));
    c.lengthM = r * (c.sweep1 + c.sweep2) + c.straightM;
    return c;
}

}  // namespace

FlatPoint PointOn(const PathPiece& piece, double s, double& theta) {
    theta = piece.theta0 + piece.curvature * s;
    if (piece.curvature == 0.0) {
        return {piece.p0.x + s * std::cos(theta), piece.p0.y + s * std::sin(theta)};
    }
    const double k = piece.curvature;
    return {piece.p0.x + (std::sin(theta) - std::sin(piece.theta0)) / k,
            piece.p0.y - (std::cos(theta) - std::cos(piece.theta0)) / k};
}

std::vector<PathPiece> TurnBetween(FlatPoint from, double fromTheta, FlatPoint to, double toTheta,
                                   double radiusM) {
    Choice best;
    constexpr int kTurns[4][2] = {{1, 1}, {-1, -1}, {1, -1}, {-1, 1}};
    for (const auto& turns : kTurns) {
        const Choice c = Evaluate(from, fromTheta, to, toTheta, radiusM, turns[0], turns[1]);
        if (c.lengthM < best.lengthM) best = c;
    }
    const PathPiece candidates[3] = {
        {from, fromTheta, best.turn1 / radiusM, radiusM * best.sweep1},
        {{}, best.lineTheta, 0.0, best.straightM},
        {{}, best.lineTheta, best.turn2 / radiusM, radiusM * best.sweep2},
    };
    std::vector<PathPiece> pieces;
    FlatPoint at = from;
    for (PathPiece piece : candidates) {
        piece.p0 = at;
        double theta = 0.0;
        at = PointOn(piece, piece.lengthM, theta);
        if (piece.lengthM > 1e-9) pieces.push_back(piece);
    }
    return pieces;
}

}  // namespace sim
