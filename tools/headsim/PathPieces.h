#pragma once
// The pieces of the simulated vessel's path in a flat local frame (metres east and north):
// straights and circular arcs, and the turn that joins the end of one survey line to the start
// of the next as an arc, a straight and an arc of the same radius (the shortest of the four
// turning-direction choices), so that position and direction are continuous.

#include <vector>

namespace sim {

struct FlatPoint {
    double x = 0.0, y = 0.0;  // east, north
};

// A straight (curvature 0) or an arc (curvature 1/radius, > 0 turning left), starting at p0
// in the direction theta0 (radians counter-clockwise from east).
struct PathPiece {
    FlatPoint p0;
    double theta0 = 0.0;
    double curvature = 0.0;
    double lengthM = 0.0;
};

// The point `s` metres along the piece; its direction there in `theta`.
FlatPoint PointOn(const PathPiece& piece, double s, double& theta);

// The turn from `from` heading fromTheta to `to` heading toTheta on circles of the radius.
// Pieces of no length are left out: a turn between two places that already join is empty.
std::vector<PathPiece> TurnBetween(FlatPoint from, double fromTheta, FlatPoint to, double toTheta,
                                   double radiusM);

}  // namespace sim
