#pragma once
// Events on the seabed targets of a recording that sonvara-headsim --write-recording made:
// worked out from the simulator's own geometry (the vessel's pose at each ping, the targets in
// the local frame, the towed body's altitude), each event where the target's centre lies in
// the composite image. Also the targets as --describe prints them.

#include <QRegularExpression>
#include <QString>

#include <cmath>
#include <string>
#include <vector>

#include "SimScene.h"
#include "VesselPath.h"
#include "datafiles/EventFile.h"

namespace simcontacts {

inline constexpr double kPingIntervalS = 0.5;  // of --write-recording
inline constexpr double kSpeedKnots = 4.0;
inline constexpr double kRangeM = 50.0;

struct PlacedEvent {
    int target = 0;  // index in the simulator's list (--describe's "target N" is N - 1)
    EventRecord event;
    double acrossM = 0.0;
};

inline EventRecord Event(int number, int ping, double fraction, const std::string& annotation) {
    EventRecord e;
    e.number = number;
    e.pingNumber = ping;
    e.acrossFraction = fraction;
    e.date = "09-DEC-2026\n";
    e.time = "10:00:00\n";
    e.latitude = "n/a\n";
    e.longitude = "n/a\n";
    e.annotation = StoredAnnotation(annotation);
    return e;
}

// For every target abeam of a straight stretch of the first `records` pings within the range:
// the ping where it is abeam and the fraction of the line at its slant range.
inline std::vector<PlacedEvent> EventsOnTargets(int records) {
    const auto path = sim::DefaultPath();
    const sim::Scene scene;
    std::vector<PlacedEvent> placed;
    const std::vector<sim::WorldTarget>& targets = path->Targets();
    for (std::size_t i = 0; i < targets.size(); ++i) {
        int best = -1;
        double bestAlong = 1e9, across = 0;
        for (int k = 5; k < records - 5; ++k) {
            const sim::Pose p = sim::PoseOn(*path, k * kPingIntervalS, kSpeedKnots);
            const double h = p.headingDeg * M_PI / 180.0;
            const double dE = targets[i].eastM - p.eastM, dN = targets[i].northM - p.northM;
            const double along = dE * std::sin(h) + dN * std::cos(h);
            if (std::fabs(along) < bestAlong) {
                bestAlong = std::fabs(along);
                best = k;
                across = dE * std::cos(h) - dN * std::sin(h);  // starboard positive
            }
        }
        if (best < 0 || bestAlong > 1.0 || std::fabs(across) > kRangeM - 8) continue;
        const double before =
            sim::PoseOn(*path, (best - 5) * kPingIntervalS, kSpeedKnots).headingDeg;
        const double after =
            sim::PoseOn(*path, (best + 5) * kPingIntervalS, kSpeedKnots).headingDeg;
        if (std::fabs(std::remainder(after - before, 360.0)) > 1.0) continue;  // in a turn
        const int ping = best + 1;
        const double altitude = scene.AltitudeM(static_cast<std::uint32_t>(ping));
        const double slant = std::hypot(across, altitude);
        const double fraction = 0.5 + (across > 0 ? 1 : -1) * slant / (2 * kRangeM);
        placed.push_back({static_cast<int>(i), Event(0, ping, fraction, ""), across});
    }
    return placed;
}

struct DescribedTarget {
    double latitude = 0, longitude = 0;
};

// "target 1: 54.3198650 N 10.1530781 E, ..." lines.
inline std::vector<DescribedTarget> ParseDescribe(const QString& text) {
    std::vector<DescribedTarget> out;
    const QRegularExpression line(R"(target \d+: ([\d.]+) ([NS]) ([\d.]+) ([EW]),)");
    for (auto it = line.globalMatch(text); it.hasNext();) {
        const auto m = it.next();
        out.push_back({m.captured(1).toDouble() * (m.captured(2) == "S" ? -1 : 1),
                       m.captured(3).toDouble() * (m.captured(4) == "W" ? -1 : 1)});
    }
    return out;
}

// Metres between two nearby positions on a local flat Earth (within a percent of the distance).
inline double MetresBetween(double lat1, double lon1, double lat2, double lon2) {
    const double north = (lat2 - lat1) * 111132.954;
    const double east = (lon2 - lon1) * 111319.49 * std::cos((lat1 + lat2) / 2 * M_PI / 180.0);
    return std::hypot(north, east);
}

}  // namespace simcontacts
