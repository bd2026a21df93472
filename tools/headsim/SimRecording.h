#pragma once
// A data file of what the simulated installation records while the vessel runs its survey
// lines: every ping seen from the vessel's pose (the world targets at their places), the GPS
// receiver's latest once-a-second batch of sentences with each record, the echo sounder with
// its orientation block. Records are encoded by the recorder's codec, one per ping, stamped
// with the UTC time of the ping, so tests and benchmarks get a recording without a network.

#include <array>
#include <memory>
#include <string>

namespace sim {

class VesselPath;

struct RecordingPlan {
    int records = 400;
    double pingIntervalS = 0.5;
    double speedKnots = 4.0;
    int rangeM = 50;
    std::array<bool, 4> heads{true, true, true, true};  // L, M, H, echo sounder
    bool gps = true;             // false: no sentences (a file without any position)
    double startUtcS = 36000.0;  // 10:00:00 on the day below
    int day = 9, month = 12, year = 2026;
    std::shared_ptr<const VesselPath> path{};  // the vessel's; empty: the default legs
};

// False with a reason when the file cannot be written.
bool WriteSimulatedRecording(const std::string& path, const RecordingPlan& plan,
                             std::string& error);

}  // namespace sim
