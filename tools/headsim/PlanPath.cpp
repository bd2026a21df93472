#include "PlanPath.h"

#include <GeographicLib/AzimuthalEquidistant.hpp>
#include <GeographicLib/Geodesic.hpp>

#include <algorithm>
#include <cmath>

#include "common/TextFormat.h"
#include "survey/PlanFiles.h"

namespace sim {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kMetresPerSecondPerKnot = 1852.0 / 3600.0;
constexpr double kFadeM = 50.0;          // the steering error fades in and out over this distance
constexpr double kTargetOffsetM = 20.0;  // targets stand this far beside a line

const GeographicLib::AzimuthalEquidistant& Projection() {
    static const GeographicLib::AzimuthalEquidistant projection(GeographicLib::Geodesic::WGS84());
    return projection;
}

// The helmsman's swing off the line (metres, > 0 to starboard): three slow waves whose
// amplitudes add up to less than kSteeringErrorM, with periods of 83 s to 263 s.
struct Wave {
    double amplitudeM, periodS, phase;
};
constexpr Wave kSwing[] = {{2.5, 83.0, 0.4}, {1.5, 149.0, 1.9}, {0.8, 263.0, 4.1}};

double Swing(double t) {
    double e = 0.0;
    for (const Wave& w : kSwing) e += w.amplitudeM * std::sin(2 * kPi * t / w.periodS + w.phase);
    return e;
}

double SwingRate(double t) {
    double rate = 0.0;
    for (const Wave& w : kSwing) {
        const double omega = 2 * kPi / w.periodS;
        rate += w.amplitudeM * omega * std::cos(omega * t + w.phase);
    }
    return rate;
}

double Wrapped(double degrees) {
    const double d = std::fmod(degrees, 360.0);
    return d < 0 ? d + 360.0 : d;
}

// The segment of the line `s` metres along it: its start index, clamped to the last segment.
std::size_t SegmentAt(const PlanPath::FlatLine& line, double s) {
    const auto after = std::upper_bound(line.alongM.begin(), line.alongM.end(), s);
    const std::size_t k = after == line.alongM.begin() ? 0 : after - line.alongM.begin() - 1;
    return std::min(k, line.points.size() - 2);
}

// The point `s` metres along the line, with the unit vector along its segment there.
FlatPoint AlongLine(const PlanPath::FlatLine& line, double s, FlatPoint& unit) {
    const std::size_t k = SegmentAt(line, s);
    const FlatPoint a = line.points[k], b = line.points[k + 1];
    const double length = line.alongM[k + 1] - line.alongM[k];
    unit = {(b.x - a.x) / length, (b.y - a.y) / length};
    const double local = s - line.alongM[k];
    return {a.x + local * unit.x, a.y + local * unit.y};
}

double DirectionOf(FlatPoint unit) {
    return std::atan2(unit.y, unit.x);
}

}  // namespace

std::shared_ptr<const PlanPath> PlanPath::Make(const std::vector<survey::SurveyLine>& plan,
                                               const std::string& source, std::string& error) {
    if (plan.empty() || plan[0].points.empty()) {
        error = source + ": holds no survey line";
        return nullptr;
    }
    std::shared_ptr<PlanPath> path(new PlanPath());
    path->originLat = plan[0].points[0].latitude;
    path->originLon = plan[0].points[0].longitude;
    for (const survey::SurveyLine& line : plan) {
        FlatLine flat;
        for (const survey::GeoPoint& p : line.points) {
            double x = 0, y = 0, azimuth = 0, scale = 0;
            Projection().Forward(path->originLat, path->originLon, p.latitude, p.longitude, x, y,
                                 azimuth, scale);
            if (!(std::hypot(x, y) <= kPlanReachM)) {
                error = Printf("%s: line '%s' reaches beyond %.0f km of the first line's start",
                               source.c_str(), line.name.c_str(), kPlanReachM / 1000);
                return nullptr;
            }
            const double step = flat.points.empty() ? 0.0
                                                    : std::hypot(x - flat.points.back().x,
                                                                 y - flat.points.back().y);
            if (!flat.points.empty() && step < 0.01) continue;  // a point repeated
            flat.alongM.push_back(flat.alongM.empty() ? 0.0 : flat.alongM.back() + step);
            flat.points.push_back({x, y});
        }
        if (flat.points.size() < 2 || flat.alongM.back() < 1.0) {
            error = source + ": line '" + line.name + "' is shorter than 1 m";
            return nullptr;
        }
        path->lines.push_back(std::move(flat));
    }
    for (std::size_t i = 0; i < path->lines.size(); ++i) {
        const FlatLine& line = path->lines[i];
        path->stretches.push_back({path->roundM, static_cast<int>(i), {}});
        path->roundM += line.alongM.back();
        path->AddTargets(line);
        const FlatLine& next = path->lines[(i + 1) % path->lines.size()];
        const std::size_t last = line.points.size() - 1;
        const FlatPoint endUnit = {line.points[last].x - line.points[last - 1].x,
                                   line.points[last].y - line.points[last - 1].y};
        const FlatPoint startUnit = {next.points[1].x - next.points[0].x,
                                     next.points[1].y - next.points[0].y};
        for (const PathPiece& piece :
             TurnBetween(line.points[last], DirectionOf(endUnit), next.points[0],
                         DirectionOf(startUnit), kTurnRadiusM)) {
            path->stretches.push_back({path->roundM, -1, piece});
            path->roundM += piece.lengthM;
        }
    }
    return path;
}

// A target a third of the way along the line to port, another two thirds along to starboard.
void PlanPath::AddTargets(const FlatLine& line) {
    const double length = line.alongM.back();
    FlatPoint unit;
    const FlatPoint first = AlongLine(line, length / 3, unit);
    targets.push_back(
        {first.x - kTargetOffsetM * unit.y, first.y + kTargetOffsetM * unit.x, 4.0, 2.0, 1.2});
    const FlatPoint second = AlongLine(line, 2 * length / 3, unit);
    targets.push_back(
        {second.x + kTargetOffsetM * unit.y, second.y - kTargetOffsetM * unit.x, 3.0, 3.0, 1.5});
}

// On a line the vessel runs at the speed along it, its swing off the line faded to nothing
// within kFadeM (or a third of a short segment) of each point of the line.
PlanPath::Motion PlanPath::OnLine(const FlatLine& line, double s, double seconds,
                                  double speed) const {
    FlatPoint unit;
    const FlatPoint base = AlongLine(line, s, unit);
    const std::size_t k = SegmentAt(line, s);
    const double local = s - line.alongM[k], left = line.alongM[k + 1] - s;
    const double fade = std::min(kFadeM, (line.alongM[k + 1] - line.alongM[k]) / 3);
    const double x = std::clamp(std::min(local, left) / fade, 0.0, 1.0);
    const double weight = x * x * (3 - 2 * x);
    const double weightPerM = (x < 1 ? 6 * x * (1 - x) / fade : 0.0) * (local < left ? 1 : -1);
    const double offset = weight * Swing(seconds);
    const double offsetRate = weightPerM * speed * Swing(seconds) + weight * SwingRate(seconds);
    const FlatPoint right = {unit.y, -unit.x};
    Motion m;
    m.at = {base.x + offset * right.x, base.y + offset * right.y};
    m.east = speed * unit.x + offsetRate * right.x;
    m.north = speed * unit.y + offsetRate * right.y;
    return m;
}

VesselFix PlanPath::At(double seconds, double speedKnots) const {
    const double t = std::max(0.0, seconds);
    const double speed = speedKnots * kMetresPerSecondPerKnot;
    const double d = std::fmod(speed * t, roundM);
    const auto after = std::upper_bound(stretches.begin(), stretches.end(), d,
                                        [](double v, const Stretch& s) { return v < s.startM; });
    const Stretch& stretch = after == stretches.begin() ? stretches.front() : *(after - 1);
    Motion m;
    if (stretch.line >= 0) {
        m = OnLine(lines[static_cast<std::size_t>(stretch.line)], d - stretch.startM, t, speed);
    } else {
        double theta = 0.0;
        m.at = PointOn(stretch.turn, std::min(d - stretch.startM, stretch.turn.lengthM), theta);
        m.east = speed * std::cos(theta);
        m.north = speed * std::sin(theta);
    }
    VesselFix fix;
    double azimuth = 0, scale = 0;
    Projection().Reverse(originLat, originLon, m.at.x, m.at.y, fix.latitude, fix.longitude, azimuth,
                         scale);
    // The frame's north turns away from true north with the distance from its centre: the
    // radial direction's bearing in the frame against its true azimuth there.
    const double turn =
        std::hypot(m.at.x, m.at.y) > 1.0 ? azimuth - std::atan2(m.at.x, m.at.y) * 180.0 / kPi : 0.0;
    fix.courseDeg = Wrapped(std::atan2(m.east, m.north) * 180.0 / kPi + turn);
    fix.headingDeg = Wrapped(fix.courseDeg + kCrabDeg);
    fix.speedKnots = std::hypot(m.east, m.north) / kMetresPerSecondPerKnot;
    return fix;
}

LocalPlace PlanPath::Local(double latitude, double longitude) const {
    double x = 0, y = 0, azimuth = 0, scale = 0;
    Projection().Forward(originLat, originLon, latitude, longitude, x, y, azimuth, scale);
    return {x, y};
}

void PlanPath::LatLon(const LocalPlace& place, double& latitude, double& longitude) const {
    double azimuth = 0, scale = 0;
    Projection().Reverse(originLat, originLon, place.eastM, place.northM, latitude, longitude,
                         azimuth, scale);
}

std::shared_ptr<const PlanPath> LoadPlanPath(const std::string& file, std::string& error) {
    const survey::PlanRead read = survey::ReadPlan(file);
    if (!read.Ok()) {
        error = read.error;
        return nullptr;
    }
    return PlanPath::Make(read.lines, file, error);
}

bool TakePlanArgument(std::vector<std::string>& args, std::string& file, std::string& error) {
    std::vector<std::string> rest;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] != "--plan") {
            rest.push_back(args[i]);
            continue;
        }
        if (i + 1 >= args.size() || args[i + 1].empty()) {
            error = "--plan wants a plan file (.gpx, .kml or .csv)";
            return false;
        }
        file = args[++i];
    }
    args = rest;
    return true;
}

}  // namespace sim
